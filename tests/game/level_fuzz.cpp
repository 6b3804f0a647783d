// Reads arbitrary bytes as a level file and as a level drawing, decodes them as layout
// data, and runs the checker and the writers on whatever layout results.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "game/layout_checker.h"
#include "game/level_drawing.h"
#include "game/level_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  TLevelLayout layout;
  if (ReadLevelXml(input, layout)) {
    CheckLayout(layout);
    WriteLevelDrawing(layout);
  }
  TLevelLayout drawn;
  if (ReadLevelDrawing(input, drawn)) {
    TLevelLayout back;
    ReadLevelXml(WriteLevelXml(drawn), back);
  }
  TLevelLayout decoded;
  decoded.DecodeLayoutData(input);
  CheckLayout(decoded);
  return 0;
}
