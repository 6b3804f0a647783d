#include "game/player_layouts.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "files/file.h"
#include "files/file_system.h"
#include "files/replace_file.h"
#include "frame/log.h"
#include "game/level_file.h"
#include "game/level_info.h"
#include "game/level_list.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kExtension = ".xml";

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool IsCampaignName(std::string_view bareName) {
  return LevelIndexFromName(bareName) >= 0 || bareName == LevelBareName(kTutorialLevelFile);
}

// The player's layout folder on disk, "" when there is no user folder.
fs::path LayoutFolder() {
  if (UserFolder().empty()) return {};
  return fs::path(UserFolder()) / "levels";
}

// A layout file's bare name from its virtual name, "" when it is not in the folder.
std::string BareNameInFolder(const std::string& file) {
  if (file.compare(0, sizeof kPlayerLayoutFolder - 1, kPlayerLayoutFolder) != 0) return {};
  return file.substr(sizeof kPlayerLayoutFolder - 1);
}

bool TakenOnDisk(const std::string& file) {
  return PlayerLayoutExists(file);
}

}  // namespace

bool IsPlayerLayoutName(std::string_view bareName) {
  if (!EndsWith(bareName, kExtension) || bareName.size() == kExtension.size()) return false;
  const std::string_view stem = bareName.substr(0, bareName.size() - kExtension.size());
  const bool plain = std::all_of(stem.begin(), stem.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
  });
  return plain && !IsCampaignName(bareName);
}

bool ReadPlayerLayout(const std::string& file, TLevelLayout& layout) {
  std::string text;
  if (!ReadWholeFile(file, text)) {
    Log("Layout %s cannot be read", file.c_str());
    return false;
  }
  if (text.size() > kPlayerLayoutMaxBytes) {
    Log("Layout %s is skipped: %zu bytes is too large for a layout", file.c_str(), text.size());
    return false;
  }
  TLevelLayout read;
  std::string reason;
  if (!ReadLevelXml(text, read, &reason)) {
    Log("Layout %s is skipped: it is damaged (%s)", file.c_str(), reason.c_str());
    return false;
  }
  if (read.PositionCount() == 0) {
    Log("Layout %s is skipped: it has no tile positions", file.c_str());
    return false;
  }
  layout = std::move(read);
  return true;
}

std::vector<TPlayerLayout> ListPlayerLayouts() {
  std::vector<TPlayerLayout> layouts;
  const fs::path folder = LayoutFolder();
  std::error_code error;
  if (folder.empty() || !fs::is_directory(folder, error)) return layouts;
  std::vector<std::string> names;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (!EndsWith(name, kExtension)) continue;
    if (IsCampaignName(name)) continue;  // a replaced campaign level, listed with the campaign
    if (!IsPlayerLayoutName(name)) {
      Log("Layout %s%s is skipped: layout file names are lowercase letters, digits, _ and -",
          kPlayerLayoutFolder, name.c_str());
      continue;
    }
    // Only plain files: a link or a device could point anywhere.
    std::error_code statError;
    const fs::file_status status = fs::symlink_status(it->path(), statError);
    if (statError || !fs::is_regular_file(status)) {
      Log("Layout %s%s is skipped: it is not a plain file", kPlayerLayoutFolder, name.c_str());
      continue;
    }
    const auto size = fs::file_size(it->path(), statError);
    if (statError || size > kPlayerLayoutMaxBytes) {
      Log("Layout %s%s is skipped: it is too large for a layout", kPlayerLayoutFolder,
          name.c_str());
      continue;
    }
    names.push_back(name);
  }
  if (error) Log("The layout folder cannot be read to the end (%s)", error.message().c_str());
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    TPlayerLayout entry;
    entry.file = kPlayerLayoutFolder + name;
    if (ReadPlayerLayout(entry.file, entry.layout)) layouts.push_back(std::move(entry));
  }
  return layouts;
}

std::string PlayerLayoutFileName(std::string_view title, bool (*taken)(const std::string& file)) {
  std::string stem;
  bool gap = false;
  for (char c : title) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
      if (gap && !stem.empty()) stem += '_';
      stem += c;
      gap = false;
    } else {
      gap = true;
    }
    if (stem.size() >= 40) break;
  }
  if (stem.empty()) stem = "layout";
  if (IsCampaignName(stem + std::string(kExtension))) stem = "my_" + stem;
  if (!taken) taken = &TakenOnDisk;
  std::string file = kPlayerLayoutFolder + stem + std::string(kExtension);
  for (int n = 2; taken(file) && n < 10000; ++n)
    file = kPlayerLayoutFolder + stem + "_" + std::to_string(n) + std::string(kExtension);
  return file;
}

bool SavePlayerLayout(const std::string& file, const TLevelLayout& layout, std::string* error) {
  if (!IsPlayerLayoutName(BareNameInFolder(file))) {
    if (error) *error = file + " is no player layout name";
    return false;
  }
  std::error_code made;
  const fs::path folder = LayoutFolder();
  if (folder.empty()) {
    if (error) *error = "there is no player folder";
    return false;
  }
  fs::create_directories(folder, made);
  return ReplaceWholeFile(file, WriteLevelXml(layout), error);
}

bool DeletePlayerLayout(const std::string& file) {
  const std::string bare = BareNameInFolder(file);
  if (!IsPlayerLayoutName(bare) || LayoutFolder().empty()) {
    Log("%s is no player layout and is not deleted", file.c_str());
    return false;
  }
  std::error_code error;
  if (!fs::remove(LayoutFolder() / bare, error)) {
    Log("Layout %s cannot be deleted (%s)", file.c_str(),
        error ? error.message().c_str() : "it does not exist");
    return false;
  }
  Log("Layout %s deleted", file.c_str());
  return true;
}

std::string LayoutHiscoreCategory(std::string_view levelFile) {
  if (levelFile == kTestPlayLevelFile) return {};
  std::string stem = LevelBareName(levelFile);
  if (EndsWith(stem, kExtension)) stem.resize(stem.size() - kExtension.size());
  if (stem.empty()) return {};
  for (char& c : stem)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return "mahjongcuriomar_layout_" + stem;
}

bool PlayerLayoutExists(const std::string& file) {
  const std::string bare = BareNameInFolder(file);
  std::error_code error;
  return !bare.empty() && !LayoutFolder().empty() && fs::exists(LayoutFolder() / bare, error);
}
