#include "gfx/render_types.h"

#include <algorithm>
#include <cmath>

TRect Intersect(const TRect& a, const TRect& b) {
  TRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
  if (r.Empty()) r = TRect{r.left, r.top, r.left, r.top};
  return r;
}

TMatrix4 TMatrix4::Identity() {
  return TMatrix4{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

TMatrix4 Multiply(const TMatrix4& a, const TMatrix4& b) {
  TMatrix4 r{};
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a.m[row * 4 + k] * b.m[k * 4 + col];
      r.m[row * 4 + col] = sum;
    }
  return r;
}

TMatrix4 OrthoOffCenterLH(float l, float r, float b, float t, float zn, float zf) {
  return TMatrix4{{2 / (r - l), 0, 0, 0,    //
                   0, 2 / (t - b), 0, 0,    //
                   0, 0, 1 / (zf - zn), 0,  //
                   (l + r) / (l - r), (t + b) / (b - t), zn / (zn - zf), 1}};
}

TMatrix4 PerspectiveFovLH(float fovY, float aspect, float zn, float zf) {
  float yScale = 1.0f / std::tan(fovY / 2);
  float xScale = aspect != 0 ? yScale / aspect : yScale;
  return TMatrix4{{xScale, 0, 0, 0,          //
                   0, yScale, 0, 0,          //
                   0, 0, zf / (zf - zn), 1,  //
                   0, 0, -zn * zf / (zf - zn), 0}};
}

uint32_t PackArgb(float r, float g, float b, float a) {
  auto byte = [](float v) -> uint32_t {
    float scaled = v * 255.0f;
    if (!(scaled > 0)) return 0;  // also catches NaN
    if (scaled >= 255) return 255;
    return static_cast<uint32_t>(scaled);
  };
  return byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
}
