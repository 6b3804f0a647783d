#include "tools/tvtool/level_input.h"

#include <cstdint>
#include <vector>

#include "game/level_drawing.h"
#include "game/level_file.h"
#include "tools/tvtool/tool_io.h"

bool IsLevelXmlName(const std::string& path) {
  return path.size() >= 4 && path.compare(path.size() - 4, 4, ".xml") == 0;
}

bool ReadLevelInput(const std::string& path, TLevelLayout& layout, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!ReadDiskFile(path, bytes, error)) return false;
  std::string text(bytes.begin(), bytes.end());
  std::string reason;
  bool ok = IsLevelXmlName(path) ? ReadLevelXml(text, layout, &reason)
                                 : ReadLevelDrawing(text, layout, &reason);
  if (!ok) error = path + ": " + reason;
  return ok;
}

int LevelIndexFromName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
  if (name.size() < 9 || name.compare(0, 6, "level_") != 0) return -1;
  int number = 0;
  for (size_t i = 6; i < 9; ++i) {
    if (name[i] < '0' || name[i] > '9') return -1;
    number = number * 10 + (name[i] - '0');
  }
  return number >= 1 && number <= 50 ? number - 1 : -1;
}
