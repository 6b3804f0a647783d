#include "frame/frame_rate.h"

void TFrameRate::FrameEnd(uint32_t now) {
  mRing[mIndex] = now;
  mIndex = (mIndex + 1) % kFrames;
  if (mIndex != 0) return;
  const uint32_t span = now - mRing[0];
  // Fifteen frames within one millisecond would divide by zero; keep the last rate then.
  if (span > 0) mRate = 15000.0f / static_cast<float>(span);
}
