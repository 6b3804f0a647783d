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
