#include "game/clearing_order.h"

#include <algorithm>
#include <array>
#include <map>

#include "game/free_rule.h"
#include "game/level_layout.h"

namespace {

// A random order seldom gets stuck; a few tries settle layouts where it can.
constexpr int kAttempts = 24;

using TGroup = std::vector<TFace>;

class TPlacer {
 public:
  TPlacer(const TPlacementRequest& request, TMersenneTwister& random)
      : mRequest(request), mRandom(random) {
    mCellOf.fill(-1);
    std::map<std::pair<int, int>, std::vector<int>> fixedByFace;
    for (size_t i = 0; i < request.cells.size(); ++i) {
      const TPlacementCell& cell = request.cells[i];
      mCellOf[TLevelLayout::CellIndex(cell.layer, cell.x, cell.y)] = static_cast<int>(i);
      if (!cell.fixed.IsNone())
        fixedByFace[{cell.fixed.suit, cell.fixed.variant}].push_back(static_cast<int>(i));
    }
    for (auto& [face, cells] : fixedByFace) mFixedGroups.push_back(std::move(cells));
  }

  bool Attempt(std::vector<TFace>& faces) {
    const size_t count = mRequest.cells.size();
    mFaces = &faces;
    mStanding.assign(count, true);
    faces.assign(count, kNoFace);
    for (size_t i = 0; i < count; ++i) faces[i] = mRequest.cells[i].fixed;
    mFixedDone.assign(mFixedGroups.size(), false);
    mPendingTreasures.clear();
    for (const TGroup& group : mRequest.treasureGroups) mPendingTreasures.push_back(&group);

    std::vector<const TGroup*> groups;
    for (const TGroup& group : mRequest.groups) groups.push_back(&group);
    for (size_t i = groups.size(); i > 1; --i) std::swap(groups[i - 1], groups[mRandom.Next() % i]);

    for (const TGroup* group : groups) {
      TakeWhatCanGo();
      std::vector<int> free = FreeOpenCells(false);
      if (group->size() == 2 && free.size() >= 2) {
        const size_t a = mRandom.Next() % free.size();
        size_t b = mRandom.Next() % (free.size() - 1);
        if (b >= a) ++b;
        Fill(free[a], (*group)[0]);
        Fill(free[b], (*group)[1]);
      } else if (!FillInSequence(*group, false)) {
        return false;
      }
    }
    TakeWhatCanGo();
    if (!mPendingTreasures.empty()) return false;
    for (size_t g = 0; g < mFixedGroups.size(); ++g)
      if (mFixedGroups[g].size() >= 2 && !mFixedDone[g]) return false;
    size_t single = 0;
    for (size_t i = 0; i < count; ++i)
      if (faces[i].IsNone()) {
        if (single >= mRequest.singles.size() || mRequest.cells[i].treasure) return false;
        faces[i] = mRequest.singles[single++];
      }
    return single == mRequest.singles.size();
  }

 private:
  bool Stands(int layer, int x, int y) const {
    if (!TLevelLayout::InGrid(layer, x, y)) return false;
    const int cell = mCellOf[TLevelLayout::CellIndex(layer, x, y)];
    return cell >= 0 && mStanding[cell];
  }

  bool IsFree(int cell) const {
    const TPlacementCell& c = mRequest.cells[cell];
    return free_rule::IsFree([this](int l, int x, int y) { return Stands(l, x, y); }, c.layer, c.x,
                             c.y);
  }

  // Standing cells still to fill, of the kind asked, that are free now.
  std::vector<int> FreeOpenCells(bool treasure) const {
    std::vector<int> free;
    for (size_t i = 0; i < mStanding.size(); ++i)
      if (mStanding[i] && (*mFaces)[i].IsNone() && mRequest.cells[i].treasure == treasure &&
          IsFree(static_cast<int>(i)))
        free.push_back(static_cast<int>(i));
    return free;
  }

  void Fill(int cell, TFace face) {
    (*mFaces)[cell] = face;
    mStanding[cell] = false;
  }

  // The group's faces on free cells one after the other, each taken before the next is
  // chosen. On failure nothing is filled.
  bool FillInSequence(const TGroup& group, bool treasure) {
    std::vector<int> filled;
    for (const TFace& face : group) {
      const std::vector<int> free = FreeOpenCells(treasure);
      if (free.empty()) {
        for (int cell : filled) {
          (*mFaces)[cell] = kNoFace;
          mStanding[cell] = true;
        }
        return false;
      }
      filled.push_back(free[mRandom.Next() % free.size()]);
      Fill(filled.back(), face);
    }
    return true;
  }

  // Places every treasure group that fits now and takes off every fixed group whose cells
  // can all go now (removing a tile never blocks another, so any free one may go first).
  void TakeWhatCanGo() {
    for (bool progress = true; progress;) {
      progress = false;
      for (auto it = mPendingTreasures.begin(); it != mPendingTreasures.end();)
        if (FillInSequence(**it, true)) {
          it = mPendingTreasures.erase(it);
          progress = true;
        } else {
          ++it;
        }
      for (size_t g = 0; g < mFixedGroups.size(); ++g)
        if (!mFixedDone[g] && mFixedGroups[g].size() >= 2 && TakeFixedGroup(mFixedGroups[g])) {
          mFixedDone[g] = true;
          progress = true;
        }
    }
  }

  bool TakeFixedGroup(const std::vector<int>& cells) {
    std::vector<int> taken;
    while (taken.size() < cells.size()) {
      auto next = std::find_if(cells.begin(), cells.end(),
                               [this](int cell) { return mStanding[cell] && IsFree(cell); });
      if (next == cells.end()) break;
      mStanding[*next] = false;
      taken.push_back(*next);
    }
    if (taken.size() == cells.size()) return true;
    for (int cell : taken) mStanding[cell] = true;
    return false;
  }

  const TPlacementRequest& mRequest;
  TMersenneTwister& mRandom;
  std::array<int, TLevelLayout::kCells> mCellOf;
  std::vector<std::vector<int>> mFixedGroups;
  std::vector<bool> mFixedDone;
  std::vector<const TGroup*> mPendingTreasures;
  std::vector<bool> mStanding;
  std::vector<TFace>* mFaces = nullptr;
};

size_t FaceCount(const std::vector<TGroup>& groups) {
  size_t count = 0;
  for (const TGroup& group : groups) count += group.size();
  return count;
}

}  // namespace

bool PlaceInClearingOrder(const TPlacementRequest& request, TMersenneTwister& random,
                          std::vector<TFace>& faces) {
  size_t ordinaryCells = 0, treasureCells = 0;
  for (const TPlacementCell& cell : request.cells) {
    if (!TLevelLayout::InGrid(cell.layer, cell.x, cell.y)) return false;
    if (cell.fixed.IsNone()) ++(cell.treasure ? treasureCells : ordinaryCells);
  }
  if (ordinaryCells != FaceCount(request.groups) + request.singles.size() ||
      treasureCells != FaceCount(request.treasureGroups))
    return false;
  TPlacer placer(request, random);
  for (int attempt = 0; attempt < kAttempts; ++attempt)
    if (placer.Attempt(faces)) return true;
  faces.clear();
  return false;
}
