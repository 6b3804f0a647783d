// Feeds arbitrary bytes to the PNG and JPEG decoders: they must refuse damaged input with
// an empty result and never crash.
#include <cstddef>
#include <cstdint>

#include "gfx/image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TImage image;
  if (DecodePng(data, size, &image) &&
      image.pixels.size() != static_cast<size_t>(image.width) * image.height)
    __builtin_trap();
  if (DecodeJpeg(data, size, &image) &&
      image.pixels.size() != static_cast<size_t>(image.width) * image.height)
    __builtin_trap();
  return 0;
}
