// Program: the base of the tests that run the game program itself, headless, driven by
// input scripts. Each test gets its own data folder (log, lock files) under the temporary
// folder; Run starts the built program and answers its exit status.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "gfx/pixel_image.h"

inline const std::string kProgram = std::string(MC_BIN_DIR) + "/mahjongcuriomar";

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "mc_program_test_XXXXXX");
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr) << pattern;
    folder = pattern;
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

  // A written frame as pixels; false when it is missing or not a picture.
  static bool ReadFrame(const std::string& path, TPixelImage* image) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    return DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image);
  }

  // The numbered frame (frame_%06d.png) of a --frames folder; empty when missing.
  static TPixelImage ReadFrame(const std::string& folder, int index) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06d.png", index);
    TPixelImage image;
    if (!ReadFrame(folder + name, &image)) image = TPixelImage{};
    return image;
  }

  // Reads the frames frame_000000.png .. of a run, count of them.
  static bool ReadFrames(const std::string& frames, int count, TPixelImage* shots) {
    for (int i = 0; i < count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "/frame_%06d.png", i);
      if (!ReadFrame(frames + name, &shots[i])) return false;
    }
    return true;
  }

  std::filesystem::path folder;
  std::string mLog;
};
