#include "game/window/layout_picture.h"

#include <algorithm>

#include "game/board.h"
#include "ui/window_paint.h"

namespace {

// Sizes of the game's tiles: the footprint and the drawn sides.
constexpr float kFaceWidth = 40.0f;
constexpr float kFaceHeight = 56.0f;
constexpr float kSideDepth = 7.0f;

TRect RectOf(float left, float top, float right, float bottom) {
  return TRect{static_cast<int>(left + 0.5f), static_cast<int>(top + 0.5f),
               static_cast<int>(right + 0.5f), static_cast<int>(bottom + 0.5f)};
}

}  // namespace

void DrawLayoutTile(float left, float top, float w, float h, float depth,
                    const TLayoutTileLook& look) {
  const float lift = 0.03f * static_cast<float>(look.layer);
  const float side[4] = {0.45f + lift, 0.30f + lift, 0.16f + lift, look.alpha};
  const float edge[4] = {0.25f, 0.16f, 0.08f, look.alpha};
  float face[4] = {0.90f + lift, 0.86f + lift, 0.74f + lift, look.alpha};
  if (look.candidate) {
    face[0] = 0.98f;
    face[1] = 0.78f + lift;
    face[2] = 0.30f;
  }
  if (look.marked) {
    face[0] = 0.93f;
    face[1] = 0.45f;
    face[2] = 0.40f;
  }
  // The sides: the tile's body shows below and to the left of its face.
  FillScreenRect(RectOf(left - depth, top + depth, left + w - depth, top + h + depth), side);
  FillScreenRect(RectOf(left - 1, top - 1, left + w + 1, top + h + 1), edge);
  FillScreenRect(RectOf(left, top, left + w, top + h), face);
  if (look.candidate && w >= 8) {
    // A small dark diamond-like mark in the middle tells a candidate even without colour.
    const float cx = left + w / 2, cy = top + h / 2, r = std::max(1.5f, w / 8);
    const float mark[4] = {0.55f, 0.22f, 0.08f, look.alpha};
    FillScreenRect(RectOf(cx - r, cy - r, cx + r, cy + r), mark);
  }
}

std::vector<TLayoutPosition> DrawingOrder(const TLevelLayout& layout) {
  std::vector<TLayoutPosition> positions = layout.Positions();
  std::stable_sort(positions.begin(), positions.end(),
                   [](const TLayoutPosition& a, const TLayoutPosition& b) {
                     if (a.layer != b.layer) return a.layer < b.layer;
                     if (a.x - a.y != b.x - b.y) return a.x - a.y > b.x - b.y;
                     return a.y > b.y;
                   });
  return positions;
}

void DrawLayoutPicture(const TLevelLayout& layout, const TRect& box) {
  const std::vector<TLayoutPosition> positions = DrawingOrder(layout);
  if (positions.empty() || box.Empty()) return;
  // The board's own geometry, then scaled into the box.
  float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
  for (const TLayoutPosition& p : positions) {
    const TTileScreenPosition at = TileScreenPosition(p.layer, p.x, p.y);
    minX = std::min(minX, at.left - kSideDepth);
    minY = std::min(minY, static_cast<float>(at.top));
    maxX = std::max(maxX, at.left + kFaceWidth);
    maxY = std::max(maxY, at.top + kFaceHeight + kSideDepth);
  }
  const float width = static_cast<float>(box.right - box.left);
  const float height = static_cast<float>(box.bottom - box.top);
  const float scale = std::min({width / (maxX - minX), height / (maxY - minY), 0.5f});
  const float offsetX = box.left + (width - (maxX - minX) * scale) / 2 - minX * scale;
  const float offsetY = box.top + (height - (maxY - minY) * scale) / 2 - minY * scale;
  TScoped2d batch;
  for (const TLayoutPosition& p : positions) {
    const TTileScreenPosition at = TileScreenPosition(p.layer, p.x, p.y);
    TLayoutTileLook look;
    look.candidate = p.type == kCandidatePosition;
    look.layer = p.layer;
    DrawLayoutTile(offsetX + at.left * scale, offsetY + at.top * scale, kFaceWidth * scale,
                   kFaceHeight * scale, kSideDepth * scale, look);
  }
}
