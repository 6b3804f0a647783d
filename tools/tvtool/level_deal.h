// What tvtool's deal commands share: reading the level named on the command line (a
// campaign number, "tutorial", or a level file or drawing) and the options of a deal.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "game/deal.h"
#include "game/level_layout.h"
#include "tools/tvtool/command_registry.h"

// Reads LEVEL: "1".."50" and "tutorial" from the game's package (PKG, or assets/assets.tvp
// beside tvtool), anything else as a level file (".xml") or drawing. levelsBeaten is set
// to the campaign index of the level (0 when it has none).
bool ReadDealLevel(const std::string& level, const std::string& package, TLevelLayout& layout,
                   int& levelsBeaten, bool& tutorial, std::string& error);

struct TDealOptions {
  std::string package;
  uint32_t seed = 1;
  int mode = 1;
  int beaten = -1;  // -1: the level's own index
  bool solvable = false;
  std::vector<std::string> positional;
};

// The flags of the deal options, for the commands' registrations.
std::set<std::string> DealOptionFlags();
// Reads "--seed N", "--mode 0|1", "--beaten C", "--package PKG" and "--solvable"; the other
// arguments are positional. False with a message on a bad value.
bool ReadDealOptions(const TToolArguments& args, TDealOptions& options, std::string& error);

// The deal request for a level: the campaign in mode 1 (treasures from the catalogue at
// random, standing in for the player's record) or free play in mode 0.
TDealRequest DealRequestFor(const TDealOptions& options, int levelsBeaten, bool tutorial);
