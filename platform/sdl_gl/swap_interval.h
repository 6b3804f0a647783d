// TSwapInterval: the swap interval frames are presented with, asked of the GL driver only
// when it changes. Full screen always waits for the vertical blank (interval 1): frames are
// paced at the display's rate (60 Hz on most) and never tear. A window follows the "vsync"
// setting (1 on, 0 off: frames as fast as they are drawn).
#pragma once

#include <functional>
#include <string>

class TSwapInterval {
 public:
  // Asks the driver for an interval; false, with the driver's reason, when it refuses it.
  using TSetter = std::function<bool(int interval, std::string& reason)>;
  // What the driver says it uses now (-1 when it cannot say).
  using TReporter = std::function<int()>;

  TSwapInterval(TSetter setter, TReporter reporter);

  static int Wanted(bool vsync, bool fullscreen) { return vsync || fullscreen ? 1 : 0; }

  // Before each buffer swap. A change is asked for once and logged with what the driver
  // reports; an interval the driver refused is not asked for again until another one was
  // wanted in between, so a driver without the control costs one log line, not one a frame.
  void Apply(bool vsync, bool fullscreen);

  // The interval last asked for (-1 before the first swap), and whether it was refused.
  int Asked() const { return mAsked; }
  bool Refused() const { return mRefused; }

 private:
  TSetter mSetter;
  TReporter mReporter;
  int mAsked = -1;
  bool mRefused = false;
};
