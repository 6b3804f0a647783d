#include "platform/sdl_gl/swap_interval.h"

#include <utility>

#include "frame/log.h"

TSwapInterval::TSwapInterval(TSetter setter, TReporter reporter)
    : mSetter(std::move(setter)), mReporter(std::move(reporter)) {}

void TSwapInterval::Apply(bool vsync, bool fullscreen) {
  const int wanted = Wanted(vsync, fullscreen);
  if (wanted == mAsked) return;
  mAsked = wanted;
  const char* where = fullscreen ? "full screen" : "window";
  const char* setting = vsync ? "on" : "off";
  std::string reason = "no driver";
  mRefused = !mSetter || !mSetter(wanted, reason);
  if (mRefused) {
    Log("Swap interval %d (%s, vsync %s): refused by the display driver (%s)", wanted, where,
        setting, reason.c_str());
    return;
  }
  const int reported = mReporter ? mReporter() : -1;
  Log("Swap interval %d (%s, vsync %s): the driver reports %d", wanted, where, setting, reported);
}
