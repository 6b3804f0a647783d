#include "campaign/location_music.h"

#include "frame/application.h"

void TLocationMusic::Play() {
  if (TSoundLink* sound = mApp.GetSoundManager()) sound->PlayMusic(kFile);
}

void TLocationMusic::Stop() {
  if (IsPlaying()) mApp.GetSoundManager()->StopMusic();
}

bool TLocationMusic::IsPlaying() const {
  const TSoundLink* sound = mApp.GetSoundManager();
  return sound && sound->CurrentMusic() == kFile;
}
