// TBoard: one level in play, as the rules see it. It holds the grid of tiles (7 layers x
// 38 columns x 16 rows of cells), the selection, the score ledger, the undo stack and the
// tile bag, and carries out the match rules: which tiles are free, what selecting and
// matching does, when the level is over. It draws nothing and plays nothing: whatever
// must be seen or heard goes to its TBoardHost (the game window), which also answers for
// the sets box and the tutorial.
//
// Using the model without a window (tools, tests, a headless player):
//   TBoard board(setup);                         // bankroll, campaign mode, seeds
//   TLevelInfo info; TLevelLayout layout;
//   LoadLevel("levels/level_001.xml", info, layout);   (level_info.h)
//   Deal(board, layout, request, seed);          (deal.h) places the tiles
//   board.FreeTiles();                           // free tiles in grid order
//   board.SelectTile(a, true); board.SelectTile(b, true);   // match a pair
//   board.EndCheck();  board.Ledger().Total();   // level state and score
// A treasure pair leaves the two treasure tiles in place and calls the host's
// OnTreasurePair; the game runs its ending animation, a headless player calls
// FinishTreasureEnding.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "frame/mersenne_twister.h"
#include "game/board_tile.h"
#include "game/level_layout.h"
#include "game/score_ledger.h"
#include "game/tile_bag.h"
#include "game/undo_stack.h"

// The board's sound cues; the game window plays "audio/sfx/tile_select_1.ogg" (select),
// "negative.ogg" (refuse), "henry_start.ogg" (Kenny), "click_hint.ogg", "click_shuffle.ogg",
// "sets_activated.ogg" (set ready), "tile_rollover.ogg", "tile_deselect.ogg",
// "sets_tileplaced.ogg" (placed) and "click_submit.ogg".
enum class TBoardSound {
  kSelect,
  kRefuse,
  kKenny,
  kHint,
  kShuffle,
  kSetReady,
  kRollover,
  kDeselect,
  kPlaced,
  kSubmit
};

// What the board tells the game window and asks of it. Every operation has a neutral
// default, so a board without a host (tools, tests) plays by the plain rules: no sets box
// in use and no tutorial.
class TBoardHost {
 public:
  virtual ~TBoardHost() = default;

  virtual void PlaySound(TBoardSound) {}
  virtual void OnTilePlaced(TTileId) {}
  // The tile's selected flag changed: it shows its lit or plain blank.
  virtual void OnTileSelectionChanged(TTileId) {}
  // The tile left play: detach its window, clear the hover preview if it shows it, and
  // stop routing the pointer to it.
  virtual void OnTileRemoved(TTileId) {}
  // Undo brought the tile back.
  virtual void OnTileRestored(TTileId) {}
  // The shuffle gave the tile another face.
  virtual void OnTileFaceChanged(TTileId) {}
  // Every tile is about to be forgotten.
  virtual void OnGridCleared() {}
  // The tiles on the board in drawing order (later ones are drawn over earlier ones).
  virtual void OnDrawingOrder(std::span<const TTileId>) {}

  // The sets box: how many tiles it holds and whether it could take this one.
  virtual int SetsBoxCount() const { return 0; }
  virtual bool SetsBoxCanTake(const TBoardTile&) const { return true; }

  // The tutorial, while its level is played: true makes a left click on this tile with a
  // selection in progress deselect everything instead of selecting.
  virtual bool TutorialBlocksSelection(const TBoardTile&) { return false; }

  // A pair was accepted and scored (slot in the ledger); the undo record is pushed next.
  virtual void OnPairAccepted(TTileId, TTileId, int /*scoreSlot*/) {}
  // A matched tile is about to leave: its money popup and dust.
  virtual void OnMatchShown(TTileId) {}
  // Two Kenny tiles were matched and removed: open the Kenny offer.
  virtual void OnKennyPair() {}
  // A treasure pair was matched: start the treasure ending (FinishTreasureEnding, after
  // the animation).
  virtual void OnTreasurePair(TFace) {}
  // The level is over: won face, or kNoFace when the board was cleared.
  virtual void OnLevelEnded(TFace) {}
  // Tiles are left but no move: open the loss screen.
  virtual void OnNoMovesLeft() {}
  // Undo took back a record with a gift: remove the gift from the collection.
  virtual void OnGiftTakenBack(TFace) {}
};

