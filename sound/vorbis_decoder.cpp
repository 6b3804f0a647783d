#include "sound/vorbis_decoder.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "files/file.h"
#include "frame/log.h"

namespace {

// Gaps the library reports and skips; a stream made of little else is treated as broken.
constexpr int kMaxHoles = 64;

}  // namespace

// The library's state and the bytes it reads: a memory copy or an open file.
struct TVorbisDecoder::TState {
  OggVorbis_File file{};
  bool open = false;
  std::vector<uint8_t> bytes;
  size_t position = 0;
  std::unique_ptr<TFile> source;

  ~TState() {
    if (open) ov_clear(&file);
  }

  size_t Read(void* out, size_t count) {
    if (source) return source->Read(out, count);
    count = std::min(count, bytes.size() - position);
    if (count) std::memcpy(out, bytes.data() + position, count);
    position += count;
    return count;
  }

  int Seek(int64_t offset, int whence) {
    if (source) {
      const int origin = whence == SEEK_SET   ? kSeekStart
                         : whence == SEEK_END ? kSeekEnd
                                              : kSeekCurrent;
      const long length = source->GetLength();
      const long base = whence == SEEK_SET ? 0 : whence == SEEK_END ? length : source->Tell();
      if (offset < -base || base + offset > length) return -1;
      source->Seek(static_cast<long>(offset), origin);
      return 0;
    }
    const int64_t size = static_cast<int64_t>(bytes.size());
    const int64_t base = whence == SEEK_SET   ? 0
                         : whence == SEEK_END ? size
                                              : static_cast<int64_t>(position);
    if (offset < -base || base + offset > size) return -1;
    position = static_cast<size_t>(base + offset);
    return 0;
  }

  long Tell() { return source ? source->Tell() : static_cast<long>(position); }

  // The library's read, seek and tell, with the state as its data source.
  static size_t ReadCallback(void* out, size_t size, size_t count, void* state) {
    if (size == 0) return 0;
    return static_cast<TState*>(state)->Read(out, size * count) / size;
  }
  static int SeekCallback(void* state, ogg_int64_t offset, int whence) {
    return static_cast<TState*>(state)->Seek(offset, whence);
  }
  static long TellCallback(void* state) { return static_cast<TState*>(state)->Tell(); }
};

TVorbisDecoder::TVorbisDecoder(std::unique_ptr<TState> state, const std::string& name)
    : mState(std::move(state)), mName(name) {}

TVorbisDecoder::~TVorbisDecoder() = default;

std::unique_ptr<TVorbisDecoder> TVorbisDecoder::FromMemory(std::vector<uint8_t> bytes,
                                                           const std::string& name) {
  auto state = std::make_unique<TState>();
  state->bytes = std::move(bytes);
  return Open(std::move(state), name);
}

std::unique_ptr<TVorbisDecoder> TVorbisDecoder::FromFile(std::unique_ptr<TFile> file,
                                                         const std::string& name) {
  if (!file || !file->IsOpen()) return nullptr;
  auto state = std::make_unique<TState>();
  state->source = std::move(file);
  return Open(std::move(state), name);
}

std::unique_ptr<TVorbisDecoder> TVorbisDecoder::Open(std::unique_ptr<TState> state,
                                                     const std::string& name) {
  // The sources belong to the state, so the library's close call has nothing to do.
  const ov_callbacks callbacks = {&TState::ReadCallback, &TState::SeekCallback, nullptr,
                                  &TState::TellCallback};
  const int result = ov_open_callbacks(state.get(), &state->file, nullptr, 0, callbacks);
  if (result != 0) {
    Log("%s is no Ogg Vorbis stream we can read (error %d)", name.c_str(), result);
    return nullptr;
  }
  state->open = true;
  const vorbis_info* info = ov_info(&state->file, -1);
  if (!info || info->channels < 1 || info->channels > kMaxChannels || info->rate < kMinRate ||
      info->rate > kMaxRate) {
    Log("%s has a sound format we do not play: %d channels at %ld Hz", name.c_str(),
        info ? info->channels : 0, info ? info->rate : 0L);
    return nullptr;
  }
  std::unique_ptr<TVorbisDecoder> decoder(new TVorbisDecoder(std::move(state), name));
  decoder->mChannels = info->channels;
  decoder->mRate = static_cast<int>(info->rate);
  const double seconds = ov_time_total(&decoder->mState->file, -1);
  decoder->mDuration = std::isfinite(seconds) && seconds > 0 ? seconds : 0.0;
  return decoder;
}

int64_t TVorbisDecoder::Tell() const {
  const ogg_int64_t frame = ov_pcm_tell(&mState->file);
  return frame < 0 ? 0 : frame;
}

bool TVorbisDecoder::Seek(int64_t frame) {
  if (mFailed) return false;
  const int result = ov_pcm_seek(&mState->file, frame);
  if (result != 0) Fail("cannot seek", result);
  return result == 0;
}

size_t TVorbisDecoder::Decode(uint8_t* out, size_t bytes) {
  const size_t frameBytes = static_cast<size_t>(mChannels) * 2;
  bytes -= bytes % frameBytes;
  size_t done = 0;
  int holes = 0;
  while (done < bytes && !mFailed) {
    int section = 0;
    const int want = static_cast<int>(std::min<size_t>(bytes - done, 1 << 20));
    const long got =
        ov_read(&mState->file, reinterpret_cast<char*>(out + done), want, 0, 2, 1, &section);
    if (got == 0) break;
    if (got == OV_HOLE) {
      if (++holes > kMaxHoles) Fail("too many gaps", got);
      continue;
    }
    if (got < 0) {
      Fail("read error", got);
      break;
    }
    // A chained stream may change its format; samples in another layout would be noise.
    const vorbis_info* info = ov_info(&mState->file, section);
    if (!info || info->channels != mChannels || info->rate != mRate) {
      Fail("the format changes within the stream", 0);
      break;
    }
    done += static_cast<size_t>(got);
  }
  return done;
}

void TVorbisDecoder::Fail(const char* what, long code) {
  if (mFailed) return;
  mFailed = true;
  Log("Sound %s: %s (%ld); the rest of it stays silent", mName.c_str(), what, code);
}
