#include "platform/x11_test_host/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

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
                                    "-nolisten", "tcp",        "-noreset"};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  // fork rather than posix_spawn: the child asks the kernel to stop it when the test that
  // started it dies, so a test killed by a timeout (no destructor runs) leaves no server.
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(1);  // the parent died before the line above
    close(fds[0]);
    const int null_fd = open("/dev/null", O_WRONLY);
    if (null_fd >= 0) dup2(null_fd, 2);
    execvp("Xvfb", argv.data());
    _exit(127);
  }
  close(fds[1]);
  if (pid < 0) {
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
