// Frame-rate bookkeeping of the diagnostic overlay: the application times of the last 15
// frames in a ring; the rate is recomputed each time the ring comes round.
#pragma once

#include <cstdint>

class TFrameRateMeter {
 public:
  static constexpr int kFrames = 15;

  // Records the end of a frame at application time `now` (milliseconds).
  void OnFrame(uint32_t now);
  // Frames per second over the last ring of frames; 0 until the ring has filled once.
  float Rate() const { return mRate; }

  bool OverlayOn() const { return mOverlay; }
  void ToggleOverlay() { mOverlay = !mOverlay; }

 private:
  uint32_t mTimes[kFrames] = {};
  int mIndex = 0;
  float mRate = 0.0f;
  bool mOverlay = false;
};
