// The folder the program takes its assets from, in a build tree, an installed tree, both,
// and neither.
#include "frame/content_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

class ContentFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "mc_content_folder_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root = pattern;
  }
  void TearDown() override { fs::remove_all(root); }

  std::string Folder(const std::string& relative) const {
    fs::create_directories(root / relative);
    return (root / relative).string() + "/";
  }

  fs::path root;
};

TEST_F(ContentFolderTest, BuildTreeUsesTheProgramFolder) {
  const std::string program = Folder("build/bin");
  Folder("build/bin/assets");
  EXPECT_EQ(ContentFolderFor(program, "mahjongcuriomar"), program);
}

TEST_F(ContentFolderTest, InstalledTreeUsesTheShareFolderBesideBin) {
  const std::string program = Folder("usr/local/bin");
  Folder("usr/local/share/mahjongcuriomar/assets");
  Folder("usr/local/share/othergame/assets");
  EXPECT_EQ(ContentFolderFor(program, "mahjongcuriomar"),
            (root / "usr/local/share/mahjongcuriomar").string() + "/");
}

TEST_F(ContentFolderTest, AssetsBesideTheProgramWinOverAnInstalledCopy) {
  // A portable copy unpacked into a prefix's bin/ keeps running on its own assets.
  const std::string program = Folder("usr/bin");
  Folder("usr/bin/assets");
  Folder("usr/share/mahjongcuriomar/assets");
  EXPECT_EQ(ContentFolderFor(program, "mahjongcuriomar"), program);
}

TEST_F(ContentFolderTest, WithoutAssetsAnywhereTheProgramFolderStays) {
  const std::string program = Folder("usr/bin");
  Folder("usr/share/mahjongcuriomar");  // the game's folder without its assets
  EXPECT_EQ(ContentFolderFor(program, "mahjongcuriomar"), program);
  EXPECT_EQ(ContentFolderFor(program, ""), program);
  // A file named like the folder is not the folder.
  Folder("usr/share/mahjongcuriomar");
  std::FILE* file = std::fopen((root / "usr/share/mahjongcuriomar/assets").c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  EXPECT_EQ(ContentFolderFor(program, "mahjongcuriomar"), program);
}
