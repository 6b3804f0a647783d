#include "game/level_info.h"

#include "files/file.h"
#include "frame/log.h"
#include "game/level_file.h"

namespace {

const char kPlayerFolderPrefix[] = "user:";

void Cut(std::string& text, size_t limit) {
  if (text.size() > limit) text.resize(limit);
}

enum class TReadResult { kMissing, kDamaged, kRead };

TReadResult ReadLevelFile(const std::string& name, TLevelInfo& info) {
  std::string text;
  if (!ReadWholeFile(name, text)) return TReadResult::kMissing;
  std::string reason;
  if (!ReadLevelInfo(text, info, &reason)) {
    Log("Level file %s is damaged (%s)", name.c_str(), reason.c_str());
    return TReadResult::kDamaged;
  }
  return TReadResult::kRead;
}

}  // namespace

std::string LevelBareName(std::string_view name) {
  const size_t cut = name.find_last_of("/:");
  return std::string(cut == std::string_view::npos ? name : name.substr(cut + 1));
}

TLevelSource LoadLevel(const std::string& name, TLevelInfo& info, TLevelLayout& layout) {
  info = TLevelInfo{};
  info.path = name;
  info.fileName = LevelBareName(name);
  layout.Clear();

  TLevelSource source = TLevelSource::kGame;
  const bool prefixed = name.find(':') != std::string::npos;
  const TReadResult own =
      prefixed ? TReadResult::kMissing : ReadLevelFile(kPlayerFolderPrefix + name, info);
  if (own == TReadResult::kRead) {
    Log("Level %s: the player's own layout from %s%s", info.fileName.c_str(), kPlayerFolderPrefix,
        name.c_str());
    source = TLevelSource::kPlayerFolder;
  } else {
    if (own == TReadResult::kDamaged)
      Log("Level %s: the game's own layout is used instead", info.fileName.c_str());
    switch (ReadLevelFile(name, info)) {
      case TReadResult::kRead:
        break;
      case TReadResult::kMissing:
        Log("Level file %s is missing: the level has no tiles", name.c_str());
        return TLevelSource::kNone;
      case TReadResult::kDamaged:
        Log("Level %s has no tiles", name.c_str());
        return TLevelSource::kNone;
    }
  }
  Cut(info.creatorName, TLevelInfo::kCreatorNameLimit);
  Cut(info.title, TLevelInfo::kTitleLimit);
  Cut(info.description, TLevelInfo::kDescriptionLimit);
  layout.DecodeLayoutData(info.layoutData);
  return source;
}
