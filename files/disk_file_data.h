// A file on disk reached through a C stdio stream. Text reads drop carriage returns so
// that files written on other systems read the same as package members.
#pragma once

#include <cstdio>

#include "files/file_data.h"

class TDiskFileData : public TFileData {
 public:
  ~TDiskFileData() override { Close(); }

  bool Open(const std::string& path, int mode) override;
  void Close() override;
  void Unget() override;
  void Seek(long offset, int origin) override;
  long GetLength() override;
  long Tell() override;
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  bool Eof() override;

 private:
  FILE* mStream = nullptr;
  int mLastByte = -1;
  bool mText = false;
};
