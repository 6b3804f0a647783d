// The system's monotonic clock in milliseconds, the real source of application time. The
// value wraps around every 49.7 days; callers compare times by 32-bit unsigned differences.
// Declared here, where it is used; the platform layer implements it
// (platform/posix/monotonic_time.cpp).
#pragma once

#include <cstdint>

uint32_t PlatformMonotonicMilliseconds();
