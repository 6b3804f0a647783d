// tvtool levelcheck [--tutorial] FILE...: checks level layouts and prints one line per
// layout with its counts, then its problems. A campaign layout needs an even number of
// positions and at least two treasure candidates that are not free at the start; with
// --tutorial the layout needs exactly 15 positions instead. Fails when any layout fails.
#include <cstdio>

#include "game/layout_checker.h"
#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/level_input.h"

namespace {

int RunLevelCheck(const TToolArguments& args) {
  if (args.positional.empty()) return ToolUsage("levelcheck");
  TLayoutRequirements rules;
  if (args.Has("--tutorial")) {
    rules.evenCount = false;
    rules.exactPositions = 15;
  }
  int failed = 0;
  for (const std::string& path : args.positional) {
    TLevelLayout layout;
    std::string error;
    if (!ReadLevelInput(path, layout, error)) {
      ToolError("levelcheck", error);
      ++failed;
      continue;
    }
    TLayoutReport report = CheckLayout(layout);
    int minRound = -1;
    for (int round : report.candidateRounds)
      if (minRound < 0 || round < minRound) minRound = round;
    std::vector<std::string> problems;
    bool ok = LayoutPasses(report, rules, problems);
    std::printf(
        "%s: %d positions, %d layers, %d candidates (first reachable after %d rounds), "
        "%zu overlaps, %zu never freed: %s\n",
        path.c_str(), report.positions, report.layers, report.candidates, minRound,
        report.overlaps.size(), report.neverFreed.size(), ok ? "ok" : "FAILED");
    for (const std::string& problem : problems) std::printf("  %s\n", problem.c_str());
    failed += !ok;
  }
  return failed ? 1 : 0;
}

const TCommandRegistration kLevelCheck{"levelcheck",
                                       "[--tutorial] FILE...",
                                       "check level layouts (drawings or level files)",
                                       &RunLevelCheck,
                                       {"--tutorial"}};

}  // namespace
