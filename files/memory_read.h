// Reading from a byte range in memory, shared by the file backends that serve memory
// (registered memory files and package members).
#pragma once

#include <cstddef>
#include <cstdint>

// Copies up to count bytes of data[position, size) into buffer and advances position past
// what it consumed. In text mode carriage returns are dropped, so fewer bytes may be
// delivered than were consumed. Returns the number of bytes delivered.
size_t ReadMemoryRange(const uint8_t* data, int32_t size, int32_t& position, void* buffer,
                       size_t count, bool textMode);
