// Host windows on X11 for the embedded mode ("-wnd=" gives a window id in hexadecimal):
// checking that the id names a window, its client size, reparenting the program window into
// it, and host-link messages as ClientMessage events (format 32; the first two longs carry
// wParam and lParam; one atom for WM_USER + offset and one for the quit message).
#pragma once

#include <cstdint>

class TX11Host {
 public:
  TX11Host() = default;
  ~TX11Host();
  TX11Host(const TX11Host&) = delete;
  TX11Host& operator=(const TX11Host&) = delete;

  bool IsWindow(uint64_t window);
  bool ClientSize(uint64_t window, int& width, int& height);
  bool Reparent(uint64_t child, uint64_t parent, int width, int height);
  bool Unparent(uint64_t child);
  // offset -1 sends the quit message, else WM_USER + offset.
  bool Post(uint64_t target, int offset, long wparam, long lparam);
  // Names of the two message atoms, shared with the receiving side.
  static const char* UserAtomName() { return "MAHJONGCURIOMAR_WM_USER"; }
  static const char* QuitAtomName() { return "MAHJONGCURIOMAR_WM_QUIT"; }

 private:
  bool Open();
  void* mDisplay = nullptr;  // Display*, opened on first use
  bool mTried = false;
};
