// The PCM layout of a sound buffer: interleaved signed little-endian samples.
#pragma once

#include <cstdint>

struct TSoundFormat {
  int channels = 2;
  int rate = 44100;
  int bits = 16;

  int BlockAlign() const { return channels * bits / 8; }
  int64_t BytesPerSecond() const { return static_cast<int64_t>(rate) * BlockAlign(); }
};
