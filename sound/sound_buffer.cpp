#include "sound/sound_buffer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

#include "sound/sound_mixer.h"
#include "sound/sound_volume.h"

namespace {

constexpr uint64_t kUnitStep = uint64_t{1} << 32;

uint64_t StepFor(int rate) {
  return (static_cast<uint64_t>(rate) << 32) / TSoundDevice::kRate;
}

int32_t GainFor(int hundredths) {
  return static_cast<int32_t>(std::lround(HundredthsToGain(hundredths) * 65536.0));
}

}  // namespace

TSoundBuffer::TSoundBuffer(std::shared_ptr<TSoundMixer> mixer, const TSoundFormat& format,
                           uint32_t bytes)
    : mMixer(std::move(mixer)),
      mFormat(format),
      mSize(bytes),
      mFrameCount(bytes / static_cast<uint32_t>(format.BlockAlign())),
      mStep(StepFor(format.rate)),
      mRing(bytes / sizeof(int16_t), 0) {}

TSoundBuffer::~TSoundBuffer() {
  mMixer->Detach(this);
}

void TSoundBuffer::Play(bool looping) {
  std::lock_guard lock(mMixer->mMutex);
  mPlaying = true;
  mLooping = looping;
}

void TSoundBuffer::Stop() {
  std::lock_guard lock(mMixer->mMutex);
  StopLocked();
}

void TSoundBuffer::StopLocked() {
  if (!mPlaying) return;
  mPlaying = false;
  SignalPassed(mFrame * static_cast<uint32_t>(mFormat.BlockAlign()), 0, true);
}

bool TSoundBuffer::IsPlaying() const {
  std::lock_guard lock(mMixer->mMutex);
  return mPlaying;
}

uint32_t TSoundBuffer::WriteLeadBytes() const {
  const int frames = std::max(1, mFormat.rate * kWriteLeadMs / 1000);
  return static_cast<uint32_t>(frames * mFormat.BlockAlign()) % mSize;
}

void TSoundBuffer::GetCurrentPosition(uint32_t& play, uint32_t& write) const {
  std::lock_guard lock(mMixer->mMutex);
  play = mFrame * static_cast<uint32_t>(mFormat.BlockAlign());
  write = mPlaying ? (play + WriteLeadBytes()) % mSize : play;
}

void TSoundBuffer::SetCurrentPosition(uint32_t play) {
  std::lock_guard lock(mMixer->mMutex);
  mFrame = (play % mSize) / static_cast<uint32_t>(mFormat.BlockAlign());
  mFraction = 0;
}

void TSoundBuffer::SetVolume(int hundredths) {
  hundredths = std::clamp(hundredths, kSilentHundredths, 0);
  const int32_t gain = GainFor(hundredths);
  std::lock_guard lock(mMixer->mMutex);
  mVolume = hundredths;
  mGain = gain;
}

int TSoundBuffer::Volume() const {
  std::lock_guard lock(mMixer->mMutex);
  return mVolume;
}

bool TSoundBuffer::SetNotificationPositions(std::vector<TSoundNotification> positions) {
  for (const TSoundNotification& position : positions) {
    if (position.offset != TSoundNotification::kStop && position.offset >= mSize) return false;
  }
  std::lock_guard lock(mMixer->mMutex);
  if (mPlaying) return false;
  mNotifications = std::move(positions);
  return true;
}

bool TSoundBuffer::Lock(uint32_t offset, uint32_t bytes, TRegion& region) {
  if (mLocked || offset >= mSize || bytes == 0 || bytes > mSize) return false;
  mStaging.resize(bytes);
  region.first = mStaging.data();
  region.firstBytes = std::min(bytes, mSize - offset);
  region.secondBytes = bytes - region.firstBytes;
  region.second = region.secondBytes ? mStaging.data() + region.firstBytes : nullptr;
  {
    // The region starts out as what the buffer holds, so a partial write keeps the rest.
    std::lock_guard lock(mMixer->mMutex);
    const uint8_t* ring = reinterpret_cast<const uint8_t*>(mRing.data());
    std::memcpy(region.first, ring + offset, region.firstBytes);
    if (region.second) std::memcpy(region.second, ring, region.secondBytes);
  }
  mLocked = true;
  mLockOffset = offset;
  return true;
}

