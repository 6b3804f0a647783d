#include "ui/sound_player.h"

namespace {
TSoundPlayer* gSoundPlayer = nullptr;
}

void SetSoundPlayer(TSoundPlayer* player) {
  gSoundPlayer = player;
}

TSoundPlayer* GetSoundPlayer() {
  return gSoundPlayer;
}

std::shared_ptr<TPlayableSound> GetWidgetSound(const std::string& file) {
  if (!gSoundPlayer || file.empty()) return nullptr;
  return gSoundPlayer->GetSound(file);
}
