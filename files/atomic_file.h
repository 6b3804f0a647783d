// Replacing a file so that a crash or a full disk never leaves it half written: the new
// bytes go to a temporary file beside it, which is flushed to disk and then renamed over
// the old one. Missing parent folders are created. The platform layer implements it
// (platform/posix/atomic_file.cpp).
#pragma once

#include <cstddef>
#include <string>

// False on any failure, with a reason in *error; the old file is then untouched and the
// temporary file removed.
bool PlatformReplaceFile(const std::string& path, const void* data, size_t size,
                         std::string* error);
