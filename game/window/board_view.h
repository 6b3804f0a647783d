// TBoardView: the board's tiles as windows. It is the board's host: when the board places a
// tile it makes a TTile child of the parent window (the game window) at the tile's screen
// position, it detaches and re-attaches tiles as they leave and return, keeps the drawing
// order, shows selections and plays the board's sounds. Everything about the level's flow
// (scores, the sets box, the tutorial, the end screens) it passes on to the game's own
// host, when one is set.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/board.h"
#include "gfx/texture_atlas.h"
#include "ui/window.h"

class TPlayableSound;
class TTile;
class TWindow;

class TBoardView : public TBoardHost {
 public:
  // Tiles become children of parent; the drawing order starts just in front of the child
  // named anchor (when there is one; otherwise the tiles go behind every other child).
  TBoardView(TBoard& board, TWindow& parent, std::string anchor = "game_menu_button");
  ~TBoardView() override;
  TBoardView(const TBoardView&) = delete;
  TBoardView& operator=(const TBoardView&) = delete;

  TBoard& Board() { return mBoard; }
  TTile* TileWindow(TTileId id) const;
  // The tiles' pictures (blanks and faces) in one texture: the board draws as one batch.
  TTextureAtlas& Atlas() { return mAtlas; }

  // The game window's part: level flow, sets box and tutorial (null: the plain rules).
  void SetGameHost(TBoardHost* game) { mGame = game; }
  // Whether the player has seen the tutorial (the hint-mark rule of the tiles).
  void SetTutorialSeen(bool seen) { mTutorialSeen = seen; }
  bool TutorialSeen() const { return mTutorialSeen; }
  // The hover preview of the game window: a tile, or null to clear it.
  void SetPreviewHandler(std::function<void(TTile*)> handler) { mPreview = std::move(handler); }
  void ShowPreview(TTile* tile);
  // A left click on a tile in appraisal mode.
  void SetAppraiseHandler(std::function<void(TTile&)> handler) { mAppraise = std::move(handler); }
  void Appraise(TTile& tile);
  // A right click on a tile: send it to the sets box. The handler answers whether the
  // click was taken (without one the click goes on).
  void SetSendToBoxHandler(std::function<bool(TTile&)> handler) { mSendToBox = std::move(handler); }
  bool SendToBox(TTile& tile);
  // A dragged tile was let go at a screen point (the sets box may take it).
  void SetDropHandler(std::function<void(TTile&, TPoint2)> handler) { mDrop = std::move(handler); }
  void Drop(TTile& tile, TPoint2 screenPoint);

  // TBoardHost: the windows' part, then the game's.
  void PlaySound(TBoardSound sound) override;
  void OnTilePlaced(TTileId id) override;
  void OnTileSelectionChanged(TTileId id) override;
  void OnTileRemoved(TTileId id) override;
  void OnTileRestored(TTileId id) override;
  void OnTileFaceChanged(TTileId id) override;
  void OnGridCleared() override;
  void OnDrawingOrder(std::span<const TTileId> order) override;
  int SetsBoxCount() const override;
  bool SetsBoxCanTake(const TBoardTile& tile) const override;
  bool TutorialBlocksSelection(const TBoardTile& tile) override;
  void OnPairAccepted(TTileId first, TTileId second, int slot) override;
  void OnMatchShown(TTileId id) override;
  void OnKennyPair() override;
  void OnTreasurePair(TFace face) override;
  void OnLevelEnded(TFace won) override;
  void OnNoMovesLeft() override;
  void OnGiftTakenBack(TFace face) override;

 private:
  TBoard& mBoard;
  TWindow& mParent;
  std::string mAnchor;
  TBoardHost mNoGame;
  TBoardHost* mGame = &mNoGame;
  bool mTutorialSeen = true;
  std::function<void(TTile*)> mPreview;
  std::function<void(TTile&)> mAppraise;
  std::function<bool(TTile&)> mSendToBox;
  std::function<void(TTile&, TPoint2)> mDrop;
  TTextureAtlas mAtlas;
  std::vector<std::unique_ptr<TTile>> mTiles;  // by tile id; attached ones are also children
  std::array<std::shared_ptr<TPlayableSound>, 10> mSounds;
};
