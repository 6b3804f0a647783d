// A program started for an address gets the address as one argument, untouched by any
// shell, and a program that is not there is reported.
#include "platform/process/detached_program.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

TEST(DetachedProgram, TheAddressArrivesAsOneArgumentWithoutAShell) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("mc_detached_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path script = folder / "browser.sh";
  const std::filesystem::path out = folder / "argument.txt";
  std::ofstream(script) << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > " << out.string() << ".tmp\n"
                        << "mv " << out.string() << ".tmp " << out.string() << "\n";
  ::chmod(script.c_str(), 0755);
  const std::string address =
      "https://example.org/?a=1;touch${IFS}" + (folder / "pwned").string() + "&b=$(id) 'c' \"d\"";
  ASSERT_TRUE(StartDetachedProgram(script.string(), {address}));
  for (int i = 0; i < 500 && !std::filesystem::exists(out); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::ifstream file(out);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_EQ(text.str(), "1|" + address);
  EXPECT_FALSE(std::filesystem::exists(folder / "pwned"));

  EXPECT_FALSE(StartDetachedProgram((folder / "no-such-program").string(), {address}));
  EXPECT_FALSE(StartDetachedProgram("", {address}));
  std::error_code error;
  std::filesystem::remove_all(folder, error);
}
