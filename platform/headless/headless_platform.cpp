#include "platform/headless/headless_platform.h"

#include <algorithm>

#include "frame/log.h"

THeadlessPlatform::THeadlessPlatform() {
  SetDesktop(1920, 1080);
}

void THeadlessPlatform::SetDesktop(int width, int height, int bitsPerPixel) {
  mDisplay.desktopWidth = width;
  mDisplay.desktopHeight = height;
  mDisplay.bitsPerPixel = bitsPerPixel;
}

void THeadlessPlatform::AddHostWindow(TWindowHandle handle, int width, int height) {
  mHosts[handle] = {width, height};
}

void THeadlessPlatform::RemoveHostWindow(TWindowHandle handle) {
  mHosts.erase(handle);
}

void THeadlessPlatform::SetFailModes(bool windowed, bool fullscreen) {
  mFailWindowed = windowed;
  mFailFullscreen = fullscreen;
}

void THeadlessPlatform::SetPointer(int x, int y, bool inside) {
  mPointerX = x;
  mPointerY = y;
  mPointerInside = inside;
}

bool THeadlessPlatform::CreateWindow(const std::string& title, int width, int height,
                                     TWindowHandle parent) {
  mHasWindow = true;
  mTitle = title;
  mWidth = width;
  mHeight = height;
  mParent = parent;
  return true;
}

void THeadlessPlatform::DestroyWindow() {
  mHasWindow = false;
  mVisible = false;
}

void THeadlessPlatform::SetClientSize(int width, int height) {
  mWidth = width;
  mHeight = height;
  if (mHasWindow) mHosts[kOwnWindow] = {width, height};
}

void THeadlessPlatform::ClientSize(int& width, int& height) const {
  width = mWidth;
  height = mHeight;
}

bool THeadlessPlatform::IsWindow(TWindowHandle handle) const {
  if (handle == 0) return false;
  if (mHasWindow && handle == kOwnWindow) return true;
  return mHosts.count(handle) != 0;
}

bool THeadlessPlatform::HostClientSize(TWindowHandle handle, int& width, int& height) const {
  if (mHasWindow && handle == kOwnWindow) {
    width = mWidth;
    height = mHeight;
    return true;
  }
  const auto host = mHosts.find(handle);
  if (host == mHosts.end()) return false;
  width = host->second.first;
  height = host->second.second;
  return true;
}

bool THeadlessPlatform::AttachToHost(TWindowHandle host) {
  int width = 0, height = 0;
  if (!HostClientSize(host, width, height)) return false;
  mParent = host;
  mWidth = width;
  mHeight = height;
  return true;
}

void THeadlessPlatform::PostToWindow(TWindowHandle target, int offset, long wparam, long lparam) {
  mPosted.push_back({target, offset, wparam, lparam});
}

bool THeadlessPlatform::SetDisplayMode(int width, int height, bool fullscreen) {
  if (fullscreen ? mFailFullscreen : mFailWindowed) return false;
  mFullscreen = fullscreen;
  if (fullscreen) {
    mScale = std::min(static_cast<float>(mDisplay.desktopWidth) / static_cast<float>(width),
                      static_cast<float>(mDisplay.desktopHeight) / static_cast<float>(height));
  } else if (mParent) {
    mScale = static_cast<float>(mWidth) / static_cast<float>(width);
  } else {
    mWidth = width;
    mHeight = height;
    mScale = 1.0f;
  }
  return true;
}

void THeadlessPlatform::DrawableSize(int& width, int& height) const {
  width = mFullscreen ? mDisplay.desktopWidth : mWidth;
  height = mFullscreen ? mDisplay.desktopHeight : mHeight;
  width *= mPixelDensity;
  height *= mPixelDensity;
}

void THeadlessPlatform::WaitMessage(unsigned ms) {
  if (!HasPendingInjected()) SleepMs(ms);
}

void THeadlessPlatform::WarpPointer(int x, int y) {
  ++mWarps;
  mPointerX = x;
  mPointerY = y;
}

bool THeadlessPlatform::PointerPosition(int& x, int& y) const {
  x = mPointerX;
  y = mPointerY;
  return mPointerInside;
}

bool THeadlessPlatform::SetClipboardText(const std::string& text) {
  mClipboard = text;
  return true;
}

void THeadlessPlatform::MessageBox(const std::string& text, const std::string& caption,
                                   TMessageBoxIcon) {
  Log("Message box [%s]: %s", caption.c_str(), text.c_str());
  mMessageBoxes.push_back(caption + ": " + text);
}
