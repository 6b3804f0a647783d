// The program with its window system and the shipped dialog scripts: the splash gives way
// to the main screen on a key or a click, and Escape on the main screen quits through the
// normal quit path.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class WindowSystemProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("mc_window_system_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
  }
  void TearDown() override {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
  }
  int Run(const std::string& input, int exitAfterMs) {
    const std::string script = (folder / "input.txt").string();
    std::ofstream(script) << input;
    const std::string command =
        std::string(MC_BIN_DIR) +
        "/mahjongcuriomar --headless --multiple --exit-after=" + std::to_string(exitAfterMs) +
        " --input=" + script + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1000;
  }
  std::string Log() const {
    std::ifstream file(folder / "Tandervel" / "Mahjong Curio Mar" / "logfile.txt");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  std::filesystem::path folder;
};

TEST_F(WindowSystemProgram, ClickLeavesTheSplashAndEscapeQuits) {
  EXPECT_EQ(Run("300 click 400 300\n800 key escape\n", 8000), 0);
  const std::string log = Log();
  EXPECT_EQ(log.find("Could not start scripts/mainloop.lua"), std::string::npos);
  EXPECT_NE(log.find("Event kind=11 param=27"), std::string::npos);
  EXPECT_NE(log.find("Game loop ended"), std::string::npos);
  EXPECT_EQ(log.find("Exit time of"), std::string::npos);  // the script quit, not the timer
}

TEST_F(WindowSystemProgram, EscapeDuringTheSplashOnlyDismissesIt) {
  EXPECT_EQ(Run("300 key escape\n", 1500), 0);
  const std::string log = Log();
  EXPECT_NE(log.find("Event kind=11 param=27"), std::string::npos);
  EXPECT_NE(log.find("Exit time of 1500 ms reached"), std::string::npos);
}

}  // namespace
