#include "gfx/system_cursor.h"

#include "files/file_system.h"
#include "gfx/image.h"

namespace {

constexpr int kSide = 32;

// The arrow outline in pixel units (tip at the origin, y downward).
constexpr float kArrow[][2] = {{0, 0}, {0, 21}, {5, 16}, {9, 25}, {12, 24}, {8, 15}, {15, 15}};
constexpr int kCorners = sizeof kArrow / sizeof kArrow[0];

bool Inside(float x, float y) {
  bool inside = false;
  for (int i = 0, j = kCorners - 1; i < kCorners; j = i++) {
    float xi = kArrow[i][0], yi = kArrow[i][1], xj = kArrow[j][0], yj = kArrow[j][1];
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

bool Covered(int x, int y) {
  return x >= 0 && y >= 0 && x < kSide && y < kSide && Inside(x + 0.5f, y + 0.5f);
}

}  // namespace

std::vector<uint32_t> SystemCursorPixels() {
  std::vector<uint32_t> pixels(kSide * kSide, 0);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      // The tip pixel itself belongs to the outline, so the hotspot shows.
      bool covered = Covered(x, y) || (x == 0 && y == 0);
      if (!covered) continue;
      bool edge = x == 0 || y == 0 || !Covered(x - 1, y) || !Covered(x + 1, y) ||
                  !Covered(x, y - 1) || !Covered(x, y + 1);
      pixels[y * kSide + x] = edge ? 0xFF000000u : 0xFFFFFFFFu;
    }
  return pixels;
}

const std::vector<uint8_t>& SystemCursorPng() {
  static const std::vector<uint8_t> png = [] {
    std::vector<uint32_t> pixels = SystemCursorPixels();
    std::vector<uint8_t> bytes;
    EncodePng(pixels.data(), kSide, kSide, kSide, &bytes);
    return bytes;
  }();
  return png;
}

void RegisterSystemCursor() {
  const std::vector<uint8_t>& png = SystemCursorPng();
  RegisterMemoryFile(kSystemCursorName, png.data(), png.size());
}
