#include "sound/sound_data.h"

#include <algorithm>

#include "files/file.h"
#include "sound/sound_end_listener.h"
#include "sound/sound_instance.h"
#include "sound/sound_manager.h"
#include "sound/sound_stream.h"
#include "sound/vorbis_decoder.h"

TSoundData::TSoundData() = default;
TSoundData::~TSoundData() = default;

bool TSoundData::Load(std::unique_ptr<TFile> file, bool preload, const std::string& name) {
  if (!file) return false;
  std::unique_ptr<TVorbisDecoder> decoder;
  if (preload) {
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max(0L, file->GetLength())));
    bytes.resize(file->Read(bytes.data(), bytes.size()));
    decoder = TVorbisDecoder::FromMemory(std::move(bytes), name);
  } else {
    decoder = TVorbisDecoder::FromFile(std::move(file), name);
  }
  if (!decoder) return false;
  mChannels = decoder->Channels();
  mRate = decoder->Rate();
  mDuration = decoder->Duration();
  if (preload && mDuration <= kDecodeAtOnceSeconds) {
    DecodeAll(*decoder);
  } else {
    mDecoder = std::move(decoder);
  }
  return true;
}

void TSoundData::DecodeAll(TVorbisDecoder& decoder) {
  // Room for the whole sound and a tenth of a second more, plus a few spare zero bytes.
  const size_t bytes = static_cast<size_t>((mDuration + 0.1) * mRate * mChannels * 2);
  mPcm.assign(bytes + 4, 0);
  size_t done = 0;
  while (done < bytes) {
    const size_t got = decoder.Decode(mPcm.data() + done, bytes - done);
    if (got == 0) break;
    done += got;
  }
  mPcmBytes = static_cast<uint32_t>(done);
  mDecoded = true;
}

TSoundFormat TSoundData::Format() const {
  TSoundFormat format;
  format.channels = mChannels;
  format.rate = mRate;
  format.bits = 16;
  return format;
}

void TSoundData::AddInstance(std::shared_ptr<TSoundInstance> instance) {
  mInstances.push_back(std::move(instance));
}

void TSoundData::RemoveInstance(const TSoundInstance* instance) {
  mInstances.erase(std::remove_if(mInstances.begin(), mInstances.end(),
                                  [instance](const std::shared_ptr<TSoundInstance>& live) {
                                    return live.get() == instance;
                                  }),
                   mInstances.end());
}

void TSoundData::DropInstances() {
  mInstances.clear();
}

void TSoundData::OnStreamEnded(TSoundStream& stream) {
  stream.ClearPendingEnd();
  TSoundInstance* owner = stream.Instance();
  if (!owner) return;
  // Kept alive here: leaving the set below may drop the last other reference.
  const std::shared_ptr<TSoundInstance> instance = owner->shared_from_this();
  stream.SetInstance(nullptr);
  RemoveInstance(owner);
  if (TSoundEndListener* listener = instance->TakeEndListener()) {
    const TSoundManager* manager = TSoundManager::Get();
    if (!manager || !manager->IsShuttingDown()) listener->OnSoundEnded(instance, mSound.lock());
  }
}
