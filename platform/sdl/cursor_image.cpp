#include "platform/sdl/cursor_image.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLargestCursor = 256;

// Bilinear sample of one channel at (x, y) in source pixels, with premultiplied alpha so
// that transparent pixels do not darken the edges.
uint32_t Sample(const TCursorImage& image, float x, float y) {
  const float fx = std::clamp(x - 0.5f, 0.0f, static_cast<float>(image.width - 1));
  const float fy = std::clamp(y - 0.5f, 0.0f, static_cast<float>(image.height - 1));
  const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
  const int x1 = std::min(x0 + 1, image.width - 1), y1 = std::min(y0 + 1, image.height - 1);
  const float tx = fx - static_cast<float>(x0), ty = fy - static_cast<float>(y0);
  float sum[4] = {0, 0, 0, 0};  // alpha, premultiplied red, green, blue
  const int xs[2] = {x0, x1}, ys[2] = {y0, y1};
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 2; ++i) {
      const float w = (i ? tx : 1 - tx) * (j ? ty : 1 - ty);
      const uint32_t p = image.argb[static_cast<size_t>(ys[j]) * image.width + xs[i]];
      const float a = static_cast<float>(p >> 24) / 255;
      sum[0] += w * a;
      for (int c = 0; c < 3; ++c)
        sum[c + 1] += w * a * static_cast<float>((p >> (16 - 8 * c)) & 0xFF);
    }
  if (sum[0] <= 0) return 0;
  uint32_t out = static_cast<uint32_t>(std::lround(sum[0] * 255)) << 24;
  for (int c = 0; c < 3; ++c)
    out |= static_cast<uint32_t>(std::clamp(std::lround(sum[c + 1] / sum[0]), 0L, 255L))
           << (16 - 8 * c);
  return out;
}

}  // namespace

TCursorImage ScaleCursorImage(const TCursorImage& image, float scale) {
  if (image.width <= 0 || image.height <= 0 ||
      image.argb.size() != static_cast<size_t>(image.width) * image.height || !(scale > 0) ||
      std::abs(scale - 1.0f) < 0.01f)
    return image;
  scale = std::min(scale, static_cast<float>(kLargestCursor) / std::max(image.width, image.height));
  TCursorImage out;
  out.width = std::max(1, static_cast<int>(std::lround(image.width * scale)));
  out.height = std::max(1, static_cast<int>(std::lround(image.height * scale)));
  out.hotX = std::clamp(static_cast<int>(image.hotX * scale), 0, out.width - 1);
  out.hotY = std::clamp(static_cast<int>(image.hotY * scale), 0, out.height - 1);
  out.argb.resize(static_cast<size_t>(out.width) * out.height);
  const float sx = static_cast<float>(image.width) / static_cast<float>(out.width);
  const float sy = static_cast<float>(image.height) / static_cast<float>(out.height);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      out.argb[static_cast<size_t>(y) * out.width + x] =
          Sample(image, (static_cast<float>(x) + 0.5f) * sx, (static_cast<float>(y) + 0.5f) * sy);
  return out;
}
