// TSoundEndListener: told on the main thread when an instance it watches has ended. It
// keeps the set of instances it watches; an instance leaves the set when it ends (just
// before the call) or is destroyed, and a listener that goes away first is forgotten by
// every instance it watched.
#pragma once

#include <memory>
#include <set>

class TSound;
class TSoundInstance;

class TSoundEndListener {
 public:
  TSoundEndListener() = default;
  virtual ~TSoundEndListener();
  TSoundEndListener(const TSoundEndListener&) = delete;
  TSoundEndListener& operator=(const TSoundEndListener&) = delete;

  // sound is null when the sound was released while the instance played.
  virtual void OnSoundEnded(const std::shared_ptr<TSoundInstance>& instance,
                            const std::shared_ptr<TSound>& sound) = 0;

  size_t WatchedCount() const { return mInstances.size(); }

 private:
  friend class TSoundInstance;
  std::set<TSoundInstance*> mInstances;
};
