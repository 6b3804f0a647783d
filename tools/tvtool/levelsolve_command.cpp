// tvtool levelsolve DEALS FILE... [--greedy] [--solvable] [--mode 0|1] [--beaten C]
// [--seed N]: deals each layout DEALS times the way the game deals the campaign level of
// that file name (treasures, Kenny tiles and suits by the number of levels beaten) and
// measures how playable the deals are: the share a greedy player ends (treasure matched or
// board cleared), the share the solver can end and can clear, and what is left when the
// greedy player gets stuck. With --greedy only the greedy player plays, which is quick
// enough for tuning many layouts at once. The rules and the deal are the game's own.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "game/board.h"
#include "game/board_solver.h"
#include "game/deal.h"
#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/level_deal.h"

namespace {

struct TTally {
  int deals = 0;
  int greedyEnded = 0;
  int ended = 0;
  int cleared = 0;
  int gaveUp = 0;
  long greedyTilesLeft = 0;
  long emptyPositions = 0;
};

void SolveDeal(const TBoard& board, bool greedyOnly, TTally& tally) {
  TBoardSolver::TOptions options;
  options.goal = TBoardSolver::TGoal::kEndLevel;
  options.greedy = true;
  const TBoardSolver::TResult greedy = TBoardSolver(board).Solve(options);
  tally.greedyEnded += greedy.solved;
  if (!greedy.solved) tally.greedyTilesLeft += greedy.tilesLeft;
  if (greedyOnly) return;
  options.greedy = false;
  options.boardLimit = 20000;
  const TBoardSolver::TResult ended = TBoardSolver(board).Solve(options);
  tally.ended += ended.solved;
  options.goal = TBoardSolver::TGoal::kClearBoard;
  const TBoardSolver::TResult cleared = TBoardSolver(board).Solve(options);
  tally.cleared += cleared.solved;
  tally.gaveUp += ended.gaveUp || cleared.gaveUp;
}

void PrintTally(const std::string& level, const TLevelLayout& layout, const TTally& tally,
                bool greedyOnly) {
  const int stuck = tally.deals - tally.greedyEnded;
  const double tilesLeft = stuck > 0 ? double(tally.greedyTilesLeft) / stuck : 0.0;
  const double emptyPositions = double(tally.emptyPositions) / tally.deals;
  std::printf("%s: %d positions, %d deals, greedy ended %.1f%%, ", level.c_str(),
              layout.PositionCount(), tally.deals, 100.0 * tally.greedyEnded / tally.deals);
  if (!greedyOnly) {
    std::printf("ended %.1f%%, cleared %.1f%%, ", 100.0 * tally.ended / tally.deals,
                100.0 * tally.cleared / tally.deals);
  }
  std::printf("%.1f tiles left when the greedy player is stuck, %.2f empty positions per deal",
              tilesLeft, emptyPositions);
  if (!greedyOnly) std::printf(", %d searches gave up", tally.gaveUp);
  std::printf("\n");
}

int RunLevelSolve(const TToolArguments& args) {
  TDealOptions options;
  std::string error;
  TToolArguments dealArgs = args;
  const bool greedyOnly = std::erase(dealArgs.all, "--greedy") > 0;
  if (!ReadDealOptions(dealArgs, options, error)) return ToolError("levelsolve", error);
  if (options.positional.size() < 2) return ToolUsage("levelsolve");
  const long deals = std::atol(options.positional[0].c_str());
  if (deals <= 0) return ToolError("levelsolve", "DEALS must be a positive number");
  for (size_t i = 1; i < options.positional.size(); ++i) {
    const std::string& level = options.positional[i];
    TLevelLayout layout;
    int levelsBeaten = 0;
    bool tutorial = false;
    if (!ReadDealLevel(level, options.package, layout, levelsBeaten, tutorial, error))
      return ToolError("levelsolve", error);
    TTally tally;
    for (long d = 0; d < deals; ++d) {
      TDealOptions dealOptions = options;
      dealOptions.seed = options.seed + static_cast<uint32_t>(d) * 7919u;
      TBoard board;
      const int placed = Deal(board, layout, DealRequestFor(dealOptions, levelsBeaten, tutorial),
                              dealOptions.seed);
      tally.emptyPositions += layout.PositionCount() - placed;
      ++tally.deals;
      SolveDeal(board, greedyOnly, tally);
    }
    PrintTally(level, layout, tally, greedyOnly);
  }
  return 0;
}

std::set<std::string> LevelSolveFlags() {
  std::set<std::string> flags = DealOptionFlags();
  flags.insert("--greedy");
  return flags;
}

const TCommandRegistration kLevelSolve{
    "levelsolve",
    "DEALS LEVEL... [--greedy] [--solvable] [--mode 0|1] [--beaten C] [--seed N] "
    "[--package PKG]",
    "deal levels many times and report how often a greedy player and the solver end them",
    &RunLevelSolve, LevelSolveFlags()};

}  // namespace
