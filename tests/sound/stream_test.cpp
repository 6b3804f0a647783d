// Streams from the device's side: what comes out sample for sample, how loops join, when
// one-shot sounds end and where their end is heard, and what damaged files do.
#include <thread>

#include "sound/sound_buffer.h"
#include "sound/sound_data.h"
#include "sound/sound_end_listener.h"
#include "sound/sound_instance.h"
#include "sound/sound_stream.h"
#include "tests/sound/sound_fixture.h"

namespace {

// Two tones, so no stretch of the signal repeats by chance.
std::vector<int16_t> Chord(double seconds, int channels = 2) {
  std::vector<int16_t> a = Sine(440, seconds, 44100, channels, 9000);
  const std::vector<int16_t> b = Sine(660.5, seconds, 44100, channels, 6000);
  for (size_t i = 0; i < a.size(); ++i) a[i] = static_cast<int16_t>(a[i] + b[i]);
  return a;
}

class TRecordingListener : public TSoundEndListener {
 public:
  void OnSoundEnded(const std::shared_ptr<TSoundInstance>& instance,
                    const std::shared_ptr<TSound>& sound) override {
    ++calls;
    thread = std::this_thread::get_id();
    lastInstance = instance;
    lastSound = sound;
  }
  int calls = 0;
  std::thread::id thread;
  std::shared_ptr<TSoundInstance> lastInstance;
  std::shared_ptr<TSound> lastSound;
};

}  // namespace

TEST_F(SoundTest, ALoopingSoundJoinsItsEndToItsStartSampleForSample) {
  // Streamed from the file (0.7 s, shorter than a buffer half) and decoded at once (0.3 s,
  // so each read of a half wraps round it several times).
  for (const auto& [seconds, preload] : {std::pair{0.7, false}, std::pair{0.3, true}}) {
    const std::vector<uint8_t> encoded = EncodeVorbis(Chord(seconds), 2, 44100);
    const std::vector<int16_t> decoded = DecodeVorbis(encoded);
    ASSERT_FALSE(decoded.empty());
    const std::string name = "audio/test/loop" + std::to_string(preload) + ".ogg";
    AddFile(name, encoded);
    std::shared_ptr<TSound> sound = TSound::GetSound(name, preload, TSoundLink::kMusicGroup);
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->Data()->IsDecoded(), preload);
    ASSERT_TRUE(sound->Play(true));
    const std::vector<int16_t> out = Run(3000);
    for (size_t i = 0; i < out.size(); ++i)
      ASSERT_EQ(out[i], decoded[i % decoded.size()]) << "sample " << i << ", " << seconds << " s";
    EXPECT_TRUE(sound->StopAll());
  }
}

TEST_F(SoundTest, StreamingFromTheFileAndFromMemoryGiveTheSameSamples) {
  // 3 s keeps its decoder either way; 1 s is decoded at once when preloaded.
  for (double seconds : {3.0, 1.0}) {
    const std::vector<uint8_t> encoded = EncodeVorbis(Chord(seconds), 2, 44100);
    const std::vector<int16_t> decoded = DecodeVorbis(encoded);
    const std::string name =
        "audio/test/piece" + std::to_string(static_cast<int>(seconds)) + ".ogg";
    AddFile(name, encoded);
    std::vector<std::vector<int16_t>> outputs;
    for (bool preload : {false, true}) {
      std::shared_ptr<TSound> sound = TSound::GetSound(name, preload, 0);
      ASSERT_TRUE(sound);
      EXPECT_EQ(sound->Data()->IsDecoded(), preload && seconds <= 2.0);
      ASSERT_TRUE(sound->Play(false));
      outputs.push_back(Run(static_cast<int>(seconds * 1000) + 3000));
      EXPECT_EQ(manager->StreamCount(), 0u) << "the stream ended";
    }
    EXPECT_EQ(outputs[0], outputs[1]) << seconds << " s";
    ASSERT_GE(outputs[0].size(), decoded.size());
    EXPECT_TRUE(std::equal(decoded.begin(), decoded.end(), outputs[0].begin()));
    EXPECT_TRUE(Silent(outputs[0], decoded.size()));
  }
}

TEST_F(SoundTest, AOneShotEndsAfterItsBufferAndItsListenerRunsOnTheMainThread) {
  const std::vector<uint8_t> encoded = EncodeVorbis(Chord(1.5), 2, 44100);
  const std::vector<int16_t> decoded = DecodeVorbis(encoded);
  AddFile("audio/test/effect.ogg", encoded);
  std::shared_ptr<TSound> sound = TSound::GetSound("audio/test/effect.ogg", true, 0);
  ASSERT_TRUE(sound);
  EXPECT_TRUE(sound->Data()->IsDecoded());
  TRecordingListener listener;
  {
    std::shared_ptr<TSoundInstance> instance = sound->Play(false);
    ASSERT_TRUE(instance);
    instance->SetEndListener(&listener);
    EXPECT_EQ(listener.WatchedCount(), 1u);
    EXPECT_TRUE(instance->Stream()->Buffer()->IsPlaying());
  }  // the caller lets go; the sound keeps its live instance

  std::vector<int16_t> out;
  int endedAt = -1;
  for (int t = 10; t <= 4000 && endedAt < 0; t += 10) {
    time.Advance(10);
    device->Render(kPeriodFrames, out);
    if (t % 50 == 0) {
      // The service pass runs on a thread of its own, as in the program.
      std::thread soundThread([this] { manager->Tick(); });
      soundThread.join();
      if (manager->RetiredCount() > 0) {
        endedAt = t;
        EXPECT_EQ(listener.calls, 0) << "nothing is told on the sound thread";
      }
    }
    manager->FrameUpdate();
  }
  // It ends once the buffer has played past the sound (the 2-second buffer stops at its
  // end; the service pass notices within half a second).
  EXPECT_GE(endedAt, 2000);
  EXPECT_LE(endedAt, 2600);
  EXPECT_EQ(listener.calls, 1);
  EXPECT_EQ(listener.thread, std::this_thread::get_id());
  EXPECT_EQ(listener.lastSound, sound);
  ASSERT_TRUE(listener.lastInstance);
  EXPECT_FALSE(listener.lastInstance->IsPlaying());
  EXPECT_EQ(listener.WatchedCount(), 0u);
  EXPECT_EQ(sound->InstanceCount(), 0u);
  EXPECT_EQ(manager->StreamCount(), 0u);
  EXPECT_EQ(manager->RetiredCount(), 0u);
  EXPECT_TRUE(std::equal(decoded.begin(), decoded.end(), out.begin()));
  EXPECT_TRUE(Silent(out, decoded.size()));
}

