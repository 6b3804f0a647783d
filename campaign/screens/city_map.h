// TCityMap: the campaign's hub between levels ("CityMap"). It shows the location signs
// (open ones as buttons), the trail of the 50 days (won days brown, the current one
// pulsing, the rest faded), and the parchment with the day and the days left. Opening it
// fades it in and runs the story point (the intro on a fresh game); a player who has not
// played the tutorial level goes straight to it; Continue or a click on the current day
// starts the next level; once all 50 days are won it leads on to the gallery or the end.
#pragma once

#include <memory>
#include <string>

#include "campaign/screens/keyboard_screen.h"
#include "campaign/screens/screen_functions.h"

class TGameState;
class TTexture;

class TCityMap : public TKeyboardScreen {
 public:
  static constexpr int kUpdateMs = 16;
  static constexpr int kParchmentSlide = 200;  // pixels the parchment rises into place
  static constexpr int kEndCheckDelay = 101;   // updates after the opening animations

  TCityMap();
  ~TCityMap() override;

  static TWindow* Create();
  const char* GetClassName() const override { return "TCityMap"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TCityMap::Create || TWindow::IsKindOf(type);
  }

  void PostCreate(const TWindowStyle& style) override;
  // The day markers go over the map picture (a child), then the keyboard's ring.
  void PostDraw() override;
  bool Animate() override;
  bool OnMouseDown(TPoint2 point) override;
  bool OnMouseMove(TPoint2 point) override;
  bool OnMouseLeave() override;

  // Script functions.
  void SetCurrentLocation(int index);
  bool DisplayStoryPoint();
  void Continue();

  // State for tests.
  bool SignsDone() const { return mSignsDone; }
  bool ParchmentArrived() const { return mParchmentArrived; }
  int Updates() const { return mUpdates; }

 private:
  struct TSign {
    TWindow* button = nullptr;
    int baseTop = 0;
  };

  void DrawDays();
  TGameState* State() const;
  int LevelsBeaten() const;
  bool OnCurrentDay(TPoint2 point) const;
  void StartLevelAt(int location);
  void SetHover(bool on);
  void BounceSigns();
  void SlideParchment();

  TScreenFunctions mFunctions;
  std::shared_ptr<TTexture> mDotWon, mDotAhead, mDotToday;
  TSign mSigns[8];
  TWindow* mSlideWindows[3] = {};
  int mParchmentTarget = 0;
  bool mParchmentArrived = false;
  bool mSignsDone = false;
  bool mGoingUp = true;  // the first of three bounces (11, 8, 5 pixels) starts upwards
  int mBounceRound = 3;
  int mUpdates = 0;
  int mDoneAt = -1;
  bool mEndQueued = false;
  bool mHover = false;
  int mHoverSoundAt = -100000;
};
