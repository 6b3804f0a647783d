#include "sound/sound_mixer.h"

#include <algorithm>

#include "sound/sound_buffer.h"

std::shared_ptr<TSoundMixer> TSoundMixer::Create() {
  return std::shared_ptr<TSoundMixer>(new TSoundMixer);
}

// Every buffer holds the mixer, so none is left when it goes.
TSoundMixer::~TSoundMixer() = default;

bool TSoundMixer::IsPlayable(const TSoundFormat& format) {
  return format.bits == 16 && format.channels >= 1 && format.channels <= kMaxChannels &&
         format.rate >= kMinRate && format.rate <= kMaxRate;
}

std::shared_ptr<TSoundBuffer> TSoundMixer::CreateBuffer(const TSoundFormat& format,
                                                        uint32_t bytes) {
  if (!IsPlayable(format)) return nullptr;
  const uint32_t blockAlign = static_cast<uint32_t>(format.BlockAlign());
  if (bytes < blockAlign || bytes % blockAlign != 0) return nullptr;
  std::shared_ptr<TSoundBuffer> buffer(new TSoundBuffer(shared_from_this(), format, bytes));
  std::lock_guard lock(mMutex);
  mBuffers.push_back(buffer.get());
  return buffer;
}

void TSoundMixer::Detach(TSoundBuffer* buffer) {
  std::lock_guard lock(mMutex);
  mBuffers.erase(std::remove(mBuffers.begin(), mBuffers.end(), buffer), mBuffers.end());
}

size_t TSoundMixer::BufferCount() const {
  std::lock_guard lock(mMutex);
  return mBuffers.size();
}

void TSoundMixer::Render(int16_t* out, int frames) {
  if (frames <= 0) return;
  const size_t samples = static_cast<size_t>(frames) * 2;
  std::lock_guard lock(mMutex);
  // assign keeps the capacity, so after the first period the device thread allocates nothing.
  mAccumulator.assign(samples, 0);
  for (TSoundBuffer* buffer : mBuffers) buffer->MixLocked(mAccumulator.data(), frames);
  for (size_t i = 0; i < samples; ++i)
    out[i] = static_cast<int16_t>(std::clamp(mAccumulator[i], -32768, 32767));
}