struct TBoardSetup {
  bool campaignMode = true;  // the application's game mode is 1
  int bankroll = 0;          // the player's money carried in: the ledger's opening entry
  TScoreSettings score = TScoreSettings::FromSettings();
  uint32_t amountSeed = 5489u;  // random match amounts
  uint32_t searchSeed = 5489u;  // the random choice of FindPair
};

// The result of a click or a selection, for the caller's feedback and for tests.
enum class TSelectResult {
  kNothing,          // selection full, tile not selectable, or a rule said nothing
  kRefused,          // the refuse sound was played
  kDeselectedAll,    // a tutorial rule cleared the selection
  kSelected,         // the tile is the only one selected
  kDeselected,       // the tile was selected and is not any more
  kMismatch,         // two different faces: the second stays selected alone
  kMatched,          // a pair of a common suit was scored and removed
  kKennyPair,        // two Kenny tiles were removed
  kTreasurePair,     // a treasure pair was matched: the level ends
  kAddedToSelection  // a third or fourth tile (the sets box passes its tiles so)
};

enum class TEndCheck { kPlaying, kCleared, kNoMovesLeft };

class TBoard {
 public:
  explicit TBoard(const TBoardSetup& setup = {});
  ~TBoard();
  TBoard(const TBoard&) = delete;
  TBoard& operator=(const TBoard&) = delete;

  void SetHost(TBoardHost* host) { mHost = host ? host : &mNoHost; }
  bool CampaignMode() const { return mCampaignMode; }

  // --- Grid ---------------------------------------------------------------------------

  // Places a tile with this face on the cell. Refused (kNoTile) for a face the catalogue
  // does not hold or a cell outside the grid. A cell that already holds a tile keeps it
  // and its face; that tile is returned.
  TTileId PlaceTile(int layer, int x, int y, TFace face);
  // Forgets every tile; tiles on board becomes 0.
  void ClearGrid();
  // Tiles on board := tiles not removed; with restack the host gets the drawing order.
  void RecountTiles(bool restack);

  int TilesOnBoard() const { return mTilesOnBoard; }
  // Every tile placed since the grid was cleared, removed ones included.
  int TileCount() const { return static_cast<int>(mTiles.size()); }
  const TBoardTile& Tile(TTileId id) const { return mTiles[id]; }
  // The tile on the cell (removed or not), kNoTile for none or outside the grid.
  TTileId TileAt(int layer, int x, int y) const;
  // All tiles in grid order: layer 0..6, x 0..37, y 0..15.
  const std::vector<TTileId>& GridOrder() const;
  // Tiles not removed, in drawing order: layers up, within a layer the diagonals x - y
  // from the right, within a diagonal y from the bottom; later tiles cover earlier ones.
  std::vector<TTileId> DrawingOrder() const;
  // Tiles in the grid with this face, removed ones included.
  int DealtCount(TFace face) const;
  // A treasure face dealt more than twice: it can only be cleared through the sets box,
  // all copies at once.
  bool HasManyCopies(TFace face) const;

  // --- Free rule ----------------------------------------------------------------------

  // A tile not removed stands on the cell.
  bool Stands(int layer, int x, int y) const;
  bool IsFree(int layer, int x, int y) const;
  bool IsSelectable(TTileId id) const;
  bool IsTopVisible(int layer, int x, int y) const;
  // Selectable tiles in grid order.
  std::vector<TTileId> FreeTiles() const;

  // --- Selection and matching ---------------------------------------------------------

