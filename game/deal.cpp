#include "game/deal.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "data/settings.h"
#include "frame/log.h"
#include "frame/mersenne_twister.h"
#include "game/clearing_order.h"
#include "game/face_catalogue.h"

namespace {

// The tutorial's faces by the number of positions still to fill, from 15 down to 1: the
// first position of the layout gets the first face.
constexpr TFace kTutorialOrder[] = {{75, 0},  {63, 0},  {63, 0}, {73, 0}, {36, 0},
                                    {126, 0}, {126, 0}, {36, 1}, {73, 0}, {58, 0},
                                    {58, 0},  {75, 0},  {36, 2}, {36, 3}, {58, 0}};
constexpr int kTutorialFaces = static_cast<int>(std::size(kTutorialOrder));

using TPositions = std::vector<TLayoutPosition>;

bool IsCandidate(const TLayoutPosition& p) {
  return p.type == kCandidatePosition;
}

// Positions in the order the deal visits them: layers up, x from the right, y down.
TPositions DealingOrder(TPositions positions) {
  std::stable_sort(positions.begin(), positions.end(),
                   [](const TLayoutPosition& a, const TLayoutPosition& b) {
                     if (a.layer != b.layer) return a.layer < b.layer;
                     if (a.x != b.x) return a.x > b.x;
                     return a.y < b.y;
                   });
  return positions;
}

// Which treasure candidates keep their chance: as many as the bag holds treasures, the
// others dropped at random. Indexed like the candidates in visiting order (layer, x, y).
std::vector<bool> KeptCandidates(const TPositions& positions, int treasures,
                                 TMersenneTwister& random) {
  const int candidates =
      static_cast<int>(std::count_if(positions.begin(), positions.end(), IsCandidate));
  std::vector<bool> kept(candidates, true);
  for (int keep = candidates; keep > treasures;) {
    const uint32_t pick = random.Next() % candidates;
    if (kept[pick]) {
      kept[pick] = false;
      --keep;
    }
  }
  return kept;
}

// Marks each position that is a kept candidate (positions in layer, x, y order).
std::map<int, bool> TreasureCells(const TPositions& positions, const std::vector<bool>& kept) {
  std::map<int, bool> cells;
  size_t candidate = 0;
  for (const TLayoutPosition& p : positions)
    if (IsCandidate(p)) cells[TLevelLayout::CellIndex(p.layer, p.x, p.y)] = kept[candidate++];
  return cells;
}

int Place(TBoard& board, const TLayoutPosition& p, TFace face) {
  return board.PlaceTile(p.layer, p.x, p.y, face) != kNoTile ? 1 : 0;
}

int DealTutorial(TBoard& board, const TPositions& positions) {
  int placed = 0;
  const int count = static_cast<int>(positions.size());
  for (int k = 0; k < count; ++k) {
    const int left = count - k;
    if (left > kTutorialFaces) continue;
    placed +=
        Place(board, positions[k], board.Bag().DrawExact(kTutorialOrder[kTutorialFaces - left]));
  }
  return placed;
}

int DealPlain(TBoard& board, const TPositions& positions, TMersenneTwister& random) {
  TTileBag& bag = board.Bag();
  std::map<int, bool> treasureCells =
      TreasureCells(positions, KeptCandidates(positions, bag.CountTreasures(), random));
  int placed = 0;
  for (const TLayoutPosition& p : DealingOrder(positions)) {
    bool& treasure = treasureCells[TLevelLayout::CellIndex(p.layer, p.x, p.y)];
    placed += Place(board, p, treasure ? bag.DrawTreasure() : bag.DrawNormal());
    treasure = false;
  }
  return placed;
}

// The same faces as the plain deal would use, placed in a clearing order. As many
// treasure candidates are kept as in the plain deal, and the same treasure copies drawn
// for them, but the placement chooses which candidate gets which treasure; a treasure
// face that would stand alone on the board (the candidates ran out) leaves its candidate
// to an ordinary face. Returns the tiles placed, or -1 with the bag untouched when no
// clearing order was found.
int DealSolvable(TBoard& board, const TPositions& positions, TMersenneTwister& random) {
  TTileBag& bag = board.Bag();
  TTileBag plan = bag;  // faces are drawn from a copy until the placement has succeeded
  std::map<int, bool> treasureCells =
      TreasureCells(positions, KeptCandidates(positions, bag.CountTreasures(), random));

  std::vector<TLayoutPosition> candidates, ordinary;
  std::map<std::pair<int, int>, int> treasureCopies;
  for (const TLayoutPosition& p : DealingOrder(positions)) {
    const TFace face =
        treasureCells[TLevelLayout::CellIndex(p.layer, p.x, p.y)] ? plan.DrawTreasure() : kNoFace;
    if (IsTreasureSuit(face.suit)) {
      candidates.push_back(p);
      ++treasureCopies[{face.suit, face.variant}];
    } else {
      ordinary.push_back(p);
      if (!face.IsNone()) plan.Append(face);
    }
  }
  TPlacementRequest request;
  for (const auto& [key, copies] : treasureCopies) {
    if (copies >= 2) {
      request.treasureGroups.emplace_back(copies, TFace{key.first, key.second});
    } else {
      // A treasure alone on the board could never be cleared.
      ordinary.push_back(candidates.back());
      candidates.pop_back();
    }
  }
  // Ordinary faces in pairs of one face, in the bag's shuffled order.
  std::vector<TFace> pending;
  for (TFace face = plan.DrawNormal(); !face.IsNone(); face = plan.DrawNormal()) {
    auto match = std::find(pending.begin(), pending.end(), face);
    if (match == pending.end()) {
      pending.push_back(face);
      continue;
    }
    pending.erase(match);
    if (request.groups.size() * 2 + 2 <= ordinary.size()) request.groups.push_back({face, face});
  }
  // Positions the bag cannot fill stay empty: the last ones in dealing order.
  ordinary.resize(request.groups.size() * 2);
  std::vector<TLayoutPosition> cells;
  for (const TLayoutPosition& p : candidates) {
    cells.push_back(p);
    request.cells.push_back({p.layer, p.x, p.y, kNoFace, true});
  }
  for (const TLayoutPosition& p : ordinary) {
    cells.push_back(p);
    request.cells.push_back({p.layer, p.x, p.y, kNoFace, false});
  }

  std::vector<TFace> faces;
  if (!PlaceInClearingOrder(request, random, faces)) return -1;
  int placed = 0;
  for (size_t i = 0; i < cells.size(); ++i)
    placed += Place(board, cells[i], bag.DrawExact(faces[i]));
  return placed;
}

}  // namespace

