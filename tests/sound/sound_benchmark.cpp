// What sound costs per second of output. Each iteration produces (or decodes) one second of
// sound; the counter core_percent is the share of one core that takes: CPU seconds per
// second of sound, times 100.
//   MixSixteenVoices     the mixer alone: 16 playing buffers (two 2-second music buffers,
//                        eight effects at the device rate, four mono effects at 22050 Hz and
//                        two at 48000 Hz, both resampled)
//   DecodeVorbisMusic    decoding the main-menu music (44100 Hz stereo) from memory
//   SoundSystemSixteen   everything the program does: 16 streams (two pieces of music
//                        decoded from their files while they play, 14 effects decoded once)
//                        with the sound thread's service passes and the frame updates
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "files/file_system.h"
#include "frame/application_time.h"
#include "sound/sound.h"
#include "sound/sound_buffer.h"
#include "sound/sound_manager.h"
#include "sound/sound_mixer.h"
#include "sound/vorbis_decoder.h"
#include "tests/sound/sound_test_support.h"

namespace {

constexpr int kRate = 44100;
constexpr int kPeriod = 1024;

// The process's CPU time over the iterations, reported per iteration (one second of sound)
// as a share of one core in percent. Only the benchmark's own thread works meanwhile.
class TCoreShare {
 public:
  void Report(benchmark::State& state) const {
    const double seconds = static_cast<double>(std::clock() - mStart) / CLOCKS_PER_SEC;
    state.counters["core_percent"] = 100.0 * seconds / static_cast<double>(state.iterations());
  }

 private:
  std::clock_t mStart = std::clock();
};

// The shipped main-menu music, or a stand-in when the content was not built.
const std::vector<uint8_t>& Music() {
  static const std::vector<uint8_t> bytes = [] {
    std::ifstream in(MC_MUSIC_FILE, std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    if (!file.empty()) return file;
    std::vector<int16_t> chord = Sine(440, 20.0, kRate, 2, 8000);
    const std::vector<int16_t> fifth = Sine(660, 20.0, kRate, 2, 6000);
    for (size_t i = 0; i < chord.size(); ++i) chord[i] = static_cast<int16_t>(chord[i] + fifth[i]);
    return EncodeVorbis(chord, 2, kRate);
  }();
  return bytes;
}

void MixSixteenVoices(benchmark::State& state) {
  auto mixer = TSoundMixer::Create();
  std::vector<std::shared_ptr<TSoundBuffer>> buffers;
  auto add = [&](int channels, int rate, double seconds) {
    TSoundFormat format;
    format.channels = channels;
    format.rate = rate;
    const std::vector<int16_t> samples = Sine(440, seconds, rate, channels, 9000);
    auto buffer = mixer->CreateBuffer(format, static_cast<uint32_t>(samples.size() * 2));
    TSoundBuffer::TRegion region;
    buffer->Lock(0, static_cast<uint32_t>(samples.size() * 2), region);
    std::copy_n(reinterpret_cast<const uint8_t*>(samples.data()), region.firstBytes, region.first);
    buffer->Unlock(region);
    buffer->SetVolume(-800);
    buffer->Play(true);
    buffers.push_back(buffer);
  };
  for (int i = 0; i < 2; ++i) add(2, kRate, 2.0);
  for (int i = 0; i < 8; ++i) add(2, kRate, 0.5);
  for (int i = 0; i < 4; ++i) add(1, 22050, 0.5);
  for (int i = 0; i < 2; ++i) add(2, 48000, 0.5);
  std::vector<int16_t> out(kPeriod * 2);
  const TCoreShare share;
  for (auto _ : state) {
    for (int done = 0; done < kRate; done += kPeriod) {
      mixer->Render(out.data(), std::min(kPeriod, kRate - done));
      benchmark::DoNotOptimize(out.data());
    }
  }
  share.Report(state);
}
BENCHMARK(MixSixteenVoices)->Unit(benchmark::kMillisecond);

void DecodeVorbisMusic(benchmark::State& state) {
  std::unique_ptr<TVorbisDecoder> decoder = TVorbisDecoder::FromMemory(Music(), "music");
  if (!decoder) {
    state.SkipWithError("the music cannot be decoded");
    return;
  }
  const size_t perSecond = static_cast<size_t>(decoder->Rate()) * decoder->Channels() * 2;
  std::vector<uint8_t> out(65536);
  const TCoreShare share;
  for (auto _ : state) {
    for (size_t done = 0; done < perSecond;) {
      const size_t got = decoder->Decode(out.data(), std::min(out.size(), perSecond - done));
      if (got == 0) {
        decoder->Seek(0);
        continue;
      }
      done += got;
    }
    benchmark::DoNotOptimize(out.data());
  }
  share.Report(state);
}
BENCHMARK(DecodeVorbisMusic)->Unit(benchmark::kMillisecond);

void SoundSystemSixteen(benchmark::State& state) {
  ResetFileSystem();
  const std::vector<uint8_t>& music = Music();
  RegisterMemoryFile("bench/music_a.ogg", music.data(), music.size());
  RegisterMemoryFile("bench/music_b.ogg", music.data(), music.size());
  static const std::vector<uint8_t> effect = EncodeVorbis(Sine(880, 0.4, kRate, 2, 9000), 2, kRate);
  RegisterMemoryFile("bench/effect.ogg", effect.data(), effect.size());

  TManualTime time(1000);
  auto device = std::make_unique<TTestDevice>();
  TTestDevice* output = device.get();
  {
    TSoundManager manager(std::move(device), false);
    manager.Init();
    std::vector<std::shared_ptr<TSound>> sounds = {
        TSound::GetSound("bench/music_a.ogg", false, 1001),
        TSound::GetSound("bench/music_b.ogg", false, 1001)};
    for (const std::shared_ptr<TSound>& sound : sounds) sound->Play(true);
    // Each effect its own sound, as different effects are.
    for (int i = 0; i < 14; ++i) {
      sounds.push_back(TSound::GetSound("bench/effect.ogg?group=" + std::to_string(i), true, 0));
      sounds.back()->Play(true);
    }
    std::vector<int16_t> out;
    int elapsed = 0;
    const TCoreShare share;
    for (auto _ : state) {
      out.clear();
      for (int period = 0; period < 100; ++period) {
        time.Advance(10);
        output->Render(441, out);
        if ((elapsed += 10) % 50 == 0) manager.Tick();
        manager.FrameUpdate();
      }
      benchmark::DoNotOptimize(out.data());
    }
    share.Report(state);
  }
  ResetFileSystem();
}
BENCHMARK(SoundSystemSixteen)->Unit(benchmark::kMillisecond);

}  // namespace
