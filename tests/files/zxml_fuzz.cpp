// Unpacks arbitrary bytes as a ZXML container (with the magic forced in front so the
// header and the inflater get exercised), and packs and unpacks the input as text.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "files/zxml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string out;
  UnpackZxml(data, size, out);

  std::vector<uint8_t> forced(data, data + size);
  if (forced.size() >= 4) std::memcpy(forced.data(), "ZXML", 4);
  if (UnpackZxml(forced.data(), forced.size(), out) && out.size() > forced.size() * 1100 + 64) {
    __builtin_trap();
  }

  const std::vector<uint8_t> packed = PackZxml(data, size);
  if (!UnpackZxml(packed.data(), packed.size(), out) || out.size() != size ||
      (size > 0 && std::memcmp(out.data(), data, size) != 0)) {
    __builtin_trap();
  }
  return 0;
}
