// The 51 layouts the game ships (levels 1..50 and the tutorial), read from their drawings
// in content/levels/, for the property tests and benchmarks of the deal and the rules.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/level_drawing.h"
#include "game/level_layout.h"

struct TShippedLayout {
  std::string name;      // "level_007" or "tutorial"
  int levelsBeaten = 0;  // the campaign index: how many levels a player has beaten here
  TLevelLayout layout;
};

inline TLevelLayout ReadShippedDrawing(const std::string& stem) {
  const std::string path = std::string(MC_SOURCE_DIR) + "/content/levels/" + stem + ".txt";
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  TLevelLayout layout;
  std::string error;
  // Every test and benchmark here needs the layouts; without them there is nothing to run.
  if (!ReadLevelDrawing(text.str(), layout, &error)) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
    std::abort();
  }
  return layout;
}

inline const std::vector<TShippedLayout>& ShippedLayouts() {
  static const std::vector<TShippedLayout> layouts = [] {
    std::vector<TShippedLayout> all;
    for (int level = 1; level <= 50; ++level) {
      char stem[16];
      std::snprintf(stem, sizeof stem, "level_%03d", level);
      all.push_back({stem, level - 1, ReadShippedDrawing(stem)});
    }
    all.push_back({"tutorial", 0, ReadShippedDrawing("tutorial")});
    return all;
  }();
  return layouts;
}
