// The platform window and the display modes: windowed at the logical size, or the whole
// desktop with the picture scaled to fit; the fallbacks between them; embedding in a host.
#include <cstdlib>

#include "frame/application.h"
#include "frame/log.h"
#include "frame/picture_fit.h"

namespace {

constexpr char kHostLost[] = "Error: mExternalWindowParent is lost, exiting!";
constexpr char kTooSmall[] =
    "You cannot run this application at your current screen resolution. Change your display "
    "settings and run again.";
constexpr char kPalettized[] =
    "You cannot run this application when your video mode is 8 bits or less. Change your "
    "display settings and run again.";
constexpr char kFallbackFailed[] =
    "Failed to initialize window. Please try running the game again. If that doesn't help, try "
    "changing the screen resolution and color depth. If that fails, then your video card does "
    "not support this game.";
constexpr char kWindowedFailed[] = "Failed to initialize windowed mode. Trying full screen.";
constexpr char kFullscreenFailed[] =
    "Failed to initialize full screen mode. Your video card is not supported. Trying to run in "
    "a window.";

}  // namespace

bool TApplication::CreatePlatformWindow() {
  TApplicationData& d = *mData;
  if (d.mExternalWindowParent && !mPlatform.IsWindow(d.mExternalWindowParent)) {
    Log("%s", kHostLost);
    mPlatform.ExitProcess(-1);
  }
  if (!mPlatform.CreateWindow("Tandervel", 480, 360, d.mExternalWindowParent)) {
    Log("Cannot create the program window");
    return false;
  }
  if (d.axTest) {
    // The embedded-mode test: the program's own window stands in for the host page.
    mPlatform.SetClientSize(960, 720);
    mPlatform.ShowWindow(true);
  }
  d.window = mPlatform.WindowHandle();
  return true;
}

void TApplication::FatalDisplay(const std::string& text) {
  Log("%s", text.c_str());
  mPlatform.MessageBox(text, "Error", kIconError);
  mPlatform.ExitProcess(-1);
  std::abort();  // ExitProcess does not return; this keeps every compiler sure of it
}

void TApplication::SetDisplay(int width, int height, bool fullscreen) {
  TApplicationData& d = *mData;
  if (d.containerMode) {
    mPlatform.PostToWindow(d.mExternalWindowParent, 0, fullscreen ? 1 : 0, 0);
    d.fullscreenRequested = fullscreen;
    fullscreen = false;
  }
  d.scale = 1.0f;
  if (d.embedded) {
    // The picture's scale in the host: the fit's, which the host's height limits in a host
    // wider than the picture's shape (by its width alone a 1280 x 720 host would ask for a
    // 1280 x 960 picture and be refused on a 1366 x 768 screen).
    int hostWidth = 0, hostHeight = 0;
    if (mPlatform.HostClientSize(d.mExternalWindowParent, hostWidth, hostHeight) && width > 0 &&
        height > 0) {
      d.scale = FitPicture(width, height, hostWidth, hostHeight).scale;
    }
    fullscreen = false;
  }
  SetDisplayMode(width, height, fullscreen, false, d.zylomMode, d.embedded);
}

