// The campaign's sale locations: how many days (won levels) each takes and which location
// winning it opens. The days of the first seven add up to the campaign's levels; the last,
// the end auction, has none.
#pragma once

#include <span>
#include <string_view>

#include "game/level_list.h"

enum TLocationId : int {
  kGrammasAttic = 0,
  kYardSale = 1,
  kFleaMarket = 2,
  kAntiqueShop = 3,
  kEstateSale = 4,
  kTexasAuction = 5,
  kSothebys = 6,
  kEndAuction = 7,
};

inline constexpr int kLocationCount = 8;
// The locations with days of their own (all but the end auction).
inline constexpr int kCampaignLocationCount = 7;
inline constexpr int kNoLocation = -1;

struct TLocationInfo {
  int id;
  std::string_view keyName;  // the city map's labels are "citymap_" + key name (+ "_friendly")
  int days;                  // wins needed to finish the location
  int unlocks;               // the location that winning this one opens, kNoLocation for none
};

// The eight rows, in id order.
std::span<const TLocationInfo> LocationTable();
// The row of a location id, or null.
const TLocationInfo* FindLocation(int id);
// The level-table index of the location's first day: the days of the rows before it
// (0, 7, 14, ... 50); -1 for an unknown id.
int FirstLevelOfLocation(int id);
