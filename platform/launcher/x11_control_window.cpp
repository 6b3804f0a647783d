#include "platform/launcher/x11_control_window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstring>

#include "online/host_protocol.h"
#include "webcontrol/launcher_log.h"

struct TX11ControlWindow::TState {
  Display* display = nullptr;
  Window window = 0;
  Atom userAtom = 0;
  Atom quitAtom = 0;
  GC gc = nullptr;
};

namespace {

// A window that goes between a query and a request (the game quitting) is not an error.
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

}  // namespace

TX11ControlWindow::TX11ControlWindow(TLauncherControl* control, const std::string& display,
                                     uint64_t parent, int x, int y, int width, int height)
    : mControl(control), mState(std::make_unique<TState>()) {
  Display* d = XOpenDisplay(display.empty() ? nullptr : display.c_str());
  if (!d) {
    LauncherLog("cannot open display '%s'", display.c_str());
    return;
  }
  XSetErrorHandler(IgnoreXError);
  XWindowAttributes parentAttributes{};
  if (!parent || !XGetWindowAttributes(d, static_cast<Window>(parent), &parentAttributes)) {
    LauncherLog("no parent window %llx", static_cast<unsigned long long>(parent));
    XCloseDisplay(d);
    return;
  }
  mState->display = d;
  const int screen = DefaultScreen(d);
  mState->window = XCreateSimpleWindow(d, static_cast<Window>(parent), x, y,
                                       static_cast<unsigned>(width > 0 ? width : 1),
                                       static_cast<unsigned>(height > 0 ? height : 1), 0,
                                       BlackPixel(d, screen), WhitePixel(d, screen));
  XSelectInput(d, mState->window, ExposureMask | StructureNotifyMask | SubstructureNotifyMask);
  mState->userAtom = XInternAtom(d, kHostUserAtomName, False);
  mState->quitAtom = XInternAtom(d, kHostQuitAtomName, False);
  mState->gc = XCreateGC(d, mState->window, 0, nullptr);
  XSetForeground(d, mState->gc, BlackPixel(d, screen));
  XMapWindow(d, mState->window);
  XSync(d, False);
  mId = mState->window;
  if (pipe2(mWake, O_CLOEXEC | O_NONBLOCK) != 0) mWake[0] = mWake[1] = -1;
  mThread = std::thread([this] { Serve(); });
}

TX11ControlWindow::~TX11ControlWindow() {
  mStop = true;
  if (mWake[1] >= 0) (void)!write(mWake[1], "x", 1);
  if (mThread.joinable()) mThread.join();
  for (int fd : mWake)
    if (fd >= 0) close(fd);
  std::lock_guard<std::mutex> hold(mLock);
  if (!mState->display) return;
  if (mState->gc) XFreeGC(mState->display, mState->gc);
  XDestroyWindow(mState->display, mState->window);
  XCloseDisplay(mState->display);
  mState->display = nullptr;
}

bool TX11ControlWindow::Exists() const {
  std::lock_guard<std::mutex> hold(mLock);
  if (!mState->display || mStop) return false;
  XWindowAttributes attributes{};
  return XGetWindowAttributes(mState->display, mState->window, &attributes) != 0;
}

uint64_t TX11ControlWindow::GameWindow() const {
  if (!mState->display) return 0;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(mState->display, mState->window, &root, &parent, &children, &count)) return 0;
  const Window first = count > 0 ? children[0] : 0;
  if (children) XFree(children);
  return first;
}

bool TX11ControlWindow::HasGameWindow() const {
  std::lock_guard<std::mutex> hold(mLock);
  return GameWindow() != 0;
}

bool TX11ControlWindow::Post(uint64_t target, bool quit, long wparam) {
  if (!target) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = static_cast<Window>(target);
  event.xclient.format = 32;
  event.xclient.message_type = quit ? mState->quitAtom : mState->userAtom;
  event.xclient.data.l[0] = wparam;
  event.xclient.data.l[1] = 0;
  event.xclient.data.l[2] = kHostUserOffset;
  const Status sent =
      XSendEvent(mState->display, static_cast<Window>(target), False, NoEventMask, &event);
  XFlush(mState->display);
  return sent != 0;
}

void TX11ControlWindow::PostHostCommand(uint32_t code) {
  std::lock_guard<std::mutex> hold(mLock);
  Post(GameWindow(), false, static_cast<long>(code));
}

void TX11ControlWindow::PostQuit() {
  std::lock_guard<std::mutex> hold(mLock);
  Post(GameWindow(), true, 0);
}

void TX11ControlWindow::Invalidate() {
  std::lock_guard<std::mutex> hold(mLock);
  if (!mState->display) return;
  XClearArea(mState->display, mState->window, 0, 0, 0, 0, True);
  XFlush(mState->display);
}

void TX11ControlWindow::Place(int x, int y, int width, int height) {
  std::lock_guard<std::mutex> hold(mLock);
  if (!mState->display || width <= 0 || height <= 0) return;
  XMoveResizeWindow(mState->display, mState->window, x, y, static_cast<unsigned>(width),
                    static_cast<unsigned>(height));
  XFlush(mState->display);
}

void TX11ControlWindow::Paint() {
  // The rectangle's outline and the status line centred on its middle (baseline there).
  Display* d = mState->display;
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(d, mState->window, &attributes)) return;
  XDrawRectangle(d, mState->window, mState->gc, 0, 0, static_cast<unsigned>(attributes.width - 1),
                 static_cast<unsigned>(attributes.height - 1));
  const std::string status = mControl->StatusText();
  if (!status.empty()) {
    int width = static_cast<int>(status.size()) * 6;
    if (XFontStruct* font = XQueryFont(d, XGContextFromGC(mState->gc))) {
      width = XTextWidth(font, status.c_str(), static_cast<int>(status.size()));
      XFreeFontInfo(nullptr, font, 1);
    }
    XDrawString(d, mState->window, mState->gc, attributes.width / 2 - width / 2,
                attributes.height / 2, status.c_str(), static_cast<int>(status.size()));
  }
  XFlush(d);
}

void TX11ControlWindow::Serve() {
  const int connection = ConnectionNumber(mState->display);
  while (!mStop) {
    {
      std::unique_lock<std::mutex> hold(mLock);
      while (!mStop && XPending(mState->display) > 0) {
        XEvent event;
        XNextEvent(mState->display, &event);
        if (event.type == Expose && event.xexpose.count == 0) {
          Paint();
        } else if (event.type == DestroyNotify && event.xdestroywindow.window == mState->window) {
          mStop = true;
        } else if (event.type == ClientMessage && event.xclient.message_type == mState->userAtom &&
                   event.xclient.format == 32 && event.xclient.data.l[2] == kHostUserOffset) {
          // The page's script runs without the window's lock: it may call the control.
          const uint64_t wparam = static_cast<uint64_t>(event.xclient.data.l[0]);
          const uint64_t lparam = static_cast<uint64_t>(event.xclient.data.l[1]);
          hold.unlock();
          mControl->ReceiveHostMessage(wparam, lparam);
          hold.lock();
        }
      }
    }
    pollfd fds[2] = {{connection, POLLIN, 0}, {mWake[0], POLLIN, 0}};
    poll(fds, mWake[0] >= 0 ? 2 : 1, 100);
  }
}
