// TX11ScreenProbe: a test's eyes and hands on an X display. It reads what windows show and
// plays the user: pointer clicks and key presses through the XTEST extension, so they reach
// whichever program owns the window under the pointer, the way real input does.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TX11ScreenProbe {
 public:
  TX11ScreenProbe();
  ~TX11ScreenProbe();
  TX11ScreenProbe(const TX11ScreenProbe&) = delete;
  TX11ScreenProbe& operator=(const TX11ScreenProbe&) = delete;

  // False when the display cannot be opened or has no XTEST.
  bool Open(const std::string& display);

  // The colour (0xRRGGBB) the screen shows at (x, y) of window, or -1.
  long PixelAt(uint64_t window, int x, int y);
  // Every pixel of the window's rectangle as the screen shows it (0xRRGGBB, row by row);
  // empty when the window cannot be read. The size goes to width and height when given.
  std::vector<uint32_t> Pixels(uint64_t window, int* width = nullptr, int* height = nullptr);
  // The screen's root window.
  uint64_t Root();
  // The first child window of window, and its parent; 0 when there is none.
  uint64_t FirstChild(uint64_t window);
  uint64_t Parent(uint64_t window);

  // Starts counting what is drawn into window (XDAMAGE); false without the extension.
  bool WatchDrawing(uint64_t window);
  // The drawing operations seen since the last call.
  int TakeDrawings();

  // Moves the pointer to (x, y) of window, without a click.
  bool MovePointer(uint64_t window, int x, int y);
  // A left click at (x, y) of window.
  bool Click(uint64_t window, int x, int y);
  // Types the text (letters, digits, blanks) and presses a key by its X name ("Return").
  bool Type(const std::string& text);
  bool PressKey(const std::string& keyName);

 private:
  struct TState;
  std::unique_ptr<TState> mState;
  bool Key(unsigned long keysym, bool shift);
};
