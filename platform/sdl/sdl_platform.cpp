#include "platform/sdl/sdl_platform.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cmath>

#include "frame/event.h"
#include "frame/log.h"
#include "online/host_protocol.h"
#include "platform/sdl/sdl_keys.h"

namespace {

// A click within this time after the window gained focus is the click that activated it.
constexpr uint32_t kActivateClickMs = 500;

int ButtonFromSdl(uint8_t button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return kButtonLeft;
    case SDL_BUTTON_MIDDLE:
      return kButtonMiddle;
    case SDL_BUTTON_RIGHT:
      return kButtonRight;
    case SDL_BUTTON_X1:
      return kButtonX1;
    case SDL_BUTTON_X2:
      return kButtonX2;
    default:
      return 0;
  }
}

// Decodes one UTF-8 sequence; returns its length (at least 1) and the code point.
int DecodeUtf8(const char* text, uint32_t& code) {
  const unsigned char first = static_cast<unsigned char>(text[0]);
  int length = 1;
  if (first < 0x80) {
    code = first;
  } else if ((first & 0xE0) == 0xC0) {
    code = first & 0x1F, length = 2;
  } else if ((first & 0xF0) == 0xE0) {
    code = first & 0x0F, length = 3;
  } else if ((first & 0xF8) == 0xF0) {
    code = first & 0x07, length = 4;
  } else {
    code = 0xFFFD;
    return 1;
  }
  for (int i = 1; i < length; ++i) {
    const unsigned char next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) {
      code = 0xFFFD;
      return i;
    }
    code = (code << 6) | (next & 0x3F);
  }
  return length;
}

}  // namespace

TSdlPlatform::TSdlPlatform() {
  // A window close is a request the game answers; SDL's own quit then only comes from
  // signals (Ctrl+C, SIGTERM).
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // The plain frame is copied to the window by the X server's own means; a GL-backed
  // window surface fights with the renderer's context and stalls on software GL.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    Log("SDL cannot start its video: %s", SDL_GetError());
    return;
  }
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  mReady = true;
}

TSdlPlatform::~TSdlPlatform() {
  DestroyWindow();
  if (mCursor) SDL_FreeCursor(mCursor);
  if (mReady) SDL_Quit();
}

bool TSdlPlatform::CreateWindow(const std::string& title, int width, int height,
                                TWindowHandle parent) {
  if (!mReady) return false;
  const Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
  // Some drivers choose the window's visual from these, so they come before the window.
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  // OpenGL when the driver has it (the renderer draws with it); a plain window otherwise.
  mWindow = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                             height, flags | SDL_WINDOW_OPENGL);
  if (!mWindow) {
    mWindow = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                               height, flags);
  }
  if (!mWindow) {
    Log("SDL cannot create the window: %s", SDL_GetError());
    return false;
  }
  SDL_StartTextInput();
  if (parent && !AttachToHost(parent))
    Log("Cannot embed the window in %llx", static_cast<unsigned long long>(parent));
  UpdateViewport();
  return true;
}

void TSdlPlatform::DestroyWindow() {
  if (!mWindow) return;
  SDL_StopTextInput();
  SDL_DestroyWindow(mWindow);
  mWindow = nullptr;
}

