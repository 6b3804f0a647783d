// The system's monotonic clock in milliseconds. The value wraps around every 49.7 days;
// callers compare times by 32-bit unsigned differences.
#pragma once

#include <cstdint>

uint32_t PlatformMonotonicMilliseconds();
