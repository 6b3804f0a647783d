// Application time: milliseconds in 32-bit unsigned arithmetic (wrapping every 49.7 days).
// The real source is the system's monotonic clock; tests and headless runs replace it with
// a source of their own.
#pragma once

#include <cstdint>

using TTimeSource = uint32_t (*)();

uint32_t ApplicationTime();

// Replaces the time source; null restores the monotonic clock. Returns the previous one.
TTimeSource SetApplicationTimeSource(TTimeSource source);

// A hand-driven clock for tests: while installed, ApplicationTime() answers its value.
class TManualTime {
 public:
  explicit TManualTime(uint32_t start = 0);
  ~TManualTime();
  TManualTime(const TManualTime&) = delete;
  TManualTime& operator=(const TManualTime&) = delete;

  void Set(uint32_t now);
  void Advance(uint32_t milliseconds);

 private:
  TTimeSource mPrevious;
};
