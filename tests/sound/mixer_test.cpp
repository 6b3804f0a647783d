// The mixer and its buffers measured by numbers: levels, saturation, positions, events.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "sound/sound_buffer.h"
#include "sound/sound_mixer.h"
#include "sound/sound_volume.h"
#include "tests/sound/sound_test_support.h"

namespace {

TSoundFormat Format(int channels, int rate) {
  TSoundFormat format;
  format.channels = channels;
  format.rate = rate;
  return format;
}

// Writes samples into the buffer from its start through Lock and Unlock.
void Fill(TSoundBuffer& buffer, const std::vector<int16_t>& samples) {
  TSoundBuffer::TRegion region;
  const uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
  ASSERT_TRUE(buffer.Lock(0, bytes, region));
  std::memcpy(region.first, samples.data(), region.firstBytes);
  buffer.Unlock(region);
}

std::vector<int16_t> Render(TSoundMixer& mixer, int frames) {
  std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
  mixer.Render(out.data(), frames);
  return out;
}

// Upward zero crossings of the left channel per second.
double Frequency(const std::vector<int16_t>& stereo, int rate) {
  int crossings = 0;
  for (size_t i = 2; i < stereo.size(); i += 2)
    if (stereo[i - 2] < 0 && stereo[i] >= 0) ++crossings;
  return crossings * static_cast<double>(rate) / (stereo.size() / 2);
}

}  // namespace

TEST(SoundVolume, LinearVolumesBecomeHundredthsOfADecibelAndGains) {
  EXPECT_EQ(VolumeToHundredths(0.0f), -10000);
  EXPECT_EQ(VolumeToHundredths(0.5f), -2500);
  EXPECT_EQ(VolumeToHundredths(1.0f), 0);
  EXPECT_EQ(VolumeToHundredths(2.0f), 0);
  EXPECT_EQ(VolumeToHundredths(-1.0f), -10000);
  EXPECT_EQ(VolumeToHundredths(std::nanf("")), -10000);
  EXPECT_EQ(VolumeToHundredths(0.75f), -1250);
  EXPECT_DOUBLE_EQ(HundredthsToGain(0), 1.0);
  EXPECT_DOUBLE_EQ(HundredthsToGain(-10000), 0.0);
  EXPECT_NEAR(HundredthsToGain(-600), 0.501187, 1e-6);
}

TEST(SoundMixer, ASineComesOutAtTheLevelOfItsVolume) {
  auto mixer = TSoundMixer::Create();
  auto buffer = mixer->CreateBuffer(Format(2, 44100), 44100 * 4);
  ASSERT_TRUE(buffer);
  const double amplitude = 16000;
  Fill(*buffer, Sine(1000, 1.0, 44100, 2, amplitude));
  buffer->Play(true);
  const double full = Rms(Render(*mixer, 44100), 0, 44100, 2);
  EXPECT_NEAR(Decibels(full / (amplitude / std::sqrt(2.0))), 0.0, 0.5);
  for (int hundredths : {-600, -2500, -5000}) {
    buffer->SetVolume(hundredths);
    EXPECT_EQ(buffer->Volume(), hundredths);
    const double level = Rms(Render(*mixer, 44100), 0, 44100, 2);
    EXPECT_NEAR(Decibels(level / full), hundredths / 100.0, 0.5) << hundredths;
  }
  buffer->SetVolume(-10000);
  for (int16_t sample : Render(*mixer, 4410)) ASSERT_EQ(sample, 0);
}

TEST(SoundMixer, ABufferAtFullVolumePassesItsSamplesUnchanged) {
  auto mixer = TSoundMixer::Create();
  auto buffer = mixer->CreateBuffer(Format(2, 44100), 4410 * 4);
  const std::vector<int16_t> sine = Sine(441, 0.1, 44100, 2, 32767);
  Fill(*buffer, sine);
  buffer->Play(false);
  EXPECT_EQ(Render(*mixer, 4410), sine);
}

