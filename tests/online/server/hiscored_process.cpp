#include "tests/online/server/hiscored_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

THiscoredProcess::~THiscoredProcess() {
  if (mPid > 0) Kill();
}

bool THiscoredProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& stderrFile, const std::string& stdoutFile) {
  mStderrFile = stderrFile;
  std::vector<std::string> all = {program};
  all.insert(all.end(), arguments.begin(), arguments.end());
  all.insert(all.end(), {"--port", "0"});
  std::vector<char*> argv;
  for (std::string& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const int errors = open(stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int output = open(stdoutFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  mPid = fork();
  if (mPid == 0) {
    dup2(errors, 2);
    dup2(output, 1);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(errors);
  close(output);
  if (mPid < 0) return false;
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  while (Clock::now() < deadline) {
    const std::string text = Errors();
    const size_t at = text.find(" port ");
    if (text.find("listening on") != std::string::npos && at != std::string::npos) {
      mPort = std::atoi(text.c_str() + at + 6);
      return mPort > 0;
    }
    int status = 0;
    if (waitpid(mPid, &status, WNOHANG) == mPid) {
      mPid = -1;
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  Kill();
  return false;
}

std::string THiscoredProcess::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(mPort) + path;
}

void THiscoredProcess::Reap(int* status) {
  waitpid(mPid, status, 0);
  mPid = -1;
}

int THiscoredProcess::Terminate() {
  if (mPid <= 0) return -1;
  kill(mPid, SIGTERM);
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  int status = 0;
  while (Clock::now() < deadline) {
    if (waitpid(mPid, &status, WNOHANG) == mPid) {
      mPid = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  Kill();
  return -1;
}

void THiscoredProcess::Kill() {
  if (mPid <= 0) return;
  kill(mPid, SIGKILL);
  int status = 0;
  Reap(&status);
}

std::string THiscoredProcess::Errors() const {
  std::ifstream in(mStderrFile, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
