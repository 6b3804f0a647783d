// Cabinets made with gcab (as the build makes the launcher's payload) unpacked with the
// launcher's extractor; hostile cabinets are refused without writing outside the folder.
#include "platform/launcher/cabinet_extractor.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "tests/webcontrol/launcher_test_support.h"

namespace {

class CabinetExtractor : public ::testing::Test {
 protected:
  void SetUp() override {
    root = MakeTemporaryFolder("mc_cabinet_");
    source = root / "source";
    target = root / "target";
    std::filesystem::create_directories(source / "assets");
    std::filesystem::create_directories(target);
  }
  void TearDown() override {
    std::error_code error;
    std::filesystem::remove_all(root, error);
  }

  std::filesystem::path root, source, target;
};

}  // namespace

TEST_F(CabinetExtractor, WhatGcabPacksComesBackByteForByte) {
  std::mt19937 random(7);
  std::string big(300000, '\0');
  for (char& c : big) c = static_cast<char>(random() % 7);  // compressible, not trivial
  std::string noise(70000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  WriteFile(source / "EULA.txt", "licence\n");
  WriteFile(source / "mahjongcuriomar", big);
  WriteFile(source / "assets" / "assets.tvp", noise);
  WriteFile(source / "assets" / "empty.xml", "");
  const std::filesystem::path cabinet = root / "game.cab";
  ASSERT_TRUE(MakeCabinet(
      source, cabinet, {"EULA.txt", "mahjongcuriomar", "assets/assets.tvp", "assets/empty.xml"}));

  std::vector<std::string> names;
  ASSERT_TRUE(ExtractCabinet(cabinet.string(), target.string(), &names));
  EXPECT_EQ(names, (std::vector<std::string>{"EULA.txt", "mahjongcuriomar", "assets/assets.tvp",
                                             "assets/empty.xml"}));
  EXPECT_EQ(ReadFile(target / "mahjongcuriomar"), big);
  EXPECT_EQ(ReadFile(target / "assets" / "assets.tvp"), noise);
  EXPECT_EQ(ReadFile(target / "assets" / "empty.xml"), "");
  EXPECT_EQ(ReadFile(target / "EULA.txt"), "licence\n");
  // For the owner only.
  EXPECT_EQ(
      std::filesystem::status(target / "EULA.txt").permissions() & std::filesystem::perms::all,
      std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  // A second extraction into the same folder replaces the files.
  WriteFile(target / "EULA.txt", "changed");
  ASSERT_TRUE(ExtractCabinet(cabinet.string(), target.string()));
  EXPECT_EQ(ReadFile(target / "EULA.txt"), "licence\n");
}

TEST_F(CabinetExtractor, NamesThatLeaveTheFolderAreRefused) {
  EXPECT_EQ(SafeMemberPath("assets\\assets.tvp"), "assets/assets.tvp");
  EXPECT_EQ(SafeMemberPath("readme.htm"), "readme.htm");
  for (const char* bad : {"", "..\\evil", "assets\\..\\..\\evil", "\\etc\\passwd", "/etc/passwd",
                          "C:\\evil", "a\\\\b", "a\\.\\b", "a\\", ".."}) {
    EXPECT_EQ(SafeMemberPath(bad), "") << bad;
  }
  EXPECT_EQ(SafeMemberPath(std::string(300, 'a')), "");

  // A cabinet whose member is renamed "..\x.txt" after packing (names are not checksummed).
  WriteFile(source / "ab", "outside?");
  std::filesystem::create_directories(source / "zz");
  WriteFile(source / "zz" / "x.txt", "outside!");
  const std::filesystem::path cabinet = root / "hostile.cab";
  ASSERT_TRUE(MakeCabinet(source, cabinet, {"ab", "zz/x.txt"}));
  std::string bytes = ReadFile(cabinet);
  const size_t at = bytes.find("zz\\x.txt");
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at, 2, "..");
  WriteFile(cabinet, bytes);
  EXPECT_FALSE(ExtractCabinet(cabinet.string(), target.string()));
  EXPECT_FALSE(std::filesystem::exists(root / "x.txt"));
  EXPECT_FALSE(std::filesystem::exists(target / ".." / "x.txt"));
}

TEST_F(CabinetExtractor, APathThroughALinkIsRefused) {
  WriteFile(source / "assets" / "a.txt", "through the link?");
  const std::filesystem::path cabinet = root / "link.cab";
  ASSERT_TRUE(MakeCabinet(source, cabinet, {"assets/a.txt"}));
  std::filesystem::create_directories(root / "elsewhere");
  std::filesystem::create_directory_symlink(root / "elsewhere", target / "assets");
  EXPECT_FALSE(ExtractCabinet(cabinet.string(), target.string()));
  EXPECT_FALSE(std::filesystem::exists(root / "elsewhere" / "a.txt"));
}

TEST_F(CabinetExtractor, DamagedCabinetsAreRefused) {
  std::mt19937 random(3);
  std::string noise(200000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  WriteFile(source / "data.bin", noise);
  const std::filesystem::path cabinet = root / "good.cab";
  ASSERT_TRUE(MakeCabinet(source, cabinet, {"data.bin"}));
  const std::string bytes = ReadFile(cabinet);

  const std::filesystem::path cut = root / "cut.cab";
  WriteFile(cut, bytes.substr(0, bytes.size() / 2));
  EXPECT_FALSE(ExtractCabinet(cut.string(), target.string()));

  const std::filesystem::path junk = root / "junk.cab";
  WriteFile(junk, "MSCF and nothing else");
  EXPECT_FALSE(ExtractCabinet(junk.string(), target.string()));
  EXPECT_FALSE(ExtractCabinet((root / "missing.cab").string(), target.string()));
  // Nothing beside the target folder appeared.
  for (const auto& entry : std::filesystem::directory_iterator(root)) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "source" || name == "target" || name.ends_with(".cab")) << name;
  }
}
