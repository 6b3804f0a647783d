// TXvfbServer: a private virtual X server for one test, on a display number it picks
// itself; stopped when destroyed, and by the kernel when the thread that started it dies
// (a test killed by a timeout leaves no server behind).
#pragma once

#include <string>

class TXvfbServer {
 public:
  TXvfbServer() = default;
  ~TXvfbServer();
  TXvfbServer(const TXvfbServer&) = delete;
  TXvfbServer& operator=(const TXvfbServer&) = delete;

  // Starts Xvfb with a screen of the size; false when it is not installed or did not come
  // up within a few seconds.
  bool Start(int width, int height);
  // The display name (":N"), "" before a successful start.
  const std::string& Display() const { return mDisplay; }
  // The server's process id, -1 before a start.
  int Pid() const { return mPid; }

 private:
  int mPid = -1;
  std::string mDisplay;
};
