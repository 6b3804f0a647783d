// The headless backend: a window that exists only in memory, with the same queue, display
// modes, host windows and services as the SDL backend, for tests and tools. Host windows
// for "-wnd=" are registered with AddHostWindow; everything posted to other windows and
// every message box is recorded so tests can look at it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/process/posix_platform.h"

class THeadlessPlatform : public TPosixPlatform {
 public:
  struct TPosted {
    TWindowHandle target;
    int offset;
    long wparam;
    long lparam;
  };

  THeadlessPlatform();

  // Test controls.
  void SetDesktop(int width, int height, int bitsPerPixel = 32);
  void AddHostWindow(TWindowHandle handle, int width, int height);
  void RemoveHostWindow(TWindowHandle handle);
  void SetForeground(bool foreground) { mForeground = foreground; }
  void SetFailModes(bool windowed, bool fullscreen);
  void SetPointer(int x, int y, bool inside);
  // Device pixels per window coordinate (a high-density display); 1 by default.
  void SetPixelDensity(int density) { mPixelDensity = density > 0 ? density : 1; }
  const std::vector<TPosted>& Posted() const { return mPosted; }
  struct TOpened {
    std::string target;
    std::string program;
  };
  // Web addresses asked to open; nothing is started.
  const std::vector<TOpened>& Opened() const { return mOpened; }
  TWindowHandle Minimized() const { return mMinimized; }
  const std::vector<std::string>& MessageBoxes() const { return mMessageBoxes; }
  unsigned PlainFrames() const { return mPlainFrames; }
  TWindowHandle Parent() const { return mParent; }
  bool Captured() const { return mCaptured; }
  int WarpCount() const { return mWarps; }

  const char* Name() const override { return "headless"; }
  bool IsHeadless() const override { return true; }

  bool CreateWindow(const std::string& title, int width, int height, TWindowHandle parent) override;
  void DestroyWindow() override;
  bool HasWindow() const override { return mHasWindow; }
  TWindowHandle WindowHandle() const override { return mHasWindow ? kOwnWindow : 0; }
  void SetTitle(const std::string& title) override { mTitle = title; }
  std::string Title() const override { return mTitle; }
  void ShowWindow(bool) override { mVisible = true; }
  void RaiseWindow() override {
    ++mRaises;
    mForeground = true;
  }
  int Raises() const { return mRaises; }
  bool IsForeground() const override { return mForeground; }
  bool IsMinimized() const override { return false; }
  void SetClientSize(int width, int height) override;
  void ClientSize(int& width, int& height) const override;

  bool IsWindow(TWindowHandle handle) const override;
  bool HostClientSize(TWindowHandle handle, int& width, int& height) const override;
  bool AttachToHost(TWindowHandle host) override;
  void DetachFromHost() override { mParent = 0; }
  void PostToWindow(TWindowHandle target, int offset, long wparam, long lparam) override;

  bool OpenUrl(const std::string& target, const std::string& program) override {
    mOpened.push_back({target, program});
    return true;
  }
  void MinimizeTopLevel(TWindowHandle handle) override { mMinimized = handle; }

  TDisplayInfo DisplayInfo() const override { return mDisplay; }
  bool SetDisplayMode(int width, int height, bool fullscreen) override;
  bool IsFullscreenMode() const override { return mFullscreen; }
  float Scale() const override { return mScale; }
  void DrawableSize(int& width, int& height) const override;
  void PresentPlainFrame(uint8_t, uint8_t, uint8_t) override { ++mPlainFrames; }
  void WaitMessage(unsigned ms) override;

  void CaptureMouse(bool on) override { mCaptured = on; }
  void WarpPointer(int x, int y) override;
  void TakeKeyboardFocus() override {}
  void SetCursorImage(const uint32_t*, int, int, int, int) override {}
  void ShowCursor(bool) override {}
  bool PointerPosition(int& x, int& y) const override;

  bool SetClipboardText(const std::string& text) override;
  std::string GetClipboardText() override { return mClipboard; }
  void MessageBox(const std::string& text, const std::string& caption,
                  TMessageBoxIcon icon) override;

 protected:
  bool PollNative(TPlatformMessage&) override { return false; }
  bool PointerInside() const override { return mPointerInside; }

 private:
  static constexpr TWindowHandle kOwnWindow = 0x10001;

  TDisplayInfo mDisplay;
  std::map<TWindowHandle, std::pair<int, int>> mHosts;
  std::vector<TPosted> mPosted;
  std::vector<TOpened> mOpened;
  TWindowHandle mMinimized = 0;
  std::vector<std::string> mMessageBoxes;
  std::string mTitle, mClipboard;
  bool mHasWindow = false, mVisible = false, mForeground = true, mFullscreen = false;
  bool mFailWindowed = false, mFailFullscreen = false, mCaptured = false;
  bool mPointerInside = false;
  int mPointerX = 0, mPointerY = 0, mWarps = 0, mRaises = 0;
  int mWidth = 0, mHeight = 0;
  float mScale = 1.0f;
  int mPixelDensity = 1;
  TWindowHandle mParent = 0;
  unsigned mPlainFrames = 0;
};
