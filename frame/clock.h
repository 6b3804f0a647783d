// A pausable millisecond clock over application time. Each modal window owns one, so that
// pausing a screen freezes all of its animations at once. While running its value is
// offset + applicationTime - pausedTotal - base; while paused it holds pausedValue.
#pragma once

#include <cstdint>

class TClock {
 public:
  virtual ~TClock() = default;

  int GetTime() const;
  // Makes the clock show value from now on; the paused state stays as it is.
  void Reset(int value);
  // Starts or continues the clock. The first start resets it to 0; later starts continue
  // from the paused value and return the time spent paused. Returns 0 if already running.
  int Start();
  // Freezes the clock; true if it was paused already.
  bool Pause();
  // Back to 0 and paused.
  void Stop();

  bool IsPaused() const { return mPaused; }
  bool IsStarted() const { return mStarted; }

 private:
  int RunningTime() const;

  bool mPaused = true;
  bool mStarted = false;
  uint32_t mBase = 0;
  int mOffset = 0;
  int mPausedValue = 0;
  int mPausedTotal = 0;
};
