#include "sound/music_player.h"

#include "frame/frame_links.h"
#include "sound/sound.h"
#include "sound/sound_instance.h"

bool TMusicPlayer::Play(const std::string& file) {
  if (mSound && file == mFile && mSound->InstanceCount() > 0) return true;
  Stop();
  std::shared_ptr<TSound> sound = TSound::GetSound(file, false, TSoundLink::kMusicGroup);
  if (!sound || !sound->Play(true)) return false;
  mSound = std::move(sound);
  mFile = file;
  return true;
}

void TMusicPlayer::Stop() {
  if (mSound) mSound->StopAll();
  mSound.reset();
  mFile.clear();
}
