#include "files/disk_file_data.h"

namespace {

// Stream modes by open mode; the text/binary letter only tells TDiskFileData whether to
// translate, the C library on this system treats both alike.
const char* StreamMode(int mode) {
  switch (mode) {
    case kReadBinary:
      return "rb";
    case kWriteBinary:
      return "wb";
    case kWriteText:
      return "w";
    case kAppendBinary:
      return "ab";
    case kAppendText:
      return "a";
    default:
      return "r";
  }
}

}  // namespace

bool TDiskFileData::Open(const std::string& path, int mode) {
  Close();
  if (path.empty()) return false;
  mStream = std::fopen(path.c_str(), StreamMode(mode));
  mText = mode == kReadText || mode > kAppendText;
  mLastByte = -1;
  return mStream != nullptr;
}

void TDiskFileData::Close() {
  if (mStream) std::fclose(mStream);
  mStream = nullptr;
  mLastByte = -1;
}

void TDiskFileData::Unget() {
  if (!mStream || mLastByte < 0) return;
  std::ungetc(mLastByte, mStream);
  mLastByte = -1;
}

void TDiskFileData::Seek(long offset, int origin) {
  if (!mStream) return;
  const int whence = origin == kSeekStart ? SEEK_SET : origin == kSeekEnd ? SEEK_END : SEEK_CUR;
  std::fseek(mStream, offset, whence);
}

long TDiskFileData::GetLength() {
  if (!mStream) return 0;
  const long position = std::ftell(mStream);
  std::fseek(mStream, 0, SEEK_END);
  const long length = std::ftell(mStream);
  std::fseek(mStream, position, SEEK_SET);
  return length;
}

long TDiskFileData::Tell() {
  return mStream ? std::ftell(mStream) : -1;
}

size_t TDiskFileData::Read(void* buffer, size_t count) {
  if (!mStream || count == 0) return 0;
  auto* out = static_cast<unsigned char*>(buffer);
  size_t delivered = 0;
  if (!mText) {
    delivered = std::fread(out, 1, count, mStream);
  } else {
    while (delivered < count) {
      const int c = std::fgetc(mStream);
      if (c == EOF) break;
      if (c != '\r') out[delivered++] = static_cast<unsigned char>(c);
    }
  }
  if (delivered > 0) mLastByte = out[delivered - 1];
  return delivered;
}

size_t TDiskFileData::Write(const void* buffer, size_t count) {
  if (!mStream || count == 0) return 0;
  return std::fwrite(buffer, 1, count, mStream);
}

bool TDiskFileData::Eof() {
  return !mStream || std::feof(mStream) != 0;
}
