// Helpers of the sound tests: test signals and their measurements, an in-memory Ogg Vorbis
// encoder, and a sound device whose periods the test renders itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sound/sound_device.h"

// Interleaved 16-bit samples of a sine, the same on every channel.
std::vector<int16_t> Sine(double frequency, double seconds, int rate, int channels,
                          double amplitude);
// A stream of those samples, encoded at the given quality (-0.1 .. 1).
std::vector<uint8_t> EncodeVorbis(const std::vector<int16_t>& interleaved, int channels, int rate,
                                  float quality = 0.4f);
// Every sample of an encoded stream, decoded by the engine's decoder (empty on failure).
std::vector<int16_t> DecodeVorbis(const std::vector<uint8_t>& encoded);

// Root mean square of every stride-th sample from first, over count samples.
double Rms(const std::vector<int16_t>& samples, size_t first, size_t count, size_t stride = 1);
double Decibels(double ratio);

// A device that plays only when the test renders a period.
class TTestDevice : public TSoundDevice {
 public:
  bool Open(TSoundRenderer& renderer) override;
  void Close() override { mRenderer = nullptr; }
  // Renders frames of stereo output and appends them to out.
  void Render(int frames, std::vector<int16_t>& out);
  bool IsOpen() const { return mRenderer != nullptr; }

 private:
  TSoundRenderer* mRenderer = nullptr;
};
