#include "tests/sound/sound_test_support.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>

#include "sound/vorbis_decoder.h"

std::vector<int16_t> Sine(double frequency, double seconds, int rate, int channels,
                          double amplitude) {
  const size_t frames = static_cast<size_t>(seconds * rate);
  std::vector<int16_t> samples(frames * static_cast<size_t>(channels));
  for (size_t i = 0; i < frames; ++i) {
    const double value = amplitude * std::sin(2 * std::numbers::pi * frequency * i / rate);
    for (int c = 0; c < channels; ++c)
      samples[i * channels + c] = static_cast<int16_t>(std::lround(value));
  }
  return samples;
}

namespace {

void AppendPage(const ogg_page& page, std::vector<uint8_t>& out) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

// Moves every finished packet of the encoder into pages.
void Drain(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream,
           std::vector<uint8_t>& out) {
  ogg_packet packet;
  ogg_page page;
  while (vorbis_analysis_blockout(&dsp, &block) == 1) {
    vorbis_analysis(&block, nullptr);
    vorbis_bitrate_addblock(&block);
    while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
      ogg_stream_packetin(&stream, &packet);
      while (ogg_stream_pageout(&stream, &page)) AppendPage(page, out);
    }
  }
}

}  // namespace

std::vector<uint8_t> EncodeVorbis(const std::vector<int16_t>& interleaved, int channels, int rate,
                                  float quality) {
  std::vector<uint8_t> out;
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
    vorbis_info_clear(&info);
    return out;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1234);

  ogg_packet header, commentHeader, codeHeader;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentHeader);
  ogg_stream_packetin(&stream, &codeHeader);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page)) AppendPage(page, out);

  const size_t frames = interleaved.size() / static_cast<size_t>(channels);
  for (size_t start = 0; start < frames; start += 1024) {
    const size_t count = std::min<size_t>(1024, frames - start);
    float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
    for (size_t i = 0; i < count; ++i)
      for (int c = 0; c < channels; ++c)
        buffer[c][i] = interleaved[(start + i) * channels + c] / 32768.0f;
    vorbis_analysis_wrote(&dsp, static_cast<int>(count));
    Drain(dsp, block, stream, out);
  }
  vorbis_analysis_wrote(&dsp, 0);
  Drain(dsp, block, stream, out);
  while (ogg_stream_flush(&stream, &page)) AppendPage(page, out);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

std::vector<int16_t> DecodeVorbis(const std::vector<uint8_t>& encoded) {
  std::vector<int16_t> samples;
  std::unique_ptr<TVorbisDecoder> decoder = TVorbisDecoder::FromMemory(encoded, "test");
  if (!decoder) return samples;
  std::vector<uint8_t> chunk(65536);
  for (;;) {
    const size_t got = decoder->Decode(chunk.data(), chunk.size());
    if (got == 0) break;
    const size_t old = samples.size();
    samples.resize(old + got / 2);
    std::memcpy(samples.data() + old, chunk.data(), got);
  }
  return samples;
}

double Rms(const std::vector<int16_t>& samples, size_t first, size_t count, size_t stride) {
  double sum = 0;
  size_t n = 0;
  for (size_t i = first; i < first + count * stride && i < samples.size(); i += stride, ++n)
    sum += static_cast<double>(samples[i]) * samples[i];
  return n ? std::sqrt(sum / n) : 0.0;
}

double Decibels(double ratio) {
  return 20.0 * std::log10(ratio);
}

bool TTestDevice::Open(TSoundRenderer& renderer) {
  mRenderer = &renderer;
  return true;
}

void TTestDevice::Render(int frames, std::vector<int16_t>& out) {
  const size_t old = out.size();
  out.resize(old + static_cast<size_t>(frames) * 2, 0);
  if (mRenderer) mRenderer->Render(out.data() + old, frames);
}
