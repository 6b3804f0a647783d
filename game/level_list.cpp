#include "game/level_list.h"

#include <cstdio>

#include "files/lower_case.h"
#include "game/level_info.h"

namespace {

// After all levels are beaten the game replays one of the last ten.
constexpr int kReplayedLevels = 10;

// The bare name without its extension: "levels/level_007.xml" -> "level_007".
std::string LevelStem(std::string_view name) {
  std::string bare = LowerCaseAscii(LevelBareName(name));
  const size_t dot = bare.rfind('.');
  if (dot != std::string::npos) bare.resize(dot);
  return bare;
}

}  // namespace

TLevelEntry TutorialLevelEntry() {
  return {kTutorialLevelIndex, kTutorialLevelFile};
}

TLevelEntry CampaignLevelEntry(int index) {
  if (index < 0 || index >= kCampaignLevelCount) return {};
  char file[32];
  std::snprintf(file, sizeof file, "levels/level_%03d.xml", index + 1);
  return {index, file};
}

int LevelIndexFromName(std::string_view name) {
  const std::string stem = LevelStem(name);
  for (int index = 0; index < kCampaignLevelCount; ++index)
    if (LevelStem(CampaignLevelEntry(index).file) == stem) return index;
  return -1;
}

TLevelEntry NextLevelEntry(const TLevelProgress& progress, uint32_t random) {
  if (!progress.tutorialWon) return TutorialLevelEntry();
  if (progress.levelsBeaten < kCampaignLevelCount) return CampaignLevelEntry(progress.levelsBeaten);
  return CampaignLevelEntry(kCampaignLevelCount - kReplayedLevels + random % kReplayedLevels);
}
