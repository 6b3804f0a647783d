// The board's hot paths on the largest shipped layout: a whole deal followed by the first
// stuck test (what opening a level costs), and one stuck test after a match (what every
// match costs). Targets: well under 1 ms and 50 us.
#include <benchmark/benchmark.h>

#include "game/board.h"
#include "game/deal.h"
#include "shipped_layouts.h"

namespace {

const TShippedLayout& Largest() {
  const TShippedLayout* largest = &ShippedLayouts()[0];
  for (const TShippedLayout& shipped : ShippedLayouts())
    if (shipped.layout.PositionCount() > largest->layout.PositionCount()) largest = &shipped;
  return *largest;
}

TDealRequest Request(const TShippedLayout& shipped, uint32_t seed, bool solvable) {
  TDealRequest request;
  request.bag.levelsBeaten = shipped.levelsBeaten;
  request.bag.pickTreasure = CatalogueTreasurePicker(seed);
  request.solvable = solvable;
  return request;
}

void DealAndFirstStuckTest(benchmark::State& state, bool solvable) {
  const TShippedLayout& shipped = Largest();
  uint32_t seed = 1;
  for (auto _ : state) {
    TBoard board;
    Deal(board, shipped.layout, Request(shipped, seed, solvable), seed);
    benchmark::DoNotOptimize(board.NoMovesLeft());
    ++seed;
  }
  state.SetLabel(shipped.name + ", " + std::to_string(shipped.layout.PositionCount()) +
                 " positions");
}

void BM_DealAndFirstStuckTest(benchmark::State& state) {
  DealAndFirstStuckTest(state, false);
}
void BM_SolvableDealAndFirstStuckTest(benchmark::State& state) {
  DealAndFirstStuckTest(state, true);
}

// The stuck test on the largest layout just after a match.
void BM_StuckTestAfterAMatch(benchmark::State& state) {
  const TShippedLayout& shipped = Largest();
  TBoard board;
  Deal(board, shipped.layout, Request(shipped, 3, false), 3);
  const auto pair = board.FindPair();
  if (!pair || board.ClickTile((*pair)[0]) != TSelectResult::kSelected ||
      board.ClickTile((*pair)[1]) != TSelectResult::kMatched) {
    state.SkipWithError("no free pair on the board");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(board.NoMovesLeft());
}

// A whole match by two clicks, the end check with its stuck test included; the match is
// taken back outside the timing so that every round plays the same pair.
void BM_MatchWithEndCheck(benchmark::State& state) {
  const TShippedLayout& shipped = Largest();
  TBoard board;
  Deal(board, shipped.layout, Request(shipped, 3, false), 3);
  const auto pair = board.FindPair();
  if (!pair) {
    state.SkipWithError("no pair on the board");
    return;
  }
  for (auto _ : state) {
    board.ClickTile((*pair)[0]);
    benchmark::DoNotOptimize(board.ClickTile((*pair)[1]));
    state.PauseTiming();
    board.UndoLastRecord();
    state.ResumeTiming();
  }
}

}  // namespace

BENCHMARK(BM_DealAndFirstStuckTest)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SolvableDealAndFirstStuckTest)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StuckTestAfterAMatch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MatchWithEndCheck)->Unit(benchmark::kMicrosecond);
