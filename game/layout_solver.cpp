#include "game/layout_solver.h"

#include <algorithm>

#include "frame/mersenne_twister.h"
#include "game/layout_grid.h"

namespace {

bool IsTreasure(const TFace& f) {
  return IsTreasureSuit(f.suit);
}

bool RejectedSuit(int s, int level) {
  static constexpr int kBefore25[] = {5, 13, 17, 19, 23, 24, 27, 29, 30, 31, 32, 33, 38, 49};
  static constexpr int kBefore10[] = {2,  6,  7,  9,  10, 12, 14, 15, 16, 20, 21, 22, 25, 26,
                                      35, 40, 41, 43, 44, 45, 47, 48, 51, 53, 54, 55, 56, 57,
                                      59, 61, 62, 66, 67, 68, 69, 70, 71, 72, 76, 77};
  if (level < 15 && s == 46) return true;
  if (level < 25 && std::find(std::begin(kBefore25), std::end(kBefore25), s) != std::end(kBefore25))
    return true;
  if (level < 10 && std::find(std::begin(kBefore10), std::end(kBefore10), s) != std::end(kBefore10))
    return true;
  return false;
}

// The bag of one level: faces grouped by suit in the order added, as the game's buckets.
std::vector<TFace> BuildBag(int n, const TVariantCounts& variants, int levelsBeaten,
                            TMersenneTwister& rng) {
  std::array<std::vector<TFace>, 130> buckets;
  auto add = [&buckets](TFace f, int copies) {
    for (int i = 0; i < copies; ++i) buckets[f.suit].push_back(f);
  };
  const TFace t1{100, 0}, t2{101, 0};
  int c = levelsBeaten;
  int firstCopies = c <= 3 ? 2 : c <= 12 ? 2 : c <= 17 ? 4 : c <= 22 ? 4 : c <= 29 ? 3 : 4;
  int secondCopies = c <= 3 ? 0 : c <= 12 ? 2 : c <= 17 ? 0 : c <= 22 ? 2 : c <= 29 ? 3 : 4;
  add(t1, firstCopies);
  add(t2, secondCopies);
  n -= firstCopies + secondCopies;
  if (c >= 9) {
    add({0, 0}, 2);
    n -= 2;
  }

  int level = c + 1;
  std::vector<int> chosen;
  if (n > 0) {
    int budget = (n * 3 + 9) / 10;  // ceil(n * 0.3)
    int used = 0;
    bool teacupSeen = false;
    auto fits = [&](int s) {
      return !RejectedSuit(s, level) &&
             std::find(chosen.begin(), chosen.end(), s) == chosen.end() &&
             !(teacupSeen && (s == 45 || s == 46)) && used + variants[s] <= budget &&
             variants[s] > 0;
    };
    while (used < budget) {
      // Stop when no allowed suit can fill the rest (the game's draw would never end).
      bool any = false;
      for (int s = 1; s <= 77 && !any; ++s) any = fits(s);
      if (!any) break;
      int s = static_cast<int>(rng.Next() % 77) + 1;
      if (s == 45 || s == 46) {
        if (teacupSeen) continue;
        if (!RejectedSuit(s, level) && std::find(chosen.begin(), chosen.end(), s) == chosen.end() &&
            used + variants[s] <= budget) {
          teacupSeen = true;
          chosen.push_back(s);
          used += variants[s];
        } else {
          teacupSeen = true;
        }
        continue;
      }
      if (!fits(s)) continue;
      chosen.push_back(s);
      used += variants[s];
    }
    for (int s : chosen)
      for (int v = 0; v < variants[s]; ++v) {
        add({s, v}, 2);
        n -= 2;
      }
    if (n > 0 && !chosen.empty()) {
      int pairs = (n + 1) / 2;
      for (int i = 0; i < pairs; ++i) {
        int s = chosen[rng.Next() % chosen.size()];
        int v = static_cast<int>(rng.Next() % static_cast<uint32_t>(variants[s]));
        add({s, v}, 2);
      }
    }
  }
  std::vector<TFace> list;
  for (const auto& bucket : buckets) list.insert(list.end(), bucket.begin(), bucket.end());
  for (size_t i = 0; i < list.size(); ++i) std::swap(list[i], list[rng.Next() % list.size()]);
  return list;
}

TFace Take(std::vector<TFace>& list, bool treasure) {
  for (int pass = treasure ? 0 : 1; pass < 2; ++pass)
    for (TFace& f : list)
      if (f.suit >= 0 && (pass == 0 ? f.suit >= kFirstTreasureSuit : f.suit < kFirstTreasureSuit)) {
        TFace taken = f;
        f = {};
        return taken;
      }
  return {};
}

struct TTile {
  TLayoutPosition pos;
  TFace face;
  bool standing = true;
};

struct TMove {
  std::vector<int> tiles;
  int score = 0;
  int height = 0;
  bool treasure = false;
};

class TGreedyPlayer {
 public:
  TGreedyPlayer(const TLevelLayout& layout, const std::vector<TFace>& faces) : mGrid(layout) {
    std::vector<TLayoutPosition> positions = layout.Positions();
    mCellTile.fill(-1);
    for (size_t i = 0; i < positions.size(); ++i) {
      const TLayoutPosition& p = positions[i];
      if (faces[i].suit < 0) {
        mGrid.Remove(p.layer, p.x, p.y);
        continue;
      }
      mCellTile[TLevelLayout::CellIndex(p.layer, p.x, p.y)] = static_cast<int>(mTiles.size());
      mTiles.push_back({p, faces[i], true});
    }
    for (const TTile& t : mTiles) ++mDealt[Key(t.face)];
  }

