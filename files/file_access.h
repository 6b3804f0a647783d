// Permission tests on disk paths for the virtual file system, answered for the real user
// of the process. The platform layer implements them (platform/posix/file_access.cpp).
#pragma once

#include <string>

bool PlatformCanRead(const std::string& path);
bool PlatformCanReadWrite(const std::string& path);
