// Registered asset packages. Each package's directory goes into the name table (members
// become "@index:offset,size" locators) and the whole file is mapped read-only so members
// are served in place.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "files/mapped_file.h"

// The read-only view of one package. Shared between the package list and every open
// member, so a view stays valid while a member reads from it even if the package is
// registered again meanwhile.
struct TFileMapData {
  TMappedFile mapping;
};

class TFileMapHandler {
 public:
  virtual ~TFileMapHandler() = default;

  std::shared_ptr<TFileMapData> data;  // null or unmapped when mapping failed
  std::string path;                    // as registered, e.g. "::assets/assets.tvp"
};

// Reads the package at the virtual name path (normally "::assets/" + file name) into the
// name table and maps it. A package that cannot be opened or lacks the magic is ignored
// without a message; a mapping failure is logged and leaves the directory entries in place.
void RegisterPackage(const std::string& path);

// The package list, indexed as in the locators.
const std::vector<TFileMapHandler>& PackageList();

// Unmaps and forgets every package (program end, tests).
void ClearPackages();
