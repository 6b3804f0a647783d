// A registered memory buffer opened for reading. Locator: "&" address "," size, both
// decimal. The buffer belongs to whoever registered it.
#pragma once

#include <cstdint>

#include "files/file_data.h"

class TMemoryFile : public TFileData {
 public:
  bool Open(const std::string& locator, int mode) override;
  void Close() override;
  void Unget() override { Seek(-1, kSeekCurrent); }
  void Seek(long offset, int origin) override;
  long GetLength() override { return mLength; }
  long Tell() override { return mPosition; }
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void*, size_t) override { return 0; }
  bool Eof() override { return mPosition == mLength; }

 private:
  const uint8_t* mData = nullptr;
  int32_t mLength = 0;
  int32_t mPosition = 0;
  int mMode = kReadBinary;
};
