#include "campaign/screens/city_map_rules.h"

#include <algorithm>

#include "campaign/record/game_state.h"
#include "campaign/record/location_info.h"
#include "data/string_table.h"

const std::array<TMapPoint, kTrailDays> kDayTrail = {{
    {129, 459}, {102, 448}, {76, 428},  {57, 403},  {48, 374},  {47, 343},  {62, 316},  {147, 292},
    {174, 284}, {194, 268}, {206, 242}, {211, 214}, {222, 190}, {250, 183}, {348, 157}, {361, 133},
    {380, 110}, {407, 94},  {439, 96},  {467, 107}, {488, 126}, {532, 177}, {521, 202}, {522, 229},
    {541, 253}, {571, 263}, {602, 268}, {633, 271}, {701, 275}, {712, 301}, {699, 328}, {674, 347},
    {641, 358}, {608, 367}, {577, 375}, {505, 397}, {475, 405}, {445, 416}, {414, 431}, {378, 428},
    {347, 412}, {326, 391}, {345, 346}, {374, 354}, {404, 358}, {432, 349}, {454, 331}, {466, 306},
    {458, 281}, {441, 258},
}};

int MapDayNumber(int levelsBeaten) {
  return std::min(levelsBeaten + 1, kTrailDays);
}

std::string UnlockText(const TGameState& state) {
  const int days = state.DaysLeftAtCurrentLocation();
  if (days >= 1) {
    std::string name = state.CurrentLocationFriendlyName();
    for (size_t at = name.find("<br>"); at != std::string::npos; at = name.find("<br>", at))
      name.replace(at, 4, 1, ' ');
    if (days == 1) return GetString("citymap_unlockdesc_1", name);
    return GetString("citymap_unlockdesc", std::to_string(days), name);
  }
  const int beaten = state.Progress().levelsBeatenCount;
  if (beaten == kTrailDays - 1) return GetString("citymap_unlockdesc_end1");
  if (beaten >= kTrailDays) return GetString("citymap_unlockdesc_end2");
  return GetString("citymap_unlockdesc_end", std::to_string(kTrailDays - beaten));
}

bool IsSignOpen(const TGameState& state, int location) {
  return location == kGrammasAttic || state.IsLocationUnlocked(location);
}

int FrontierLocation(const TGameState& state) {
  for (int id = kCampaignLocationCount - 1; id > 0; --id) {
    if (state.IsLocationUnlocked(id)) return id;
  }
  return kGrammasAttic;
}

int LocationOfNextLevel(int levelsBeaten) {
  int found = kGrammasAttic;
  for (int id = 0; id < kCampaignLocationCount; ++id) {
    if (FirstLevelOfLocation(id) <= levelsBeaten) found = id;
  }
  return found;
}
