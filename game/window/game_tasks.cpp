#include "game/window/game_tasks.h"

#include <cstdlib>

#include "game/window/board_view.h"
#include "game/window/game.h"
#include "game/window/tile.h"

namespace {

// One step of a coordinate towards its target, never past it.
int StepTowards(int value, int target, int step) {
  if (value < target) return std::min(value + step, target);
  if (value > target) return std::max(value - step, target);
  return value;
}

}  // namespace

TUpdateGameTask::TUpdateGameTask(std::shared_ptr<TGameLife> life, TClock* clock)
    : TAnimTask(clock), mLife(std::move(life)) {
  Schedule(TGame::kUpdatePeriodMs, true, true, false);
}

bool TUpdateGameTask::Animate() {
  if (!mLife->game) return false;
  mLife->game->Update();
  return true;
}

TMoveTile::TMoveTile(std::shared_ptr<TGameLife> life, TClock* clock, TTileId tile, TPoint2 start,
                     TPoint2 target)
    : TAnimTask(clock),
      mLife(std::move(life)),
      mTile(tile),
      mStart(start),
      mCurrent(start),
      mTarget(target),
      mStepX(std::max(1, std::abs((target.x - start.x) / kSteps))),
      mStepY(std::max(1, std::abs((target.y - start.y) / kSteps))),
      mStartTime(GetTime()) {
  if (TGame* game = mLife->game) {
    game->Board().inputLocked = true;
    mBoxCountAtStart = game->Play().SetsBox().Count();
  }
  Schedule(kStepMs, true, true, false);
}

// A flight cut short (the window closed, the task list cleared) still unlocks the board.
TMoveTile::~TMoveTile() {
  if (!mArrived) Finish();
}

bool TMoveTile::Animate() {
  TGame* game = mLife->game;
  if (!game || mArrived) return false;
  TTile* tile = game->View().TileWindow(mTile);
  if (!tile) {
    Finish();
    return false;
  }
  const int due = std::max(1, (GetTime() - mStartTime) / kStepMs);
  for (; mStepsDone < due && mCurrent != mTarget; ++mStepsDone)
    mCurrent = {StepTowards(mCurrent.x, mTarget.x, mStepX),
                StepTowards(mCurrent.y, mTarget.y, mStepY)};
  // The run that brings the tile to its target lands it.
  if (mCurrent == mTarget) {
    Finish();
    return false;
  }
  tile->ChangeOrder(TWindow::kToFront);
  if (TWindow* parent = tile->GetParent()) {
    const TPoint2 local = parent->ScreenToLocal(mCurrent);
    tile->SetPosition(local.x, local.y);
  }
  return true;
}

void TMoveTile::Finish() {
  mArrived = true;
  if (TGame* game = mLife->game) game->FinishFlight(mTile, mBoxCountAtStart);
}

THintHighlight::THintHighlight(std::shared_ptr<TGameLife> life, TClock* clock, TTileId tile,
                               int generation)
    : TAnimTask(clock),
      mLife(std::move(life)),
      mTile(tile),
      mGeneration(generation),
      mStartTime(GetTime()) {
  Schedule(TGame::kUpdatePeriodMs, true, true, false);
  if (TGame* game = mLife->game) game->ShowHintBlank(mTile, true);
}

bool THintHighlight::Animate() {
  TGame* game = mLife->game;
  if (!game || game->HintGeneration(mTile) != mGeneration) return false;
  if (GetTime() - mStartTime <= kRuns * TGame::kUpdatePeriodMs) return true;
  game->ShowHintBlank(mTile, false);
  return false;
}
