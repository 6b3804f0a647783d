// Feeds arbitrary text to the XML animation reader: damaged descriptions are refused with
// a reason; an accepted one writes out as XML that reads back to the same description.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gfx/formats/animation_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TAnimationData animation;
  std::string error;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!ReadAnimationXml(text, &animation, &error)) {
    if (error.empty()) __builtin_trap();
    return 0;
  }
  // Compared as written text, so that NaN values count as equal.
  const std::string written = WriteAnimationXml(animation);
  TAnimationData again;
  if (!ReadAnimationXml(written, &again, &error)) __builtin_trap();
  if (WriteAnimationXml(again) != written) __builtin_trap();
  return 0;
}
