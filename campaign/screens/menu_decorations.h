// The main menu's moving decorations: five animations on the shop's counter and floor that
// play one at a time in a ring (rocking horse, sparkle, phone, train, truck), with a quiet
// pause between two of them, and a second sparkle that now and then glints on one of two
// shiny things on the shelf.
#pragma once

#include <memory>
#include <random>
#include <vector>

class TAnimatedSprite;
class TSpriteLayer;

// Which animation of the ring starts on an update. The next one starts only when the one
// before it in the ring has stopped and more than kQuietUpdates updates have passed with
// none of them playing, so two never overlap.
class TDecorationRing {
 public:
  static constexpr int kQuietUpdates = 50;

  explicit TDecorationRing(int count) : mCount(count) {}

  // One update; playing[i] tells whether animation i is running. Answers the animation to
  // start now, or -1.
  int Step(const std::vector<bool>& playing);
  int Quiet() const { return mQuiet; }

 private:
  int mCount;
  int mNext = 0;
  int mQuiet = 0;
};

class TMenuDecorations {
 public:
  // Chance in a hundred, per update, that the idle shelf sparkle glints.
  static constexpr int kGlintPercent = 3;

  TMenuDecorations();
  ~TMenuDecorations();

  // Puts the animations into the layer; false (and nothing moves) when none can load.
  bool Start(TSpriteLayer& layer, unsigned seed);
  void Update();
  bool Started() const { return !mRing.empty(); }
  // The ring's sprites in ring order (for tests).
  const std::vector<std::shared_ptr<TAnimatedSprite>>& Ring() const { return mRing; }

 private:
  std::vector<std::shared_ptr<TAnimatedSprite>> mRing;
  std::shared_ptr<TAnimatedSprite> mGlint;
  TDecorationRing mOrder{0};
  std::minstd_rand mRandom;
};