uint64_t TSdlPlatform::X11Window() const {
  if (!mWindow) return 0;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(mWindow, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
  return static_cast<uint64_t>(info.info.x11.window);
}

TWindowHandle TSdlPlatform::WindowHandle() const {
  const uint64_t x11 = X11Window();
  if (x11) return x11;
  return mWindow ? static_cast<TWindowHandle>(SDL_GetWindowID(mWindow)) : 0;
}

void TSdlPlatform::SetTitle(const std::string& title) {
  if (mWindow) SDL_SetWindowTitle(mWindow, title.c_str());
}

std::string TSdlPlatform::Title() const {
  return mWindow ? SDL_GetWindowTitle(mWindow) : "";
}

void TSdlPlatform::ShowWindow(bool activate) {
  if (!mWindow) return;
  SDL_ShowWindow(mWindow);
  if (activate) SDL_RaiseWindow(mWindow);
}

void TSdlPlatform::RaiseWindow() {
  if (!mWindow) return;
  if (SDL_GetWindowFlags(mWindow) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(mWindow);
  SDL_RaiseWindow(mWindow);
}

bool TSdlPlatform::IsForeground() const {
  return mWindow && (SDL_GetWindowFlags(mWindow) & SDL_WINDOW_INPUT_FOCUS);
}

bool TSdlPlatform::IsMinimized() const {
  return mWindow && (SDL_GetWindowFlags(mWindow) & SDL_WINDOW_MINIMIZED);
}

void TSdlPlatform::SetClientSize(int width, int height) {
  if (!mWindow) return;
  SDL_SetWindowSize(mWindow, width, height);
  UpdateViewport();
}

void TSdlPlatform::ClientSize(int& width, int& height) const {
  width = height = 0;
  if (mWindow) SDL_GetWindowSize(mWindow, &width, &height);
}

bool TSdlPlatform::IsWindow(TWindowHandle handle) const {
  if (handle && handle == X11Window()) return true;
  return mX11.IsWindow(handle);
}

bool TSdlPlatform::HostClientSize(TWindowHandle handle, int& width, int& height) const {
  if (handle && handle == X11Window()) {
    ClientSize(width, height);
    return true;
  }
  return mX11.ClientSize(handle, width, height);
}

bool TSdlPlatform::AttachToHost(TWindowHandle host) {
  int width = 0, height = 0;
  const uint64_t own = X11Window();
  if (!own || !mX11.ClientSize(host, width, height)) return false;
  if (host == own) return true;  // the embedding test: the window is its own host
  if (mFullscreen) SDL_SetWindowFullscreen(mWindow, 0);
  mFullscreen = false;
  if (!mX11.Reparent(own, host, width, height)) return false;
  mHost = host;
  WatchHostSize();
  SDL_SetWindowSize(mWindow, width, height);
  UpdateViewport();
  return true;
}

void TSdlPlatform::WatchHostSize() {
  // The host's size changes come as ConfigureNotify on SDL's own connection, so they arrive
  // among the window's events (as system events) in order with everything else.
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(mWindow, &info) || info.subsystem != SDL_SYSWM_X11) return;
  XSelectInput(info.info.x11.display, static_cast<::Window>(mHost), StructureNotifyMask);
  XFlush(info.info.x11.display);
}

void TSdlPlatform::FollowHostSize(int width, int height) {
  if (!mWindow || mFullscreen || width <= 0 || height <= 0) return;
  int current = 0, currentHeight = 0;
  ClientSize(current, currentHeight);
  if (width == current && height == currentHeight) return;  // the host moved, or no change
  SDL_SetWindowSize(mWindow, width, height);
  UpdateViewport();
  // The next frame is drawn at the new size at once, also while nothing else changes.
  TPlatformMessage paint;
  paint.type = kMsgPaint;
  mPending.push_back(paint);
}

void TSdlPlatform::DetachFromHost() {
  if (!mHost) return;
  mX11.Unparent(X11Window());
  mHost = 0;
}

void TSdlPlatform::MinimizeTopLevel(TWindowHandle handle) {
  if (!mX11.IconifyTopLevel(handle)) Log("Cannot minimise the window around the host window");
}

void TSdlPlatform::PostToWindow(TWindowHandle target, int offset, long wparam, long lparam) {
  if (!target) {
    if (offset == kPostQuit) PostQuit();
    return;
  }
  if (!mX11.Post(target, offset, wparam, lparam)) {
    Log("Cannot post a message to window %llx", static_cast<unsigned long long>(target));
  }
}

TDisplayInfo TSdlPlatform::DisplayInfo() const {
  TDisplayInfo info;
  SDL_DisplayMode mode;
  const int index = mWindow ? std::max(0, SDL_GetWindowDisplayIndex(mWindow)) : 0;
  if (SDL_GetDesktopDisplayMode(index, &mode) == 0) {
    info.desktopWidth = mode.w;
    info.desktopHeight = mode.h;
    info.bitsPerPixel = static_cast<int>(SDL_BITSPERPIXEL(mode.format));
    if (info.bitsPerPixel == 0) info.bitsPerPixel = 32;  // drivers that do not say
  }
  return info;
}

bool TSdlPlatform::SetDisplayMode(int width, int height, bool fullscreen) {
  if (!mWindow) return false;
  mLogicalWidth = width;
  mLogicalHeight = height;
  if (fullscreen) {
    if (SDL_SetWindowFullscreen(mWindow, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
      Log("SDL cannot go full screen: %s", SDL_GetError());
      return false;
    }
  } else {
    if (SDL_SetWindowFullscreen(mWindow, 0) != 0) {
      Log("SDL cannot leave full screen: %s", SDL_GetError());
      return false;
    }
    if (mHost) {
      int hostWidth = 0, hostHeight = 0;
      if (mX11.ClientSize(mHost, hostWidth, hostHeight)) {
        SDL_SetWindowSize(mWindow, hostWidth, hostHeight);
      }
      SDL_SetWindowPosition(mWindow, 0, 0);  // fills the host's client area
    } else {
      int clientWidth = 0, clientHeight = 0;
      ClientSize(clientWidth, clientHeight);
      // The embedding test keeps its larger window; everything else is the logical size.
      if (clientWidth != 960 || clientHeight != 720) SDL_SetWindowSize(mWindow, width, height);
      SDL_SetWindowResizable(mWindow, SDL_FALSE);
      SDL_SetWindowPosition(mWindow, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
  }
  mFullscreen = fullscreen;
  UpdateViewport();
  return true;
}

void TSdlPlatform::UpdateViewport() {
  int width = 0, height = 0;
  ClientSize(width, height);
  if (mFullscreen) {
    const TDisplayInfo info = DisplayInfo();
    if (info.desktopWidth > 0) width = info.desktopWidth, height = info.desktopHeight;
  }
  if (width <= 0 || height <= 0 || mLogicalWidth <= 0 || mLogicalHeight <= 0) return;
  mFit = FitPicture(mLogicalWidth, mLogicalHeight, width, height);
  if (!mCursorImage.argb.empty()) ApplyCursor();
}

void TSdlPlatform::DrawableSize(int& width, int& height) const {
  width = height = 0;
  if (!mWindow) return;
  if (SDL_GetWindowFlags(mWindow) & SDL_WINDOW_OPENGL) {
    SDL_GL_GetDrawableSize(mWindow, &width, &height);
  } else {
    SDL_GetWindowSize(mWindow, &width, &height);
  }
}

void TSdlPlatform::ToLogical(int px, int py, int& x, int& y) const {
  mFit.ToPicture(px, py, x, y);
}

void TSdlPlatform::PresentPlainFrame(uint8_t red, uint8_t green, uint8_t blue) {
  if (!mWindow) return;
  SDL_Surface* surface = SDL_GetWindowSurface(mWindow);
  if (!surface) return;
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
  const SDL_Rect picture{mFit.offsetX, mFit.offsetY, mFit.width, mFit.height};
  SDL_FillRect(surface, &picture, SDL_MapRGB(surface->format, red, green, blue));
  SDL_UpdateWindowSurface(mWindow);
}

void TSdlPlatform::WaitMessage(unsigned ms) {
  if (HasPendingInjected() || !mPending.empty() || !mReady) return;
  SDL_WaitEventTimeout(nullptr, static_cast<int>(ms));
}

int TSdlPlatform::KeyState() const {
  const SDL_Keymod mods = SDL_GetModState();
  return ((mods & KMOD_SHIFT) ? kModShift : 0) | ((mods & KMOD_CTRL) ? kModCtrl : 0);
}

bool TSdlPlatform::PollNative(TPlatformMessage& message) {
  if (!mReady) return false;
  SDL_Event event;
  while (mPending.empty() && SDL_PollEvent(&event)) Translate(event);
  if (mPending.empty()) return false;
  message = mPending.front();
  mPending.pop_front();
  return true;
}

void TSdlPlatform::Translate(const SDL_Event& event) {
  TPlatformMessage m;
  switch (event.type) {
    case SDL_QUIT:
      m.type = kMsgClose;
      break;
    case SDL_WINDOWEVENT:
      TranslateWindowEvent(event);
      return;
    case SDL_KEYDOWN: {
      const TVirtualKeyCode key = VirtualKeyFromSdl(event.key.keysym);
      if (!key.code) return;
      m.key = key.code;
      m.extended = key.extended;
      m.keyState = KeyState();
      m.alt = (event.key.keysym.mod & KMOD_ALT) != 0;
      m.type = m.alt ? kMsgSysKeyDown : kMsgKeyDown;
      break;
    }
    case SDL_KEYUP: {
      const TVirtualKeyCode key = VirtualKeyFromSdl(event.key.keysym);
      if (!key.code) return;
      m.type = kMsgKeyUp;
      m.key = key.code;
      break;
    }
    case SDL_TEXTINPUT: {
      // Characters below 256 go on as 8-bit codes; the fonts have nothing beyond that.
      for (const char* p = event.text.text; *p;) {
        uint32_t code = 0;
        p += DecodeUtf8(p, code);
        if (code == 0 || code >= 256) continue;
        TPlatformMessage character;
        character.type = kMsgChar;
        character.key = static_cast<int>(code);
        mPending.push_back(character);
      }
      return;
    }
    case SDL_MOUSEMOTION:
      m.type = kMsgMouseMove;
      ToLogical(event.motion.x, event.motion.y, m.x, m.y);
      mPointerInside = true;
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      m.button = ButtonFromSdl(event.button.button);
      if (!m.button) return;
      m.type = event.type == SDL_MOUSEBUTTONDOWN ? kMsgButtonDown : kMsgButtonUp;
      m.keyState = KeyState();
      ToLogical(event.button.x, event.button.y, m.x, m.y);
      if (m.type == kMsgButtonDown && mActivatePending) {
        mActivatePending = false;
        if (TickMs() - mFocusGainedAt < kActivateClickMs) {
          TPlatformMessage activate;
          activate.type = kMsgMouseActivate;
          mPending.push_back(activate);
        }
      }
      break;
    case SDL_MOUSEWHEEL: {
      if (event.wheel.y == 0) return;
      int px = 0, py = 0;
      SDL_GetMouseState(&px, &py);
      m.type = kMsgWheel;
      m.wheel = event.wheel.y > 0 ? 1 : -1;
      m.keyState = KeyState();
      ToLogical(px, py, m.x, m.y);
      break;
    }
    case SDL_SYSWMEVENT: {
      const SDL_SysWMmsg* wm = event.syswm.msg;
      if (!wm || wm->subsystem != SDL_SYSWM_X11) return;
      const XEvent& x = wm->msg.x11.event;
      if (x.type == ConfigureNotify && mHost && x.xconfigure.window == mHost) {
        FollowHostSize(x.xconfigure.width, x.xconfigure.height);
        return;
      }
      if (x.type != ClientMessage || x.xclient.format != 32) return;
      Display* display = x.xclient.display;
      if (!mUserAtom) {
        mUserAtom = static_cast<uint32_t>(XInternAtom(display, kHostUserAtomName, False));
        mQuitAtom = static_cast<uint32_t>(XInternAtom(display, kHostQuitAtomName, False));
      }
      if (x.xclient.message_type == mQuitAtom) {
        PostQuit();
        return;
      }
      if (x.xclient.message_type != mUserAtom) return;
      const long offset = x.xclient.data.l[2];
      m.type = offset == 2 ? kMsgUserForward : offset == 0 ? kMsgUser : kMsgNone;
      if (m.type == kMsgNone) return;
      m.wparam = x.xclient.data.l[0];
      m.lparam = x.xclient.data.l[1];
      break;
    }
    default:
      return;
  }
  mPending.push_back(m);
}

void TSdlPlatform::TranslateWindowEvent(const SDL_Event& event) {
  if (!mWindow || event.window.windowID != SDL_GetWindowID(mWindow)) return;
  TPlatformMessage m;
  switch (event.window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      m.type = kMsgClose;
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      mActivatePending = true;
      mFocusGainedAt = TickMs();
      m.type = kMsgActivateApp;
      m.wparam = 1;
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      m.type = kMsgActivateApp;
      m.wparam = 0;
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      m.type = kMsgSize;
      m.wparam = 1;
      break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SHOWN:
      m.type = kMsgSize;
      m.wparam = 0;
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      m.type = kMsgPaint;
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      UpdateViewport();
      return;
    case SDL_WINDOWEVENT_ENTER:
      mPointerInside = true;
      return;
    case SDL_WINDOWEVENT_LEAVE:
      mPointerInside = false;
      m.type = kMsgMouseLeave;
      break;
    default:
      return;
  }
  mPending.push_back(m);
}

void TSdlPlatform::CaptureMouse(bool on) {
  SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE);
}

void TSdlPlatform::WarpPointer(int x, int y) {
  if (!mWindow) return;
  int px = 0, py = 0;
  mFit.ToOutput(x, y, px, py);
  SDL_WarpMouseInWindow(mWindow, px, py);
}

void TSdlPlatform::TakeKeyboardFocus() {
  if (mWindow) SDL_SetWindowInputFocus(mWindow);
}

void TSdlPlatform::SetCursorImage(const uint32_t* argb, int width, int height, int hotX, int hotY) {
  mCursorImage = TCursorImage{};
  if (argb && width > 0 && height > 0 && width <= 256 && height <= 256) {
    mCursorImage.argb.assign(argb, argb + static_cast<size_t>(width) * height);
    mCursorImage.width = width;
    mCursorImage.height = height;
    mCursorImage.hotX = std::clamp(hotX, 0, width - 1);
    mCursorImage.hotY = std::clamp(hotY, 0, height - 1);
  } else if (argb) {
    Log("Cannot make a cursor of %d x %d pixels", width, height);
  }
  mCursorScale = 0;  // make it anew
  ApplyCursor();
}

void TSdlPlatform::ApplyCursor() {
  // The picture is drawn at the drawable's pixel scale; the cursor goes along with it.
  int pixelWidth = 0, pixelHeight = 0;
  DrawableSize(pixelWidth, pixelHeight);
  const float scale = FitPicture(mLogicalWidth, mLogicalHeight, pixelWidth, pixelHeight).scale;
  if (scale == mCursorScale && mCursor) return;
  mCursorScale = scale;
  SDL_Cursor* cursor = nullptr;
  if (!mCursorImage.argb.empty()) {
    TCursorImage shown = ScaleCursorImage(mCursorImage, scale);
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(shown.argb.data(), shown.width, shown.height, 32,
                                           shown.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface) {
      cursor = SDL_CreateColorCursor(surface, shown.hotX, shown.hotY);
      SDL_FreeSurface(surface);
    }
    if (!cursor) Log("Cannot make the cursor image: %s", SDL_GetError());
  }
  SDL_SetCursor(cursor ? cursor : SDL_GetDefaultCursor());
  if (mCursor) SDL_FreeCursor(mCursor);
  mCursor = cursor;
}

void TSdlPlatform::ShowCursor(bool visible) {
  SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

bool TSdlPlatform::PointerPosition(int& x, int& y) const {
  if (!mWindow || SDL_GetMouseFocus() != mWindow) return false;
  int px = 0, py = 0;
  SDL_GetMouseState(&px, &py);
  ToLogical(px, py, x, y);
  return true;
}

bool TSdlPlatform::SetClipboardText(const std::string& text) {
  return mReady && SDL_SetClipboardText(text.c_str()) == 0;
}

std::string TSdlPlatform::GetClipboardText() {
  if (!mReady || !SDL_HasClipboardText()) return "";
  char* text = SDL_GetClipboardText();
  std::string copy = text ? text : "";
  SDL_free(text);
  return copy;
}

void TSdlPlatform::MessageBox(const std::string& text, const std::string& caption,
                              TMessageBoxIcon icon) {
  Log("Message box [%s]: %s", caption.c_str(), text.c_str());
  const Uint32 flags = icon == kIconError     ? SDL_MESSAGEBOX_ERROR
                       : icon == kIconWarning ? SDL_MESSAGEBOX_WARNING
                                              : SDL_MESSAGEBOX_INFORMATION;
  if (SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), mWindow) != 0) {
    Log("The message box could not be shown: %s", SDL_GetError());
  }
}
