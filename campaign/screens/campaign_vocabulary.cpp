#include "campaign/screens/campaign_vocabulary.h"

#include "campaign/screens/campaign_functions.h"
#include "campaign/screens/main_menu.h"
#include "campaign/screens/options_window.h"
#include "campaign/screens/r_window.h"
#include "ui/dialog_vocabulary.h"
#include "ui/window_manager.h"

namespace {

constexpr TWindowType kCampaignWindowTypes[] = {
    {"RWindow", &RWindow::Create},
    {"MainMenu", &TMainMenu::Create},
    {"OptionsWindow", &TOptions::Create},
};

}  // namespace

void RegisterCampaignVocabulary(TWindowManager& manager) {
  manager.AddVocabulary({kCampaignWindowTypes, {}});
  BindCampaignFunctions(manager);
}
