// THiscoredProcess: the built hiscored run as a child process on a free port of
// 127.0.0.1, for the process, crash and load tests. Its standard error goes to a file;
// Start waits for the line that names the port. The destructor kills a child still
// running, so no server outlives its test.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class THiscoredProcess {
 public:
  THiscoredProcess() = default;
  ~THiscoredProcess();
  THiscoredProcess(const THiscoredProcess&) = delete;
  THiscoredProcess& operator=(const THiscoredProcess&) = delete;

  // program: hiscored's path; arguments after it ("--port 0" is added). False when it
  // did not come up within 20 seconds (Errors() says what it wrote).
  bool Start(const std::string& program, const std::vector<std::string>& arguments,
             const std::string& stderrFile, const std::string& stdoutFile = "/dev/null");
  int Port() const { return mPort; }
  std::string Url(const std::string& path = "/go/hiscore") const;

  // SIGTERM, then waits (at most 20 seconds, then SIGKILL); answers the exit code, or -1
  // when it did not exit by itself.
  int Terminate();
  // SIGKILL, as a crash would end it.
  void Kill();
  std::string Errors() const;

 private:
  void Reap(int* status);

  pid_t mPid = -1;
  int mPort = 0;
  std::string mStderrFile;
};
