#include "frame/application_time.h"

#include "frame/system_clock.h"

namespace {

TTimeSource gSource = nullptr;
uint32_t gManualNow = 0;

uint32_t ManualNow() {
  return gManualNow;
}

}  // namespace

uint32_t ApplicationTime() {
  return gSource ? gSource() : PlatformMonotonicMilliseconds();
}

TTimeSource SetApplicationTimeSource(TTimeSource source) {
  TTimeSource previous = gSource;
  gSource = source;
  return previous;
}

TManualTime::TManualTime(uint32_t start) {
  gManualNow = start;
  mPrevious = SetApplicationTimeSource(&ManualNow);
}

TManualTime::~TManualTime() {
  SetApplicationTimeSource(mPrevious);
}

void TManualTime::Set(uint32_t now) {
  gManualNow = now;
}

void TManualTime::Advance(uint32_t milliseconds) {
  gManualNow += milliseconds;
}
