#include "game/window/r_end_level_anim.h"

#include <algorithm>

#include "game/board.h"
#include "game/window/board_view.h"
#include "game/window/game.h"
#include "game/window/tile.h"
#include "ui/image.h"

REndLevelAnim::REndLevelAnim(TGame& game, TFace won)
    : mLife(game.Life()),
      mWon(won),
      mTiles(game.Board().TilesToCash(won)),
      mTileValue(game.Board().Ledger().Settings().remainingTileValue) {
  if (TImage* reveal = game.RevealImage()) {
    reveal->SetOpacity(0.0f);
    reveal->SetFlags(reveal->GetFlags() | kWindowVisible);
  }
}

bool REndLevelAnim::Update(int) {
  TGame* game = mLife->game;
  if (!game || mDone) return false;
  TBoard& board = game->Board();
  ++mFrame;
  if (mFrame == 1) {
    board.Ledger().AddRemaining(static_cast<int>(mTiles.size()));
    game->UpdateScore();
  }
  if (mFadeEnd == 0) {
    const float fade = kFadeRate * static_cast<float>(mFrame);
    for (TTileId id : mTiles)
      if (TTile* tile = game->View().TileWindow(id)) tile->SetAlpha(std::max(0.0f, 1.0f - fade));
    if (TImage* reveal = game->RevealImage()) reveal->SetOpacity(std::min(1.0f, fade));
    if (fade > 1.0f) mFadeEnd = mFrame;
    return true;
  }
  if (mFrame < mFadeEnd + kStepsAfterFade) return true;
  mDone = true;
  board.EndLevel(mWon);
  return false;
}
