// The manager from the game's side: loading and sharing sounds, volumes and muting on live
// streams, the background switch, music and effects through the frame's link, and the
// silent playback without a device.
#include "sound/sound_buffer.h"
#include "sound/sound_data.h"
#include "sound/sound_instance.h"
#include "sound/sound_stream.h"
#include "tests/sound/sound_fixture.h"

namespace {

std::vector<uint8_t> Tone(double seconds) {
  return EncodeVorbis(Sine(523.25, seconds, 44100, 2, 12000), 2, 44100);
}

}  // namespace

TEST_F(SoundTest, SoundsAreSharedByNameLoadOptionAndGroup) {
  AddFile("audio/test/tone.ogg", Tone(0.5));
  std::shared_ptr<TSound> effect = TSound::GetSound("audio/test/tone.ogg", true, 0);
  ASSERT_TRUE(effect);
  EXPECT_EQ(TSound::GetSound("audio/test/tone.ogg", true, 0), effect);
  std::shared_ptr<TSound> grouped = TSound::GetSound("audio/test/tone.ogg?group=1001", true, 0);
  ASSERT_TRUE(grouped);
  EXPECT_NE(grouped, effect);
  EXPECT_EQ(grouped->Group(), 1001);
  EXPECT_EQ(grouped->Name(), "audio/test/tone.ogg");
  EXPECT_EQ(TSound::GetSound("audio/test/tone.ogg", false, 1001),
            TSound::GetSound("audio/test/tone.ogg", false, 1001));
  EXPECT_NE(TSound::GetSound("audio/test/tone.ogg", false, 0), effect);
  EXPECT_NEAR(effect->Duration(), 0.5, 0.01);
}

TEST_F(SoundTest, MissingAndBrokenFilesGiveNoSound) {
  AddFile("audio/test/noise.ogg", std::vector<uint8_t>(5000, 0x5A));
  AddFile("audio/test/tone.wav", Tone(0.2));
  EXPECT_FALSE(TSound::GetSound("", true, 0));
  EXPECT_FALSE(TSound::GetSound("audio/test/missing.ogg", true, 0));
  EXPECT_FALSE(TSound::GetSound("audio/test/noise.ogg", true, 0));
  EXPECT_FALSE(TSound::GetSound("audio/test/noise.ogg", false, 0));
  EXPECT_FALSE(TSound::GetSound("audio/test/tone.wav", true, 0));
  const std::string log = LogText();
  EXPECT_NE(log.find("OGG file not found: audio/test/missing.ogg"), std::string::npos);
  EXPECT_NE(log.find("OGG file could not be opened"), std::string::npos);
}

TEST_F(SoundTest, PlayWithoutASoundManagerLogsAndGivesNothing) {
  AddFile("audio/test/tone.ogg", Tone(0.2));
  std::shared_ptr<TSound> sound = TSound::GetSound("audio/test/tone.ogg", true, 0);
  manager.reset();
  EXPECT_FALSE(sound->Play(false));
  EXPECT_NE(LogText().find("No Sound Manager"), std::string::npos);
}

TEST_F(SoundTest, GroupAndMasterVolumesActOnLiveStreams) {
  AddFile("audio/test/music.ogg", Tone(3.0));
  std::shared_ptr<TSound> music = TSound::GetSound("audio/test/music.ogg", false, 1001);
  std::shared_ptr<TSoundInstance> instance = music->Play(true);
  TSoundBuffer* buffer = instance->Stream()->Buffer();
  ASSERT_TRUE(buffer);
  const double full = Rms(Run(300), 0, 300 * 88);
  EXPECT_GT(full, 5000);

  manager->SetGroupVolume(1001, 0.5f);
  EXPECT_EQ(buffer->Volume(), -2500);
  EXPECT_FLOAT_EQ(manager->GroupVolume(1001), 0.5f);
  EXPECT_NEAR(Decibels(Rms(Run(300), 0, 300 * 88) / full), -25.0, 0.5);

  manager->SetGroupVolume(1001, 0.0f);
  EXPECT_EQ(buffer->Volume(), -10000);
  EXPECT_TRUE(Silent(Run(200)));

  manager->SetGroupVolume(1001, 1.0f);
  manager->SetMasterVolume(0.0f);
  EXPECT_EQ(buffer->Volume(), -10000);
  EXPECT_FLOAT_EQ(manager->GroupVolume(1001), 0.0f);
  EXPECT_FLOAT_EQ(manager->GroupVolume(7), 0.0f) << "a group without a volume of its own";
  EXPECT_TRUE(Silent(Run(200)));

  manager->SetMasterVolume(0.8f);
  manager->SetGroupVolume(1001, 0.5f);
  EXPECT_FLOAT_EQ(manager->GroupVolume(1001), 0.4f);
  EXPECT_FLOAT_EQ(manager->GroupSetting(1001), 0.5f);
  EXPECT_EQ(buffer->Volume(), -3000);
  // A stream started now takes its group's volume at once.
  AddFile("audio/test/blip.ogg", Tone(0.3));
  std::shared_ptr<TSoundInstance> blip =
      TSound::GetSound("audio/test/blip.ogg", true, 1001)->Play(false);
  EXPECT_EQ(blip->Stream()->Buffer()->Volume(), -3000);
}

