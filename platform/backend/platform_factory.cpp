#include "platform/backend/platform_factory.h"

#include "platform/headless/headless_platform.h"
#include "platform/sdl/sdl_platform.h"

std::unique_ptr<TPlatform> CreatePlatform(const TPlatformOptions& options) {
  if (options.headless) return std::make_unique<THeadlessPlatform>();
  return std::make_unique<TSdlPlatform>();
}
