#include "frame/clock.h"

#include "frame/application_time.h"

int TClock::RunningTime() const {
  // 32-bit wrap-around arithmetic, like the application time it follows.
  const uint32_t value = static_cast<uint32_t>(mOffset) + ApplicationTime() -
                         static_cast<uint32_t>(mPausedTotal) - mBase;
  return static_cast<int>(value);
}

int TClock::GetTime() const {
  return mPaused ? mPausedValue : RunningTime();
}

void TClock::Reset(int value) {
  mBase = ApplicationTime();
  mOffset = value;
  mPausedValue = value;
  mPausedTotal = 0;
}

int TClock::Start() {
  if (!mPaused) return 0;
  if (!mStarted) {
    mStarted = true;
    mPaused = false;
    Reset(0);
    return 0;
  }
  mPaused = false;
  const int pausedFor =
      static_cast<int>(static_cast<uint32_t>(RunningTime()) - static_cast<uint32_t>(mPausedValue));
  mPausedTotal =
      static_cast<int>(static_cast<uint32_t>(mPausedTotal) + static_cast<uint32_t>(pausedFor));
  return pausedFor;
}

bool TClock::Pause() {
  if (mPaused) return true;
  mPausedValue = GetTime();
  mPaused = true;
  return false;
}

void TClock::Stop() {
  Reset(0);
  mPaused = true;
}