TEST_F(SoundTest, TheBackgroundSwitchPausesOnlyWhatItResumes) {
  AddFile("audio/test/music.ogg", Tone(3.0));
  AddFile("audio/test/hum.ogg", Tone(1.0));
  std::shared_ptr<TSound> music = TSound::GetSound("audio/test/music.ogg", false, 1001);
  std::shared_ptr<TSound> hum = TSound::GetSound("audio/test/hum.ogg", true, 0);
  std::shared_ptr<TSoundInstance> playing = music->Play(true);
  std::shared_ptr<TSoundInstance> pausedByGame = hum->Play(true);
  Run(300);
  pausedByGame->Pause(true);
  uint32_t before = 0, write = 0;
  playing->Stream()->Buffer()->GetCurrentPosition(before, write);

  manager->SetEnabled(false);
  EXPECT_TRUE(playing->Stream()->IsPaused());
  EXPECT_TRUE(Silent(Run(1500)));
  uint32_t after = 0;
  playing->Stream()->Buffer()->GetCurrentPosition(after, write);
  EXPECT_EQ(after, before) << "a paused buffer stands still";
  // Sounds started in the background wait for the program to come back.
  std::shared_ptr<TSoundInstance> late = hum->Play(false);
  EXPECT_TRUE(late->Stream()->IsPaused());
  EXPECT_TRUE(late->IsPlaying());

  manager->SetEnabled(true);
  EXPECT_FALSE(playing->Stream()->IsPaused());
  EXPECT_FALSE(late->Stream()->IsPaused());
  EXPECT_TRUE(pausedByGame->Stream()->IsPaused());
  EXPECT_FALSE(Silent(Run(300)));
  EXPECT_TRUE(playing->IsPlaying()) << "the background pause did not end the loop";
}

TEST_F(SoundTest, TheLinkPlaysOneMusicPieceAndEffectsThatFinish) {
  AddFile("audio/music/a.ogg", Tone(2.5));
  AddFile("audio/music/b.ogg", Tone(2.5));
  AddFile("audio/sfx/click.ogg", Tone(0.2));
  TSoundLink& link = *manager;
  EXPECT_TRUE(link.PlayMusic("audio/music/a.ogg"));
  EXPECT_EQ(link.CurrentMusic(), "audio/music/a.ogg");
  EXPECT_EQ(manager->StreamCount(), 1u);
  // The same piece keeps playing; another replaces it.
  EXPECT_TRUE(link.PlayMusic("audio/music/a.ogg"));
  EXPECT_EQ(manager->StreamCount(), 1u);
  EXPECT_TRUE(link.PlayMusic("audio/music/b.ogg"));
  EXPECT_EQ(link.CurrentMusic(), "audio/music/b.ogg");
  EXPECT_EQ(manager->StreamCount(), 1u);
  EXPECT_FALSE(link.PlayMusic("audio/music/missing.ogg"));
  EXPECT_EQ(link.CurrentMusic(), "");
  EXPECT_EQ(manager->StreamCount(), 0u);
  EXPECT_TRUE(link.PlayMusic("audio/music/b.ogg"));
  link.StopMusic();
  EXPECT_EQ(manager->StreamCount(), 0u);
  EXPECT_TRUE(Silent(Run(100)));

  // Nobody holds the effect's sound, yet it plays to its end.
  EXPECT_TRUE(link.PlayEffect("audio/sfx/click.ogg"));
  const std::vector<int16_t> out = Run(3000);
  EXPECT_GT(Rms(out, 0, 0.2 * 44100 * 2), 5000);
  EXPECT_EQ(manager->StreamCount(), 0u);
  EXPECT_FALSE(link.PlayEffect("audio/sfx/missing.ogg"));
}

TEST_F(SoundTest, WithoutADeviceSoundsKeepTheirTimingSilently) {
  StartManager(false);
  EXPECT_FALSE(manager->IsInitialised());
  AddFile("audio/test/effect.ogg", Tone(1.5));
  AddFile("audio/test/music.ogg", Tone(1.0));
  std::shared_ptr<TSound> effect = TSound::GetSound("audio/test/effect.ogg", true, 0);
  std::shared_ptr<TSound> music = TSound::GetSound("audio/test/music.ogg", false, 1001);
  std::shared_ptr<TSoundInstance> once = effect->Play(false);
  std::shared_ptr<TSoundInstance> loop = music->Play(true);
  EXPECT_EQ(once->Stream()->Buffer(), nullptr);
  // Service passes come every 550 ms here (the first pass after 500 ms on 50 ms ticks).
  Run(1100);
  EXPECT_TRUE(once->IsPlaying());
  Run(550);
  EXPECT_FALSE(once->IsPlaying()) << "ended at the first pass after its 1.5 s";
  Run(5000);
  EXPECT_TRUE(loop->IsPlaying()) << "a loop restarts its clock";

  // A pause holds the clock: paused for a second, the sound lasts a second longer.
  std::shared_ptr<TSoundInstance> paused = effect->Play(false);
  Run(550);
  paused->Pause(true);
  Run(1100);
  paused->Pause(false);
  Run(700);
  EXPECT_TRUE(paused->IsPlaying()) << "1.25 s of its 1.5 s played";
  Run(550);
  EXPECT_FALSE(paused->IsPlaying());

  EXPECT_TRUE(music->StopAll());
  EXPECT_FALSE(loop->IsPlaying());
}
