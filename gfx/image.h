// Decoded pictures and the PNG/JPEG codecs. Pixels are 32-bit ARGB (alpha in the top byte),
// rows top to bottom. Decoders work on memory buffers and never crash on damaged input:
// they answer false and leave the output empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // width * height
  bool hasAlpha = false;         // the file carried an alpha channel (or transparency)

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Largest side a decoder accepts; larger pictures are refused before any allocation.
constexpr int kMaxImageSide = 16384;

bool DecodePng(const uint8_t* data, size_t size, TImage* out);
bool DecodeJpeg(const uint8_t* data, size_t size, TImage* out);

// PNG with alpha of width x height ARGB pixels (stride in pixels).
bool EncodePng(const uint32_t* argb, int width, int height, int stride, std::vector<uint8_t>* out);
bool EncodePng(const TImage& image, std::vector<uint8_t>* out);
// Writes the picture as a PNG file at a native path (tests, screenshots, tools).
bool WritePngFile(const std::string& path, const TImage& image);
