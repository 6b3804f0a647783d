#include "gfx/sprite.h"

#include <algorithm>
#include <cmath>
#include <utility>

TSprite::~TSprite() {
  for (const auto& child : mChildren) child->mParent = nullptr;
}

void TSprite::AddChild(std::shared_ptr<TSprite> child) {
  if (!child || child.get() == this) return;
  if (child->mParent) child->RemoveFromParent();
  child->mParent = this;
  // After every child of the same or a lower layer: a layer keeps the order of adding.
  auto at = std::upper_bound(
      mChildren.begin(), mChildren.end(), child->mLayer,
      [](int layer, const std::shared_ptr<TSprite>& s) { return layer < s->mLayer; });
  mChildren.insert(at, std::move(child));
}

std::shared_ptr<TSprite> TSprite::RemoveChild(TSprite* child) {
  auto it = std::find_if(mChildren.begin(), mChildren.end(),
                         [child](const std::shared_ptr<TSprite>& s) { return s.get() == child; });
  if (it == mChildren.end()) return nullptr;
  std::shared_ptr<TSprite> removed = std::move(*it);
  mChildren.erase(it);
  removed->mParent = nullptr;
  return removed;
}

void TSprite::RemoveFromParent() {
  // Held until the parent has let go, so the sprite does not vanish inside the call.
  if (mParent) std::shared_ptr<TSprite> keep = mParent->RemoveChild(this);
}

void TSprite::SortChildren() {
  std::stable_sort(mChildren.begin(), mChildren.end(),
                   [](const std::shared_ptr<TSprite>& a, const std::shared_ptr<TSprite>& b) {
                     return a->mLayer < b->mLayer;
                   });
}

void TSprite::SetLayer(int layer) {
  if (layer == mLayer) return;
  mLayer = layer;
  if (!mParent) return;
  // Moved to the end of its new layer, as if it had been added now.
  TSprite* parent = mParent;
  std::shared_ptr<TSprite> self = parent->RemoveChild(this);
  parent->AddChild(std::move(self));
}

void TSprite::SetDrawable(std::shared_ptr<TTexture> drawable) {
  mDrawable = std::move(drawable);
}

void TSprite::SetPosition(float x, float y) {
  mParams.x = x;
  mParams.y = y;
}

void TSprite::SetScaleRotation(float scaleX, float scaleY, float radians) {
  const float c = std::cos(radians), s = std::sin(radians);
  SetTransform(TTransform2d{c * scaleX, s * scaleX, -s * scaleY, c * scaleY, 0, 0});
}

void TSprite::SetTransform(const TTransform2d& transform) {
  mParams.transform = transform;
  mParams.transform.tx = mParams.transform.ty = 0;
  mParams.flags |= kDrawTransform;
}

void TSprite::SetColor(float red, float green, float blue) {
  mParams.red = red;
  mParams.green = green;
  mParams.blue = blue;
}

void TSprite::SetDrawFlags(unsigned flags) {
  mParams.flags =
      (mParams.flags & kDrawTransform) | (flags & (kDrawMirrorX | kDrawMirrorY | kDrawCentred));
}

TDrawParams TSprite::Combine(const TDrawParams& parent) const {
  const TTransform2d parentPlace =
      parent.flags & kDrawTransform
          ? TTransform2d{parent.transform.a, parent.transform.b, parent.transform.c,
                         parent.transform.d, parent.x,           parent.y}
          : TTransform2d{1, 0, 0, 1, parent.x, parent.y};
  TTransform2d own{1, 0, 0, 1, mParams.x, mParams.y};
  if (mParams.flags & kDrawTransform) {
    own.a = mParams.transform.a;
    own.b = mParams.transform.b;
    own.c = mParams.transform.c;
    own.d = mParams.transform.d;
  }
  const TTransform2d place = Compose(parentPlace, own);
  TDrawParams out;
  out.x = place.tx;
  out.y = place.ty;
  out.transform = TTransform2d{place.a, place.b, place.c, place.d, 0, 0};
  out.red = parent.red * mParams.red;
  out.green = parent.green * mParams.green;
  out.blue = parent.blue * mParams.blue;
  out.alpha = parent.alpha * mParams.alpha;
  out.blendMode = mParams.blendMode == -1 ? parent.blendMode : mParams.blendMode;
  const unsigned mirrors = (parent.flags ^ mParams.flags) & (kDrawMirrorX | kDrawMirrorY);
  out.flags = mirrors | ((parent.flags | mParams.flags) & kDrawCentred) | kDrawTransform;
  return out;
}

void TSprite::DrawSelf(const TDrawParams& drawing) {
  if (mDrawable) mDrawable->Draw(drawing);
}

void TSprite::Draw(const TDrawParams& parent, int depth) {
  if (!mVisible) return;
  const TDrawParams drawing = Combine(parent);
  if (depth == 0) {
    DrawSelf(drawing);
    return;
  }
  // Children may remove themselves while drawing (an animation script ending its sprite).
  const std::vector<std::shared_ptr<TSprite>> children = mChildren;
  auto front = children.begin();
  for (; front != children.end() && (*front)->mLayer < 0; ++front)
    (*front)->Draw(drawing, depth - 1);
  DrawSelf(drawing);
  for (; front != children.end(); ++front) (*front)->Draw(drawing, depth - 1);
}

bool TSprite::PictureBox(float* left, float* top, float* width, float* height) const {
  if (!mDrawable || mDrawable->GetWidth() <= 0 || mDrawable->GetHeight() <= 0) return false;
  *width = static_cast<float>(mDrawable->GetWidth());
  *height = static_cast<float>(mDrawable->GetHeight());
  *left = -*width / 2;
  *top = -*height / 2;
  return true;
}

TRect TSprite::GetBounds() const {
  float left, top, w, h;
  if (!PictureBox(&left, &top, &w, &h)) return TRect{};
  const TTransform2d t = mParams.flags & kDrawTransform ? mParams.transform : TTransform2d{};
  float minX = 1e30f, minY = 1e30f, maxX = -1e30f, maxY = -1e30f;
  for (const auto& [cx, cy] : {std::pair{left, top}, std::pair{left + w, top},
                               std::pair{left, top + h}, std::pair{left + w, top + h}}) {
    const float x = t.a * cx + t.c * cy + mParams.x;
    const float y = t.b * cx + t.d * cy + mParams.y;
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
  }
  return TRect{static_cast<int>(std::floor(minX)), static_cast<int>(std::floor(minY)),
               static_cast<int>(std::ceil(maxX)), static_cast<int>(std::ceil(maxY))};
}
