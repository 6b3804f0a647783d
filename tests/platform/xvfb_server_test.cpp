// A test's private X server must not outlive the test, even when the test process is
// killed before any destructor runs.
#include "platform/x11_test_host/xvfb_server.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

namespace {

// True while the process exists and is not a zombie waiting for its new parent to reap it.
bool ProcessRuns(int pid) {
  if (kill(pid, 0) != 0) return false;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  const size_t paren = line.rfind(')');
  return paren != std::string::npos && paren + 2 < line.size() && line[paren + 2] != 'Z';
}

}  // namespace

TEST(XvfbServer, StopsWhenTheProcessThatStartedItDiesWithoutCleaningUp) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(fds[0]);
    // Leaked on purpose: _exit below skips the destructor, as a kill by a timeout would.
    auto* server = new TXvfbServer;
    const int pid = server->Start(320, 240) ? server->Pid() : -1;
    if (write(fds[1], &pid, sizeof pid) != sizeof pid) _exit(2);
    _exit(0);
  }
  close(fds[1]);
  int server_pid = -1;
  const bool got = read(fds[0], &server_pid, sizeof server_pid) == sizeof server_pid;
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(got);
  if (server_pid <= 0) GTEST_SKIP() << "Xvfb cannot start here";

  bool stopped = false;
  for (int i = 0; i < 500 && !stopped; ++i) {
    stopped = !ProcessRuns(server_pid);
    if (!stopped) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!stopped) kill(server_pid, SIGKILL);  // do not leave it behind when the check fails
  EXPECT_TRUE(stopped) << "Xvfb " << server_pid << " still runs after its test process died";
}

TEST(XvfbServer, StopsWhenDestroyed) {
  int server_pid = -1;
  {
    TXvfbServer server;
    if (!server.Start(320, 240)) GTEST_SKIP() << "Xvfb cannot start here";
    EXPECT_FALSE(server.Display().empty());
    server_pid = server.Pid();
    EXPECT_TRUE(ProcessRuns(server_pid));
  }
  EXPECT_FALSE(ProcessRuns(server_pid));
}
