// TXvfbServer: a private virtual X server for one test, on a display number it picks
// itself; stopped when destroyed.
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

 private:
  int mPid = -1;
  std::string mDisplay;
};
