// What the sound manager needs of the platform's audio output: one device that plays the
// mixer's output (44100 Hz, 16-bit, stereo), pulling each period from a renderer on a
// thread of its own. The platform layer implements it (SDL2 audio); without a device the
// manager plays silently in virtual playback.
#pragma once

#include <cstdint>

class TSoundRenderer {
 public:
  virtual ~TSoundRenderer() = default;
  // Fills frames × 2 interleaved samples. Runs on the device's thread and must never wait
  // for anything slower than a short private lock.
  virtual void Render(int16_t* out, int frames) = 0;
};

class TSoundDevice {
 public:
  static constexpr int kRate = 44100;
  static constexpr int kChannels = 2;

  virtual ~TSoundDevice() = default;
  // Starts pulling from renderer. False, with the reason logged, when no device opens.
  virtual bool Open(TSoundRenderer& renderer) = 0;
  // Stops pulling; once it returns Render is not called again.
  virtual void Close() = 0;
};
