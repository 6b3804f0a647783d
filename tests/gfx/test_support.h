// Helpers shared by the graphics tests: log capture, memory image files, pixel checks.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "gfx/pixel_image.h"
#include "gfx/renderer.h"
#include "gfx/texture_loader.h"

// Sends the log into a fresh temporary folder for the test's lifetime.
class TLogCapture {
 public:
  TLogCapture();
  ~TLogCapture();
  std::string Text() const;
  bool Contains(const std::string& line) const { return Text().find(line) != std::string::npos; }
  int Count(const std::string& line) const;

 private:
  std::filesystem::path mFolder;
};

// Image files held in memory.
class TMemorySource : public TImageSource {
 public:
  bool Exists(const std::string& name) override { return files.count(name) != 0; }
  bool Read(const std::string& name, std::vector<uint8_t>* bytes) override;
  std::map<std::string, std::vector<uint8_t>> files;
};

// A picture filled by fill(x, y) -> ARGB.
template <typename F>
TPixelImage MakeImage(int width, int height, F fill) {
  TPixelImage image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.pixels[static_cast<size_t>(y) * width + x] = fill(x, y);
  return image;
}

std::vector<uint8_t> PngBytes(const TPixelImage& image);     // with alpha channel
std::vector<uint8_t> RgbPngBytes(const TPixelImage& image);  // without alpha channel
std::vector<uint8_t> JpegBytes(const TPixelImage& image, int quality = 95);

// An untextured rectangle of `color` in 2D drawing coordinates (one triangle fan).
void FillRect(TRenderer& renderer, float left, float top, float right, float bottom,
              uint32_t color);

// Draws one frame with the renderer (draw() runs inside 2D drawing) and answers how many
// device draw calls it took.
int DrawFrame(TRenderer& renderer, const std::function<void()>& draw);

// The luminance (0..255) of an ARGB colour.
float Luminance(uint32_t argb);

// How sharp the edges in `rect` are: the mean of the largest 2% of luminance steps between
// neighbouring pixels. A picture enlarged with a linear filter spreads each step over about
// as many pixels as the enlargement factor, so its largest steps shrink.
float EdgeContrast(const TPixelImage& image, const TRect& rect);

// Channel-wise comparison within `tolerance`.
::testing::AssertionResult ColorNear(uint32_t actual, uint32_t expected, int tolerance = 2);
