#include "game/window/game_tutorial_link.h"

#include "game/window/board_view.h"
#include "game/window/game.h"
#include "game/window/game_player.h"
#include "game/window/tile.h"
#include "ui/window_manager.h"

bool TGameTutorialLink::TutorialWon() const {
  return mPlayer.Progress().tutorialWon;
}

int TGameTutorialLink::LevelsBeaten() const {
  return mPlayer.Progress().levelsBeaten;
}

bool TGameTutorialLink::TutorialsOn() const {
  return mPlayer.TutorialsOn();
}

bool TGameTutorialLink::PromptSeen(int id) const {
  return mPlayer.PromptSeen(id);
}

void TGameTutorialLink::MarkPromptSeen(int id) {
  mPlayer.MarkPromptSeen(id);
}

bool TGameTutorialLink::LevelEnded() const {
  return mGame.Board().LevelEnded();
}

bool TGameTutorialLink::Initialised() const {
  return mGame.Initialised();
}

void TGameTutorialLink::QueueScript(const std::string& text) {
  if (TWindowManager* manager = TWindowManager::Get()) manager->QueueScript(text);
}

// The hint blank marks a tile for the rest of the level while the tutorial is not won, so
// the lesson's tiles stay green until they leave the board.
void TGameTutorialLink::LightSuit(int suit) {
  TBoard& board = mGame.Board();
  for (TTileId id : board.GridOrder()) {
    if (board.Tile(id).face.suit != suit || board.Tile(id).removed) continue;
    if (TTile* tile = mGame.View().TileWindow(id)) tile->SetImages(tile_blank::kOffHint);
  }
}

void TGameTutorialLink::UpdateButtons() {
  mGame.UpdateButtons();
}