  int Play(bool& ended) {
    ended = false;
    int left = static_cast<int>(mTiles.size());
    while (left > 0) {
      std::vector<TMove> moves = Moves();
      if (moves.empty()) return left;
      const TMove* best = &moves[0];
      for (const TMove& m : moves) {
        if (m.treasure != best->treasure) {
          if (m.treasure) best = &m;
          continue;
        }
        if (m.score > best->score || (m.score == best->score && m.height > best->height)) best = &m;
      }
      if (best->treasure) ended = true;
      for (int t : best->tiles) Remove(t);
      left -= static_cast<int>(best->tiles.size());
    }
    ended = true;
    return 0;
  }

 private:
  static int Key(const TFace& f) { return f.suit * 64 + f.variant; }
  bool ManyCopies(const TFace& f) const { return IsTreasure(f) && mDealt.at(Key(f)) > 2; }
  bool Free(int t) const {
    const TLayoutPosition& p = mTiles[t].pos;
    return mTiles[t].standing && mGrid.IsFree(p.layer, p.x, p.y);
  }
  void Remove(int t) {
    mTiles[t].standing = false;
    mGrid.Remove(mTiles[t].pos.layer, mTiles[t].pos.x, mTiles[t].pos.y);
  }
  void Restore(int t) {
    mTiles[t].standing = true;
    mGrid.Restore(mTiles[t].pos.layer, mTiles[t].pos.x, mTiles[t].pos.y);
  }
  int TileAt(int layer, int x, int y) const {
    return TLevelLayout::InGrid(layer, x, y) ? mCellTile[TLevelLayout::CellIndex(layer, x, y)] : -1;
  }

  // Standing tiles whose freedom a removal of these tiles can change.
  std::vector<int> Neighbours(const std::vector<int>& tiles) const {
    std::vector<int> out;
    auto consider = [&](int n) {
      if (n >= 0 && mTiles[n].standing && std::find(tiles.begin(), tiles.end(), n) == tiles.end() &&
          std::find(out.begin(), out.end(), n) == out.end())
        out.push_back(n);
    };
    for (int t : tiles) {
      const TLayoutPosition& p = mTiles[t].pos;
      for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) consider(TileAt(p.layer - 1, p.x + dx, p.y + dy));
      for (int dy = -1; dy <= 1; ++dy) {
        consider(TileAt(p.layer, p.x - 2, p.y + dy));
        consider(TileAt(p.layer, p.x + 2, p.y + dy));
      }
    }
    return out;
  }

  void Score(TMove& move) {
    std::vector<int> around = Neighbours(move.tiles);
    int before = 0;
    for (int n : around) before += Free(n);
    for (int t : move.tiles) Remove(t);
    int after = 0;
    for (int n : around) after += Free(n);
    for (int t : move.tiles) Restore(t);
    move.score = after - before;
    move.height = 0;
    for (int t : move.tiles) move.height += mTiles[t].pos.layer;
  }

