// TFile: a stdio-like handle on a virtual file name (see files/file_system.h). It owns at
// most one backend; a handle without one behaves as a closed file and answers every call
// with a neutral value.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/file_data.h"

class TFile {
 public:
  TFile() = default;
  ~TFile() = default;
  TFile(const TFile&) = delete;
  TFile& operator=(const TFile&) = delete;

  // Resolves name (reading modes refuse excluded names and missing files) and opens the
  // backend. Writing into the user or common folder creates missing folders on the way.
  bool Open(const std::string& name, int mode);
  // A new open handle, or null when the file cannot be opened.
  static std::unique_ptr<TFile> OpenFile(const std::string& name, int mode);

  size_t Read(void* buffer, size_t count);         // 0 when closed
  size_t Write(const void* buffer, size_t count);  // 0 when closed
  void Seek(long offset, int origin);              // origin: TSeekOrigin
  long Tell();                                     // -1 when closed
  long GetLength();                                // 0 when closed
  bool Eof();                                      // true when closed
  int GetChar();                                   // 0..255, or -1 at the end
  void Unget();
  bool IsOpen() const { return mData != nullptr; }
  void Close() { mData.reset(); }

 private:
  std::unique_ptr<TFileData> mData;
};

// Reads a whole virtual file. False (and out empty) when it cannot be opened.
bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& out, int mode = kReadBinary);
bool ReadWholeFile(const std::string& name, std::string& out, int mode = kReadBinary);
