#include "platform/x11_test_host/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace {
constexpr int kStartTimeoutMs = 10000;
}  // namespace

bool TXvfbServer::Start(int width, int height) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  // Xvfb picks a free display number and writes it to the descriptor given with -displayfd.
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  std::vector<std::string> words = {"Xvfb",      "-displayfd", std::to_string(fds[1]),
                                    "-screen",   "0",          screen,
                                    "-nolisten", "tcp",        "-terminate"};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  // Nothing of the test's output stays open in the server: a test runner reading that output
  // would otherwise wait for a server left behind by a test that crashed. Such a server ends
  // by itself when its last client has gone (-terminate).
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int spawned = posix_spawnp(&pid, "Xvfb", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (spawned != 0) {
    close(fds[0]);
    return false;
  }
  mPid = pid;
  std::string number;
  pollfd poller{fds[0], POLLIN, 0};
  while (poll(&poller, 1, kStartTimeoutMs) > 0) {
    char c = 0;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty()) return false;  // the destructor stops the process
  mDisplay = ":" + number;
  return true;
}

TXvfbServer::~TXvfbServer() {
  if (mPid <= 0) return;
  kill(mPid, SIGTERM);
  int status = 0;
  waitpid(mPid, &status, 0);
}
