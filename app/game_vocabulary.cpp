#include "app/game_vocabulary.h"

#include "app/sprite_demo.h"
#include "campaign/screens/campaign_vocabulary.h"
#include "game/window/game_window_vocabulary.h"
#include "online/xsell/xsell_window.h"
#include "ui/dialog_vocabulary.h"
#include "ui/slider.h"
#include "ui/window_manager.h"

namespace {

// The engine's slider and "more games" dialog are registered by the game, beside the game's
// own window classes.
constexpr TWindowType kWindowTypes[] = {
    {"Slider", &TSlider::Create},
    {"SpriteDemo", &TSpriteDemo::Create},  // the sprite and particle demo ("S")
    {"XSellWindow", &TXSellWindow::Create},
};

}  // namespace

void RegisterGameVocabulary(TWindowManager& manager) {
  manager.AddVocabulary({kWindowTypes, {}});
  RegisterGameWindowVocabulary(manager);
  RegisterCampaignVocabulary(manager);
}
