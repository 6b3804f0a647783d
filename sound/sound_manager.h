// TSoundManager: the program's sound. It owns the device and the mixer, the streams that
// are playing, the master and group volumes and the switch that silences everything while
// the program is in the background; a thread of its own keeps the streams fed. It is also
// the frame's sound link (Init, Enable, Update, volumes, music).
//
// Threads: the main thread plays, stops, pauses and sets volumes; the sound thread runs a
// service pass every 500 ms that refills the streams' buffers. Both work under one re-entrant
// lock (Lock()). Streams that end on the sound thread wait in the retired list until the
// main thread's FrameUpdate releases them and delivers their end notifications, so asset and
// instance bookkeeping stays on the main thread. The device's thread never takes this lock:
// it only talks to the mixer.
#pragma once

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "frame/clock.h"
#include "frame/frame_links.h"
#include "sound/music_player.h"

class TSound;
class TSoundDevice;
class TSoundInstance;
class TSoundMixer;
class TSoundStream;

class TSoundManager : public TSoundLink {
 public:
  static constexpr int kServiceIntervalMs = 500;
  static constexpr int kThreadSleepMs = 50;

  // device may be null (no sound card, headless): sounds then play silently on clocks.
  // Without runThread nobody runs the service passes but the caller (Tick), as tests do.
  explicit TSoundManager(std::unique_ptr<TSoundDevice> device, bool runThread = true);
  ~TSoundManager() override;
  TSoundManager(const TSoundManager&) = delete;
  TSoundManager& operator=(const TSoundManager&) = delete;

  // The program's manager: the most recently constructed one that still exists.
  static TSoundManager* Get();

  // TSoundLink
  bool Init() override;
  void Enable(bool on) override { SetEnabled(on); }
  void Update() override { FrameUpdate(); }
  void SetMasterVolume(float volume) override;
  float MasterVolume() const override;
  void SetGroupVolume(int group, float volume) override;
  float GroupVolume(int group) const override;
  bool PlayMusic(const std::string& file) override;
  void StopMusic() override;
  std::string CurrentMusic() const override;
  bool PlayEffect(const std::string& file, int group = kEffectsGroup) override;

  // Plays sound once and keeps it alive until that instance ends, for callers that do not
  // hold the sound themselves.
  std::shared_ptr<TSoundInstance> PlayOneShot(const std::shared_ptr<TSound>& sound);

  // The group's own volume, 1 when it has none.
  float GroupSetting(int group) const;
  // Off pauses every stream; on resumes exactly the streams it paused.
  void SetEnabled(bool on);
  bool IsEnabled() const;
  bool IsInitialised() const { return mInitialised; }
  bool IsShuttingDown() const { return mShuttingDown; }

  void AddStream(const std::shared_ptr<TSoundStream>& stream);
  // Out of the playing streams; from the sound thread into the retired list instead of
  // being released there.
  void RemoveStream(TSoundStream* stream, bool fromSoundThread);
  // Main thread, every idle pass: releases retired streams and delivers end notifications.
  void FrameUpdate();
  void ApplyAllVolumes();
  // One round of the sound thread: a service pass when the last one is more than 500 ms ago.
  void Tick();

  std::unique_lock<std::recursive_mutex> Lock() const {
    return std::unique_lock<std::recursive_mutex>(mMutex);
  }
  // The mixer while a device is open, else null.
  TSoundMixer* Mixer() const { return mMixer.get(); }
  size_t StreamCount() const;
  size_t RetiredCount() const;

 private:
  void ThreadMain();
  void ServicePass();
  void ForgetEndedOneShots();

  std::unique_ptr<TSoundDevice> mDevice;
  std::shared_ptr<TSoundMixer> mMixer;
  const bool mRunThread;
  bool mInitialised = false;
  bool mShuttingDown = false;
  bool mEnabled = true;
  float mMasterVolume = 1.0f;
  std::map<int, float> mGroupVolumes;
  TClock mClock;  // paces the service passes

  // "TSoundManagerMutex": everything about streams and volumes happens under it.
  mutable std::recursive_mutex mMutex;
  std::vector<std::shared_ptr<TSoundStream>> mStreams;
  std::vector<std::shared_ptr<TSoundStream>> mRetired;

  std::thread mThread;
  std::atomic<bool> mQuit{false};
  std::mutex mSleepMutex;
  std::condition_variable mWake;

  TMusicPlayer mMusic;
  // Sounds played by PlayOneShot, held until their instance ends (main thread).
  std::vector<std::pair<std::shared_ptr<TSound>, std::shared_ptr<TSoundInstance>>> mOneShots;
  TSoundManager* mPrevious = nullptr;
};
