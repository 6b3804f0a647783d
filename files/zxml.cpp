#include "files/zxml.h"

#include <zlib.h>

#include <cstring>

#include "frame/log.h"

namespace {

constexpr char kMagic[4] = {'Z', 'X', 'M', 'L'};
// deflate never does better than about 1032:1, so a larger U than this is a damaged header
// rather than a reason to allocate gigabytes.
constexpr uint64_t kMaxRatio = 1040;

uint32_t GetUint32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void PutUint32(uint8_t* bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

bool IsZxml(const void* data, size_t size) {
  return size >= 4 && std::memcmp(data, kMagic, 4) == 0;
}

bool UnpackZxml(const void* data, size_t size, std::string& out) {
  out.clear();
  if (!IsZxml(data, size) || size < kZxmlHeaderSize) {
    Log("ZXML container too short (%zu bytes)", size);
    return false;
  }
  const auto* bytes = static_cast<const uint8_t*>(data);
  const uint32_t compressed = GetUint32(bytes + 4);
  const uint32_t unpacked = GetUint32(bytes + 8);
  if (compressed > size - kZxmlHeaderSize ||
      unpacked > static_cast<uint64_t>(compressed) * kMaxRatio + 64) {
    Log("ZXML container damaged: %u compressed / %u unpacked bytes in %zu", compressed, unpacked,
        size);
    return false;
  }
  out.resize(unpacked);
  uLongf length = unpacked;
  const int result = uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                                bytes + kZxmlHeaderSize, compressed);
  if (result != Z_OK) {
    Log("ZXML container damaged: inflate failed (%d)", result);
    out.clear();
    return false;
  }
  out.resize(length);  // the length the stream really had
  return true;
}

std::vector<uint8_t> PackZxml(const void* data, size_t size) {
  uLongf bound = compressBound(size);
  std::vector<uint8_t> out(kZxmlHeaderSize + bound);
  compress2(out.data() + kZxmlHeaderSize, &bound, static_cast<const Bytef*>(data), size,
            Z_BEST_COMPRESSION);
  out.resize(kZxmlHeaderSize + bound);
  std::memcpy(out.data(), kMagic, 4);
  PutUint32(out.data() + 4, static_cast<uint32_t>(bound));
  PutUint32(out.data() + 8, static_cast<uint32_t>(size));
  return out;
}
