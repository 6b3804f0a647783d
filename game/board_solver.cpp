#include "game/board_solver.h"

#include <algorithm>
#include <map>

#include "frame/mersenne_twister.h"
#include "game/free_rule.h"

namespace {

// How moves are ranked: the tiles a move takes weigh by what they hold up (4 per tile
// waiting under or beside them) and the move by the tiles it frees at once (8 each); a
// restart adds up to kTieBreakNoise at random, enough to reorder near-equal moves.
constexpr int kHoldWeight = 4;
constexpr int kFreedWeight = 8;
constexpr uint32_t kTieBreakNoise = 24;

}  // namespace

TBoardSolver::TBoardSolver(const TBoard& board) : mCellTile(TLevelLayout::kCells, -1) {
  std::map<std::pair<int, int>, int> faceNumbers;
  TMersenneTwister keys(0x5eed);
  for (TTileId id : board.GridOrder()) {
    const TBoardTile& tile = board.Tile(id);
    if (tile.removed) continue;
    auto [it, added] = faceNumbers.try_emplace({tile.face.suit, tile.face.variant},
                                               static_cast<int>(faceNumbers.size()));
    if (added) {
      mFaceTiles.emplace_back();
      mManyCopies.push_back(board.HasManyCopies(tile.face));
      mTreasure.push_back(IsTreasureSuit(tile.face.suit));
    }
    const int number = static_cast<int>(mTiles.size());
    const uint64_t key = (uint64_t{keys.Next()} << 32) | keys.Next();
    mTiles.push_back({tile.layer, tile.x, tile.y, it->second, id, key});
    mFaceTiles[it->second].push_back(number);
    mCellTile[TLevelLayout::CellIndex(tile.layer, tile.x, tile.y)] = number;
  }
  mStanding.assign(mTiles.size(), 1);
  mFree.assign(mTiles.size(), 0);
  mFaceStanding.assign(mFaceTiles.size(), 0);
  for (const TTile& tile : mTiles) {
    ++mFaceStanding[tile.face];
    mHash ^= tile.key;
  }
  mStandingCount = static_cast<int>(mTiles.size());
  for (size_t t = 0; t < mTiles.size(); ++t)
    mFree[t] = free_rule::IsFree([this](int l, int x, int y) { return Stands(l, x, y); },
                                 mTiles[t].layer, mTiles[t].x, mTiles[t].y);
}

bool TBoardSolver::Stands(int layer, int x, int y) const {
  if (!TLevelLayout::InGrid(layer, x, y)) return false;
  const int tile = mCellTile[TLevelLayout::CellIndex(layer, x, y)];
  return tile >= 0 && mStanding[tile];
}

// A tile's freedom depends on the nine cells above it and the three cells two columns to
// either side: taking or putting back a tile changes only the tiles below it and those
// beside it.
void TBoardSolver::Refresh(int layer, int x, int y) {
  auto update = [this](int l, int cx, int cy) {
    if (!TLevelLayout::InGrid(l, cx, cy)) return;
    const int tile = mCellTile[TLevelLayout::CellIndex(l, cx, cy)];
    if (tile >= 0)
      mFree[tile] =
          free_rule::IsFree([this](int a, int b, int c) { return Stands(a, b, c); }, l, cx, cy);
  };
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) update(layer - 1, x + dx, y + dy);
  for (int dy = -1; dy <= 1; ++dy) {
    update(layer, x - 2, y + dy);
    update(layer, x + 2, y + dy);
  }
}

void TBoardSolver::Take(int tile) {
  mStanding[tile] = 0;
  --mFaceStanding[mTiles[tile].face];
  --mStandingCount;
  mHash ^= mTiles[tile].key;
  Refresh(mTiles[tile].layer, mTiles[tile].x, mTiles[tile].y);
}

void TBoardSolver::PutBack(int tile) {
  mStanding[tile] = 1;
  ++mFaceStanding[mTiles[tile].face];
  ++mStandingCount;
  mHash ^= mTiles[tile].key;
  Refresh(mTiles[tile].layer, mTiles[tile].x, mTiles[tile].y);
}

// Takes the tiles one after the other, each free when taken; order receives the order.
// Taking a tile never blocks another, so taking any free one first loses nothing. On
// failure every tile is back.
bool TBoardSolver::TakeInSequence(const std::vector<int>& tiles, std::vector<int>& order) {
  order.clear();
  while (order.size() < tiles.size()) {
    auto next = std::find_if(tiles.begin(), tiles.end(),
                             [this](int t) { return mStanding[t] && mFree[t]; });
    if (next == tiles.end()) break;
    Take(*next);
    order.push_back(*next);
  }
  if (order.size() == tiles.size()) return true;
  for (auto it = order.rbegin(); it != order.rend(); ++it) PutBack(*it);
  return false;
}

