// TAnimationLayer ("AnimationLayer", the child "animationlayer" of the play screen): the
// window the game's feedback animations run on, in front of the board. It shows a money
// popup and a puff of dust for each matched tile, popups and particles for a submitted set,
// and runs the treasure ending. Every animation is stepped once per 16 ms of the dialog's
// clock (on the dialog's task list, drawn or not) and all are drawn in one 2D pass; each
// particle system draws its particles in one batch. The pointer goes through the layer.
//
// Money popups show the money a move earned: half a pair's value on each of its tiles, a
// set's value shared out over its slots. During the tutorial level they show words of
// praise instead. A set of Kenny tiles earns nothing (the offer follows), so it shows
// particles but no popups.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "game/window/game_animations.h"
#include "game/window/k_anim.h"
#include "game/window/r_floaty_text.h"
#include "ui/window.h"

class TPlayableSound;

class TAnimationLayer : public TWindow, public TGameAnimations {
 public:
  static constexpr char kMatchSound[] = "audio/sfx/tile_select_2.ogg";
  static constexpr char kTreasureSound[] = "audio/sfx/match_antique.ogg";
  // At most this many steps (about a second) are caught up at once: a slow frame rate keeps
  // the animations in time, a long stall skips what is more than a second late.
  static constexpr int kMaxCatchUpSteps = 64;

  TAnimationLayer();
  ~TAnimationLayer() override;

  static TWindow* Create();
  const char* GetClassName() const override { return "TAnimationLayer"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TAnimationLayer::Create || TWindow::IsKindOf(type);
  }

  void Draw() override;
  bool Animate() override;

  void AddAnimation(std::unique_ptr<KAnim> animation);
  // A popup whose box (100 x 40) starts with its top-left corner at (x, y) of the layer.
  void ShowFloatyText(const std::string& text, int x, int y, const TFloatyTextStyle& style);

  // TGameAnimations
  void ShowMatch(TGame& game, TTileId tile) override;
  void ShowSetsSubmit(TGame& game, const TSetsBox& box) override;
  bool StartTreasureEnding(TGame& game, TFace won) override;

  // Steps every animation by the clock time since the last call (the layer's task).
  void Advance();
  const std::vector<std::unique_ptr<KAnim>>& Animations() const { return mAnimations; }
  // Particles alive in every animation (for tests and the diagnostic log).
  int LiveParticles() const;

 private:
  int Now() const;
  TPoint2 FromScreen(TPoint2 screen) const;

  std::vector<std::unique_ptr<KAnim>> mAnimations;
  std::shared_ptr<TPlayableSound> mMatchSound;
  std::shared_ptr<TPlayableSound> mTreasureSound;
  int mLastTime = 0;
  bool mStarted = false;
  int mCarryMs = 0;
  bool mAnimating = false;
};

// "$12.50": money with cents, as the popups show it.
std::string PopupMoney(double amount);
