#include "tests/webcontrol/launcher_test_support.h"

#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>

extern char** environ;

std::filesystem::path MakeTemporaryFolder(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
  if (!mkdtemp(pattern.data())) return {};
  return pattern;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

bool MakeCabinet(const std::filesystem::path& folder, const std::filesystem::path& cabinet,
                 const std::vector<std::string>& names) {
  std::vector<std::string> words = {"gcab", "-c", "-z",
                                    std::filesystem::absolute(cabinet).string()};
  words.insert(words.end(), names.begin(), names.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  // gcab stores the names as given, so it runs in the folder.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  pid_t pid = -1;
  const int spawned = posix_spawnp(&pid, "gcab", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
