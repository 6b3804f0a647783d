#include "campaign/screens/campaign_vocabulary.h"

#include "campaign/screens/campaign_functions.h"
#include "campaign/screens/city_map.h"
#include "campaign/screens/end_level.h"
#include "campaign/screens/help.h"
#include "campaign/screens/main_menu.h"
#include "campaign/screens/options_window.h"
#include "campaign/screens/r_appraisal.h"
#include "campaign/screens/r_intro.h"
#include "campaign/screens/r_loss.h"
#include "campaign/screens/r_tutorial.h"
#include "campaign/screens/r_window.h"
#include "campaign/screens/sprite_layer.h"
#include "campaign/screens/story_window.h"
#include "campaign/screens/treasure_gallery.h"
#include "ui/dialog_vocabulary.h"
#include "ui/window_manager.h"

namespace {

constexpr TWindowType kCampaignWindowTypes[] = {
    {"RWindow", &RWindow::Create},
    {"MainMenu", &TMainMenu::Create},
    {"OptionsWindow", &TOptions::Create},
    {"CityMap", &TCityMap::Create},
    {"StoryWindow", &TStoryWindow::Create},
    {"RIntro", &RIntro::Create},
    {"RTutorial", &RTutorial::Create},
    {"HelpWindow", &Help::Create},
    {"SpriteLayer", &TSpriteLayer::Create},
    {"EndLevel", &REndLevel::Create},
    {"RLoss", &RLoss::Create},
    {"RAppraisal", &RAppraisal::Create},
};

}  // namespace

void RegisterCampaignVocabulary(TWindowManager& manager) {
  manager.AddVocabulary({kCampaignWindowTypes, {}});
  BindCampaignFunctions(manager);
  BindGalleryFunctions(manager);
}
