// Feeds arbitrary bytes to the packed animation reader: damaged files are refused with a
// reason, never read past their end; a file that is accepted writes back byte for byte.
#include <cstddef>
#include <cstdint>
#include <span>

#include "gfx/formats/animation_anm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TAnimationData animation;
  std::string error;
  const std::span<const uint8_t> bytes(data, size);
  if (!ReadAnimationAnm(bytes, &animation, &error)) {
    if (error.empty()) __builtin_trap();
    return 0;
  }
  const std::vector<uint8_t> written = WriteAnimationAnm(animation);
  if (written.size() != size || !std::equal(written.begin(), written.end(), data)) __builtin_trap();
  return 0;
}