bool TApplication::SetDisplayMode(int width, int height, bool fullscreen, bool force, bool quiet,
                                  bool embedded) {
  TApplicationData& d = *mData;
  if (d.displayBusy) {
    mPlatform.SleepMs(50);
    return false;
  }
  if (d.zylomMode) {
    fullscreen = false;
    quiet = true;
  }
  if (d.minimized) {
    mPlatform.SleepMs(100);
    return false;
  }
  // While inactive nothing changes (a pending activation counts as active).
  if (!force && !d.active && !d.activeChanged) return false;
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
    Log("SetDisplay ignores the size %d x %d", width, height);
    return false;
  }
  d.displayBusy = true;
  struct TBusy {
    bool& flag;
    ~TBusy() { flag = false; }
  } busy{d.displayBusy};

  const TWindowHandle host = d.axTest ? 0 : d.mExternalWindowParent;
  if (embedded && host) {
    if (!mPlatform.IsWindow(host)) {
      Log("%s", kHostLost);
      mPlatform.ExitProcess(-1);
    }
    if (fullscreen) {
      mPlatform.DetachFromHost();
    } else {
      mPlatform.AttachToHost(host);
    }
  }
  if (d.displayFatal) mPlatform.ExitProcess(-1);

  const TDisplayInfo info = mPlatform.DisplayInfo();
  if (!fullscreen && info.bitsPerPixel <= 8) {
    if (embedded) FatalDisplay(kPalettized);
    Log("SetDisplay Forcing Fullscreen (PALLETTED)");
    fullscreen = true;
  }
  if (d.displaySet && !force && d.displayFullscreen == fullscreen && d.displayWidth == width &&
      d.displayHeight == height) {
    return true;
  }
  if (!d.containerMode && !fullscreen) {
    // The window with its frame must fit: the desktop has to be strictly larger. A
    // stand-alone window shows the picture at scale 1 (the full-screen fit factor that
    // scale may hold now does not apply to the window).
    const float windowScale = embedded ? d.scale : 1.0f;
    if (!(info.desktopWidth > width * windowScale && info.desktopHeight > height * windowScale)) {
      if (embedded) FatalDisplay(kTooSmall);
      Log("SetDisplay Forcing Fullscreen (SMALL)");
      fullscreen = true;
    }
  }

  d.redrawRequested = true;
  const bool ok = mPlatform.SetDisplayMode(width, height, fullscreen);
  if (ok) {
    d.displaySet = true;
    d.displayWidth = width;
    d.displayHeight = height;
    d.displayFullscreen = fullscreen;
    d.fallbackTried = false;
    if (!embedded) d.scale = mPlatform.Scale();
    mPlatform.ShowWindow(fullscreen);
    if (d.windowManager) d.windowManager->RequestRedraw();
    if (fullscreen) d.hasBeenFullscreen = true;
    return true;
  }

  if (embedded) {
    Log("SetDisplay could not set up the embedded window");
    return false;
  }
  if (d.fallbackTried) {
    Log("ERROR FALLBACK FAILED");
    if (!quiet) mPlatform.MessageBox(kFallbackFailed, "Error", kIconError);
    PostQuit();
    d.displayFatal = true;
    return false;
  }
  d.fallbackTried = true;
  d.displayBusy = false;
  if (!fullscreen) {
    if (!quiet) mPlatform.MessageBox(kWindowedFailed, "Error", kIconError);
    return SetDisplayMode(width, height, true, true, quiet, embedded);
  }
  const bool windowed = SetDisplayMode(width, height, false, true, quiet, embedded);
  if (!quiet) mPlatform.MessageBox(kFullscreenFailed, "Error", kIconError);
  return windowed;
}

bool TApplication::SetFullscreen(bool on) {
  TApplicationData& d = *mData;
  if (d.containerMode) {
    mPlatform.PostToWindow(d.mExternalWindowParent, 0, on ? 1 : 0, 0);
    d.fullscreenRequested = on;
    return true;
  }
  const int width = d.displayWidth > 0 ? d.displayWidth : 800;
  const int height = d.displayHeight > 0 ? d.displayHeight : 600;
  return SetDisplayMode(width, height, on, false, d.zylomMode, d.embedded);
}

bool TApplication::IsFullscreen() const {
  if (mData->containerMode) return mData->fullscreenRequested;
  return mPlatform.IsFullscreenMode();
}

bool TApplication::IsForeground() const {
  return mPlatform.IsForeground();
}

void TApplication::KeepOnTop() {
  if (mData->minimized) {
    mPlatform.SleepMs(50);
    return;
  }
  if (!mPlatform.IsForeground()) mPlatform.RaiseWindow();
}
