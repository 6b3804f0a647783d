#include "files/flat_file_map.h"

#include "files/file_map_handler.h"
#include "files/locator.h"
#include "files/memory_read.h"
#include "frame/log.h"

bool TFlatFileMap::Open(const std::string& locator, int mode) {
  Close();
  uint64_t index = 0;
  const std::vector<TFileMapHandler>& packages = PackageList();
  if (locator.empty() || locator[0] != '@' || !ParseLocatorNumber(locator, 1, index) ||
      index >= packages.size()) {
    return false;
  }
  const std::shared_ptr<TFileMapData>& view = packages[index].data;
  if (!view || !view->mapping.IsOpen()) {
    Log("error reading %s from flat file", locator.c_str());
    return false;
  }
  const size_t colon = locator.find(':');
  const size_t comma = locator.find(',');
  uint64_t offset = 0;
  uint64_t size = 0;
  if (colon == std::string::npos || comma == std::string::npos ||
      !ParseLocatorNumber(locator, colon + 1, offset) ||
      !ParseLocatorNumber(locator, comma + 1, size)) {
    return false;
  }
  if (size > INT32_MAX || offset + size > view->mapping.Size() || offset + size < offset) {
    Log("error reading %s from flat file", locator.c_str());
    return false;
  }
  mView = view;
  mMember = view->mapping.Data() ? view->mapping.Data() + offset : nullptr;
  mSize = static_cast<int32_t>(size);
  mPosition = 0;
  mEof = false;
  mMode = mode;
  return true;
}

void TFlatFileMap::Close() {
  mView.reset();
  mMember = nullptr;
  mSize = 0;
  mPosition = 0;
  mEof = true;
}

void TFlatFileMap::Unget() {
  Seek(-1, kSeekCurrent);
  mEof = false;
}

void TFlatFileMap::Seek(long offset, int origin) {
  const long base = origin == kSeekStart ? 0 : origin == kSeekEnd ? mSize : mPosition;
  long target = base + offset;
  if (target > mSize) {
    target = mSize;  // the end-of-file flag is left as it was
  } else {
    mEof = false;
  }
  if (target < 0) target = 0;
  mPosition = static_cast<int32_t>(target);
}

size_t TFlatFileMap::Read(void* buffer, size_t count) {
  if (!mMember && mSize > 0) return 0;
  const size_t remaining = static_cast<size_t>(mSize - mPosition);
  if (count > remaining) mEof = true;
  return ReadMemoryRange(mMember, mSize, mPosition, buffer, count, mMode == kReadText);
}
