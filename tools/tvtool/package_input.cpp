#include "tools/tvtool/package_input.h"

#include "files/file.h"

std::string LiteralName(const std::string& path) {
  return "::" + path;
}

bool ReadPackageAt(const std::string& path, std::vector<TPackageEntry>& entries, size_t& dropped,
                   std::string& error) {
  entries.clear();
  dropped = 0;
  TFile file;
  if (!file.Open(LiteralName(path), kReadBinary)) {
    error = "cannot open " + path;
    return false;
  }
  const long length = file.GetLength();
  if (!ReadPackageDirectory(file, length > 0 ? static_cast<uint64_t>(length) : 0, entries)) {
    error = path + " is not a package (no \"TVPK\" magic)";
    return false;
  }
  uint8_t count[4] = {};
  file.Seek(4, kSeekStart);
  file.Read(count, 4);
  const size_t declared =
      count[0] | count[1] << 8 | count[2] << 16 | static_cast<size_t>(count[3]) << 24;
  dropped = declared > entries.size() ? declared - entries.size() : 0;
  return true;
}
