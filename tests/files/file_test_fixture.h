// A scratch working directory for file-system tests: each test starts in an empty folder
// with a fresh file system and leaves nothing behind.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/file_system.h"
#include "files/package_writer.h"
#include "frame/log.h"

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root = std::filesystem::temp_directory_path() /
           (std::string("mc_files_") + info->test_suite_name() + "_" + info->name() + "_" +
            std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    previous = std::filesystem::current_path();
    std::filesystem::current_path(root);
    ResetFileSystem();
  }
  void TearDown() override {
    ResetFileSystem();
    SetLogFolder("");
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(root);
  }

  // Writes bytes to a path relative to the scratch folder, making folders on the way.
  static void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string ReadDiskFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  static std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
  }
  static std::string Package(const std::vector<TPackageMember>& members) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(BuildPackage(members, bytes, error)) << error;
    return std::string(bytes.begin(), bytes.end());
  }
  // The file system of a player's machine inside the scratch folder: the user, common and
  // desktop folders are "user", "common" and "desktop" below it, the game's own files its
  // "assets"; the log goes to "log".
  void StartPlayerFiles() {
    SetFileSystemFolders((root / "user").string(), (root / "common").string(),
                         (root / "desktop").string());
    InitFileSystem();
    StartLog();
  }
  // The log of this test, so messages can be checked.
  std::string LogText() const { return ReadDiskFile(root / "log" / "logfile.txt"); }
  void StartLog() { SetLogFolder((root / "log").string()); }

  std::filesystem::path root;
  std::filesystem::path previous;
};
