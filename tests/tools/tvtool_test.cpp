// Runs the built tvtool the way the content build does and reads its output back through
// the engine's file system.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/file.h"
#include "files/file_system.h"
#include "files/zxml.h"
#include "tests/support/tvtool_fixture.h"

namespace {

namespace fs = std::filesystem;

class TvtoolTest : public TTvtoolFixture {
 protected:
  TvtoolTest() : TTvtoolFixture("mc_tvtool_") {}
  void SetUp() override {
    TTvtoolFixture::SetUp();
    previous = fs::current_path();
    ResetFileSystem();
  }
  void TearDown() override {
    fs::current_path(previous);
    ResetFileSystem();
    TTvtoolFixture::TearDown();
  }

  fs::path previous;
};

TEST_F(TvtoolTest, PackedFolderReadsBackByteForByteThroughTheFileSystem) {
  const std::string xml = "<?xml version=\"1.0\"?>\r\n<settings><a>1</a></settings>\r\n";
  std::string binary;
  for (int i = 0; i < 3000; ++i) binary.push_back(static_cast<char>(i * 7));
  Write(root / "stage/Settings.xml", xml);
  Write(root / "stage/Gfx/Tiles/Tile.PNG", binary);
  Write(root / "stage/scripts/mainloop.lua", "print('x')\n");
  Write(root / "stage/empty.txt", "");

  ASSERT_EQ(Run("pack --zxml " + Q(root / "stage") + " " + Q(root / "run/assets/assets.tvp")), 0)
      << Read(root / "stderr");
  ASSERT_EQ(Run("list " + Q(root / "run/assets/assets.tvp")), 0);
  EXPECT_EQ(Read(root / "stdout").substr(0, 10), "empty.txt\t");
  EXPECT_NE(Read(root / "stdout").find("gfx/tiles/tile.png\t3000\t"), std::string::npos);

  fs::current_path(root / "run");
  InitFileSystem();
  std::string text;
  ASSERT_TRUE(ReadWholeFile("gfx/tiles/tile.png", text));
  EXPECT_EQ(text, binary);
  ASSERT_TRUE(ReadWholeFile("scripts/mainloop.lua", text));
  EXPECT_EQ(text, "print('x')\n");
  ASSERT_TRUE(ReadWholeFile("empty.txt", text));
  EXPECT_EQ(text, "");
  ASSERT_TRUE(ReadWholeFile("settings.xml", text));
  std::string unpacked;
  ASSERT_TRUE(UnpackZxml(text.data(), text.size(), unpacked));
  EXPECT_EQ(unpacked, xml);

  ASSERT_EQ(Run("cat --inflate assets/assets.tvp SETTINGS.XML"), 0);
  EXPECT_EQ(Read(root / "stdout"), xml);
  ASSERT_EQ(Run("cat assets/assets.tvp gfx/tiles/tile.png"), 0);
  EXPECT_EQ(Read(root / "stdout"), binary);

  // Deterministic: packing again gives the same bytes.
  ASSERT_EQ(Run("pack --zxml " + Q(root / "stage") + " " + Q(root / "again.tvp")), 0);
  EXPECT_EQ(Read(root / "again.tvp"), Read(root / "run/assets/assets.tvp"));
}

TEST_F(TvtoolTest, ZxmlRoundTripAndBadInputFailClearly) {
  Write(root / "in.xml", "<a>text text text text</a>");
  ASSERT_EQ(Run("zxml " + Q(root / "in.xml") + " " + Q(root / "in.zxml")), 0);
  ASSERT_EQ(Run("unzxml " + Q(root / "in.zxml") + " " + Q(root / "out.xml")), 0);
  EXPECT_EQ(Read(root / "out.xml"), "<a>text text text text</a>");

  std::string damaged = Read(root / "in.zxml");
  damaged[14] ^= 0x3c;
  Write(root / "bad.zxml", damaged);
  EXPECT_EQ(Run("unzxml " + Q(root / "bad.zxml") + " " + Q(root / "bad.xml")), 1);
  EXPECT_NE(Read(root / "stderr").find("damaged"), std::string::npos);
  EXPECT_FALSE(fs::exists(root / "bad.xml"));

  EXPECT_EQ(Run("unzxml " + Q(root / "in.xml") + " " + Q(root / "x")), 1);
  EXPECT_EQ(Run("list " + Q(root / "in.xml")), 1);
  EXPECT_NE(Read(root / "stderr").find("not a package"), std::string::npos);
  EXPECT_EQ(Run("list " + Q(root / "missing.tvp")), 1);
  EXPECT_EQ(Run("pack " + Q(root / "missing") + " " + Q(root / "o.tvp")), 1);
  EXPECT_EQ(Run("pack onlyone"), 2);
  EXPECT_EQ(Run("cat --frobnicate a b"), 2);
  EXPECT_EQ(Run("no-such-command"), 2);
  EXPECT_EQ(Run(""), 0);
  EXPECT_NE(Read(root / "stdout").find("pack [--zxml] DIR OUT.tvp"), std::string::npos);
}

TEST_F(TvtoolTest, NamesThatCollideOnceLowercasedAreRefused) {
  Write(root / "stage/A.txt", "1");
  Write(root / "stage/a.txt", "2");
  EXPECT_EQ(Run("pack " + Q(root / "stage") + " " + Q(root / "o.tvp")), 1);
  EXPECT_NE(Read(root / "stderr").find("\"a.txt\""), std::string::npos);
  EXPECT_FALSE(fs::exists(root / "o.tvp"));
}

}  // namespace
