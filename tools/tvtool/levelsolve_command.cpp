// tvtool levelsolve FACES.csv DEALS FILE...: deals each layout DEALS times the way the
// game deals the campaign level of that file name (treasures, Kenny tiles and suits by
// the number of levels beaten) and lets a greedy player clear it. Prints, per layout, the
// share of deals that end (treasure pair matched or board cleared) and that clear the
// whole board. FACES.csv is the tile catalogue (suit and variant columns).
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "game/layout_solver.h"
#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/level_input.h"
#include "tools/tvtool/tool_io.h"

namespace {

bool ReadVariantCounts(const std::string& path, TVariantCounts& counts, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!ReadDiskFile(path, bytes, error)) return false;
  counts.fill(0);
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string line;
  bool header = true;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (header) {
      header = false;
      if (line.compare(0, 13, "suit,variant,") != 0) {
        error = path + ": expected the columns suit,variant first";
        return false;
      }
      continue;
    }
    int suit = std::atoi(line.c_str());
    size_t comma = line.find(',');
    int variant = comma == std::string::npos ? -1 : std::atoi(line.c_str() + comma + 1);
    if (suit < 0 || suit >= 130 || variant < 0 || variant >= 64) {
      error = path + ": bad row \"" + line + "\"";
      return false;
    }
    if (variant + 1 > counts[suit]) counts[suit] = variant + 1;
  }
  return true;
}

int RunLevelSolve(const TToolArguments& args) {
  if (args.positional.size() < 3) return ToolUsage("levelsolve");
  TVariantCounts variants;
  std::string error;
  if (!ReadVariantCounts(args.positional[0], variants, error))
    return ToolError("levelsolve", error);
  int deals = std::atoi(args.positional[1].c_str());
  if (deals <= 0) return ToolError("levelsolve", "DEALS must be a positive number");
  for (size_t i = 2; i < args.positional.size(); ++i) {
    const std::string& path = args.positional[i];
    TLevelLayout layout;
    if (!ReadLevelInput(path, layout, error)) return ToolError("levelsolve", error);
    int index = LevelIndexFromName(path);
    TSolverResult r = RunGreedySolver(layout, variants, index < 0 ? 0 : index, deals, 1);
    std::printf(
        "%s: %d positions, %d deals, ended %.1f%%, cleared %.1f%%, %.1f tiles left "
        "when stuck, %.2f empty positions per deal\n",
        path.c_str(), layout.PositionCount(), r.deals, 100.0 * r.levelEnded / r.deals,
        100.0 * r.boardCleared / r.deals,
        r.deals > r.boardCleared ? double(r.tilesLeft) / (r.deals - r.boardCleared) : 0.0,
        double(r.emptyPositions) / r.deals);
  }
  return 0;
}

const TCommandRegistration kLevelSolve{"levelsolve", "FACES.csv DEALS FILE...",
                                       "deal layouts many times and report how often a greedy "
                                       "player clears them",
                                       &RunLevelSolve};

}  // namespace
