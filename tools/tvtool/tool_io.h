// Whole-file reading and writing for tvtool's commands, with error texts for the user.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

bool ReadDiskFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

// Writes through a temporary file beside path and renames it into place, so a failed run
// never leaves a half-written output. Missing folders on the way are created.
bool WriteDiskFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

// Writes bytes to stdout; false when the stream fails.
bool WriteStdout(const void* data, size_t size);
