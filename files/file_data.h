// The backend of one open file: a disk stream, a registered memory buffer or a member of a
// mapped asset package. TFile owns one and forwards its stdio-like calls to it.
#pragma once

#include <cstddef>
#include <string>

// Open modes. Modes below kWriteBinary read; any value above kAppendText opens a disk file
// for reading in text mode.
enum TFileMode : int {
  kReadBinary = 0,
  kReadText = 1,
  kWriteBinary = 2,
  kWriteText = 3,
  kAppendBinary = 4,
  kAppendText = 5,
};

inline bool IsReadingMode(int mode) {
  return mode < kWriteBinary;
}

// Seek origins. Note the order: 0 is relative to the current position.
enum TSeekOrigin : int {
  kSeekCurrent = 0,
  kSeekStart = 1,
  kSeekEnd = 2,
};

class TFileData {
 public:
  virtual ~TFileData() = default;
  virtual bool Open(const std::string& locator, int mode) = 0;
  virtual void Close() = 0;
  // Pushes back the last byte read.
  virtual void Unget() = 0;
  virtual void Seek(long offset, int origin) = 0;
  virtual long GetLength() = 0;
  virtual long Tell() = 0;
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual size_t Write(const void* buffer, size_t count) = 0;
  virtual bool Eof() = 0;
};
