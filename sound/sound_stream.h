// TSoundStream: the playing of one source through one 2-second mixer buffer. The buffer is
// refilled a half at a time: while the device plays one half the service pass fills the
// other from the source, and once the source has run out the stream plays out what the
// buffer still holds and ends. A stream whose buffer could not be made (no device, a format
// the mixer cannot take) plays silently on a clock instead, so it still lasts as long as its
// sound and loops and ends on time.
//
// Every operation takes the sound manager's lock itself (it is re-entrant). A stream that
// ends on the sound thread is moved to the manager's retired list; its end notification is
// delivered on the main thread by FrameUpdate.
#pragma once

#include <cstdint>
#include <memory>

#include "frame/clock.h"
#include "sound/sound_event.h"

class TSoundBuffer;
class TSoundInstance;
class TSoundManager;
class TStreamNotify;
class TStreamSpooler;

class TSoundStream : public std::enable_shared_from_this<TSoundStream> {
 public:
  // A stream of source, added to the manager's streams, which keep it alive while it plays.
  static std::shared_ptr<TSoundStream> Create(TSoundManager& manager,
                                              std::unique_ptr<TStreamSpooler> source,
                                              std::weak_ptr<TStreamNotify> endNotify, int group,
                                              bool loop);
  ~TSoundStream();
  TSoundStream(const TSoundStream&) = delete;
  TSoundStream& operator=(const TSoundStream&) = delete;

  // Makes the buffer for seconds of that format and fills its first half. False when the
  // manager has no device or the mixer refuses the format: the stream then plays virtually.
  bool Open(int channels, int rate, int bits, double seconds);
  // Starts playing (once: the whole sound fits into the buffer and it plays through once).
  void Start(bool once);
  // One service step: refills a half when the device has moved on. Answers whether the
  // stream is still alive.
  bool Service(bool initial);
  // Linear volume 0..1.
  void SetVolume(float volume);
  void Pause(bool on);
  // Pauses for the manager (the program went to the background) and resumes only what the
  // manager paused, never what the game paused itself.
  void PauseByManager(bool on);
  void Stop(bool fromSoundThread);

  int Group() const { return mGroup; }
  bool IsPaused() const;
  bool HasEnded() const;
  float BufferSeconds() const { return mBufferSeconds; }
  // The mixer buffer, null while playing virtually.
  TSoundBuffer* Buffer() const { return mBuffer.get(); }

  // The instance that owns the stream (main thread).
  TSoundInstance* Instance() const { return mInstance; }
  void SetInstance(TSoundInstance* instance);
  bool HasPendingEnd() const;
  void ClearPendingEnd();
  std::weak_ptr<TStreamNotify> EndNotify() const { return mEndNotify; }

  // The manager is going away: the stream lets go of its buffer and source and becomes inert.
  void Detach();

 private:
  TSoundStream(TSoundManager& manager, std::unique_ptr<TStreamSpooler> source,
               std::weak_ptr<TStreamNotify> endNotify, int group, bool loop);
  bool ServiceVirtual();
  // Marks the stream ended with its end notification pending.
  void End();

  TSoundManager* mManager;
  std::unique_ptr<TStreamSpooler> mSource;
  std::weak_ptr<TStreamNotify> mEndNotify;
  bool mEndPending = false;
  TSoundInstance* mInstance = nullptr;

  std::shared_ptr<TSoundBuffer> mBuffer;
  // Signalled at the buffer's start, its middle and when it stops.
  std::shared_ptr<TSoundEvent> mEvents[3];
  uint32_t mBufferBytes = 0;
  float mBufferSeconds = 0;
  int64_t mRemaining = 0;  // bytes still to play after the source ran out

  int mGroup;
  bool mLoop;
  bool mOnce = false;
  bool mSourceEnded = false;
  int mLastFilledHalf = 0;  // 1 or 2 once filled
  bool mPaused = false;
  bool mPausedByManager = false;
  bool mEnded = false;
  TClock mClock;  // virtual playback
};
