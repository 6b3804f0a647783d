// A sound manager on a test device and a hand-driven clock: the test plays the device period
// by period, runs the sound thread's ticks and the main loop's frame updates, and hands the
// manager sounds as virtual files held in memory.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "data/asset_manager.h"
#include "files/file_system.h"
#include "frame/application_time.h"
#include "frame/log.h"
#include "sound/sound.h"
#include "sound/sound_manager.h"
#include "tests/sound/sound_test_support.h"

class SoundTest : public ::testing::Test {
 protected:
  static constexpr int kPeriodMs = 10;
  static constexpr int kPeriodFrames = 441;

  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // Unique per run: several checkouts may run the tests on one machine at once.
    folder = std::filesystem::temp_directory_path() /
             (std::string("mc_sound_") + info->test_suite_name() + "_" + info->name() + "_" +
              std::to_string(std::random_device()()));
    std::filesystem::remove_all(folder);
    ResetFileSystem();
    SetLogFolder(folder.string());
    StartManager(true);
  }
  void TearDown() override {
    manager.reset();
    ResetFileSystem();
    SetLogFolder("");
    std::filesystem::remove_all(folder);
  }

  // A fresh manager, with the test device or without any device.
  void StartManager(bool withDevice) {
    manager.reset();
    auto testDevice = std::make_unique<TTestDevice>();
    device = withDevice ? testDevice.get() : nullptr;
    manager = std::make_unique<TSoundManager>(withDevice ? std::move(testDevice) : nullptr, false);
    manager->Init();
  }

  // Makes bytes readable under a virtual file name.
  void AddFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    files.push_back(std::make_unique<std::vector<uint8_t>>(bytes));
    RegisterMemoryFile(name, files.back()->data(), files.back()->size());
  }

  // Plays ms of time: each 10 ms the device takes a period, every 50 ms the sound thread
  // ticks and after every period the main loop runs its frame update. Returns the output.
  std::vector<int16_t> Run(int ms) {
    std::vector<int16_t> out;
    for (int t = 0; t < ms; t += kPeriodMs) {
      time.Advance(kPeriodMs);
      if (device) device->Render(kPeriodFrames, out);
      if ((elapsed += kPeriodMs) % 50 == 0) manager->Tick();
      manager->FrameUpdate();
    }
    return out;
  }

  std::string LogText() const {
    std::ifstream in(folder / "logfile.txt");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  static bool Silent(const std::vector<int16_t>& samples, size_t first = 0) {
    for (size_t i = first; i < samples.size(); ++i)
      if (samples[i] != 0) return false;
    return true;
  }

  std::filesystem::path folder;
  TManualTime time{1000};
  TAssetManager assets;
  std::vector<std::unique_ptr<std::vector<uint8_t>>> files;
  TTestDevice* device = nullptr;
  std::unique_ptr<TSoundManager> manager;
  int elapsed = 0;
};
