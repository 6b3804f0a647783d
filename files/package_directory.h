// The directory of a ".tvp" asset package: the magic "TVPK", a member count and one entry
// per member (name length byte, name, offset, size; integers little-endian). Members are
// addressed by offset and size from the start of the package file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TFile;

struct TPackageEntry {
  std::string name;  // as stored, not lowercased
  uint32_t offset = 0;
  uint32_t size = 0;
};

constexpr char kPackageMagic[4] = {'T', 'V', 'P', 'K'};

// Reads the directory from the start of an open package file whose total length is
// fileLength. Returns false (and no entries) when the magic is wrong. Entries are returned
// in directory order; an entry cut short by the end of the file ends the directory, and an
// entry whose bytes would reach beyond fileLength is dropped, so that reading a member can
// never leave the package.
bool ReadPackageDirectory(TFile& file, uint64_t fileLength, std::vector<TPackageEntry>& entries);
