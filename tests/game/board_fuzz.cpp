// Reads arbitrary bytes as a level file, deals the layout onto a board (plainly and, for
// small layouts, in a clearing order) and plays on it: the move searches, a match, the
// stuck test, undo, a shuffle and the solver, whatever the layout looks like.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "game/board.h"
#include "game/board_solver.h"
#include "game/deal.h"
#include "game/face_shuffle.h"
#include "game/level_file.h"

namespace {

void Play(TBoard& board, uint32_t seed) {
  board.FreeTiles();
  board.FindSet();
  if (auto pair = board.FindPair()) {
    board.ClickTile((*pair)[0]);
    board.ClickTile((*pair)[1]);
  }
  board.EndCheck();
  board.UndoLastRecord();
  TMersenneTwister random(seed);
  ShuffleFaces(board, random, board.TilesOnBoard() <= 120);
  board.NoMovesLeft();
  TBoardSolver::TOptions options;
  options.boardLimit = 200;
  TBoardSolver(board).Solve(options);
  board.DrawingOrder();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  TLevelInfo info;
  if (!ReadLevelInfo(input, info)) return 0;
  TLevelLayout layout;
  layout.DecodeLayoutData(info.layoutData);
  const uint32_t seed = static_cast<uint32_t>(size) * 2654435761u;
  for (int beaten : {0, 23, 50}) {
    TDealRequest request;
    request.bag.levelsBeaten = beaten;
    request.bag.pickTreasure = CatalogueTreasurePicker(seed);
    request.solvable = beaten == 23 && layout.PositionCount() <= 160;
    TBoard board;
    Deal(board, layout, request, seed + beaten);
    Play(board, seed);
  }
  TDealRequest tutorial;
  tutorial.bag.tutorialWon = false;
  TBoard board;
  Deal(board, layout, tutorial, seed);
  Play(board, seed);
  return 0;
}
