#include "campaign/screens/options_window.h"

#include "campaign/game_app.h"
#include "campaign/screens/campaign_functions.h"
#include "data/prefs.h"
#include "frame/application.h"
#include "ui/button.h"
#include "ui/message.h"
#include "ui/slider.h"
#include "ui/text.h"

namespace {

// What the sound settings use when the player has stored no level. Both sliders start
// where the volumes already are, so opening the dialog never changes what is heard.
constexpr int kDefaultEffectsLevel = 600;
constexpr int kDefaultMusicLevel = 750;
constexpr float kSideLabelTilt = 90.0f;

void SetToggle(TWindow& root, const char* name, bool on) {
  if (auto* button = dynamic_cast<TButton*>(root.FindChild(name))) button->SetToggle(on);
}

}  // namespace

TOptions::TOptions() {
  Functions().Bind("SaveVolumes", this, &TOptions::SaveVolumes);
}

TWindow* TOptions::Create() {
  return new TOptions;
}

TSlider* TOptions::Slider(const char* name) {
  return dynamic_cast<TSlider*>(FindChild(name));
}

void TOptions::PostCreate(const TWindowStyle& style) {
  RWindow::PostCreate(style);
  TGameApp* game = TGameApp::Get();
  if (!game) return;
  const int user = game->CurrentUser();
  TPrefs& prefs = game->Prefs();
  TApplication* app = TApplication::Get();
  SetToggle(*this, "options_fullscreen_button", app && app->IsFullscreen());
  SetToggle(*this, "options_mute_button", game->IsSoundOff());
  SetToggle(*this, "options_sfx_mute_button", !game->SfxOff());
  SetToggle(*this, "options_music_mute_button", !game->MusicOff());
  SetToggle(*this, "options_tutorialson_button", game->TutorialsOn());
  SetToggle(*this, "options_solvable_button", IsSolvableDealsOn());
  if (TSlider* effects = Slider(kEffectsSlider))
    effects->SetValue(
        prefs.GetPrefInt(record_key::kSoundLevel, kDefaultEffectsLevel, user) / 1000.0f, false);
  if (TSlider* music = Slider(kMusicSlider))
    music->SetValue(prefs.GetPrefInt(record_key::kMusicLevel, kDefaultMusicLevel, user) / 1000.0f,
                    false);
  if (auto* side = dynamic_cast<TText*>(FindChild("options_button_text")))
    side->SetRotation(kSideLabelTilt, 50, 50);
}

void TOptions::StoreLevel(const char* key, const char* sliderName, bool saveNow) {
  TGameApp* game = TGameApp::Get();
  TSlider* slider = Slider(sliderName);
  if (!game || !slider || game->CurrentUser() < 0) return;
  game->Prefs().SetPrefInt(key, static_cast<int>(slider->GetValue() * 1000.0f), game->CurrentUser(),
                           saveNow);
}

bool TOptions::OnMessage(TMessage& message) {
  const bool effects = message.name == kEffectsSlider;
  if (!effects && message.name != kMusicSlider) return RWindow::OnMessage(message);
  if (message.type == kSliderChanged) {
    // The level becomes the player's at once; the sound settings apply it with the mute
    // switches (a muted group stays silent while its level moves).
    StoreLevel(effects ? record_key::kSoundLevel : record_key::kMusicLevel,
               effects ? kEffectsSlider : kMusicSlider, false);
    if (TGameApp* game = TGameApp::Get()) game->ApplySoundSettings();
    return true;
  }
  if (message.type == kSliderReleased) {
    SaveVolumes();
    return true;
  }
  return false;
}

void TOptions::SaveVolumes() {
  StoreLevel(record_key::kSoundLevel, kEffectsSlider, false);
  StoreLevel(record_key::kMusicLevel, kMusicSlider, true);
}
