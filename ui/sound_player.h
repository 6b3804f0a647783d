// The sounds the widgets play (button clicks and roll-overs), behind a small interface so the
// window tree does not depend on the sound subsystem. Until a sound manager installs itself
// with SetSoundPlayer, every lookup answers null and nothing is played.
#pragma once

#include <memory>
#include <string>

// One loaded sound.
class TPlayableSound {
 public:
  virtual ~TPlayableSound() = default;
  virtual void Play() = 0;
};

class TSoundPlayer {
 public:
  virtual ~TSoundPlayer() = default;
  // The sound of that file for interface effects (preloaded, effect group); null when it
  // cannot be loaded.
  virtual std::shared_ptr<TPlayableSound> GetSound(const std::string& file) = 0;
};

// Not owned; null (the default) plays nothing.
void SetSoundPlayer(TSoundPlayer* player);
TSoundPlayer* GetSoundPlayer();
// GetSoundPlayer()->GetSound(file), or null without a player or for an empty name.
std::shared_ptr<TPlayableSound> GetWidgetSound(const std::string& file);
