// Structural checks of a level layout, for the level tools: counts, overlapping
// positions, positions that no order of play can ever free, positions floating over empty
// cells and treasure candidates that are free before any move.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "game/level_layout.h"

struct TLayoutReport {
  int positions = 0;
  int layers = 0;
  int candidates = 0;
  // Pairs of positions of one layer whose 2 x 2 footprints share a cell.
  std::vector<std::pair<TLayoutPosition, TLayoutPosition>> overlaps;
  // Positions left standing when every free position is removed, again and again. The
  // free rule always leaves the leftmost tile of the highest layer free, so a layout on the
  // grid peels completely; the list guards the tools against a changed rule.
  std::vector<TLayoutPosition> neverFreed;
  // For each treasure candidate (in visiting order), the peeling round in which it is
  // free: 0 when free at the start, 1 when freed by removing the tiles free at the start,
  // and so on: a measure of the play it takes to reach it.
  std::vector<int> candidateRounds;
  // Positions above layer 0 with no position under any of their four cells.
  std::vector<TLayoutPosition> floating;
  // Positions whose footprint leaves the grid (x > 36 or y > 14).
  std::vector<TLayoutPosition> outsideGrid;
  // Treasure candidates that are free at the start.
  std::vector<TLayoutPosition> freeCandidates;
};

TLayoutReport CheckLayout(const TLevelLayout& layout);

// What a campaign layout must satisfy. Problems are appended to problems in words.
struct TLayoutRequirements {
  bool evenCount = true;
  int minCandidates = 2;
  bool candidatesTakePlay = true;  // no candidate free at the start
  int exactPositions = -1;         // when >= 0, the layout must have exactly this many
};
bool LayoutPasses(const TLayoutReport& report, const TLayoutRequirements& requirements,
                  std::vector<std::string>& problems);

std::string DescribePosition(const TLayoutPosition& p);
