#include "files/xdg_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/support/unique_test_folder.h"

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : mName(name) {
    if (const char* old = std::getenv(name)) mOld = old, mHad = true;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() { mHad ? setenv(mName, mOld.c_str(), 1) : unsetenv(mName); }

 private:
  const char* mName;
  std::string mOld;
  bool mHad = false;
};

TEST(SpecialFoldersTest, FoldersFollowXdgAndAreCreated) {
  const auto root = MakeUniqueTestFolder("mc_xdg_folders_");
  std::filesystem::create_directories(root / "config");
  std::filesystem::create_directories(root / "home/Schreibtisch");
  std::ofstream(root / "config/user-dirs.dirs")
      << "# "
         "comment\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
  ScopedEnv home("HOME", (root / "home").string());
  ScopedEnv data("XDG_DATA_HOME", (root / "data").string());
  ScopedEnv config("XDG_CONFIG_HOME", (root / "config").string());

  TSpecialFolders folders = ComputeSpecialFolders("", "Mahjong");
  EXPECT_EQ(folders.user, (root / "data/Tandervel/Mahjong").string());
  EXPECT_TRUE(std::filesystem::is_directory(folders.user));
  EXPECT_EQ(folders.common, folders.user);
  EXPECT_EQ(folders.desktop, (root / "home/Schreibtisch").string());

  folders = ComputeSpecialFolders("Acme", "Game", (root / "system").string());
  EXPECT_EQ(folders.user, (root / "data/Acme/Game").string());
  EXPECT_EQ(folders.common, (root / "system/Acme/Game").string());

  // No desktop named, or one that does not exist: the user folder stands in.
  std::filesystem::remove_all(root / "home/Schreibtisch");
  EXPECT_EQ(ComputeSpecialFolders("", "Mahjong").desktop,
            (root / "data/Tandervel/Mahjong").string());
  std::filesystem::remove_all(root);
}

TEST(SpecialFoldersTest, DesktopEntryParsing) {
  EXPECT_EQ(DesktopFromUserDirs("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", "/home/p"),
            "/home/p/Desktop");
  EXPECT_EQ(DesktopFromUserDirs("  XDG_DESKTOP_DIR=\"/srv/desk\"\r\n", "/h"), "/srv/desk");
  EXPECT_EQ(DesktopFromUserDirs("XDG_DESKTOP_DIR=relative\n", "/h"), "");
  EXPECT_EQ(DesktopFromUserDirs("#XDG_DESKTOP_DIR=\"/x\"\n", "/h"), "");
  EXPECT_EQ(DesktopFromUserDirs("", "/h"), "");
}

}  // namespace
