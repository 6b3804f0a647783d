// Feeds arbitrary bytes to the package directory reader as a package file, then opens and
// reads every member it accepted: no entry may reach outside the input.
#include <cstdint>
#include <string>
#include <vector>

#include "files/file.h"
#include "files/file_system.h"
#include "files/package_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RegisterMemoryFile("fuzz.tvp", data, size);
  TFile file;
  if (size > 0 && file.Open("fuzz.tvp", kReadBinary)) {
    std::vector<TPackageEntry> entries;
    ReadPackageDirectory(file, size, entries);
    uint64_t checksum = 0;
    for (const TPackageEntry& entry : entries) {
      if (static_cast<uint64_t>(entry.offset) + entry.size > size) __builtin_trap();
      for (uint32_t i = 0; i < entry.size; ++i) checksum += data[entry.offset + i];
    }
    (void)checksum;
  }
  RegisterMemoryFile("fuzz.tvp", data, 0);
  return 0;
}
