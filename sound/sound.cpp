#include "sound/sound.h"

#include <cstdlib>
#include <vector>

#include "data/asset_manager.h"
#include "files/file.h"
#include "frame/log.h"
#include "sound/mem_spooler.h"
#include "sound/sound_data.h"
#include "sound/sound_instance.h"
#include "sound/sound_manager.h"
#include "sound/sound_stream.h"

const TAssetType TSound::kType = {"TSound", &TAsset::kType};

namespace {

constexpr double kBufferSeconds = 2.0;

// Cuts "?options" off name; a "group=N" among the options replaces group.
void TakeOptions(std::string& name, int& group) {
  const size_t question = name.find('?');
  if (question == std::string::npos) return;
  const std::string options = name.substr(question + 1);
  name.resize(question);
  const size_t at = options.find("group=");
  if (at != std::string::npos) group = std::atoi(options.c_str() + at + 6);
}

}  // namespace

TSound::TSound(std::string name, int group)
    : mData(std::make_shared<TSoundData>()), mName(std::move(name)), mGroup(group) {}

TSound::~TSound() {
  // The instances go here, on the main thread: a stream's source may briefly hold the data
  // on the sound thread, and the data must not take the instances (and their listeners)
  // with it there.
  mData->DropInstances();
}

std::shared_ptr<TSound> TSound::GetSound(const std::string& requested, bool preload, int group) {
  if (requested.empty()) return nullptr;
  std::string name = requested;
  TakeOptions(name, group);

  const std::string key = name + ";" + (preload ? "1" : "0") + ";" + std::to_string(group);
  TAssetManager* assets = TAssetManager::Get();
  if (assets) {
    if (std::shared_ptr<TSound> cached = assets->GetAssetAs<TSound>(key)) return cached;
  }
  auto sound = std::make_shared<TSound>(name, group);
  sound->mData->SetSound(sound);
  if (assets) assets->AddAsset(key, sound);
  if (name.find(".ogg") == std::string::npos) return nullptr;
  std::unique_ptr<TFile> file = TFile::OpenFile(name, kReadBinary);
  if (!file) {
    Log("OGG file not found: %s", name.c_str());
    return nullptr;
  }
  if (!sound->mData->Load(std::move(file), preload, name)) {
    Log("OGG file could not be opened");
    return nullptr;
  }
  return sound;
}

std::shared_ptr<TSoundInstance> TSound::Play(bool loop) {
  if (!mData) {
    Log("Play of uninitialized sound");
    return nullptr;
  }
  TSoundManager* manager = TSoundManager::Get();
  if (!manager) {
    Log("No Sound Manager");
    return nullptr;
  }
  auto lock = manager->Lock();
  std::shared_ptr<TSoundStream> stream =
      TSoundStream::Create(*manager, std::make_unique<TMemSpooler>(mData), mData, mGroup, loop);
  auto instance = std::make_shared<TSoundInstance>(
      stream, std::static_pointer_cast<TSound>(shared_from_this()));
  mData->AddInstance(instance);
  const TSoundFormat format = mData->Format();
  stream->Open(format.channels, format.rate, 16, kBufferSeconds);
  stream->Start(!loop && stream->BufferSeconds() > mData->Duration());
  return instance;
}

bool TSound::StopAll() {
  // A copy: each instance leaves the data's list as it stops.
  const std::vector<std::shared_ptr<TSoundInstance>> instances = mData->Instances();
  for (const std::shared_ptr<TSoundInstance>& instance : instances) instance->Stop();
  return !instances.empty();
}

bool TSound::PauseAll(bool on) {
  const std::vector<std::shared_ptr<TSoundInstance>> instances = mData->Instances();
  for (const std::shared_ptr<TSoundInstance>& instance : instances) instance->Pause(on);
  return !instances.empty();
}

double TSound::Duration() const {
  return mData->Duration();
}

size_t TSound::InstanceCount() const {
  return mData->Instances().size();
}
