// Byte sources for the XML tokenizer. A source hands out bytes one at a time, can step
// back, and can be rewound. Once stopped, every further read reports the end.
#pragma once

#include <cstddef>

class TGetChar {
 public:
  virtual ~TGetChar() = default;
  // Steps back one byte; returns the byte, or -1 when that is impossible.
  virtual int Unget(int byte) = 0;
  // The next byte as 0..255, or -1 at the end.
  virtual int GetChar() = 0;
  virtual void Rewind() = 0;

  void Stop() { mStopped = true; }
  bool IsStopped() const { return mStopped; }

 protected:
  bool mStopped = false;
};

// Bytes in memory; the caller keeps them alive while the source is used. Every byte value,
// 0 and 255 included, is ordinary data: only the length ends the source.
class TGetCharString : public TGetChar {
 public:
  TGetCharString(const void* data, size_t length)
      : mData(static_cast<const unsigned char*>(data)), mLength(length) {}

  int Unget(int byte) override;
  int GetChar() override;
  void Rewind() override { mPosition = 0; }

 private:
  const unsigned char* mData;
  size_t mLength;
  size_t mPosition = 0;
};