TEST(SoundMixer, OtherRatesAndMonoAreResampledToTheDevice) {
  auto mixer = TSoundMixer::Create();
  // Half a second of a 500 Hz mono sine at 22050 Hz, looping.
  auto buffer = mixer->CreateBuffer(Format(1, 22050), 22050);
  ASSERT_TRUE(buffer);
  Fill(*buffer, Sine(500, 0.5, 22050, 1, 12000));
  buffer->Play(true);
  const std::vector<int16_t> out = Render(*mixer, 44100);
  EXPECT_NEAR(Frequency(out, 44100), 500.0, 5.0);
  EXPECT_NEAR(Decibels(Rms(out, 0, 44100, 2) / (12000 / std::sqrt(2.0))), 0.0, 0.5);
  EXPECT_NEAR(Decibels(Rms(out, 1, 44100, 2) / (12000 / std::sqrt(2.0))), 0.0, 0.5);
  uint32_t play = 0, write = 0;
  buffer->GetCurrentPosition(play, write);
  // One second of output consumed a second of the buffer's samples: two rounds exactly.
  EXPECT_EQ(play, 0u);
}

TEST(SoundMixer, FullScaleSourcesSaturateInsteadOfWrapping) {
  auto mixer = TSoundMixer::Create();
  auto loud = mixer->CreateBuffer(Format(2, 44100), 400);
  auto louder = mixer->CreateBuffer(Format(1, 44100), 200);
  Fill(*loud, std::vector<int16_t>(200, 32767));
  Fill(*louder, std::vector<int16_t>(100, 32767));
  loud->Play(true);
  louder->Play(true);
  for (int16_t sample : Render(*mixer, 300)) ASSERT_EQ(sample, 32767);
  Fill(*loud, std::vector<int16_t>(200, -32768));
  Fill(*louder, std::vector<int16_t>(100, -32768));
  for (int16_t sample : Render(*mixer, 300)) ASSERT_EQ(sample, -32768);
}

TEST(SoundMixer, PositionsAndEventsFollowTheDeviceAcrossATwoSecondBuffer) {
  auto mixer = TSoundMixer::Create();
  const uint32_t size = 2 * 44100 * 4;
  auto buffer = mixer->CreateBuffer(Format(2, 44100), size);
  auto atStart = std::make_shared<TSoundEvent>();
  auto atMiddle = std::make_shared<TSoundEvent>();
  auto atStop = std::make_shared<TSoundEvent>();
  ASSERT_TRUE(buffer->SetNotificationPositions(
      {{0, atStart}, {size / 2, atMiddle}, {TSoundNotification::kStop, atStop}}));
  uint32_t play = 1, write = 1;
  buffer->GetCurrentPosition(play, write);
  EXPECT_EQ(play, 0u);
  EXPECT_EQ(write, 0u);

  buffer->Play(true);
  // The device asks for 10 ms at a time: 441 frames, 1764 bytes, 200 periods a round.
  const uint32_t period = 441 * 4;
  const uint32_t lead = 441 * 4;
  std::vector<int16_t> out(441 * 2);
  for (int k = 0; k < 450; ++k) {
    mixer->Render(out.data(), 441);
    buffer->GetCurrentPosition(play, write);
    ASSERT_EQ(play, (static_cast<uint64_t>(k + 1) * period) % size) << k;
    ASSERT_EQ(write, (play + lead) % size) << k;
    ASSERT_EQ(atMiddle->Take(), k % 200 == 99) << k;
    ASSERT_EQ(atStart->Take(), k % 200 == 199) << k;
    ASSERT_FALSE(atStop->Take()) << k;
  }
  // Notifications cannot change while the buffer plays.
  EXPECT_FALSE(buffer->SetNotificationPositions({}));
  buffer->Stop();
  EXPECT_TRUE(atStop->Take());
  EXPECT_FALSE(buffer->IsPlaying());
  buffer->GetCurrentPosition(play, write);
  EXPECT_EQ(play, 50u * period);
  EXPECT_EQ(write, play);
  // A stopped buffer stands still.
  mixer->Render(out.data(), 441);
  buffer->GetCurrentPosition(play, write);
  EXPECT_EQ(play, 50u * period);
}

