// TTvtoolFixture: the base of the tests that run the built tvtool as a program. Each test
// gets a scratch folder of its own under the temporary folder, removed afterwards; Run
// starts tvtool from the build's bin/ folder with its output and errors sent to the files
// "stdout" and "stderr" in the scratch folder.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

class TTvtoolFixture : public ::testing::Test {
 protected:
  // prefix names the scratch folder; the test's name is appended.
  explicit TTvtoolFixture(std::string prefix) : mPrefix(std::move(prefix)) {}

  void SetUp() override {
    root = std::filesystem::temp_directory_path() /
           (mPrefix + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
            std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
  }
  void TearDown() override { std::filesystem::remove_all(root); }

  // Runs tvtool with arguments (already quoted for the shell); returns its exit code, or -1
  // when it did not exit normally.
  int Run(const std::string& arguments) const {
    const std::string command = std::string(MC_BIN_DIR) + "/tvtool " + arguments + " >" +
                                Q(root / "stdout") + " 2>" + Q(root / "stderr");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Out() const { return Read(root / "stdout"); }
  std::string Err() const { return Read(root / "stderr"); }

  static std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Writes bytes to path, creating its folders.
  static void Write(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // Quoted for the shell. Built by appending: GCC 12 warns falsely about "'" + string.
  static std::string Q(const std::filesystem::path& path) {
    std::string quoted = "'";
    quoted += path.string();
    quoted += '\'';
    return quoted;
  }

  std::filesystem::path root;

 private:
  std::string mPrefix;
};
