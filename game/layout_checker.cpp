#include "game/layout_checker.h"

#include "game/layout_grid.h"

std::string DescribePosition(const TLayoutPosition& p) {
  return "layer " + std::to_string(p.layer) + " x " + std::to_string(p.x) + " y " +
         std::to_string(p.y);
}

TLayoutReport CheckLayout(const TLevelLayout& layout) {
  TLayoutReport report;
  std::vector<TLayoutPosition> positions = layout.Positions();
  report.positions = static_cast<int>(positions.size());
  report.layers = layout.LayerCount();
  report.candidates = layout.CandidateCount();

  for (size_t i = 0; i < positions.size(); ++i) {
    const TLayoutPosition& p = positions[i];
    if (p.x > TLevelLayout::kColumns - 2 || p.y > TLevelLayout::kRows - 2)
      report.outsideGrid.push_back(p);
    // Positions come in (layer, x, y) order, so only later ones need comparing.
    for (size_t j = i + 1; j < positions.size() && positions[j].layer == p.layer; ++j) {
      const TLayoutPosition& q = positions[j];
      if (q.x - p.x > 1) break;
      if (q.y - p.y <= 1 && p.y - q.y <= 1) report.overlaps.push_back({p, q});
    }
    if (p.layer > 0) {
      bool supported = false;
      for (int dx = -1; dx <= 1 && !supported; ++dx)
        for (int dy = -1; dy <= 1 && !supported; ++dy)
          supported = layout.TypeAt(p.layer - 1, p.x + dx, p.y + dy) != kNoPosition;
      if (!supported) report.floating.push_back(p);
    }
  }

  TLayoutGrid grid(layout);
  for (const TLayoutPosition& p : positions)
    if (p.type == kCandidatePosition && grid.IsFree(p.layer, p.x, p.y))
      report.freeCandidates.push_back(p);

  // Peel off free positions until none is left; what stays can never be reached.
  std::vector<TLayoutPosition> standing = positions;
  std::vector<int> rounds(TLevelLayout::kCells, -1);
  for (int round = 0; !standing.empty(); ++round) {
    std::vector<TLayoutPosition> next;
    std::vector<TLayoutPosition> freed;
    for (const TLayoutPosition& p : standing) {
      if (grid.IsFree(p.layer, p.x, p.y))
        freed.push_back(p);
      else
        next.push_back(p);
    }
    if (freed.empty()) break;
    for (const TLayoutPosition& p : freed) {
      grid.Remove(p.layer, p.x, p.y);
      rounds[TLevelLayout::CellIndex(p.layer, p.x, p.y)] = round;
    }
    standing = std::move(next);
  }
  report.neverFreed = std::move(standing);
  for (const TLayoutPosition& p : positions)
    if (p.type == kCandidatePosition)
      report.candidateRounds.push_back(rounds[TLevelLayout::CellIndex(p.layer, p.x, p.y)]);
  return report;
}

bool LayoutPasses(const TLayoutReport& report, const TLayoutRequirements& requirements,
                  std::vector<std::string>& problems) {
  size_t before = problems.size();
  if (report.positions == 0) problems.push_back("no positions");
  if (requirements.evenCount && report.positions % 2 != 0)
    problems.push_back("odd position count " + std::to_string(report.positions));
  if (requirements.exactPositions >= 0 && report.positions != requirements.exactPositions)
    problems.push_back("needs exactly " + std::to_string(requirements.exactPositions) +
                       " positions, has " + std::to_string(report.positions));
  if (report.candidates < requirements.minCandidates)
    problems.push_back("only " + std::to_string(report.candidates) + " treasure candidates");
  for (const auto& [a, b] : report.overlaps)
    problems.push_back("overlap: " + DescribePosition(a) + " and " + DescribePosition(b));
  for (const TLayoutPosition& p : report.neverFreed)
    problems.push_back("never freed: " + DescribePosition(p));
  for (const TLayoutPosition& p : report.floating)
    problems.push_back("floating: " + DescribePosition(p));
  for (const TLayoutPosition& p : report.outsideGrid)
    problems.push_back("outside the grid: " + DescribePosition(p));
  if (requirements.candidatesTakePlay)
    for (const TLayoutPosition& p : report.freeCandidates)
      problems.push_back("candidate free at the start: " + DescribePosition(p));
  return problems.size() == before;
}
