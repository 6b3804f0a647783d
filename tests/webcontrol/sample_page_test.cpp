// The sample page the page host opens when it is given none: beside the host in a build tree,
// in the shared data folder when installed, and nothing when neither holds it.
#include "webcontrol/sample_page.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/webcontrol/launcher_test_support.h"

namespace {

namespace fs = std::filesystem;

class SamplePage : public ::testing::Test {
 protected:
  void SetUp() override { root = MakeTemporaryFolder("mc_sample_page_"); }
  void TearDown() override { fs::remove_all(root); }
  fs::path Page(const fs::path& folder) {
    fs::create_directories(folder);
    WriteFile(folder / kSamplePageName, "<html></html>\n");
    return folder / kSamplePageName;
  }
  fs::path root;
};

}  // namespace

TEST_F(SamplePage, BuildTreeKeepsThePageBesideTheHost) {
  const fs::path page = Page(root / "build/bin/page");
  EXPECT_EQ(SamplePageFor((root / "build/bin").string(), "mahjongcuriomar"), page.string());
  EXPECT_EQ(SamplePageFor((root / "build/bin/").string(), ""), page.string());
}

TEST_F(SamplePage, InstalledHostFindsThePageInTheSharedDataFolder) {
  const fs::path page = Page(root / "usr/share/mahjongcuriomar/page");
  fs::create_directories(root / "usr/lib/mahjongcuriomar");
  EXPECT_EQ(SamplePageFor((root / "usr/lib/mahjongcuriomar/").string(), "mahjongcuriomar"),
            page.string());
  // Another game's folder, or no install name, is not this page's.
  EXPECT_EQ(SamplePageFor((root / "usr/lib/mahjongcuriomar/").string(), "othergame"), "");
  EXPECT_EQ(SamplePageFor((root / "usr/lib/mahjongcuriomar/").string(), ""), "");
  // A copy beside the host wins over the installed one.
  const fs::path beside = Page(root / "usr/lib/mahjongcuriomar/page");
  EXPECT_EQ(SamplePageFor((root / "usr/lib/mahjongcuriomar").string(), "mahjongcuriomar"),
            beside.string());
}

TEST_F(SamplePage, NoPageFoundAnswersEmpty) {
  fs::create_directories(root / "bin/page/" / kSamplePageName);  // a folder, not a page
  EXPECT_EQ(SamplePageFor((root / "bin").string(), "mahjongcuriomar"), "");
  EXPECT_EQ(SamplePageFor((root / "missing").string(), "mahjongcuriomar"), "");
  EXPECT_EQ(SamplePageFor("", "mahjongcuriomar"), "");
}
