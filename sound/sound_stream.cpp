#include "sound/sound_stream.h"

#include <cmath>

#include "frame/log.h"
#include "sound/sound_buffer.h"
#include "sound/sound_manager.h"
#include "sound/sound_mixer.h"
#include "sound/sound_volume.h"
#include "sound/stream_notify.h"
#include "sound/stream_spooler.h"

namespace {

constexpr int64_t kMaxBufferBytes = 0x0FFFFFFF;

}  // namespace

std::shared_ptr<TSoundStream> TSoundStream::Create(TSoundManager& manager,
                                                   std::unique_ptr<TStreamSpooler> source,
                                                   std::weak_ptr<TStreamNotify> endNotify,
                                                   int group, bool loop) {
  std::shared_ptr<TSoundStream> stream(
      new TSoundStream(manager, std::move(source), std::move(endNotify), group, loop));
  manager.AddStream(stream);
  return stream;
}

TSoundStream::TSoundStream(TSoundManager& manager, std::unique_ptr<TStreamSpooler> source,
                           std::weak_ptr<TStreamNotify> endNotify, int group, bool loop)
    : mManager(&manager),
      mSource(std::move(source)),
      mEndNotify(std::move(endNotify)),
      mGroup(group),
      mLoop(loop) {}

TSoundStream::~TSoundStream() = default;

bool TSoundStream::Open(int channels, int rate, int bits, double seconds) {
  if (!mManager) return false;
  auto lock = mManager->Lock();
  TSoundMixer* mixer = mManager->Mixer();
  if (!mManager->IsInitialised() || !mixer) return false;

  const int64_t bytesPerSecond = static_cast<int64_t>(channels) * rate * bits / 8;
  int64_t bytes = std::llround(static_cast<double>(bytesPerSecond) * seconds);
  bytes = (bytes + 7) / 8 * 8;
  if (bytes <= 0) bytes = 4;
  if (bytes >= 0x10000000) bytes = kMaxBufferBytes;
  mBufferBytes = static_cast<uint32_t>(bytes);
  mBufferSeconds =
      bytesPerSecond > 0 ? static_cast<float>(static_cast<double>(bytes) / bytesPerSecond) : 0;

  TSoundFormat format;
  format.channels = channels;
  format.rate = rate;
  format.bits = bits;
  mBuffer = mixer->CreateBuffer(format, mBufferBytes);
  if (!mBuffer) {
    Log("Sound buffer of %d channels at %d Hz cannot be played; it plays silently", channels, rate);
    return false;
  }
  for (std::shared_ptr<TSoundEvent>& event : mEvents) event = std::make_shared<TSoundEvent>();
  mBuffer->SetNotificationPositions(
      {{0, mEvents[0]}, {mBufferBytes / 2, mEvents[1]}, {TSoundNotification::kStop, mEvents[2]}});
  mRemaining = mBufferBytes;
  mSourceEnded = false;
  Service(true);
  return true;
}

void TSoundStream::Start(bool once) {
  if (!mManager) return;
  auto lock = mManager->Lock();
  if (once) mOnce = true;
  SetVolume(mManager->GroupVolume(mGroup));
  if (!mManager->IsEnabled()) {
    mPaused = true;
    mPausedByManager = true;
    return;
  }
  if (mBuffer) mBuffer->Play(!mOnce);
  // The first start sets the clock to 0; a start after a pause continues where it stopped.
  mClock.Start();
}

bool TSoundStream::Service(bool initial) {
  if (!mManager) return false;
  auto lock = mManager->Lock();
  if (mEnded) return false;
  // A paused buffer stands still, and its positions must not be read as the end of the
  // sound; the stream simply waits.
  if (mPaused) return true;
  if (!mBuffer) return ServiceVirtual();

  uint32_t play = 0;
  uint32_t write = 0;
  mBuffer->GetCurrentPosition(play, write);
  const uint32_t half = mBufferBytes / 2;
  int fill = 1;
  if (!initial) {
    if (write < half) {
      fill = 2;
    } else if (play < half) {
      return true;  // the device is crossing the middle; the first half is not free yet
    }
  }
  if (fill == mLastFilledHalf) {
    // Already filled: the only news can be that a one-shot buffer ran to its end.
    if (mOnce && play == write) {
      End();
      return false;
    }
    return true;
  }
  mLastFilledHalf = fill;
  if (mSourceEnded) {
    mRemaining -= half;
    if (mRemaining < 1) {
      mBuffer->Stop();
      mSource->Close();
      End();
      return false;
    }
  }
  TSoundBuffer::TRegion region;
  if (!mBuffer->Lock(fill == 1 ? 0 : half, half, region)) {
    Log("Sound buffer could not be locked; the sound ends");
    mBuffer->Stop();
    End();
    return false;
  }
  uint32_t got = 0;
  mSourceEnded = !mSource->Read(region.first, region.firstBytes, got, mLoop);
  mBuffer->Unlock(region);
  return true;
}

bool TSoundStream::ServiceVirtual() {
  if (mClock.GetTime() / 1000.0 <= mSource->Duration()) return true;
  if (mLoop) {
    mSource->Rewind();
    mClock.Reset(0);
    return true;
  }
  End();
  return false;
}

void TSoundStream::End() {
  mEnded = true;
  mEndPending = true;
}

void TSoundStream::SetVolume(float volume) {
  if (!mManager) return;
  auto lock = mManager->Lock();
  if (mBuffer) mBuffer->SetVolume(VolumeToHundredths(volume));
}

void TSoundStream::Pause(bool on) {
  if (!mManager) return;
  auto lock = mManager->Lock();
  if (on) {
    mPaused = true;
    if (mBuffer) mBuffer->Stop();
    mClock.Pause();
  } else {
    mPaused = false;
    Start(mOnce);
  }
}

void TSoundStream::PauseByManager(bool on) {
  if (!mManager) return;
  auto lock = mManager->Lock();
  if (on) {
    if (mPaused) return;
    Pause(true);
    mPausedByManager = true;
  } else if (mPausedByManager) {
    mPausedByManager = false;
    Pause(false);
  }
}

void TSoundStream::Stop(bool fromSoundThread) {
  if (!mManager) return;
  // The manager's list may hold the last reference.
  const std::shared_ptr<TSoundStream> self = shared_from_this();
  auto lock = mManager->Lock();
  if (mBuffer) mBuffer->Stop();
  mEnded = true;
  mInstance = nullptr;
  mManager->RemoveStream(this, fromSoundThread);
}

bool TSoundStream::IsPaused() const {
  if (!mManager) return false;
  auto lock = mManager->Lock();
  return mPaused;
}

bool TSoundStream::HasEnded() const {
  if (!mManager) return true;
  auto lock = mManager->Lock();
  return mEnded;
}

void TSoundStream::SetInstance(TSoundInstance* instance) {
  if (!mManager) {
    mInstance = instance;
    return;
  }
  auto lock = mManager->Lock();
  mInstance = instance;
}

bool TSoundStream::HasPendingEnd() const {
  if (!mManager) return false;
  auto lock = mManager->Lock();
  return mEndPending;
}

void TSoundStream::ClearPendingEnd() {
  if (!mManager) return;
  auto lock = mManager->Lock();
  mEndPending = false;
}

void TSoundStream::Detach() {
  mBuffer.reset();
  mSource.reset();
  mManager = nullptr;
  mEnded = true;
  mEndPending = false;
}
