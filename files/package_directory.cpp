#include "files/package_directory.h"

#include <cstring>

#include "files/file.h"
#include "frame/log.h"

namespace {

bool ReadUint32(TFile& file, uint32_t& value) {
  uint8_t bytes[4];
  if (file.Read(bytes, 4) != 4) return false;
  value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
          static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  return true;
}

}  // namespace

bool ReadPackageDirectory(TFile& file, uint64_t fileLength, std::vector<TPackageEntry>& entries) {
  entries.clear();
  char magic[4] = {'X', 'X', 'X', 'X'};  // a short read cannot match
  file.Read(magic, 4);
  if (std::memcmp(magic, kPackageMagic, 4) != 0) return false;

  uint32_t count = 0;
  if (!ReadUint32(file, count)) return true;
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t length = 0;
    TPackageEntry entry;
    entry.name.resize(0);
    if (file.Read(&length, 1) != 1) break;
    entry.name.resize(length);
    if (length > 0 && file.Read(entry.name.data(), length) != length) break;
    if (!ReadUint32(file, entry.offset) || !ReadUint32(file, entry.size)) break;
    if (static_cast<uint64_t>(entry.offset) + entry.size > fileLength) {
      Log("package entry %s lies outside the package file; dropped", entry.name.c_str());
      continue;
    }
    entries.push_back(std::move(entry));
  }
  return true;
}