  // A left click on a tile that is not pressed into appraisal or locked input (the tile
  // window checks those): refuses a tile the sets box could not take or that is not
  // selectable, ignores treasures dealt more than twice and clicks while a set is being
  // built, applies the tutorial's veto, then SelectTile(tile, true).
  TSelectResult ClickTile(TTileId id);
  // The selection rule: toggles the tile, and on the second tile matches or refuses.
  TSelectResult SelectTile(TTileId id, bool checkFree);
  // Every selected tile is deselected in selection order; the deselect sound plays once
  // when there was one.
  void DeselectAll();
  // The same without the sound.
  void ClearSelection();
  std::span<const TPlacedTile> Selection() const { return {mSelection.data(), mSelectionCount}; }
  // Takes selection entry index out of play and out of the selection.
  void RemoveSelected(int index);
  // Takes a tile out of play (matched, or moved into the sets box). It keeps its cell.
  void RemoveTile(TTileId id);

  // --- Moves and the end of the level -------------------------------------------------

  // A pair to show as a hint: a free pair (chosen at random among them) or else a pair
  // that blocks itself and can only be cleared through the sets box.
  std::optional<std::array<TTileId, 2>> FindPair();
  // Tiles that can go through the sets box together (2 to 4), or empty.
  std::vector<TTileId> FindSet() const;
  bool NoMovesLeft() const;
  // An empty board ends the level; a board without a move asks for the loss screen.
  TEndCheck EndCheck();
  void EndLevel(TFace won);
  bool LevelEnded() const { return mLevelEnded; }
  TFace WonFace() const { return mWonFace; }

  // The treasure ending: runs once per board (false on a second call) and marks the level
  // ended; the tiles to cash are every tile not removed except the treasure tiles showing
  // the won face, visiting x 0..37, then layers 6 down to 0, then y 0..15.
  bool StartTreasureEnding();
  std::vector<TTileId> TilesToCash(TFace won) const;
  // All of the ending at once, without the animation: cash the tiles and end the level.
  void FinishTreasureEnding(TFace won);

  // --- Undo, faces ----------------------------------------------------------------------

  // Takes back the top undo record: its tiles return to the board, its score entry leaves
  // the ledger. Nothing once the level has ended. True when a record was taken back.
  bool UndoLastRecord();
  // Gives a tile another face (the shuffle); the host redraws it.
  void SetTileFace(TTileId id, TFace face);

  TScoreLedger& Ledger() { return *mLedger; }
  const TScoreLedger& Ledger() const { return *mLedger; }
  TUndoStack& UndoStack() { return mUndo; }
  const TUndoStack& UndoStack() const { return mUndo; }
  TTileBag& Bag() { return mBag; }

  // Board state the game window sets: appraisal mode and input locked while a tile flies
  // to the sets box.
  bool appraisalMode = false;
  bool inputLocked = false;

 private:
  bool InSelection(TTileId id) const;
  void DropFromSelection(TTileId id);
  void SetSelected(TTileId id, bool selected);
  TPlacedTile Placed(TTileId id) const;
  TSelectResult MatchSelection();

  TBoardHost mNoHost;
  TBoardHost* mHost = &mNoHost;
  bool mCampaignMode;
  std::unique_ptr<TScoreLedger> mLedger;
  TUndoStack mUndo;
  TTileBag mBag;
  TMersenneTwister mSearchRandom;

  std::vector<TBoardTile> mTiles;
  std::array<int16_t, TLevelLayout::kCells> mCells;
  mutable std::vector<TTileId> mGridOrder;
  mutable bool mGridOrderValid = true;
  std::vector<int16_t> mDealtByFace;  // per catalogue face index
  int mTilesOnBoard = 0;

  std::array<TPlacedTile, 4> mSelection{};
  size_t mSelectionCount = 0;

  bool mLevelEnded = false;
  bool mTreasureEndingStarted = false;
  TFace mWonFace = kNoFace;
};

// The tile's window position relative to the game window, in pixels: columns are 20
// pixels apart, rows 28, and each layer up shifts a tile right and up.
struct TTileScreenPosition {
  int left;
  int top;
};
TTileScreenPosition TileScreenPosition(int layer, int x, int y);
inline constexpr int kTileWindowWidth = 47;
inline constexpr int kTileWindowHeight = 64;
