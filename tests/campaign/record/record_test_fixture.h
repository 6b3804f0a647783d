// A preferences store in a scratch user folder for the progress-record tests: each test
// starts with no file and leaves nothing behind.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "campaign/record/record_keys.h"
#include "data/prefs.h"
#include "data/string_table.h"
#include "files/file_system.h"
#include "game/face_catalogue.h"
#include "tests/support/unique_test_folder.h"

class RecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = MakeUniqueTestFolder("mc_record_");
    ResetFileSystem();
    SetFileSystemFolders(folder.string(), folder.string(), folder.string());
    StringTable().Clear();
    store = OpenStore();
  }
  void TearDown() override {
    store.reset();
    StringTable().Clear();
    ResetFileSystem();
    std::filesystem::remove_all(folder);
  }

  static std::unique_ptr<TPrefs> OpenStore() {
    TPrefsOptions options;
    options.keyText = "KPlaxRD7wAAA";
    options.installKey = "record_test";
    options.installFile = "";
    return std::make_unique<TPrefs>(options);
  }
  // A player 0 who is current, as the game has after its first start.
  void AddPlayer(const std::string& name = "A") {
    const int player = store->GetUserCount();
    store->SetPref(record_key::kName, name, player);
    store->SetPrefInt(record_key::kCurrentUser, player, -1, true);
  }
  std::filesystem::path PrefsPath() const { return folder / "prefs.dat"; }
  std::string PrefsFile() const {
    std::ifstream in(PrefsPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static TFace Face(const char* shortName) {
    const TFace face = FindFaceByShortName(shortName);
    EXPECT_FALSE(face.IsNone()) << shortName;
    return face;
  }

  std::filesystem::path folder;
  std::unique_ptr<TPrefs> store;
};
