#include "frame/anim_task.h"

#include <cstdint>

#include "frame/application_time.h"
#include "frame/clock.h"

namespace {

constexpr int kMaxBacklog = 1000;  // a task never catches up more than one second
// A catch-up loop covers at most kMaxBacklog ms in steps of at least 1 ms; the bound also
// stops one whose Animate keeps moving the due time back.
constexpr int kMaxCatchUpRuns = kMaxBacklog + 2;

int Difference(int a, int b) {
  return static_cast<int>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

}  // namespace

TAnimTask::TAnimTask(TClock* clock) : mClock(clock), mDue(GetTime()) {}

int TAnimTask::GetTime() const {
  return mClock ? mClock->GetTime() : static_cast<int>(ApplicationTime());
}

bool TAnimTask::Ready(int phase) {
  if (phase == kDrawPhase) return mDrawPhase;
  return mDue != -1 && Difference(GetTime(), mDue) >= 0;
}

bool TAnimTask::DoTask() {
  const int now = GetTime();
  if (Difference(now, mDue) > kMaxBacklog) mDue = now;
  bool running = true;
  int runs = 0;
  do {
    mDue = mFromNow ? now + mPeriod : mDue + mPeriod;
    running = Animate();
    ++runs;
    // A period of 0 would never move the due time forward: such a task runs once per pass.
  } while (running && mCatchUp && mPeriod > 0 && runs < kMaxCatchUpRuns &&
           static_cast<uint32_t>(mDue) < static_cast<uint32_t>(now));
  return running;
}

void TAnimTask::Schedule(int delay, bool periodic, bool fromNow, bool catchUp) {
  mFromNow = fromNow;
  mCatchUp = catchUp;
  mDue = ((fromNow || mDue == -1) ? GetTime() : mDue) + delay;
  mPeriod = periodic ? delay : 0;
}

void TAnimTask::Unschedule() {
  mDue = -1;
  mDrawPhase = false;
}

int TAnimTask::TimeSinceDue() const {
  return mDue == -1 ? -1 : Difference(GetTime(), mDue);
}

void TAnimTask::SetClock(TClock* clock) {
  if (mDue == -1) {
    mClock = clock;
    return;
  }
  const int since = TimeSinceDue();
  mClock = clock;
  mDue = Difference(GetTime(), since);
}