TEST_F(SoundTest, StopAllSilencesALoopingPieceAtOnceAndTellsNoListener) {
  AddFile("audio/test/music.ogg", EncodeVorbis(Chord(2.5), 2, 44100));
  std::shared_ptr<TSound> music = TSound::GetSound("audio/test/music.ogg", false, 1001);
  TRecordingListener listener;
  music->Play(true)->SetEndListener(&listener);
  // A looping piece never ends by itself.
  EXPECT_FALSE(Silent(Run(6000)));
  EXPECT_EQ(music->InstanceCount(), 1u);
  EXPECT_TRUE(music->StopAll());
  EXPECT_TRUE(Silent(Run(500)));
  EXPECT_EQ(manager->StreamCount(), 0u);
  EXPECT_EQ(music->InstanceCount(), 0u);
  EXPECT_EQ(listener.calls, 0);
  EXPECT_EQ(listener.WatchedCount(), 0u);
  EXPECT_FALSE(music->StopAll()) << "nothing left to stop";
}

TEST_F(SoundTest, DamagedFilesPlayWhatCanBeReadAndEnd) {
  // Noise under the chord fills many pages, so a cut keeps some of them.
  std::vector<int16_t> signal = Chord(3.0);
  uint32_t seed = 1;
  for (int16_t& sample : signal) {
    seed = seed * 1664525u + 1013904223u;
    sample = static_cast<int16_t>(sample + static_cast<int>(seed >> 20) - 2048);
  }
  const std::vector<uint8_t> encoded = EncodeVorbis(signal, 2, 44100);
  // Cut in the middle of a page, and scribbled over in the middle.
  std::vector<uint8_t> cut(encoded.begin(), encoded.begin() + encoded.size() * 55 / 100);
  std::vector<uint8_t> scribbled = encoded;
  for (size_t i = scribbled.size() * 4 / 10; i < scribbled.size() * 5 / 10; ++i)
    scribbled[i] = static_cast<uint8_t>(i * 37);
  AddFile("audio/test/cut.ogg", cut);
  AddFile("audio/test/scribbled.ogg", scribbled);
  for (const char* name : {"audio/test/cut.ogg", "audio/test/scribbled.ogg"}) {
    for (bool preload : {false, true}) {
      std::shared_ptr<TSound> sound = TSound::GetSound(name, preload, 0);
      ASSERT_TRUE(sound) << name;
      std::shared_ptr<TSoundInstance> instance = sound->Play(false);
      ASSERT_TRUE(instance);
      const std::vector<int16_t> out = Run(6000);
      EXPECT_FALSE(instance->IsPlaying()) << name;
      EXPECT_GT(Rms(out, 0, 44100), 1000.0) << name << ": the good start plays";
      EXPECT_TRUE(Silent(out, 4 * 44100 * 2)) << name;
    }
  }
}

TEST_F(SoundTest, AFormatTheMixerCannotTakePlaysSilentlyForItsLength) {
  AddFile("audio/test/surround.ogg", EncodeVorbis(Chord(1.0, 3), 3, 44100));
  std::shared_ptr<TSound> sound = TSound::GetSound("audio/test/surround.ogg", true, 0);
  ASSERT_TRUE(sound);
  std::shared_ptr<TSoundInstance> instance = sound->Play(false);
  ASSERT_TRUE(instance);
  EXPECT_EQ(instance->Stream()->Buffer(), nullptr);
  EXPECT_NE(LogText().find("cannot be played; it plays silently"), std::string::npos);
  EXPECT_TRUE(Silent(Run(900)));
  EXPECT_TRUE(instance->IsPlaying());
  Run(700);
  EXPECT_FALSE(instance->IsPlaying());
}

TEST_F(SoundTest, ASoundReleasedWhilePlayingPlaysOutItsBufferAndEnds) {
  AddFile("audio/test/long.ogg", EncodeVorbis(Chord(4.0), 2, 44100));
  TRecordingListener listener;
  {
    std::shared_ptr<TSound> sound = TSound::GetSound("audio/test/long.ogg", false, 0);
    sound->Play(false)->SetEndListener(&listener);
  }
  EXPECT_EQ(listener.WatchedCount(), 0u) << "the instance went with its sound";
  const std::vector<int16_t> out = Run(4000);
  // The first half of the buffer was filled when it started; the rest finds no sound.
  EXPECT_GT(Rms(out, 0, 44100), 5000.0);
  EXPECT_TRUE(Silent(out, 44100 * 2));
  EXPECT_EQ(manager->StreamCount(), 0u);
  EXPECT_EQ(listener.calls, 0);
}
