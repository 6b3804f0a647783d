#include "files/memory_file.h"

#include "files/locator.h"
#include "files/memory_read.h"

bool TMemoryFile::Open(const std::string& locator, int mode) {
  Close();
  if (!IsReadingMode(mode) || locator.empty() || locator[0] != '&') return false;
  const size_t comma = locator.find(',');
  uint64_t address = 0;
  uint64_t size = 0;
  if (comma == std::string::npos || !ParseLocatorNumber(locator, 1, address) ||
      !ParseLocatorNumber(locator, comma + 1, size) || size > INT32_MAX) {
    return false;
  }
  mData = reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(address));
  mLength = static_cast<int32_t>(size);
  mPosition = 0;
  mMode = mode;
  return true;
}

void TMemoryFile::Close() {
  mData = nullptr;
  mLength = 0;
  mPosition = 0;
}

void TMemoryFile::Seek(long offset, int origin) {
  long base = origin == kSeekStart ? 0 : origin == kSeekEnd ? mLength : mPosition;
  long target = base + offset;
  if (target < 0) target = 0;
  if (target > mLength) target = mLength;
  mPosition = static_cast<int32_t>(target);
}

size_t TMemoryFile::Read(void* buffer, size_t count) {
  if (!mData) return 0;
  return ReadMemoryRange(mData, mLength, mPosition, buffer, count, mMode == kReadText);
}
