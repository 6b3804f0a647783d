#include "gfx/frame_rate_meter.h"

void TFrameRateMeter::OnFrame(uint32_t now) {
  mTimes[mIndex] = now;
  mIndex = (mIndex + 1) % kFrames;
  if (mIndex != 0) return;
  // mTimes[0] was stored fourteen frames ago; 32-bit wrap-around is harmless here.
  uint32_t elapsed = now - mTimes[0];
  // Fifteen frames within one millisecond: keep the last rate instead of dividing by 0.
  if (elapsed > 0) mRate = 15000.0f / static_cast<float>(elapsed);
}
