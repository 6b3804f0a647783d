#include "sound/sound_bindings.h"

#include <string>

#include "script/native_binding.h"
#include "sound/sound_manager.h"

namespace {

bool PlaySoundEffect(const std::string& file) {
  TSoundManager* manager = TSoundManager::Get();
  return manager && manager->PlayEffect(file, TSoundLink::kEffectsGroup);
}

bool StartMusic(const std::string& file) {
  TSoundManager* manager = TSoundManager::Get();
  return manager && manager->PlayMusic(file);
}

void StopMusic() {
  if (TSoundManager* manager = TSoundManager::Get()) manager->StopMusic();
}

double GetMasterVolume() {
  const TSoundManager* manager = TSoundManager::Get();
  return manager ? manager->MasterVolume() : 0.0;
}

void SetMasterVolume(double volume) {
  if (TSoundManager* manager = TSoundManager::Get())
    manager->SetMasterVolume(static_cast<float>(volume));
}

double GetSoundGroupVolume(int group) {
  const TSoundManager* manager = TSoundManager::Get();
  return manager ? manager->GroupSetting(group) : 0.0;
}

void SetSoundGroupVolume(int group, double volume) {
  if (TSoundManager* manager = TSoundManager::Get())
    manager->SetGroupVolume(group, static_cast<float>(volume));
}

}  // namespace

void RegisterSoundFunctions(lua_State* L) {
  RegisterFunction(L, "PlaySoundEffect", &PlaySoundEffect);
  RegisterFunction(L, "StartMusic", &StartMusic);
  RegisterFunction(L, "StopMusic", &StopMusic);
  RegisterFunction(L, "GetMasterVolume", &GetMasterVolume);
  RegisterFunction(L, "SetMasterVolume", &SetMasterVolume);
  RegisterFunction(L, "GetSoundGroupVolume", &GetSoundGroupVolume);
  RegisterFunction(L, "SetSoundGroupVolume", &SetSoundGroupVolume);
}
