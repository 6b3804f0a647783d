// Reading a package named on tvtool's command line through the engine's own file system.
#pragma once

#include <string>
#include <vector>

#include "files/package_directory.h"

// Reads the directory of the package at path. False with a reason when the file cannot be
// opened or is not a package. dropped counts directory entries the reader refused (cut
// short or reaching beyond the file).
bool ReadPackageAt(const std::string& path, std::vector<TPackageEntry>& entries, size_t& dropped,
                   std::string& error);

// The virtual name that opens a disk path literally.
std::string LiteralName(const std::string& path);
