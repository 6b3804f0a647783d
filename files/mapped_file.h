// A whole file mapped read-only into memory. The bytes stay valid until Close or
// destruction; the mapping is private, so other processes changing the file later are not
// the reader's concern beyond the length taken at open. Declared here, where the package
// reader uses it; the platform layer implements it (platform/posix/mapped_file.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class TMappedFile {
 public:
  TMappedFile() = default;
  ~TMappedFile() { Close(); }
  TMappedFile(const TMappedFile&) = delete;
  TMappedFile& operator=(const TMappedFile&) = delete;

  // Maps the file at path (which must exist and be readable). An empty file maps to an
  // empty view with a null data pointer and still counts as open.
  bool Open(const std::string& path);
  void Close();

  bool IsOpen() const { return mOpen; }
  const uint8_t* Data() const { return mData; }
  size_t Size() const { return mSize; }

 private:
  const uint8_t* mData = nullptr;
  size_t mSize = 0;
  bool mOpen = false;
};
