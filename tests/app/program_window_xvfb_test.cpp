// The real program in a window of its own on a private Xvfb server (SDL, OpenGL through
// Mesa's software driver): going full screen with Alt+Enter and back, it paces frames by
// the swap interval, and its log says what it asked for and what the driver reports.
// Skipped where Xvfb cannot start.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/x11_test_host/xvfb_server.h"

namespace {

namespace fs = std::filesystem;

int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(ProgramWindowXvfb, FullScreenSwapsEveryVerticalBlankAndTheWindowFollowsTheSetting) {
  TXvfbServer xvfb;
  if (!xvfb.Start(1280, 1024)) GTEST_SKIP() << "Xvfb cannot start here";
  std::string pattern = (fs::temp_directory_path() / "mc_window_xvfb_XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  const fs::path folder = pattern;
  std::ofstream(folder / "input.txt") << "2500 key return alt\n"
                                         "5000 key return alt\n"
                                         "7000 quit\n";
  const std::string command =
      "DISPLAY=" + xvfb.Display() + " SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1" +
      " ASAN_OPTIONS=detect_leaks=0 XDG_RUNTIME_DIR=" + folder.string() +
      " XDG_DATA_HOME=" + folder.string() + " " + MC_BIN_DIR +
      "/mahjongcuriomar --multiple --exit-after=30000 options=splash_ms=300 --input=" +
      (folder / "input.txt").string() + " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  std::ifstream file(folder / "Tandervel" / "Mahjong Curio Mar" / "logfile.txt");
  std::stringstream text;
  text << file.rdbuf();
  const std::string log = text.str();
  std::error_code error;
  fs::remove_all(folder, error);

  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << log;
  // The package's "vsync" setting is off: the window swaps at once, full screen waits for
  // the vertical blank, and the window after it goes back to the setting. (Xvfb's software
  // GLX may have no swap control; then the driver's refusal is logged, once per change.)
  const size_t window = log.find("Swap interval 0 (window, vsync off): ");
  const size_t fullscreen = log.find("Swap interval 1 (full screen, vsync off): ", window);
  const size_t back = log.find("Swap interval 0 (window, vsync off): ", fullscreen);
  ASSERT_NE(window, std::string::npos) << log;
  ASSERT_NE(fullscreen, std::string::npos) << log;
  EXPECT_NE(back, std::string::npos) << log;
  EXPECT_EQ(CountOf(log, "Swap interval "), 3) << log;
  // Where the driver takes the interval, it reports the one asked for.
  for (const char* line : {"Swap interval 0 (window, vsync off): the driver reports ",
                           "Swap interval 1 (full screen, vsync off): the driver reports "}) {
    for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) {
      EXPECT_EQ(log[at + std::string(line).size()], line[15]) << log;
    }
  }
}

}  // namespace
