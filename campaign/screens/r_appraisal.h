// RAppraisal: the appraisal screen ("RAppraisal"). It shows the tile the player paid to
// have appraised: its large picture, the appraiser's title and words for it, the set it
// belongs to and its value, and one of the two appraisers (chosen at random, even odds)
// with a name tag. It fades in; its OK button fades it out.
#pragma once

#include "campaign/screens/r_window.h"
#include "game/face.h"

class RAppraisal : public RWindow {
 public:
  enum class TAppraiser { kGentleman, kLady };

  static TWindow* Create();
  const char* GetClassName() const override { return "RAppraisal"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &RAppraisal::Create || RWindow::IsKindOf(type);
  }

  void PostCreate(const TWindowStyle& style) override;

  // The appraiser for a roll of 1..100: up to 50 the gentleman, else the lady.
  static TAppraiser AppraiserFor(int roll) {
    return roll <= 50 ? TAppraiser::kGentleman : TAppraiser::kLady;
  }
  // Fills the screen's children for a face (what PostCreate does with the appraised face).
  void ShowFace(TFace face, TAppraiser appraiser);
};
