// Plain data shared by the renderer, its device backends and the texture code: vertex
// layouts, primitive types, rectangles and 4 x 4 matrices.
#pragma once

#include <cstdint>

// Vertex kinds. Every layout is eight 32-bit fields (32 bytes).
enum : int {
  kVertexLit = 0,          // x, y, z; normal; u, v (lit 3D geometry)
  kVertexColored = 1,      // x, y, z; reserved; diffuse; specular; u, v
  kVertex2d = 2,           // as kVertexColored, in pixel coordinates of the viewport
  kVertexTransformed = 3,  // x, y, z, 1/w in target pixels; diffuse; specular; u, v
};

// Primitive types, numbered as the drawing code and scripts know them.
enum : int {
  kPointList = 1,
  kLineList = 2,
  kLineStrip = 3,
  kTriangleList = 4,
  kTriangleStrip = 5,
  kTriangleFan = 6,
};

// Blend modes 0..4 (scripts know 0..3 as kBlendNormal .. kBlendSubtractive).
enum : int {
  kBlendNormal = 0,
  kBlendOpaque = 1,
  kBlendAdditive = 2,
  kBlendSubtractive = 3,
  kBlendMultiply = 4,
};

enum : int { kFilterPoint = 0, kFilterBilinear = 1 };
enum : int { kAddressWrap = 1, kAddressMirror = 2, kAddressClamp = 3 };
enum : int { kCullNone = 1, kCullClockwise = 2, kCullCounterClockwise = 3 };

struct TVertexLit {
  float x, y, z;
  float nx, ny, nz;
  float u, v;
};

struct TVertexColored {
  float x, y, z;
  float reserved;
  uint32_t diffuse;   // ARGB
  uint32_t specular;  // ARGB
  float u, v;
};

struct TVertexTransformed {
  float x, y, z, rhw;
  uint32_t diffuse;
  uint32_t specular;
  float u, v;
};

static_assert(sizeof(TVertexLit) == 32 && sizeof(TVertexColored) == 32 &&
              sizeof(TVertexTransformed) == 32);
constexpr int kVertexStride = 32;

struct TVertexArray {
  int kind = kVertex2d;
  const void* vertices = nullptr;
  int count = 0;
};

// left, top, right, bottom in pixels; right and bottom are exclusive.
struct TRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool operator==(const TRect&) const = default;
};

TRect Intersect(const TRect& a, const TRect& b);

// How drawing coordinates of the current viewport relate to the pixels of the target: the
// pixel coordinate of x is x * scale + dx (and likewise for y), counted from an integer
// pixel near the viewport's corner. At scale 1, dx and dy are 0 and pixels are the
// viewport's own. Code that rasterises by itself (text) works in these pixels so that its
// edges land on the target's pixel grid.
struct TPixelSpace {
  float scale = 1.0f;
  float dx = 0.0f;
  float dy = 0.0f;
  // Drawing coordinate -> target pixel, and back.
  float ToPixelX(float x) const { return x * scale + dx; }
  float ToPixelY(float y) const { return y * scale + dy; }
  float FromPixelX(float px) const { return (px - dx) / scale; }
  float FromPixelY(float py) const { return (py - dy) / scale; }
};

// Row-major 4 x 4 matrix for row vectors (v' = v * M): translation sits in m[12..14].
struct TMatrix4 {
  float m[16];
  static TMatrix4 Identity();
  bool operator==(const TMatrix4&) const = default;
};

TMatrix4 Multiply(const TMatrix4& a, const TMatrix4& b);

// Left-handed off-centre orthographic projection onto depth 0..1.
TMatrix4 OrthoOffCenterLH(float left, float right, float bottom, float top, float zn, float zf);
// Left-handed perspective projection (field of view in radians, vertical).
TMatrix4 PerspectiveFovLH(float fovY, float aspect, float zn, float zf);

struct TMaterial {
  float diffuse[4] = {1, 1, 1, 1};
  float ambient[4] = {1, 1, 1, 1};
  float emissive[4] = {0, 0, 0, 0};
  bool operator==(const TMaterial&) const = default;
};

// Packs float colour components (0..1, clamped) into ARGB.
uint32_t PackArgb(float r, float g, float b, float a);
