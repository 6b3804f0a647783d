// The real backend: one SDL2 window, its events turned into platform messages, desktop
// full screen with the logical picture scaled to fit (aspect kept, centred), an SDL colour
// cursor, the SDL clipboard and message boxes, and X11 embedding into a host window (whose
// size the window follows).
#pragma once

#include <deque>
#include <string>

#include "frame/picture_fit.h"
#include "platform/process/posix_platform.h"
#include "platform/sdl/cursor_image.h"
#include "platform/sdl/x11_host.h"

struct SDL_Window;
struct SDL_Cursor;
union SDL_Event;

class TSdlPlatform : public TPosixPlatform {
 public:
  TSdlPlatform();
  ~TSdlPlatform() override;

  const char* Name() const override { return "sdl"; }
  bool IsHeadless() const override { return false; }
  bool Ready() const { return mReady; }

  bool CreateWindow(const std::string& title, int width, int height, TWindowHandle parent) override;
  void DestroyWindow() override;
  bool HasWindow() const override { return mWindow != nullptr; }
  TWindowHandle WindowHandle() const override;
  void SetTitle(const std::string& title) override;
  std::string Title() const override;
  void ShowWindow(bool activate) override;
  void RaiseWindow() override;
  bool IsForeground() const override;
  bool IsMinimized() const override;
  void SetClientSize(int width, int height) override;
  void ClientSize(int& width, int& height) const override;

  bool IsWindow(TWindowHandle handle) const override;
  bool HostClientSize(TWindowHandle handle, int& width, int& height) const override;
  bool AttachToHost(TWindowHandle host) override;
  void DetachFromHost() override;
  void MinimizeTopLevel(TWindowHandle handle) override;
  void PostToWindow(TWindowHandle target, int offset, long wparam, long lparam) override;

  TDisplayInfo DisplayInfo() const override;
  bool SetDisplayMode(int width, int height, bool fullscreen) override;
  bool IsFullscreenMode() const override { return mFullscreen; }
  float Scale() const override { return mFit.scale; }
  void DrawableSize(int& width, int& height) const override;
  void PresentPlainFrame(uint8_t red, uint8_t green, uint8_t blue) override;
  void WaitMessage(unsigned ms) override;

  void CaptureMouse(bool on) override;
  void WarpPointer(int x, int y) override;
  void TakeKeyboardFocus() override;
  void SetCursorImage(const uint32_t* argb, int width, int height, int hotX, int hotY) override;
  void ShowCursor(bool visible) override;
  bool PointerPosition(int& x, int& y) const override;

  bool SetClipboardText(const std::string& text) override;
  std::string GetClipboardText() override;
  void MessageBox(const std::string& text, const std::string& caption,
                  TMessageBoxIcon icon) override;

  SDL_Window* Window() const { return mWindow; }

 protected:
  bool PollNative(TPlatformMessage& message) override;
  bool PointerInside() const override { return mPointerInside; }

 private:
  void Translate(const SDL_Event& event);
  void TranslateWindowEvent(const SDL_Event& event);
  void ToLogical(int px, int py, int& x, int& y) const;
  void UpdateViewport();
  // The game's window fills its host: the host's size changes are watched and followed.
  void WatchHostSize();
  void FollowHostSize(int width, int height);
  // Makes SDL's cursor from the cursor picture at the drawable's pixel scale.
  void ApplyCursor();
  uint64_t X11Window() const;
  int KeyState() const;

  bool mReady = false;
  SDL_Window* mWindow = nullptr;
  SDL_Cursor* mCursor = nullptr;
  TCursorImage mCursorImage;  // as the game gave it (logical pixels); empty: system arrow
  float mCursorScale = 1.0f;  // the scale SDL's cursor was made at
  std::deque<TPlatformMessage> mPending;
  mutable TX11Host mX11;
  TWindowHandle mHost = 0;
  bool mFullscreen = false;
  bool mPointerInside = false;
  bool mActivatePending = false;
  uint32_t mFocusGainedAt = 0;
  int mLogicalWidth = 800, mLogicalHeight = 600;
  TPictureFit mFit = FitPicture(800, 600, 800, 600);
  uint32_t mUserAtom = 0, mQuitAtom = 0;
};