bool SolvableDealsSetting() {
  return GetSettingBool("solvable_deals");
}

int Deal(TBoard& board, const TLevelLayout& layout, const TDealRequest& request, uint32_t seed) {
  const TPositions positions = layout.Positions();
  const int count = static_cast<int>(positions.size());
  if (count > TTileBag::kCapacity) {
    Log("Deal: the layout has %d positions, more than the %d a bag holds; nothing is dealt", count,
        TTileBag::kCapacity);
    return 0;
  }
  TMersenneTwister random(seed);
  TTileBag& bag = board.Bag();
  bag.Build(count, request.bag, random);
  bag.Flatten(random);
  int placed = request.TutorialLevel() ? DealTutorial(board, positions)
               : request.solvable      ? DealSolvable(board, positions, random)
                                       : -1;
  if (placed < 0) {
    if (request.solvable)
      Log("Deal: no clearing order found for this layout; the faces are dealt at random");
    placed = DealPlain(board, positions, random);
  }
  board.RecountTiles(true);
  return placed;
}

std::function<TFace(TFace excluded)> CatalogueTreasurePicker(uint32_t seed) {
  auto random = std::make_shared<TMersenneTwister>(seed);
  return [random](TFace excluded) {
    std::vector<TFace> treasures;
    for (const TFaceRow& row : CatalogueFaces())
      if (row.treasure && row.Face() != excluded) treasures.push_back(row.Face());
    return treasures[random->Next() % treasures.size()];
  };
}
