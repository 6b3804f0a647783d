// TOptions: the options dialog ("OptionsWindow"). After its dialog is built it sets the
// switches and sliders from the current player's stored options; moving a volume slider
// changes that volume at once, releasing it stores both volumes (SaveVolumes).
#pragma once

#include "campaign/screens/r_window.h"

class TSlider;

class TOptions : public RWindow {
 public:
  static constexpr char kEffectsSlider[] = "options_sfx_slider";
  static constexpr char kMusicSlider[] = "options_music_slider";

  TOptions();

  static TWindow* Create();
  const char* GetClassName() const override { return "TOptions"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TOptions::Create || RWindow::IsKindOf(type);
  }

  void PostCreate(const TWindowStyle& style) override;
  bool OnMessage(TMessage& message) override;

  // Stores the two slider values as the player's volumes (thousandths), saved at once.
  void SaveVolumes();

 private:
  TSlider* Slider(const char* name);
  // The slider's value as the player's stored level, without saving the store yet.
  void StoreLevel(const char* key, const char* sliderName, bool saveNow);
};
