// Shared set-up of the online tests: a scratch user folder, a fresh file system and
// settings, the log in the scratch folder, and the real online platform (libcurl) installed.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "data/settings.h"
#include "files/file_system.h"
#include "frame/log.h"
#include "online/http_request.h"
#include "online/online_platform.h"
#include "platform/online/system_online_platform.h"
#include "tests/support/unique_test_folder.h"

// The real online platform, counting what is asked of it.
class TCountingOnlinePlatform final : public TOnlinePlatform {
 public:
  std::shared_ptr<THttpTransport> HttpSession() override {
    ++sessions;
    return mReal.HttpSession();
  }
  std::unique_ptr<TSharedLibrary> LoadLibrary(const std::string& path,
                                              std::string* error) override {
    ++libraries;
    return mReal.LoadLibrary(path, error);
  }
  int sessions = 0;
  int libraries = 0;

 private:
  TSystemOnlinePlatform mReal;
};

class OnlineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = MakeUniqueTestFolder("mc_online_");
    ResetSettings();
    ResetFileSystem();
    SetFileSystemFolders(folder.string(), folder.string(), folder.string());
    SetLogFolder((folder / "log").string());
    SetOnlinePlatform(&platform);
  }
  void TearDown() override {
    // Requests abandoned by the test end on their own; none may outlive it.
    EXPECT_TRUE(WaitForHttpRequests(5000));
    SetOnlinePlatform(nullptr);
    SetLogFolder("");
    ResetFileSystem();
    ResetSettings();
    std::filesystem::remove_all(folder);
  }

  static std::string ReadDiskFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::string LogText() const { return ReadDiskFile(folder / "log" / "logfile.txt"); }

  // Calls poll every few milliseconds until it answers something other than busy, at most
  // limitMs; returns the last answer.
  template <typename Poll>
  static int WaitWhile(int busy, Poll poll, int limitMs = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    int answer = poll();
    while (answer == busy && std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      answer = poll();
    }
    return answer;
  }

  std::filesystem::path folder;
  TCountingOnlinePlatform platform;
};