TEST(SoundMixer, OneShotPlayStopsAtTheEndAndReturnsToTheStart) {
  auto mixer = TSoundMixer::Create();
  auto buffer = mixer->CreateBuffer(Format(2, 44100), 1000 * 4);
  auto atStop = std::make_shared<TSoundEvent>();
  buffer->SetNotificationPositions({{TSoundNotification::kStop, atStop}});
  Fill(*buffer, std::vector<int16_t>(2000, 1000));
  buffer->Play(false);
  const std::vector<int16_t> out = Render(*mixer, 1500);
  EXPECT_EQ(out[1999], 1000);
  EXPECT_EQ(out[2000], 0);
  EXPECT_EQ(out[2999], 0);
  EXPECT_FALSE(buffer->IsPlaying());
  EXPECT_TRUE(atStop->Take());
  uint32_t play = 1, write = 1;
  buffer->GetCurrentPosition(play, write);
  EXPECT_EQ(play, 0u);
  EXPECT_EQ(write, 0u);
}

TEST(SoundMixer, WrittenDataReachesTheDeviceWhenUnlocked) {
  auto mixer = TSoundMixer::Create();
  auto buffer = mixer->CreateBuffer(Format(2, 44100), 100 * 4);
  buffer->Play(true);
  TSoundBuffer::TRegion region;
  // A stretch over the end of the ring comes in two parts.
  ASSERT_TRUE(buffer->Lock(300, 200, region));
  EXPECT_EQ(region.firstBytes, 100u);
  EXPECT_EQ(region.secondBytes, 100u);
  TSoundBuffer::TRegion second;
  EXPECT_FALSE(buffer->Lock(0, 4, second)) << "one lock at a time";
  std::memset(region.first, 0x11, region.firstBytes);
  std::memset(region.second, 0x22, region.secondBytes);
  for (int16_t sample : Render(*mixer, 100)) ASSERT_EQ(sample, 0);
  buffer->Unlock(region);
  const std::vector<int16_t> out = Render(*mixer, 100);
  EXPECT_EQ(out[0], 0x2222);
  EXPECT_EQ(out[49], 0x2222);
  EXPECT_EQ(out[50], 0);
  EXPECT_EQ(out[150], 0x1111);
  EXPECT_FALSE(buffer->Lock(400, 4, region));
  EXPECT_FALSE(buffer->Lock(0, 404, region));
}

TEST(SoundMixer, RefusesFormatsItCannotPlay) {
  auto mixer = TSoundMixer::Create();
  EXPECT_FALSE(mixer->CreateBuffer(Format(3, 44100), 6000));
  EXPECT_FALSE(mixer->CreateBuffer(Format(2, 500), 4000));
  EXPECT_FALSE(mixer->CreateBuffer(Format(2, 400000), 4000));
  TSoundFormat eightBit = Format(1, 44100);
  eightBit.bits = 8;
  EXPECT_FALSE(mixer->CreateBuffer(eightBit, 4000));
  EXPECT_FALSE(mixer->CreateBuffer(Format(2, 44100), 6)) << "not a whole frame";
  EXPECT_FALSE(mixer->CreateBuffer(Format(2, 44100), 0));
  EXPECT_EQ(mixer->BufferCount(), 0u);
  {
    auto buffer = mixer->CreateBuffer(Format(1, 8000), 2);
    EXPECT_EQ(mixer->BufferCount(), 1u);
  }
  EXPECT_EQ(mixer->BufferCount(), 0u);
}