  std::vector<TMove> Moves() {
    std::vector<int> free;
    for (size_t t = 0; t < mTiles.size(); ++t)
      if (Free(static_cast<int>(t))) free.push_back(static_cast<int>(t));
    std::vector<TMove> moves;
    // Free pairs.
    for (size_t i = 0; i < free.size(); ++i)
      for (size_t j = i + 1; j < free.size(); ++j) {
        const TFace& f = mTiles[free[i]].face;
        if (f == mTiles[free[j]].face && !ManyCopies(f))
          moves.push_back({{free[i], free[j]}, 0, 0, IsTreasure(f)});
      }
    // Pairs that block each other, cleared one after the other through the sets box.
    for (int t : free) {
      const TFace& f = mTiles[t].face;
      if (ManyCopies(f)) continue;
      Remove(t);
      for (size_t u = 0; u < mTiles.size(); ++u) {
        int ui = static_cast<int>(u);
        if (ui == t || !(mTiles[u].face == f) || !mTiles[u].standing) continue;
        if (std::find(free.begin(), free.end(), ui) != free.end()) continue;
        if (Free(ui)) moves.push_back({{t, ui}, 0, 0, IsTreasure(f)});
      }
      Restore(t);
    }
    // Treasures dealt more than twice: every copy into the sets box, one after the other.
    for (int t : free) {
      const TFace& f = mTiles[t].face;
      if (!ManyCopies(f)) continue;
      bool firstOfFace = true;
      for (int o : free)
        if (o < t && mTiles[o].face == f) firstOfFace = false;
      if (!firstOfFace) continue;
      std::vector<int> gathered{t};
      Remove(t);
      for (bool found = true; found;) {
        found = false;
        for (size_t u = 0; u < mTiles.size() && !found; ++u)
          if (mTiles[u].face == f && Free(static_cast<int>(u))) {
            gathered.push_back(static_cast<int>(u));
            Remove(static_cast<int>(u));
            found = true;
          }
      }
      for (int g : gathered) Restore(g);
      int onBoard = 0;
      for (const TTile& tile : mTiles) onBoard += tile.standing && tile.face == f;
      if (static_cast<int>(gathered.size()) == onBoard) moves.push_back({gathered, 0, 0, true});
    }
    for (TMove& m : moves) Score(m);
    return moves;
  }

  TLayoutGrid mGrid;
  std::vector<TTile> mTiles;
  std::array<int, TLevelLayout::kCells> mCellTile;
  std::array<int, 130 * 64> mDealt{};
};

}  // namespace

std::vector<TFace> SimulateDeal(const TLevelLayout& layout, const TVariantCounts& variants,
                                int levelsBeaten, uint32_t seed) {
  TMersenneTwister rng(seed);
  std::vector<TLayoutPosition> positions = layout.Positions();
  std::vector<TFace> list =
      BuildBag(static_cast<int>(positions.size()), variants, levelsBeaten, rng);

  std::vector<size_t> candidates;
  for (size_t i = 0; i < positions.size(); ++i)
    if (positions[i].type == 7) candidates.push_back(i);
  int treasures = 0;
  for (const TFace& f : list) treasures += f.suit >= kFirstTreasureSuit;
  std::vector<bool> remaining(positions.size(), false);
  for (size_t i : candidates) remaining[i] = true;
  int keep = static_cast<int>(candidates.size());
  while (keep > treasures) {
    size_t pick = candidates[rng.Next() % candidates.size()];
    if (remaining[pick]) {
      remaining[pick] = false;
      --keep;
    }
  }

  // Visiting order of the deal: layer up, x from the right, y from the top.
  std::vector<size_t> order(positions.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&positions](size_t a, size_t b) {
    const TLayoutPosition& p = positions[a];
    const TLayoutPosition& q = positions[b];
    if (p.layer != q.layer) return p.layer < q.layer;
    if (p.x != q.x) return p.x > q.x;
    return p.y < q.y;
  });
  std::vector<TFace> faces(positions.size());
  for (size_t i : order) faces[i] = Take(list, remaining[i]);
  return faces;
}

int PlayGreedy(const TLevelLayout& layout, const std::vector<TFace>& faces, bool& ended) {
  TGreedyPlayer player(layout, faces);
  return player.Play(ended);
}

TSolverResult RunGreedySolver(const TLevelLayout& layout, const TVariantCounts& variants,
                              int levelsBeaten, int deals, uint32_t seed) {
  TSolverResult result;
  for (int d = 0; d < deals; ++d) {
    std::vector<TFace> faces = SimulateDeal(layout, variants, levelsBeaten, seed + d * 7919u);
    for (const TFace& f : faces) result.emptyPositions += f.suit < 0;
    bool ended = false;
    int left = PlayGreedy(layout, faces, ended);
    ++result.deals;
    result.levelEnded += ended;
    result.boardCleared += left == 0;
    result.tilesLeft += left;
  }
  return result;
}
