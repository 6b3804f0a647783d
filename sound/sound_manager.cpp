#include "sound/sound_manager.h"

#include <algorithm>
#include <chrono>

#include "frame/log.h"
#include "sound/sound.h"
#include "sound/sound_device.h"
#include "sound/sound_instance.h"
#include "sound/sound_mixer.h"
#include "sound/sound_stream.h"
#include "sound/stream_notify.h"

namespace {
TSoundManager* gManager = nullptr;
}  // namespace

TSoundManager* TSoundManager::Get() {
  return gManager;
}

TSoundManager::TSoundManager(std::unique_ptr<TSoundDevice> device, bool runThread)
    : mDevice(std::move(device)), mRunThread(runThread), mPrevious(gManager) {
  gManager = this;
}

TSoundManager::~TSoundManager() {
  {
    auto lock = Lock();
    mQuit = true;
  }
  mWake.notify_all();
  if (mThread.joinable()) mThread.join();
  mShuttingDown = true;

  mMusic.Stop();
  mOneShots.clear();
  {
    auto lock = Lock();
    // Streams that someone else still holds become inert; none outlives the device.
    for (const std::shared_ptr<TSoundStream>& stream : mRetired) stream->Detach();
    for (const std::shared_ptr<TSoundStream>& stream : mStreams) stream->Detach();
    mRetired.clear();
    mStreams.clear();
  }
  if (mDevice && mInitialised) mDevice->Close();
  mMixer.reset();
  if (gManager == this) gManager = mPrevious;
}

bool TSoundManager::Init() {
  auto lock = Lock();
  if (mInitialised) return true;
  if (mRunThread && !mThread.joinable()) mThread = std::thread(&TSoundManager::ThreadMain, this);
  mClock.Start();
  mClock.Reset(0);
  if (!mDevice) {
    Log("No sound device: sounds play silently");
    return false;
  }
  std::shared_ptr<TSoundMixer> mixer = TSoundMixer::Create();
  if (!mDevice->Open(*mixer)) return false;
  mMixer = std::move(mixer);
  mInitialised = true;
  return true;
}

void TSoundManager::ThreadMain() {
  while (!mQuit) {
    Tick();
    std::unique_lock<std::mutex> sleep(mSleepMutex);
    mWake.wait_for(sleep, std::chrono::milliseconds(kThreadSleepMs),
                   [this] { return mQuit.load(); });
  }
}

void TSoundManager::Tick() {
  auto lock = Lock();
  if (!mQuit) ServicePass();
}

void TSoundManager::ServicePass() {
  if (mClock.GetTime() <= kServiceIntervalMs) return;
  mClock.Reset(0);
  for (size_t i = 0; i < mStreams.size();) {
    const std::shared_ptr<TSoundStream> stream = mStreams[i];
    if (stream->Service(false)) {
      ++i;
    } else {
      RemoveStream(stream.get(), true);
    }
  }
}

void TSoundManager::AddStream(const std::shared_ptr<TSoundStream>& stream) {
  auto lock = Lock();
  mStreams.push_back(stream);
}

void TSoundManager::RemoveStream(TSoundStream* stream, bool fromSoundThread) {
  auto lock = Lock();
  auto found = std::find_if(
      mStreams.begin(), mStreams.end(),
      [stream](const std::shared_ptr<TSoundStream>& live) { return live.get() == stream; });
  if (found == mStreams.end()) return;
  if (fromSoundThread) mRetired.push_back(*found);
  mStreams.erase(found);
}

void TSoundManager::FrameUpdate() {
  std::vector<std::shared_ptr<TSoundStream>> ended;
  {
    // This runs on every idle pass; while the sound thread is busy refilling, the next pass
    // (a millisecond later) does the work instead of waiting for it.
    std::unique_lock<std::recursive_mutex> lock(mMutex, std::try_to_lock);
    if (!lock.owns_lock()) return;
    ended.swap(mRetired);
  }
  for (const std::shared_ptr<TSoundStream>& stream : ended) {
    if (!stream->HasPendingEnd()) continue;
    if (std::shared_ptr<TStreamNotify> notify = stream->EndNotify().lock()) {
      notify->OnStreamEnded(*stream);
    } else {
      stream->ClearPendingEnd();
    }
  }
  // The retired streams are released here, on the main thread.
  ended.clear();
  ForgetEndedOneShots();
}

void TSoundManager::ForgetEndedOneShots() {
  mOneShots.erase(std::remove_if(mOneShots.begin(), mOneShots.end(),
                                 [](const auto& shot) { return !shot.second->IsPlaying(); }),
                  mOneShots.end());
}

void TSoundManager::SetMasterVolume(float volume) {
  auto lock = Lock();
  mMasterVolume = volume;
  ApplyAllVolumes();
}

float TSoundManager::MasterVolume() const {
  auto lock = Lock();
  return mMasterVolume;
}

void TSoundManager::SetGroupVolume(int group, float volume) {
  auto lock = Lock();
  mGroupVolumes[group] = volume;
  ApplyAllVolumes();
}

float TSoundManager::GroupVolume(int group) const {
  auto lock = Lock();
  const auto found = mGroupVolumes.find(group);
  return found == mGroupVolumes.end() ? mMasterVolume : mMasterVolume * found->second;
}

float TSoundManager::GroupSetting(int group) const {
  auto lock = Lock();
  const auto found = mGroupVolumes.find(group);
  return found == mGroupVolumes.end() ? 1.0f : found->second;
}

void TSoundManager::ApplyAllVolumes() {
  auto lock = Lock();
  for (const std::shared_ptr<TSoundStream>& stream : mStreams)
    stream->SetVolume(GroupVolume(stream->Group()));
}

void TSoundManager::SetEnabled(bool on) {
  auto lock = Lock();
  mEnabled = on;
  for (const std::shared_ptr<TSoundStream>& stream : mStreams) stream->PauseByManager(!on);
  if (on) ApplyAllVolumes();
}

bool TSoundManager::IsEnabled() const {
  auto lock = Lock();
  return mEnabled;
}

size_t TSoundManager::StreamCount() const {
  auto lock = Lock();
  return mStreams.size();
}

size_t TSoundManager::RetiredCount() const {
  auto lock = Lock();
  return mRetired.size();
}

bool TSoundManager::PlayMusic(const std::string& file) {
  return mMusic.Play(file);
}

void TSoundManager::StopMusic() {
  mMusic.Stop();
}

std::string TSoundManager::CurrentMusic() const {
  return mMusic.Current();
}

bool TSoundManager::PlayEffect(const std::string& file, int group) {
  const std::shared_ptr<TSound> sound = TSound::GetSound(file, true, group);
  return sound && PlayOneShot(sound);
}

std::shared_ptr<TSoundInstance> TSoundManager::PlayOneShot(const std::shared_ptr<TSound>& sound) {
  if (!sound) return nullptr;
  ForgetEndedOneShots();
  std::shared_ptr<TSoundInstance> instance = sound->Play(false);
  if (instance) mOneShots.emplace_back(sound, instance);
  return instance;
}
