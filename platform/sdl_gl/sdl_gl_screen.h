// The renderer in an SDL window: an OpenGL 3.3 core context on a window created with
// SDL_WINDOW_OPENGL, the GL device drawing frames of a fixed size and presenting them
// scaled to fit the window's drawable as it is at each swap (full screen, embedded host
// windows and size changes included; frames paced by the swap interval, swap_interval.h).
// The window's cursor belongs to the platform's window (the program hands the renderer's
// cursor to it).
#pragma once

#include <memory>
#include <string>

#include "gfx/pixel_image.h"

struct SDL_Window;
class TGlDevice;
class TRenderer;
class TSwapInterval;

class TSdlGlScreen {
 public:
  // Frames of width x height. Null (and a log line) when no GL 3.3 core context can be
  // made for the window. The window is not owned and must outlive the screen.
  static std::unique_ptr<TSdlGlScreen> Create(SDL_Window* window, int width, int height);
  // Opens a window of its own (SDL's video subsystem is started when needed), for tools
  // and tests; it is shown unless `hidden`.
  static std::unique_ptr<TSdlGlScreen> CreateWindow(const char* title, int width, int height,
                                                    bool hidden);
  ~TSdlGlScreen();
  TSdlGlScreen(const TSdlGlScreen&) = delete;
  TSdlGlScreen& operator=(const TSdlGlScreen&) = delete;

  TRenderer& Renderer() { return *mRenderer; }
  TGlDevice& Device() { return *mDevice; }

  // The window as it shows the last frame (scaled to its drawable, black bars), read back
  // from the window's framebuffer: screenshots for tools and tests.
  bool ReadWindow(TPixelImage* out);
  // Sets the window's size (tools and tests); the next presentation follows it.
  void ResizeWindow(int width, int height);
  // Puts the window into desktop full screen or back (tools and tests).
  bool SetFullscreen(bool on);
  // The swap interval the GL driver reports for the window's context now, and whether it
  // refused the one last asked for (drivers without swap control do).
  int ReportedSwapInterval() const;
  bool SwapIntervalRefused() const;

 private:
  TSdlGlScreen() = default;
  SDL_Window* mWindow = nullptr;
  bool mOwnsWindow = false;
  void* mContext = nullptr;
  std::unique_ptr<TSwapInterval> mSwapInterval;
  std::unique_ptr<TGlDevice> mDevice;
  std::unique_ptr<TRenderer> mRenderer;
  TRenderer* mPrevious = nullptr;
};
