#include "online/online_platform.h"

namespace {
TOnlinePlatform* gOnlinePlatform = nullptr;
}  // namespace

void SetOnlinePlatform(TOnlinePlatform* platform) {
  gOnlinePlatform = platform;
}

TOnlinePlatform* GetOnlinePlatform() {
  return gOnlinePlatform;
}
