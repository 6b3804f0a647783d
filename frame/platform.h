// What the application needs of the platform: one window with its message queue, the
// display modes, the pointer, clipboard and message boxes, the monotonic clock, and the
// single-instance lock. Two backends implement it: SDL2 (platform/sdl) and the headless
// backend for tests and tools (platform/headless). The backend is chosen in one place,
// CreatePlatform in platform/backend/platform_factory.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "frame/platform_message.h"

// A host or program window id (an X11 window id for the SDL backend).
using TWindowHandle = uint64_t;

struct TDisplayInfo {
  int desktopWidth = 0;
  int desktopHeight = 0;
  int bitsPerPixel = 32;
};

enum TMessageBoxIcon { kIconNone = 0, kIconError, kIconWarning };

class TPlatform {
 public:
  virtual ~TPlatform() = default;

  virtual const char* Name() const = 0;
  virtual bool IsHeadless() const = 0;

  // Milliseconds of a monotonic clock, wrapping at 2^32.
  virtual uint32_t TickMs() const = 0;
  virtual void SleepMs(unsigned ms) = 0;

  // Window. CreateWindow makes the (hidden) window of the given client size, inside parent
  // when it is non-zero. False when the window cannot be created.
  virtual bool CreateWindow(const std::string& title, int width, int height,
                            TWindowHandle parent) = 0;
  virtual void DestroyWindow() = 0;
  virtual bool HasWindow() const = 0;
  virtual TWindowHandle WindowHandle() const = 0;
  virtual void SetTitle(const std::string& title) = 0;
  virtual std::string Title() const = 0;
  virtual void ShowWindow(bool activate) = 0;
  virtual void RaiseWindow() = 0;
  virtual bool IsForeground() const = 0;
  virtual bool IsMinimized() const = 0;
  // Resizes the client area without moving the window (used by the embedded-mode test).
  virtual void SetClientSize(int width, int height) = 0;
  virtual void ClientSize(int& width, int& height) const = 0;

  // Host windows ("-wnd="). IsWindow tells whether a handle names an existing window.
  virtual bool IsWindow(TWindowHandle handle) const = 0;
  virtual bool HostClientSize(TWindowHandle handle, int& width, int& height) const = 0;
  // Moves the program window into the host (fitting its client area) or out of it.
  virtual bool AttachToHost(TWindowHandle host) = 0;
  virtual void DetachFromHost() = 0;
  // Posts a host-link message (WM_USER + offset) to another window; offset kPostQuit posts
  // the quit message instead.
  static constexpr int kPostQuit = -1;
  virtual void PostToWindow(TWindowHandle target, int offset, long wparam, long lparam) = 0;

  // Display mode: the logical picture (width × height) shown windowed at scale 1 or on the
  // whole desktop, scaled to fit with its aspect kept. The backend converts pointer
  // positions to logical coordinates with the same scale.
  virtual TDisplayInfo DisplayInfo() const = 0;
  virtual bool SetDisplayMode(int width, int height, bool fullscreen) = 0;
  virtual bool IsFullscreenMode() const = 0;
  virtual float Scale() const = 0;
  // The size the picture is drawn for, in device pixels: the desktop in full screen, the
  // client area otherwise, times the display's pixel density (2 on a high-density display
  // whose window sizes count points). Pointer positions stay in window coordinates.
  virtual void DrawableSize(int& width, int& height) const { ClientSize(width, height); }
  // Shows one frame of a plain colour; the picture until the renderer draws into the window.
  virtual void PresentPlainFrame(uint8_t red, uint8_t green, uint8_t blue) = 0;

  // Message queue. PollMessage takes the next message without waiting; messages injected by
  // the input script come first, a posted quit comes once nothing else is pending.
  virtual bool PollMessage(TPlatformMessage& message) = 0;
  virtual void InjectMessage(const TPlatformMessage& message) = 0;
  virtual void PostQuit() = 0;
  // Removes a posted quit message ahead of everything else; false when none is pending.
  virtual bool TakePostedQuit() = 0;
  // Waits until a message arrives or ms have passed.
  virtual void WaitMessage(unsigned ms) = 0;

  // Pointer.
  virtual void CaptureMouse(bool on) = 0;
  virtual void WarpPointer(int logicalX, int logicalY) = 0;
  virtual void StartHoverTracking() = 0;
  virtual void TakeKeyboardFocus() = 0;
  // A colour cursor from 32-bit ARGB pixels (width × height logical pixels, alpha in the top
  // byte) with its hotspot, shown as large as the picture is drawn; null pixels restore the
  // system arrow. ShowCursor hides or shows whichever cursor is set.
  virtual void SetCursorImage(const uint32_t* argb, int width, int height, int hotX, int hotY) = 0;
  virtual void ShowCursor(bool visible) = 0;
  // Current pointer position in logical coordinates; false when it is outside the window.
  virtual bool PointerPosition(int& x, int& y) const = 0;

  // Clipboard and message boxes.
  virtual bool SetClipboardText(const std::string& text) = 0;
  virtual std::string GetClipboardText() = 0;
  virtual void MessageBox(const std::string& text, const std::string& caption,
                          TMessageBoxIcon icon) = 0;

  // Single instance: Acquire takes the lock of the instance name and starts listening for
  // pokes under the class name; false when another process holds it. PokeFirstInstance asks
  // the holder to bring its window forward (answered by a kMsgRaise message there).
  virtual bool AcquireInstanceLock(const std::string& instanceName,
                                   const std::string& className) = 0;
  virtual void ReleaseInstanceLock() = 0;
  virtual bool PokeFirstInstance(const std::string& className) = 0;

  // The test harness: the "TestHook" of a "tvHarness" library in programFolder, called with
  // the address of the command line. Returns the harness window (0 without a harness).
  virtual TWindowHandle RunTestHarness(const std::string& programFolder,
                                       std::string& commandLine) = 0;

  // Full path of the running executable and the current directory.
  virtual std::string ExecutablePath() const = 0;
  virtual std::string CurrentDirectory() const = 0;
  virtual bool ChangeDirectory(const std::string& folder) = 0;

  // Opens a web address: with program empty through the desktop's handler (xdg-open),
  // otherwise by starting that program with the address as its one argument. Never through
  // a shell; the program runs on its own. False when it cannot be started or this backend
  // cannot open addresses.
  virtual bool OpenUrl(const std::string& /*target*/, const std::string& /*program*/) {
    return false;
  }
  // Minimises the outermost window above handle (the browser around a host window).
  virtual void MinimizeTopLevel(TWindowHandle /*handle*/) {}

  // Ends the process at once with the given exit code (fatal display conditions).
  [[noreturn]] virtual void ExitProcess(int code) = 0;
};

// Options that pick and set up a backend.
struct TPlatformOptions {
  bool headless = false;
};
