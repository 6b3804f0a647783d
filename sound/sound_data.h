// TSoundData: what a TSound plays, and the bookkeeping of its live instances. A preloaded
// sound of up to 2 seconds is decoded once into memory; any other sound keeps its Vorbis
// decoder (over a memory copy of the file, or over the open file) and is decoded while it
// plays. As the end notification of the streams that play it, it hears on the main thread
// when one of them ended and tells the instance's end listener.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sound/sound_format.h"
#include "sound/stream_notify.h"

class TFile;
class TSound;
class TSoundInstance;
class TVorbisDecoder;

class TSoundData : public TStreamNotify {
 public:
  static constexpr double kDecodeAtOnceSeconds = 2.0;

  TSoundData();
  ~TSoundData() override;
  TSoundData(const TSoundData&) = delete;
  TSoundData& operator=(const TSoundData&) = delete;

  // Reads the sound from file: with preload the whole file is copied into memory first.
  // False (logged) when it is no Vorbis stream we can play.
  bool Load(std::unique_ptr<TFile> file, bool preload, const std::string& name);

  TSoundFormat Format() const;
  double Duration() const { return mDuration; }
  bool IsDecoded() const { return mDecoded; }
  // Decoded sounds: the PCM (with a few spare zero bytes after it) and its length.
  const std::vector<uint8_t>& Pcm() const { return mPcm; }
  uint32_t PcmBytes() const { return mPcmBytes; }
  // Other sounds: the decoder, shared by every instance (they take the sound manager's
  // lock around each use and seek to their own position).
  TVorbisDecoder* Decoder() { return mDecoder.get(); }

  void SetSound(std::weak_ptr<TSound> sound) { mSound = std::move(sound); }
  std::shared_ptr<TSound> Sound() const { return mSound.lock(); }

  // Live instances: registered by Play, they leave when their stream has ended or when the
  // sound stops them.
  void AddInstance(std::shared_ptr<TSoundInstance> instance);
  void RemoveInstance(const TSoundInstance* instance);
  void DropInstances();
  const std::vector<std::shared_ptr<TSoundInstance>>& Instances() const { return mInstances; }

  void OnStreamEnded(TSoundStream& stream) override;

 private:
  void DecodeAll(TVorbisDecoder& decoder);

  int mChannels = 0;
  int mRate = 0;
  double mDuration = 0;
  bool mDecoded = false;
  std::vector<uint8_t> mPcm;
  uint32_t mPcmBytes = 0;
  std::unique_ptr<TVorbisDecoder> mDecoder;
  std::weak_ptr<TSound> mSound;
  std::vector<std::shared_ptr<TSoundInstance>> mInstances;
};
