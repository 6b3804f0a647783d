#include "platform/x11_test_host/x11_screen_probe.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <cctype>

namespace {

int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

}  // namespace

struct TX11ScreenProbe::TState {
  Display* display = nullptr;
  int damageEvent = 0;
  Damage damage = 0;
};

TX11ScreenProbe::TX11ScreenProbe() : mState(std::make_unique<TState>()) {}

TX11ScreenProbe::~TX11ScreenProbe() {
  if (!mState->display) return;
  if (mState->damage) XDamageDestroy(mState->display, mState->damage);
  XCloseDisplay(mState->display);
}

bool TX11ScreenProbe::Open(const std::string& display) {
  mState->display = XOpenDisplay(display.c_str());
  if (!mState->display) return false;
  XSetErrorHandler(&IgnoreXError);
  int event = 0, error = 0, major = 0, minor = 0;
  return XTestQueryExtension(mState->display, &event, &error, &major, &minor);
}

long TX11ScreenProbe::PixelAt(uint64_t window, int x, int y) {
  Display* d = mState->display;
  if (!d || !window) return -1;
  XImage* image = XGetImage(d, window, x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return -1;
  const long pixel = static_cast<long>(XGetPixel(image, 0, 0) & 0xFFFFFFul);
  XDestroyImage(image);
  return pixel;
}

bool TX11ScreenProbe::WatchDrawing(uint64_t window) {
  Display* d = mState->display;
  int error = 0;
  if (!d || !window || !XDamageQueryExtension(d, &mState->damageEvent, &error)) return false;
  if (mState->damage) XDamageDestroy(d, mState->damage);
  // One event per drawing request, so counting them counts what was drawn.
  mState->damage = XDamageCreate(d, window, XDamageReportRawRectangles);
  XSync(d, False);
  return mState->damage != 0;
}

int TX11ScreenProbe::TakeDrawings() {
  Display* d = mState->display;
  if (!d || !mState->damage) return 0;
  XSync(d, False);
  int drawings = 0;
  while (XPending(d) > 0) {
    XEvent event;
    XNextEvent(d, &event);
    drawings += event.type == mState->damageEvent + XDamageNotify;
  }
  return drawings;
}

uint64_t TX11ScreenProbe::Root() {
  return mState->display ? DefaultRootWindow(mState->display) : 0;
}

std::vector<uint32_t> TX11ScreenProbe::Pixels(uint64_t window, int* width, int* height) {
  std::vector<uint32_t> pixels;
  Display* d = mState->display;
  XWindowAttributes attributes{};
  if (!d || !window || !XGetWindowAttributes(d, window, &attributes)) return pixels;
  XImage* image =
      XGetImage(d, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
  if (!image) return pixels;
  if (width) *width = attributes.width;
  if (height) *height = attributes.height;
  pixels.reserve(static_cast<size_t>(attributes.width) * attributes.height);
  for (int y = 0; y < attributes.height; ++y)
    for (int x = 0; x < attributes.width; ++x)
      pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y) & 0xFFFFFFul));
  XDestroyImage(image);
  return pixels;
}

uint64_t TX11ScreenProbe::FirstChild(uint64_t window) {
  Display* d = mState->display;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!d || !window || !XQueryTree(d, window, &root, &parent, &children, &count)) return 0;
  const uint64_t first = count > 0 ? children[0] : 0;
  if (children) XFree(children);
  return first;
}

uint64_t TX11ScreenProbe::Parent(uint64_t window) {
  Display* d = mState->display;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!d || !window || !XQueryTree(d, window, &root, &parent, &children, &count)) return 0;
  if (children) XFree(children);
  return parent;
}

bool TX11ScreenProbe::MovePointer(uint64_t window, int x, int y) {
  Display* d = mState->display;
  if (!d || !window) return false;
  int rootX = 0, rootY = 0;
  Window child = 0;
  if (!XTranslateCoordinates(d, window, DefaultRootWindow(d), x, y, &rootX, &rootY, &child))
    return false;
  XTestFakeMotionEvent(d, DefaultScreen(d), rootX, rootY, CurrentTime);
  XFlush(d);
  return true;
}

bool TX11ScreenProbe::Click(uint64_t window, int x, int y) {
  Display* d = mState->display;
  if (!MovePointer(window, x, y)) return false;
  XTestFakeButtonEvent(d, 1, True, 30);
  XTestFakeButtonEvent(d, 1, False, 60);
  XFlush(d);
  return true;
}

bool TX11ScreenProbe::Key(unsigned long keysym, bool shift) {
  Display* d = mState->display;
  const KeyCode code = XKeysymToKeycode(d, keysym);
  const KeyCode shiftCode = XKeysymToKeycode(d, XK_Shift_L);
  if (!code || (shift && !shiftCode)) return false;
  if (shift) XTestFakeKeyEvent(d, shiftCode, True, 0);
  XTestFakeKeyEvent(d, code, True, 20);
  XTestFakeKeyEvent(d, code, False, 20);
  if (shift) XTestFakeKeyEvent(d, shiftCode, False, 0);
  XFlush(d);
  return true;
}

bool TX11ScreenProbe::Type(const std::string& text) {
  if (!mState->display) return false;
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == ' ') {
      if (!Key(XK_space, false)) return false;
    } else if (std::isalnum(u)) {
      // Keysyms of letters and digits are their lower-case characters.
      if (!Key(static_cast<unsigned long>(std::tolower(u)), std::isupper(u) != 0)) return false;
    } else {
      return false;
    }
  }
  return true;
}

bool TX11ScreenProbe::PressKey(const std::string& keyName) {
  if (!mState->display) return false;
  const KeySym keysym = XStringToKeysym(keyName.c_str());
  return keysym != NoSymbol && Key(keysym, false);
}