void TBoardSolver::Apply(const std::vector<int>& tiles, bool together, bool treasure) {
  for (int t : tiles)
    if (mStanding[t]) Take(t);
  TMove move;
  move.tiles.assign(tiles.begin(), tiles.end());
  move.together = together;
  move.treasure = treasure;
  mPath.push_back(std::move(move));
  if (treasure) mTreasureTaken = true;
}

void TBoardSolver::UndoLast() {
  const TMove& move = mPath.back();
  for (auto it = move.tiles.rbegin(); it != move.tiles.rend(); ++it) PutBack(*it);
  if (move.treasure) {
    mTreasureTaken = false;
    for (const TMove& earlier : mPath)
      if (&earlier != &move && earlier.treasure) mTreasureTaken = true;
  }
  mPath.pop_back();
}

bool TBoardSolver::GoalReached() const {
  return mStandingCount == 0 || (mOptions.goal == TGoal::kEndLevel && mTreasureTaken);
}

// Moves that never spoil a solution: the last two tiles of a face must be matched with
// each other some time, and taking tiles only frees others, so doing it now loses
// nothing; the same holds for all tiles of a face when every one of them is free, and for
// a treasure group, which goes all at once. Returns whether any was taken.
bool TBoardSolver::TakeSafeMoves() {
  bool any = false;
  std::vector<int>& tiles = mScratch;
  std::vector<int> order;
  for (bool progress = true; progress && !GoalReached();) {
    progress = false;
    for (size_t f = 0; f < mFaceTiles.size() && !GoalReached(); ++f) {
      const int standing = mFaceStanding[f];
      if (standing < 2) continue;
      tiles.clear();
      bool allFree = true;
      for (int t : mFaceTiles[f])
        if (mStanding[t]) {
          tiles.push_back(t);
          allFree = allFree && mFree[t];
        }
      const bool treasure = mTreasure[f];
      if (mManyCopies[f] || (standing == 2 && !allFree)) {
        if (!mOptions.setsBox || !TakeInSequence(tiles, order)) continue;
        for (auto it = order.rbegin(); it != order.rend(); ++it) PutBack(*it);
        Apply(order, false, treasure);
      } else if (allFree && standing % 2 == 0) {
        const std::vector<int> all = tiles;
        for (size_t i = 0; i < all.size(); i += 2) Apply({all[i], all[i + 1]}, true, treasure);
      } else {
        continue;
      }
      progress = any = true;
    }
  }
  return any;
}

// How much a tile holds up: the tiles under it and beside it that wait for it.
int TBoardSolver::Weight(int tile) const {
  const TTile& t = mTiles[tile];
  int weight = t.layer * 2;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) weight += Stands(t.layer - 1, t.x + dx, t.y + dy);
  for (int dy = -1; dy <= 1; ++dy)
    weight += Stands(t.layer, t.x - 2, t.y + dy) + Stands(t.layer, t.x + 2, t.y + dy);
  return weight;
}

// The tiles a move sets free at once.
int TBoardSolver::Freed(const TMove& move) {
  std::vector<int> around;
  for (int tile : move.tiles) {
    const TTile& t = mTiles[tile];
    auto note = [&](int l, int x, int y) {
      if (!TLevelLayout::InGrid(l, x, y)) return;
      const int n = mCellTile[TLevelLayout::CellIndex(l, x, y)];
      if (n >= 0 && mStanding[n] && !mFree[n] &&
          std::find(move.tiles.begin(), move.tiles.end(), n) == move.tiles.end())
        around.push_back(n);
    };
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy) note(t.layer - 1, t.x + dx, t.y + dy);
    for (int dy = -1; dy <= 1; ++dy) {
      note(t.layer, t.x - 2, t.y + dy);
      note(t.layer, t.x + 2, t.y + dy);
    }
  }
  for (int tile : move.tiles) Take(tile);
  int freed = 0;
  std::sort(around.begin(), around.end());
  around.erase(std::unique(around.begin(), around.end()), around.end());
  for (int n : around) freed += mFree[n];
  for (auto it = move.tiles.rbegin(); it != move.tiles.rend(); ++it) PutBack(*it);
  return freed;
}

