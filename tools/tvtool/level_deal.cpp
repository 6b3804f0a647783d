#include "tools/tvtool/level_deal.h"

#include <cstdlib>
#include <filesystem>

#include "files/file_map_handler.h"
#include "game/level_info.h"
#include "game/level_list.h"
#include "tools/tvtool/level_input.h"
#include "tools/tvtool/package_input.h"

namespace {

// The package beside tvtool, as the build lays it out: bin/tvtool and bin/assets/.
std::string DefaultPackage() {
  std::error_code failed;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
  if (failed) return "assets/assets.tvp";
  return (self.parent_path() / "assets" / "assets.tvp").string();
}

bool ParseNumber(const std::string& text, long low, long high, long& value) {
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0' && value >= low && value <= high;
}

}  // namespace

bool ReadDealLevel(const std::string& level, const std::string& package, TLevelLayout& layout,
                   int& levelsBeaten, bool& tutorial, std::string& error) {
  long number = 0;
  tutorial = level == "tutorial";
  levelsBeaten = 0;
  if (!tutorial && !ParseNumber(level, 1, kCampaignLevelCount, number)) {
    if (!ReadLevelInput(level, layout, error)) return false;
    levelsBeaten = std::max(0, LevelIndexFromName(level));
    return true;
  }
  const std::string path = package.empty() ? DefaultPackage() : package;
  std::vector<TPackageEntry> entries;
  size_t dropped = 0;
  if (!ReadPackageAt(path, entries, dropped, error)) return false;
  RegisterPackage(LiteralName(path));
  const TLevelEntry entry =
      tutorial ? TutorialLevelEntry() : CampaignLevelEntry(static_cast<int>(number) - 1);
  TLevelInfo info;
  if (LoadLevel(entry.file, info, layout) == TLevelSource::kNone) {
    error = "no readable " + entry.file + " in " + path;
    return false;
  }
  levelsBeaten = tutorial ? 0 : entry.index;
  return true;
}

std::set<std::string> DealOptionFlags() {
  return {"--seed", "--mode", "--beaten", "--solvable", "--package"};
}

bool ReadDealOptions(const TToolArguments& args, TDealOptions& options, std::string& error) {
  for (size_t i = 0; i < args.all.size(); ++i) {
    const std::string& arg = args.all[i];
    if (arg == "--solvable") {
      options.solvable = true;
      continue;
    }
    if (arg != "--seed" && arg != "--mode" && arg != "--beaten" && arg != "--package") {
      options.positional.push_back(arg);
      continue;
    }
    if (i + 1 >= args.all.size()) {
      error = arg + " needs a value";
      return false;
    }
    const std::string& value = args.all[++i];
    long number = 0;
    if (arg == "--package") {
      options.package = value;
    } else if (arg == "--seed" && ParseNumber(value, 0, 4294967295L, number)) {
      options.seed = static_cast<uint32_t>(number);
    } else if (arg == "--mode" && ParseNumber(value, 0, 1, number)) {
      options.mode = static_cast<int>(number);
    } else if (arg == "--beaten" && ParseNumber(value, 0, kCampaignLevelCount, number)) {
      options.beaten = static_cast<int>(number);
    } else {
      error = "bad value \"" + value + "\" for " + arg;
      return false;
    }
  }
  return true;
}

TDealRequest DealRequestFor(const TDealOptions& options, int levelsBeaten, bool tutorial) {
  TDealRequest request;
  request.bag.gameMode = options.mode;
  request.bag.levelsBeaten = options.beaten >= 0 ? options.beaten : levelsBeaten;
  request.bag.tutorialWon = !tutorial;
  request.bag.pickTreasure = CatalogueTreasurePicker(options.seed);
  request.solvable = options.solvable;
  return request;
}