void TSoundBuffer::Unlock(const TRegion& region) {
  if (!mLocked) return;
  mLocked = false;
  const uint32_t first = std::min(region.firstBytes, mSize - mLockOffset);
  const uint32_t second =
      std::min<uint32_t>(region.secondBytes, static_cast<uint32_t>(mStaging.size()) - first);
  std::lock_guard lock(mMixer->mMutex);
  uint8_t* ring = reinterpret_cast<uint8_t*>(mRing.data());
  std::memcpy(ring + mLockOffset, mStaging.data(), first);
  if (second) std::memcpy(ring, mStaging.data() + first, second);
}

void TSoundBuffer::MixLocked(int32_t* accumulator, int frames) {
  if (!mPlaying || frames <= 0) return;
  const uint32_t blockAlign = static_cast<uint32_t>(mFormat.BlockAlign());
  const uint32_t startByte = mFrame * blockAlign;
  uint64_t advanced = 0;
  bool ended = false;
  if (mStep == kUnitStep) {
    int done = 0;
    while (done < frames) {
      const uint32_t run = std::min(static_cast<uint32_t>(frames - done), mFrameCount - mFrame);
      if (mGain != 0) AddFrames(accumulator + 2 * done, mFrame, run);
      mFrame += run;
      done += static_cast<int>(run);
      advanced += run;
      if (mFrame == mFrameCount) {
        if (!mLooping) {
          ended = true;
          break;
        }
        mFrame = 0;
      }
    }
  } else {
    advanced = AddResampled(accumulator, frames, ended);
  }
  if (ended) {
    // One-shot play stops at the end of the ring and goes back to its start.
    mPlaying = false;
    mFrame = 0;
    mFraction = 0;
  }
  SignalPassed(startByte, advanced * blockAlign, ended);
}

void TSoundBuffer::AddFrames(int32_t* accumulator, uint32_t frame, uint32_t count) const {
  const int32_t gain = mGain;
  if (mFormat.channels == 2) {
    const int16_t* samples = mRing.data() + static_cast<size_t>(frame) * 2;
    for (uint32_t i = 0; i < 2 * count; ++i) accumulator[i] += (samples[i] * gain) >> 16;
  } else {
    const int16_t* samples = mRing.data() + frame;
    for (uint32_t i = 0; i < count; ++i) {
      const int32_t value = (samples[i] * gain) >> 16;
      accumulator[2 * i] += value;
      accumulator[2 * i + 1] += value;
    }
  }
}

uint64_t TSoundBuffer::AddResampled(int32_t* accumulator, int frames, bool& ended) {
  const uint32_t channels = static_cast<uint32_t>(mFormat.channels);
  const int16_t* samples = mRing.data();
  uint64_t advanced = 0;
  for (int i = 0; i < frames; ++i) {
    // The frame after the last is the first again when looping; one-shot play holds the last.
    const uint32_t next = mFrame + 1 < mFrameCount ? mFrame + 1 : (mLooping ? 0 : mFrame);
    const int32_t weight = static_cast<int32_t>(mFraction >> 17);  // 15 bits
    for (uint32_t side = 0; side < 2; ++side) {
      const uint32_t channel = channels == 2 ? side : 0;
      const int32_t a = samples[mFrame * channels + channel];
      const int32_t b = samples[next * channels + channel];
      const int32_t value = a + (((b - a) * weight) >> 15);
      accumulator[2 * i + side] += (value * mGain) >> 16;
    }
    const uint64_t position = static_cast<uint64_t>(mFraction) + mStep;
    mFraction = static_cast<uint32_t>(position);
    const uint64_t frame = mFrame + (position >> 32);
    if (frame >= mFrameCount && !mLooping) {
      advanced += mFrameCount - mFrame;
      ended = true;
      return advanced;
    }
    advanced += position >> 32;
    mFrame = static_cast<uint32_t>(frame % mFrameCount);
  }
  return advanced;
}

void TSoundBuffer::SignalPassed(uint32_t startByte, uint64_t advancedBytes, bool stopped) {
  for (const TSoundNotification& notification : mNotifications) {
    if (!notification.event) continue;
    if (notification.offset == TSoundNotification::kStop) {
      if (stopped) notification.event->Signal();
      continue;
    }
    // Distance forward from where this stretch started; reaching the end of the ring
    // counts as reaching offset 0.
    uint64_t distance = (static_cast<uint64_t>(notification.offset) + mSize - startByte) % mSize;
    if (distance == 0) distance = mSize;
    if (distance <= advancedBytes) notification.event->Signal();
  }
}
