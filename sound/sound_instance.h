// TSoundInstance: one playing of a TSound, the handle TSound::Play returns. It owns its
// stream, refers back to its sound without keeping it alive, and may carry an end listener.
// The sound's data keeps every live instance, so an instance plays to its end even when the
// caller drops the handle. Main thread only.
#pragma once

#include <memory>

class TSound;
class TSoundEndListener;
class TSoundStream;

class TSoundInstance : public std::enable_shared_from_this<TSoundInstance> {
 public:
  TSoundInstance(std::shared_ptr<TSoundStream> stream, std::weak_ptr<TSound> sound);
  ~TSoundInstance();
  TSoundInstance(const TSoundInstance&) = delete;
  TSoundInstance& operator=(const TSoundInstance&) = delete;

  // Replaces the listener (null for none).
  void SetEndListener(TSoundEndListener* listener);
  TSoundEndListener* EndListener() const { return mListener; }
  // Leaves the listener's set and answers the listener it had.
  TSoundEndListener* TakeEndListener();

  std::shared_ptr<TSound> Sound() const { return mSound.lock(); }
  TSoundStream* Stream() const { return mStream.get(); }
  // Not yet ended or stopped (a paused instance still counts).
  bool IsPlaying() const;
  void Pause(bool on);
  // Stops at once; the instance leaves its listener (which is not called) and the sound's
  // live instances.
  void Stop();

 private:
  friend class TSoundEndListener;
  std::shared_ptr<TSoundStream> mStream;
  std::weak_ptr<TSound> mSound;
  TSoundEndListener* mListener = nullptr;
};
