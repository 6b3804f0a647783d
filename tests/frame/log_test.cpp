#include "frame/log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/unique_test_folder.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The log makes its folder itself: the tests start from one that does not exist yet.
    parent = MakeUniqueTestFolder("mc_log_test_");
    folder = parent / "log";
  }
  void TearDown() override {
    SetLogFolder("");
    std::filesystem::remove_all(parent);
  }
  std::filesystem::path parent;
  std::filesystem::path folder;
};

TEST_F(LogTest, OffUntilAFolderIsSetAndCreatesIt) {
  SetLogFolder("");
  Log("nobody reads this");
  EXPECT_EQ(LogPath(), "");
  EXPECT_FALSE(std::filesystem::exists(folder));

  SetLogFolder(folder.string());
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  Log("hello %d", 42);
  const std::string text = ReadAll(LogPath());
  EXPECT_NE(text.find(": hello 42\n"), std::string::npos);
  EXPECT_EQ(LogPosition(), text.size());
}

TEST_F(LogTest, EachRunStartsAFreshFile) {
  SetLogFolder(folder.string());
  Log("first run");
  SetLogFolder(folder.string());
  Log("second run");
  const std::string text = ReadAll(LogPath());
  EXPECT_EQ(text.find("first run"), std::string::npos);
  EXPECT_NE(text.find("second run"), std::string::npos);
}

TEST_F(LogTest, LongMessagesAreCut) {
  SetLogFolder(folder.string());
  Log("%s", std::string(40000, 'x').c_str());
  const std::string text = ReadAll(LogPath());
  const size_t start = text.find(": ") + 2;
  EXPECT_EQ(text.size() - start - 1, 29999u);
}

TEST_F(LogTest, WrapsAroundAfterTheLimitKeepingTheStart) {
  SetLogFolder(folder.string());
  Log("start-up line");
  const std::string filler(1000, 'f');
  while (LogPosition() <= 102400) Log("%s", filler.c_str());
  const unsigned before = LogPosition();
  EXPECT_GT(before, 102400u);
  Log("after the wrap");
  const std::string text = ReadAll(LogPath());
  EXPECT_NE(text.find("start-up line"), std::string::npos);
  const size_t marker = text.find("LOG WRAP AROUND");
  ASSERT_NE(marker, std::string::npos);
  EXPECT_LT(marker, 51200u + 30u);
  EXPECT_GT(text.find("after the wrap"), marker);
  EXPECT_LT(LogPosition(), before);
  EXPECT_EQ(text.size(), before);  // later text of the earlier pass stays in place
}

}  // namespace
