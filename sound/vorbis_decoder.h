// TVorbisDecoder: an Ogg Vorbis stream decoded to 16-bit little-endian interleaved PCM by
// libvorbisfile, read from a copy of the whole file in memory or straight from an open file
// of the virtual file system (the decoder owns either source).
//
// Damaged input never crashes: a stream that cannot be opened gives null, a stretch the
// library cannot read ends the decoding (Failed() answers true and one line is logged).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TFile;

class TVorbisDecoder {
 public:
  // The formats a decoder accepts; anything else is refused when it is opened, so that a
  // damaged header cannot ask for absurd buffers.
  static constexpr int kMaxChannels = 8;
  static constexpr long kMinRate = 1000;
  static constexpr long kMaxRate = 192000;

  // name is only for the log. Null (logged) when the data is no Vorbis stream we can play.
  static std::unique_ptr<TVorbisDecoder> FromMemory(std::vector<uint8_t> bytes,
                                                    const std::string& name);
  static std::unique_ptr<TVorbisDecoder> FromFile(std::unique_ptr<TFile> file,
                                                  const std::string& name);
  ~TVorbisDecoder();
  TVorbisDecoder(const TVorbisDecoder&) = delete;
  TVorbisDecoder& operator=(const TVorbisDecoder&) = delete;

  int Channels() const { return mChannels; }
  int Rate() const { return mRate; }
  // Seconds; 0 when the stream does not say.
  double Duration() const { return mDuration; }

  // Position in frames (one sample of every channel).
  int64_t Tell() const;
  bool Seek(int64_t frame);
  // Decodes up to bytes (rounded down to whole frames) into out; answers the bytes written,
  // 0 at the end of the stream or after a failure.
  size_t Decode(uint8_t* out, size_t bytes);
  bool Failed() const { return mFailed; }

 private:
  struct TState;
  explicit TVorbisDecoder(std::unique_ptr<TState> state, const std::string& name);
  static std::unique_ptr<TVorbisDecoder> Open(std::unique_ptr<TState> state,
                                              const std::string& name);
  void Fail(const char* what, long code);

  std::unique_ptr<TState> mState;
  std::string mName;
  int mChannels = 0;
  int mRate = 0;
  double mDuration = 0;
  bool mFailed = false;
};