void TBoardSolver::ListMoves(std::vector<TMove>& moves) {
  moves.clear();
  for (size_t f = 0; f < mFaceTiles.size(); ++f) {
    if (mFaceStanding[f] < 2 || mManyCopies[f]) continue;
    std::vector<int> free, blocked;
    for (int t : mFaceTiles[f])
      if (mStanding[t]) (mFree[t] ? free : blocked).push_back(t);
    for (size_t i = 0; i < free.size(); ++i)
      for (size_t j = i + 1; j < free.size(); ++j)
        moves.push_back({{free[i], free[j]}, true, static_cast<bool>(mTreasure[f])});
    if (!mOptions.setsBox) continue;
    for (int t : free) {
      Take(t);
      for (int u : blocked)
        if (mFree[u]) moves.push_back({{t, u}, false, static_cast<bool>(mTreasure[f])});
      PutBack(t);
    }
  }
  // The heaviest moves first; later attempts break ties (and near ties) at random.
  const bool shuffled = mAttempt > 0;
  std::vector<std::pair<int, size_t>> ranked;
  for (size_t m = 0; m < moves.size(); ++m) {
    int weight = 0;
    for (int t : moves[m].tiles) weight += Weight(t);
    weight = weight * kHoldWeight + Freed(moves[m]) * kFreedWeight;
    if (shuffled) weight += static_cast<int>(mTieBreak.Next() % kTieBreakNoise);
    ranked.push_back({-weight, m});
  }
  std::stable_sort(ranked.begin(), ranked.end());
  std::vector<TMove> sorted;
  for (const auto& [weight, m] : ranked) sorted.push_back(std::move(moves[m]));
  moves = std::move(sorted);
}

bool TBoardSolver::Search() {
  if (++mBoards > mAttemptLimit) {
    mGaveUp = true;
    return false;
  }
  const size_t pathBefore = mPath.size();
  TakeSafeMoves();
  if (GoalReached()) return true;
  // With every face paired off, a face left with an odd number of tiles can never go.
  bool hopeless = false;
  if (mOptions.goal == TGoal::kClearBoard)
    for (size_t f = 0; f < mFaceTiles.size() && !hopeless; ++f)
      hopeless = !mManyCopies[f] && mFaceStanding[f] % 2 == 1;
  if (!hopeless && !mDead.contains(mHash)) {
    std::vector<TMove> moves;
    ListMoves(moves);
    for (const TMove& move : moves) {
      std::vector<int> tiles(move.tiles.begin(), move.tiles.end());
      Apply(tiles, move.together, move.treasure);
      if (Search()) return true;
      if (mOptions.greedy) return false;
      UndoLast();
      if (mGaveUp) break;
    }
    if (!mGaveUp) mDead.insert(mHash);
  }
  // A greedy player stays where it got stuck, so that the tiles left can be counted.
  if (!mOptions.greedy)
    while (mPath.size() > pathBefore) UndoLast();
  return false;
}

namespace {

// The Luby sequence 1 1 2 1 1 2 4 1 1 2 1 1 2 4 8 ...: restart budgets that waste at most
// a logarithmic factor against the best fixed budget, whatever the board.
long Luby(long i) {
  long size = 1, power = 0;
  while (size < i + 1) {
    ++power;
    size = 2 * size + 1;
  }
  while (size - 1 != i) {
    size = (size - 1) / 2;
    --power;
    i %= size;
  }
  return 1L << power;
}

}  // namespace

TBoardSolver::TResult TBoardSolver::Solve(const TOptions& options) {
  mOptions = options;
  mBoards = 0;
  mDead.clear();
  mTieBreak.Seed(0x71e5);
  TResult result;
  if (mOptions.greedy) {
    mAttempt = 0;
    mAttemptLimit = mOptions.boardLimit;
    mGaveUp = false;
    result.solved = Search();
    result.tilesLeft = mStandingCount;
    result.boards = mBoards;
    while (!mPath.empty()) UndoLast();
    return result;
  }
  for (mAttempt = 0; mBoards < mOptions.boardLimit && !result.solved; ++mAttempt) {
    mAttemptLimit = std::min(mOptions.boardLimit, mBoards + mOptions.restartUnit * Luby(mAttempt));
    mGaveUp = false;
    result.solved = Search();
    // A search that ended without giving up has seen every way: no attempt can do better.
    if (!mGaveUp) break;
  }
  result.gaveUp = !result.solved && mGaveUp;
  result.boards = std::min(mBoards, mOptions.boardLimit);
  if (result.solved)
    for (const TMove& move : mPath) {
      TMove out = move;
      for (TTileId& t : out.tiles) t = mTiles[t].boardId;
      result.moves.push_back(std::move(out));
    }
  while (!mPath.empty()) UndoLast();
  return result;
}
