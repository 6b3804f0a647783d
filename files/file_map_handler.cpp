#include "files/file_map_handler.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>

#include "files/file.h"
#include "files/file_system.h"
#include "files/lower_case.h"
#include "files/package_directory.h"
#include "frame/log.h"

namespace {

std::vector<TFileMapHandler> gPackages;

std::shared_ptr<TFileMapData> MapPackage(const std::string& path) {
  std::string diskPath = path.rfind("::", 0) == 0 ? path.substr(2) : path;
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(diskPath, error);
  auto data = std::make_shared<TFileMapData>();
  if (error || !data->mapping.Open(full.string())) {
    Log("Failed to open flat file %s", path.c_str());
    return nullptr;
  }
  return data;
}

}  // namespace

void RegisterPackage(const std::string& path) {
  size_t index = gPackages.size();
  for (size_t i = 0; i < gPackages.size(); ++i) {
    if (gPackages[i].path == path) {
      index = i;
      gPackages[i].data.reset();
      break;
    }
  }

  TFile file;
  if (!file.Open(path, kReadBinary)) return;
  const long length = file.GetLength();
  std::vector<TPackageEntry> entries;
  if (!ReadPackageDirectory(file, length > 0 ? static_cast<uint64_t>(length) : 0, entries)) return;

  TFileMapHandler handler;
  handler.path = path;
  handler.data = MapPackage(path);
  // The directory was checked against the length read through the file; should the
  // mapping see a different length, members are checked against the view again at open.
  for (const TPackageEntry& entry : entries) {
    char locator[64];
    std::snprintf(locator, sizeof locator, "@%zu:%" PRIu32 ",%" PRIu32, index, entry.offset,
                  entry.size);
    SetNameTableEntry(LowerCaseAscii(entry.name), locator);
  }
  if (index == gPackages.size()) {
    gPackages.push_back(std::move(handler));
  } else {
    gPackages[index] = std::move(handler);
  }
}

const std::vector<TFileMapHandler>& PackageList() {
  return gPackages;
}

void ClearPackages() {
  gPackages.clear();
}
