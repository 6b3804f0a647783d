// A solver for a dealt board, on the rules of play: it searches for an order of moves
// that clears the board (or ends the level) and returns it. The moves are those of a
// player: two free tiles of one face; with the sets box, also two tiles of one face that
// block each other (taken one after the other) and all copies of a treasure dealt more
// than twice. Sets of three and runs are not tried.
//
// The search is depth first with the moves that are always safe taken without branching
// (the last two tiles of a face, all tiles of a face when they are all free, a treasure
// group) and the boards already found to be dead remembered; it starts again and again
// with another order of near-equal moves, and gives up after a number of boards.
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "frame/mersenne_twister.h"
#include "game/board.h"

class TBoardSolver {
 public:
  enum class TGoal {
    kClearBoard,  // every tile taken
    kEndLevel     // every tile taken, or a treasure matched
  };
  struct TOptions {
    TGoal goal = TGoal::kClearBoard;
    bool setsBox = true;       // false: plain pairs of free tiles only
    long boardLimit = 200000;  // boards looked at before giving up, over all attempts
    // The search starts again and again, with budgets of this many boards times the Luby
    // sequence (1 1 2 1 1 2 4 ...) and the moves of near-equal promise in another random
    // order each time: a search that went wrong early seldom recovers, while a fresh start
    // often finds the way at once.
    long restartUnit = 64;
    // A greedy player instead of a search: always the most promising move, no going back.
    bool greedy = false;
  };
  struct TMove {
    std::vector<TTileId> tiles;  // in the order they are taken
    bool together = false;       // a pair of two free tiles, matched by clicking
    bool treasure = false;
  };
  struct TResult {
    bool solved = false;
    bool gaveUp = false;  // the board limit ended the search
    long boards = 0;
    std::vector<TMove> moves;  // the solution when solved
    int tilesLeft = 0;         // greedy: the tiles left when it got stuck
  };

  // Takes a snapshot of the tiles on the board.
  explicit TBoardSolver(const TBoard& board);

  TResult Solve(const TOptions& options);

 private:
  struct TTile {
    int16_t layer;
    int16_t x;
    int16_t y;
    int face;  // dense face number of this board
    TTileId boardId;
    uint64_t key;  // for the board's hash
  };

  bool Stands(int layer, int x, int y) const;
  void Take(int tile);
  void PutBack(int tile);
  void Refresh(int layer, int x, int y);
  bool TakeInSequence(const std::vector<int>& tiles, std::vector<int>& order);
  void Apply(const std::vector<int>& tiles, bool together, bool treasure);
  void UndoLast();
  bool GoalReached() const;
  bool TakeSafeMoves();
  bool Search();
  void ListMoves(std::vector<TMove>& moves);
  int Weight(int tile) const;
  int Freed(const TMove& move);

  std::vector<TTile> mTiles;
  std::vector<int> mCellTile;  // per grid cell: tile number or -1
  std::vector<uint8_t> mStanding;
  std::vector<uint8_t> mFree;
  std::vector<std::vector<int>> mFaceTiles;
  std::vector<int> mFaceStanding;
  std::vector<uint8_t> mManyCopies;  // per face: a treasure dealt more than twice
  std::vector<uint8_t> mTreasure;    // per face
  int mStandingCount = 0;
  uint64_t mHash = 0;
  bool mTreasureTaken = false;

  TOptions mOptions;
  std::vector<TMove> mPath;            // moves taken so far, in local tile numbers
  std::unordered_set<uint64_t> mDead;  // hashes of boards that cannot reach the goal
  long mBoards = 0;
  int mAttempt = 0;
  long mAttemptLimit = 0;
  bool mGaveUp = false;
  TMersenneTwister mTieBreak;
  std::vector<int> mScratch;
};
