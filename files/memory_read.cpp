#include "files/memory_read.h"

#include <cstring>

size_t ReadMemoryRange(const uint8_t* data, int32_t size, int32_t& position, void* buffer,
                       size_t count, bool textMode) {
  const size_t remaining = static_cast<size_t>(size - position);
  if (!textMode) {
    if (count > remaining) count = remaining;
    if (count > 0) std::memcpy(buffer, data + position, count);
    position += static_cast<int32_t>(count);
    return count;
  }
  auto* out = static_cast<uint8_t*>(buffer);
  size_t delivered = 0;
  while (delivered < count && position < size) {
    const uint8_t byte = data[position++];
    if (byte != '\r') out[delivered++] = byte;
  }
  return delivered;
}
