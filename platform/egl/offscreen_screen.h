// An offscreen screen for tests and tools: an EGL context, the GL device and a renderer of
// width x height pixels, installed as the program's renderer while it lives. Draw through
// Renderer() (or textures) between BeginDraw and EndDraw, then read the frame back or
// write it as a PNG.
//
//   auto screen = TOffscreenScreen::Create(800, 600);
//   TRenderer& r = screen->Renderer();
//   r.BeginDraw(true); r.Begin2d(); ... r.End2d(); r.EndDraw(true);
//   screen->SavePng("frame.png");
#pragma once

#include <memory>
#include <string>

#include "gfx/pixel_image.h"
#include "gfx/renderer.h"

class TEglContext;
class TGlDevice;

class TOffscreenScreen {
 public:
  // Null when no offscreen GL context can be made (the reason is logged). The screen counts
  // width x height logical pixels.
  static std::unique_ptr<TOffscreenScreen> Create(int width, int height);
  // Draws the following frames for a display of outputWidth x outputHeight device pixels:
  // the frame becomes the size the picture takes there (1440 x 1080 for 800 x 600 on
  // 1920 x 1080). 0 x 0 goes back to the logical size.
  void SetOutputSize(int outputWidth, int outputHeight);
  ~TOffscreenScreen();

  TRenderer& Renderer() { return *mRenderer; }
  TGlDevice& Device() { return *mDevice; }
  int Width() const;
  int Height() const;

  // The last drawn frame at its pixel size, top row first, ARGB (alpha is always opaque).
  bool ReadFrame(TPixelImage* out);
  bool SavePng(const std::string& path);
  // The last frame as a window of outputWidth x outputHeight shows it: scaled to fit with
  // the aspect kept, centred between black bars.
  bool ReadPresented(int outputWidth, int outputHeight, TPixelImage* out);

 private:
  TOffscreenScreen() = default;
  std::unique_ptr<TEglContext> mContext;
  std::unique_ptr<TGlDevice> mDevice;
  std::unique_ptr<TRenderer> mRenderer;
  TRenderer* mPrevious = nullptr;
};
