#include "platform/sdl/x11_host.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "frame/log.h"
#include "online/host_protocol.h"

namespace {

// Xlib reports a bad window id through the error handler; catch it instead of exiting.
bool gXError = false;
int CatchError(Display*, XErrorEvent*) {
  gXError = true;
  return 0;
}

Display* AsDisplay(void* display) {
  return static_cast<Display*>(display);
}

}  // namespace

TX11Host::~TX11Host() {
  if (mDisplay) XCloseDisplay(AsDisplay(mDisplay));
}

bool TX11Host::Open() {
  if (mDisplay) return true;
  if (mTried) return false;
  mTried = true;
  mDisplay = XOpenDisplay(nullptr);
  if (!mDisplay) Log("No X display for the host window");
  return mDisplay != nullptr;
}

bool TX11Host::ClientSize(uint64_t window, int& width, int& height) {
  if (!window || !Open()) return false;
  Display* display = AsDisplay(mDisplay);
  XSync(display, False);
  gXError = false;
  auto previous = XSetErrorHandler(CatchError);
  XWindowAttributes attributes{};
  const Status ok = XGetWindowAttributes(display, static_cast<Window>(window), &attributes);
  XSync(display, False);
  XSetErrorHandler(previous);
  if (!ok || gXError) return false;
  width = attributes.width;
  height = attributes.height;
  return true;
}

bool TX11Host::IsWindow(uint64_t window) {
  int width = 0, height = 0;
  return ClientSize(window, width, height);
}

bool TX11Host::Reparent(uint64_t child, uint64_t parent, int width, int height) {
  if (!child || !parent || !Open()) return false;
  Display* display = AsDisplay(mDisplay);
  gXError = false;
  auto previous = XSetErrorHandler(CatchError);
  XReparentWindow(display, static_cast<Window>(child), static_cast<Window>(parent), 0, 0);
  XResizeWindow(display, static_cast<Window>(child), static_cast<unsigned>(width),
                static_cast<unsigned>(height));
  // Mapping is left to SDL: it waits for the map notification of a window it shows, and
  // would wait forever for a window that someone else already mapped.
  XSync(display, False);
  XSetErrorHandler(previous);
  return !gXError;
}

bool TX11Host::Unparent(uint64_t child) {
  if (!child || !Open()) return false;
  Display* display = AsDisplay(mDisplay);
  gXError = false;
  auto previous = XSetErrorHandler(CatchError);
  XReparentWindow(display, static_cast<Window>(child), DefaultRootWindow(display), 0, 0);
  XSync(display, False);
  XSetErrorHandler(previous);
  return !gXError;
}

bool TX11Host::Post(uint64_t target, int offset, long wparam, long lparam) {
  if (!target || !Open()) return false;
  Display* display = AsDisplay(mDisplay);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = static_cast<Window>(target);
  event.xclient.format = 32;
  event.xclient.message_type =
      XInternAtom(display, offset < 0 ? kHostQuitAtomName : kHostUserAtomName, False);
  event.xclient.data.l[0] = wparam;
  event.xclient.data.l[1] = lparam;
  event.xclient.data.l[2] = offset < 0 ? 0 : offset;
  gXError = false;
  auto previous = XSetErrorHandler(CatchError);
  XSendEvent(display, static_cast<Window>(target), False, NoEventMask, &event);
  XSync(display, False);
  XSetErrorHandler(previous);
  return !gXError;
}

bool TX11Host::IconifyTopLevel(uint64_t window) {
  if (!window || !Open()) return false;
  Display* display = AsDisplay(mDisplay);
  gXError = false;
  auto previous = XSetErrorHandler(CatchError);
  // Up the parent chain to the child of the root window.
  Window current = static_cast<Window>(window);
  for (int depth = 0; depth < 64 && !gXError; ++depth) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, current, &root, &parent, &children, &count)) break;
    if (children) XFree(children);
    if (!parent || parent == root) break;
    current = parent;
  }
  const bool iconified = !gXError && XIconifyWindow(display, current, DefaultScreen(display)) != 0;
  XSync(display, False);
  XSetErrorHandler(previous);
  return iconified && !gXError;
}
