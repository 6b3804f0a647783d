// TSound: a sound asset, shared through the asset manager under its file name, load option
// and group. Play starts an instance of it; the instance plays in the sound's group, whose
// volume (times the master volume) it follows.
//
//   std::shared_ptr<TSound> click = TSound::GetSound("audio/sfx/button_click.ogg", true, 0);
//   if (click) click->Play(false);
#pragma once

#include <memory>
#include <string>

#include "data/asset.h"

class TSoundData;
class TSoundInstance;

class TSound : public TAsset {
 public:
  static const TAssetType kType;
  const TAssetType& Type() const override { return kType; }

  // The sound of an Ogg Vorbis file. A "?group=N" after the name puts it into group N.
  // preload reads the whole file into memory (and decodes a sound of up to 2 seconds at
  // once); without it the sound is decoded from the open file while it plays. Null, logged,
  // when the file is missing or cannot be decoded.
  static std::shared_ptr<TSound> GetSound(const std::string& name, bool preload, int group);

  TSound(std::string name, int group);
  ~TSound() override;

  // Null (logged) without data or without a sound manager.
  std::shared_ptr<TSoundInstance> Play(bool loop);
  // Stops every live instance; true when there was one.
  bool StopAll();
  // Pauses or resumes every live instance; true when there was one.
  bool PauseAll(bool on);

  const std::string& Name() const { return mName; }
  int Group() const { return mGroup; }
  double Duration() const;
  const std::shared_ptr<TSoundData>& Data() const { return mData; }
  // Live instances (not yet ended or stopped).
  size_t InstanceCount() const;

 private:
  std::shared_ptr<TSoundData> mData;
  std::string mName;
  int mGroup;
};
