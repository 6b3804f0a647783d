// A new, empty folder under the system's temporary folder for one test, named after the
// running test and made unique by mkdtemp: the same test run at once from two build trees
// (or two ctest jobs) must never share, or delete, the other's folder.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

inline std::filesystem::path MakeUniqueTestFolder(const std::string& prefix) {
  std::string name = prefix;
  if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info()) {
    name += std::string(info->test_suite_name()) + "_" + info->name() + "_";
  }
  // Parameterised tests have '/' in their names.
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  std::string pattern = (std::filesystem::temp_directory_path() / (name + "XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot make a test folder from " << pattern;
    return {};
  }
  return pattern;
}
