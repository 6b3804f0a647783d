// Fuzz target for the marked-up text layout: any byte string is laid out into a narrow box
// and hit-tested. Nothing may crash, and every line must stay within the limits it keeps.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gfx/text_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TTextLayout layout("__DEFAULT", 14, 0xFFFFFFFFu, size & 0xF, 120, 80);
  layout.SetText(text);
  for (const TTextLine& line : layout.Lines()) {
    if (!(line.height > 0) || line.glyphs.size() > size) __builtin_trap();
  }
  layout.SetScroll(1.5f);
  layout.SetRotation(30, 10, 10);
  layout.LinkAt(20, 10);
  return 0;
}
