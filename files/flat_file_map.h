// One member of a mapped asset package, read in place. Locator: "@" index ":" offset ","
// size. Like a C stream, the end-of-file flag is set only by a read that asked for more
// than remained.
#pragma once

#include <cstdint>
#include <memory>

#include "files/file_data.h"

struct TFileMapData;

class TFlatFileMap : public TFileData {
 public:
  bool Open(const std::string& locator, int mode) override;
  void Close() override;
  void Unget() override;
  void Seek(long offset, int origin) override;
  long GetLength() override { return mSize; }
  long Tell() override { return mPosition; }
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void*, size_t) override { return 0; }
  bool Eof() override { return mEof; }

 private:
  std::shared_ptr<TFileMapData> mView;  // keeps the mapping alive while open
  const uint8_t* mMember = nullptr;
  int32_t mSize = 0;
  int32_t mPosition = 0;
  int mMode = kReadBinary;
  bool mEof = true;
};
