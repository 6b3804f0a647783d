// TSoundBuffer: one secondary buffer of the mixer, our stand-in for a DirectSound secondary
// buffer. A ring of 16-bit PCM in the buffer's own format, with a play position that the
// device's consumption advances, a write position a little ahead of it while playing, looping
// or one-shot play, a volume in hundredths of a decibel and events signalled when the play
// position passes chosen offsets or the buffer stops.
//
// Threads: the public operations may be called from any thread; the mixer reads the ring on
// the device's thread. Both sides share the mixer's private lock, which is only ever held
// for position updates and copies, never while a caller decodes: Lock hands out a staging
// area of the caller's own and Unlock copies it into the ring. One Lock at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "sound/sound_event.h"
#include "sound/sound_format.h"

class TSoundMixer;

struct TSoundNotification {
  // The offset that stands for "the buffer stopped" (by Stop or at the end of one-shot play).
  static constexpr uint32_t kStop = 0xFFFFFFFF;
  uint32_t offset = 0;
  std::shared_ptr<TSoundEvent> event;
};

class TSoundBuffer {
 public:
  // A locked stretch of the buffer: two parts when it wraps past the end of the ring.
  struct TRegion {
    uint8_t* first = nullptr;
    uint32_t firstBytes = 0;
    uint8_t* second = nullptr;
    uint32_t secondBytes = 0;
  };
  // The write position runs this far ahead of the play position while playing.
  static constexpr int kWriteLeadMs = 10;

  ~TSoundBuffer();
  TSoundBuffer(const TSoundBuffer&) = delete;
  TSoundBuffer& operator=(const TSoundBuffer&) = delete;

  const TSoundFormat& Format() const { return mFormat; }
  uint32_t Size() const { return mSize; }

  // Plays from the current position: round and round when looping, otherwise up to the end
  // of the ring, where the buffer stops and its position returns to 0.
  void Play(bool looping);
  // Stops where it is; Play continues from there.
  void Stop();
  bool IsPlaying() const;
  // Byte offsets; while stopped both are the play position.
  void GetCurrentPosition(uint32_t& play, uint32_t& write) const;
  void SetCurrentPosition(uint32_t play);
  // Attenuation in hundredths of a decibel, clamped to -10000..0.
  void SetVolume(int hundredths);
  int Volume() const;
  // Replaces the notifications; refused (false) while playing or for offsets outside the
  // buffer (kStop excepted).
  bool SetNotificationPositions(std::vector<TSoundNotification> positions);

  // bytes from offset: false when the stretch does not fit the buffer or a lock is open.
  bool Lock(uint32_t offset, uint32_t bytes, TRegion& region);
  // Publishes what was written into the region handed out by the last Lock.
  void Unlock(const TRegion& region);

 private:
  friend class TSoundMixer;
  TSoundBuffer(std::shared_ptr<TSoundMixer> mixer, const TSoundFormat& format, uint32_t bytes);

  // With the mixer's lock held: adds the next frames of output (44100 Hz stereo) into the
  // accumulator and advances the play position.
  void MixLocked(int32_t* accumulator, int frames);
  // Same-rate frames straight from the ring, count frames from frame.
  void AddFrames(int32_t* accumulator, uint32_t frame, uint32_t count) const;
  // Frames at another rate, interpolated; answers the frames advanced, stops at the end of
  // one-shot play (ended set).
  uint64_t AddResampled(int32_t* accumulator, int frames, bool& ended);
  void SignalPassed(uint32_t startByte, uint64_t advancedBytes, bool stopped);
  void StopLocked();
  uint32_t WriteLeadBytes() const;

  std::shared_ptr<TSoundMixer> mMixer;
  const TSoundFormat mFormat;
  const uint32_t mSize;
  const uint32_t mFrameCount;
  // Source frames per output frame in 32.32 fixed point.
  const uint64_t mStep;

  // Guarded by the mixer's lock.
  std::vector<int16_t> mRing;
  uint32_t mFrame = 0;
  uint32_t mFraction = 0;
  bool mPlaying = false;
  bool mLooping = false;
  int mVolume = 0;
  int32_t mGain = 1 << 16;  // 16.16 fixed point
  std::vector<TSoundNotification> mNotifications;

  // The writer's own: the staging area of the open lock.
  std::vector<uint8_t> mStaging;
  bool mLocked = false;
  uint32_t mLockOffset = 0;
};
