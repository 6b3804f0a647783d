#include "sound/sound_instance.h"

#include "sound/sound.h"
#include "sound/sound_data.h"
#include "sound/sound_end_listener.h"
#include "sound/sound_stream.h"

TSoundEndListener::~TSoundEndListener() {
  for (TSoundInstance* instance : mInstances) instance->mListener = nullptr;
}

TSoundInstance::TSoundInstance(std::shared_ptr<TSoundStream> stream, std::weak_ptr<TSound> sound)
    : mStream(std::move(stream)), mSound(std::move(sound)) {
  if (mStream) mStream->SetInstance(this);
}

TSoundInstance::~TSoundInstance() {
  TakeEndListener();
  if (mStream && mStream->Instance() == this) mStream->SetInstance(nullptr);
}

void TSoundInstance::SetEndListener(TSoundEndListener* listener) {
  TakeEndListener();
  mListener = listener;
  if (mListener) mListener->mInstances.insert(this);
}

TSoundEndListener* TSoundInstance::TakeEndListener() {
  TSoundEndListener* listener = mListener;
  if (listener) listener->mInstances.erase(this);
  mListener = nullptr;
  return listener;
}

bool TSoundInstance::IsPlaying() const {
  return mStream && !mStream->HasEnded();
}

void TSoundInstance::Pause(bool on) {
  if (mStream) mStream->Pause(on);
}

void TSoundInstance::Stop() {
  // Leaving the data's set below may drop the last other reference to this instance.
  const std::shared_ptr<TSoundInstance> self = shared_from_this();
  if (mStream) mStream->Stop(false);
  // A stopped instance is over: it hears no end and is no longer live.
  TakeEndListener();
  if (const std::shared_ptr<TSound> sound = mSound.lock()) sound->Data()->RemoveInstance(this);
}
