// Frame-rate bookkeeping for the diagnostic overlay: the application times of the last 15
// frames in a ring; every 15th frame the rate becomes 15000 / (now - the time stored
// fourteen frames earlier). The overlay is off at start; drawing it is the renderer's.
#pragma once

#include <array>
#include <cstdint>

class TFrameRate {
 public:
  static constexpr int kFrames = 15;

  // Called at the end of every frame with the application time.
  void FrameEnd(uint32_t now);
  // 0 until the fifteenth frame.
  float Rate() const { return mRate; }

  void ToggleOverlay() { mOverlay = !mOverlay; }
  bool OverlayOn() const { return mOverlay; }

 private:
  std::array<uint32_t, kFrames> mRing{};
  int mIndex = 0;
  float mRate = 0.0f;
  bool mOverlay = false;
};
