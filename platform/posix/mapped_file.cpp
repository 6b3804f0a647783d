#include "files/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

bool TMappedFile::Open(const std::string& path) {
  Close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return false;
  }
  const size_t size = static_cast<size_t>(info.st_size);
  if (size > 0) {
    void* view = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (view == MAP_FAILED) {
      ::close(fd);
      return false;
    }
    mData = static_cast<const uint8_t*>(view);
  }
  // The mapping keeps the file alive; the descriptor is not needed any more.
  ::close(fd);
  mSize = size;
  mOpen = true;
  return true;
}

void TMappedFile::Close() {
  if (mData) ::munmap(const_cast<uint8_t*>(mData), mSize);
  mData = nullptr;
  mSize = 0;
  mOpen = false;
}
