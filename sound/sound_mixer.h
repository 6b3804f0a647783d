// TSoundMixer: the device's one output (44100 Hz, 16-bit stereo) made from every playing
// TSoundBuffer, in the stand-in for DirectSound's own mixing. Buffers of other rates are
// resampled by linear interpolation, mono buffers play on both sides, each buffer is scaled
// by its gain, and the sum saturates at the 16-bit limits instead of wrapping.
//
// Render runs on the device's thread and takes only the mixer's private lock, which the
// buffers hold just as briefly; the sound manager's lock is never involved, so a slow
// service pass cannot make the output skip.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "sound/sound_device.h"
#include "sound/sound_format.h"

class TSoundBuffer;

class TSoundMixer : public TSoundRenderer, public std::enable_shared_from_this<TSoundMixer> {
 public:
  // The formats a buffer may have.
  static constexpr int kMinRate = 1000;
  static constexpr int kMaxRate = 192000;
  static constexpr int kMaxChannels = 2;

  static std::shared_ptr<TSoundMixer> Create();
  ~TSoundMixer() override;
  TSoundMixer(const TSoundMixer&) = delete;
  TSoundMixer& operator=(const TSoundMixer&) = delete;

  static bool IsPlayable(const TSoundFormat& format);
  // A stopped buffer of bytes (a whole number of frames), silent, at full volume; null for
  // a format IsPlayable refuses or a size that holds no whole frame.
  std::shared_ptr<TSoundBuffer> CreateBuffer(const TSoundFormat& format, uint32_t bytes);

  void Render(int16_t* out, int frames) override;

  // Buffers that exist (playing or not).
  size_t BufferCount() const;

 private:
  friend class TSoundBuffer;
  TSoundMixer() = default;
  void Detach(TSoundBuffer* buffer);

  mutable std::mutex mMutex;
  std::vector<TSoundBuffer*> mBuffers;  // every live buffer; each detaches when destroyed
  std::vector<int32_t> mAccumulator;
};
