// The one place that picks the platform backend.
#pragma once

#include <memory>

#include "frame/platform.h"

// "--headless" (options.headless) gives the in-memory backend; otherwise SDL2, falling back
// to headless only when told to by the caller.
std::unique_ptr<TPlatform> CreatePlatform(const TPlatformOptions& options);
