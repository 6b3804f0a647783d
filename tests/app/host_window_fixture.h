// The real program inside a page host's X11 window on a private Xvfb server, for the tests
// of the embedded mode ("-wnd="): the host window, the program's environment and output,
// and the staged pictures the screens are recognised by.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/pixel_image.h"
#include "platform/x11_test_host/x11_test_host.h"
#include "platform/x11_test_host/xvfb_server.h"

inline const std::string kHostedProgram = std::string(MC_BIN_DIR) + "/mahjongcuriomar";
inline const std::string kHostedStageFolder = std::string(MC_BIN_DIR) + "/../content/stage";

// A staged picture, empty when it cannot be read.
inline TPixelImage StagedPicture(const std::string& name) {
  std::ifstream file(kHostedStageFolder + "/" + name, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  TPixelImage image;
  if (!DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &image)) return {};
  return image;
}

// The colour (0xRRGGBB) of a staged picture's pixel, or -1 when it cannot be read.
inline long PicturePixel(const std::string& name, int x, int y) {
  const TPixelImage image = StagedPicture(name);
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return -1;
  return static_cast<long>(image.At(x, y) & 0xFFFFFFu);
}

// Colours equal within a step or two per channel (drawing may round).
inline bool NearlyEqual(long a, long b, int tolerance = 2) {
  if (a < 0 || b < 0) return false;
  for (int shift = 0; shift < 24; shift += 8) {
    if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) > tolerance) return false;
  }
  return true;
}

// A temporary folder for the program's data and output, and the host window; derived
// fixtures start the X server (and skip where it cannot start) and open the host.
class THostedProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "mc_host_window_XXXXXX");
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
  }

  void StartGame(const std::vector<std::string>& arguments) {
    host.SetOutputFile((folder / "output.txt").string());
    ASSERT_TRUE(host.Start(kHostedProgram, arguments,
                           {{"DISPLAY", xvfb.Display()},
                            {"SDL_AUDIODRIVER", "dummy"},
                            {"XDG_RUNTIME_DIR", folder.string()},
                            {"XDG_DATA_HOME", folder.string()},
                            {"LIBGL_ALWAYS_SOFTWARE", "1"},
                            {"ASAN_OPTIONS", "detect_leaks=0"}}))
        << host.Error();
    ASSERT_NE(host.WaitForGameWindow(30000), 0u) << "the game's window never came into the host";
  }

  // The program's standard output and error (an embedded game writes no log file).
  std::string Output() const {
    std::ifstream file(folder / "output.txt");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

  std::filesystem::path folder;
  TXvfbServer xvfb;
  TX11TestHost host;
};
