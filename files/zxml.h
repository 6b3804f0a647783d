// The compressed XML container: "ZXML", the compressed length C and the uncompressed
// length U (both 32-bit little-endian), then a zlib stream of C bytes. Readers decide by
// content: anything that begins with "ZXML" is unpacked, anything else is taken as it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr size_t kZxmlHeaderSize = 12;

bool IsZxml(const void* data, size_t size);

// Unpacks a container. A damaged one (short header, lengths that do not fit, a zlib stream
// that does not inflate within U bytes) is logged and gives false with out empty.
bool UnpackZxml(const void* data, size_t size, std::string& out);

// Packs text into a container (best compression).
std::vector<uint8_t> PackZxml(const void* data, size_t size);
