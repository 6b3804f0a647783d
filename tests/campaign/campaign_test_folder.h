// A fresh folder per test as the player's, common and program folders, with fresh settings
// (an installation key of its own) and an empty string table: what the application object's
// tests start from.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "data/settings.h"
#include "data/string_table.h"
#include "files/file_system.h"
#include "tests/support/unique_test_folder.h"

inline std::filesystem::path StartCampaignTestFolder(const std::string& prefix,
                                                     const std::string& installKey) {
  namespace fs = std::filesystem;
  const fs::path folder = MakeUniqueTestFolder(prefix);
  ResetFileSystem();
  SetFileSystemFolders(folder.string(), folder.string(), folder.string());
  ResetSettings();
  SetSetting("installkey", installKey);
  StringTable().Clear();
  return folder;
}
