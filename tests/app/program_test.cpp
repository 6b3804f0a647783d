// The game program itself, started headless: input scripts drive it, its log tells what
// happened. Runs one program at a time (they share the program folder's log file).
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "gfx/pixel_image.h"

namespace {

const std::string kProgram = std::string(MC_BIN_DIR) + "/mahjongcuriomar";

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    folder =
        std::filesystem::temp_directory_path() / ("mc_program_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    // Lock files and the player's data folder (with the log) stay in the test's folder.
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    mLog = (folder / "Tandervel" / "Mahjong Curio Mar" / "logfile.txt").string();
  }
  void TearDown() override {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
  }

  std::string WriteScript(const std::string& text) {
    const std::string path = (folder / "input.txt").string();
    std::ofstream(path) << text;
    return path;
  }

  // Runs the program to its end; returns its exit status.
  static int Run(const std::string& arguments) {
    const int status = std::system((kProgram + " " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1000;
  }

  std::string Log() const {
    std::ifstream file(mLog);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

  std::filesystem::path folder;
  std::string mLog;
};

}  // namespace

TEST_F(Program, InputScriptDrivesTheHeadlessProgram) {
  const std::string script = WriteScript(
      "50 click 100 200\n"
      "60 key insert\n"
      "70 key insert shift\n"
      "80 key return alt\n"
      "90 char Z\n"
      "100 bogus line\n"
      "120 close\n");
  EXPECT_EQ(Run("--headless --multiple --exit-after=10000 --input=" + script), 0);
  const std::string log = Log();
  EXPECT_NE(log.find("Platform: headless"), std::string::npos);
  EXPECT_NE(log.find("line 6: unknown event 'bogus'"), std::string::npos);
  EXPECT_NE(log.find("Event kind=5 param=0 x=100 y=200"), std::string::npos);
  EXPECT_NE(log.find("Event kind=7 param=0 x=100 y=200"), std::string::npos);
  // Insert alone makes no key-down; with Shift it does.
  EXPECT_NE(log.find("Event kind=11 param=45 x=0 y=0 modifiers=1"), std::string::npos);
  EXPECT_EQ(log.find("Event kind=11 param=45 x=0 y=0 modifiers=0"), std::string::npos);
  EXPECT_NE(log.find("Event kind=18 param=1"), std::string::npos);
  EXPECT_NE(log.find("Event kind=13 param=90"), std::string::npos);
  // The close request ends the run long before the exit time.
  EXPECT_NE(log.find("Event kind=3"), std::string::npos);
  EXPECT_EQ(log.find("Exit time of"), std::string::npos);
  EXPECT_NE(log.find("Game loop ended"), std::string::npos);
}

TEST_F(Program, ExitAfterEndsTheRun) {
  EXPECT_EQ(Run("--headless --multiple --exit-after=200"), 0);
  EXPECT_NE(Log().find("Exit time of 200 ms reached"), std::string::npos);
}

TEST_F(Program, MissingHostWindowEndsWithMinusOne) {
  EXPECT_EQ(Run("--headless -wnd=abc --exit-after=200"), 255);
}

TEST_F(Program, SecondInstanceExitsWithZeroWhileTheFirstRuns) {
  const std::string marker = (folder / "first.done").string();
  std::filesystem::remove(mLog);  // the wait below must see the first's own log
  const std::string first =
      "(" + kProgram + " --headless --exit-after=4000 >/dev/null 2>&1; echo $? > " + marker + ") &";
  ASSERT_EQ(std::system(first.c_str()), 0);
  // Wait until the first holds its lock (its log names the platform).
  bool started = false;
  for (int i = 0; i < 200 && !started; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    started = Log().find("Platform: headless") != std::string::npos;
  }
  ASSERT_TRUE(started);
  EXPECT_EQ(Run("--headless --exit-after=100"), 0);
  EXPECT_FALSE(std::filesystem::exists(marker));  // the first is still running
  for (int i = 0; i < 500 && !std::filesystem::exists(marker); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::ifstream done(marker);
  int status = -1;
  done >> status;
  EXPECT_EQ(status, 0);
  const std::string log = Log();
  EXPECT_NE(log.find("asked this one to come forward"), std::string::npos);
  EXPECT_NE(log.find("Game loop ended"), std::string::npos);
}

TEST_F(Program, MarkedFramesAreWrittenAsPictures) {
  const std::string frames = (folder / "frames").string();
  const std::string script = WriteScript("10 frame\n400 close\n");
  EXPECT_EQ(
      Run("--headless --multiple --exit-after=20000 --frames=" + frames + " --input=" + script), 0);
  const std::string path = frames + "/frame_000000.png";
  if (Log().find("Frames are not written") != std::string::npos) {
    GTEST_SKIP() << "no offscreen GL on this machine";
  }
  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file) << path;
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  TPixelImage image;
  ASSERT_TRUE(DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &image));
  ASSERT_EQ(image.width, 800);
  ASSERT_EQ(image.height, 600);
  // The plain frame's table green, in the middle and in a corner.
  EXPECT_EQ(image.pixels[300 * 800 + 400] & 0xFFFFFFu, 0x184830u);
  EXPECT_EQ(image.pixels[0] & 0xFFFFFFu, 0x184830u);
  // Only marked frames are written when the script has marks.
  EXPECT_FALSE(std::filesystem::exists(frames + "/frame_000001.png"));
}
