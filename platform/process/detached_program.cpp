#include "platform/process/detached_program.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

bool StartDetachedProgram(const std::string& program, const std::vector<std::string>& arguments) {
  if (program.empty()) return false;
  std::vector<std::string> words = {program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
    return false;
  }
  // The program outlives nothing of ours; a thread of its own collects its exit status.
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
  return true;
}
