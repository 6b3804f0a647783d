// Host windows on X11 for the embedded mode ("-wnd=" gives a window id in hexadecimal):
// checking that the id names a window, its client size, reparenting the program window into
// it, and host-link messages as ClientMessage events (the layout is in
// online/host_protocol.h).
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
  // Minimises the outermost window above window (the browser around a host window).
  bool IconifyTopLevel(uint64_t window);

 private:
  bool Open();
  void* mDisplay = nullptr;  // Display*, opened on first use
  bool mTried = false;
};
