// Helpers for the board tests: a host that records what the board tells the game window
// and answers for the sets box and the tutorial as a test sets it up, and a stack builder.
#pragma once

#include <initializer_list>
#include <vector>

#include "game/board.h"

class TRecordingHost : public TBoardHost {
 public:
  void PlaySound(TBoardSound sound) override { sounds.push_back(sound); }
  void OnTileRemoved(TTileId id) override { removed.push_back(id); }
  void OnTileRestored(TTileId id) override { restored.push_back(id); }
  void OnDrawingOrder(std::span<const TTileId> order) override {
    drawingOrder.assign(order.begin(), order.end());
  }
  int SetsBoxCount() const override { return setsBoxCount; }
  bool SetsBoxCanTake(const TBoardTile&) const override { return setsBoxTakes; }
  bool TutorialBlocksSelection(const TBoardTile& tile) override {
    return tile.face.suit == tutorialBlockedSuit;
  }
  void OnPairAccepted(TTileId, TTileId, int slot) override { acceptedSlots.push_back(slot); }
  void OnMatchShown(TTileId id) override { shown.push_back(id); }
  void OnKennyPair() override { ++kennyOffers; }
  void OnTreasurePair(TFace face) override { treasurePairs.push_back(face); }
  void OnLevelEnded(TFace face) override { levelEnds.push_back(face); }
  void OnNoMovesLeft() override { ++lossScreens; }

  std::vector<TBoardSound> sounds;
  std::vector<TTileId> removed, restored, shown, drawingOrder;
  std::vector<int> acceptedSlots;
  std::vector<TFace> treasurePairs, levelEnds;
  int kennyOffers = 0;
  int lossScreens = 0;

  int setsBoxCount = 0;
  bool setsBoxTakes = true;
  int tutorialBlockedSuit = -1;
};

// Places one tile per face on the cell (x, y), layer 0 first.
inline void PlaceStack(TBoard& board, int x, int y, std::initializer_list<TFace> faces) {
  int layer = 0;
  for (const TFace& face : faces) board.PlaceTile(layer++, x, y, face);
}
