// The timed tasks of a game window, run on its dialog's clock (paused while the game is in
// the background): the per-frame update of score and timer, a tile's flight into the sets
// box, and the light of a hint on a tile. Each holds the game window's life token and a
// tile id rather than pointers, so a task that outlives its window ends quietly. Each run
// does the steps that fell due since the last one, so a flight, a hint light or the score
// roll lasts the same time at any frame rate, also when frames come seconds apart.
#pragma once

#include <memory>

#include "frame/anim_task.h"
#include "game/board_tile.h"
#include "ui/window.h"

struct TGameLife;

// Calls TGame::Update every 16 milliseconds.
class TUpdateGameTask : public TAnimTask {
 public:
  TUpdateGameTask(std::shared_ptr<TGameLife> life, TClock* clock);
  bool Animate() override;

 private:
  std::shared_ptr<TGameLife> mLife;
};

// Flies a tile from its place on the board to a slot of the sets box, a ninth of the way
// per step every 30 milliseconds, with the board's input locked; on arrival the tile goes
// into the box (when the box still takes it) and its window returns to its place.
class TMoveTile : public TAnimTask {
 public:
  static constexpr int kStepMs = 30;
  static constexpr int kSteps = 9;

  TMoveTile(std::shared_ptr<TGameLife> life, TClock* clock, TTileId tile, TPoint2 start,
            TPoint2 target);
  ~TMoveTile() override;
  bool Animate() override;
  bool Arrived() const { return mArrived; }

 private:
  void Finish();

  std::shared_ptr<TGameLife> mLife;
  TTileId mTile;
  TPoint2 mStart;
  TPoint2 mCurrent;
  TPoint2 mTarget;
  int mStepX;
  int mStepY;
  int mStartTime;
  int mStepsDone = 0;
  int mBoxCountAtStart = 0;
  bool mArrived = false;
};

// Shows a tile's hint blank for 200 runs of 16 milliseconds (about 3.2 seconds), then its
// usual blank again. A newer hint on the same tile takes over (generation).
class THintHighlight : public TAnimTask {
 public:
  static constexpr int kRuns = 200;

  THintHighlight(std::shared_ptr<TGameLife> life, TClock* clock, TTileId tile, int generation);
  bool Animate() override;

 private:
  std::shared_ptr<TGameLife> mLife;
  TTileId mTile;
  int mGeneration;
  int mStartTime;
};
