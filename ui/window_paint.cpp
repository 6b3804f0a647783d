#include "ui/window_paint.h"

#include <algorithm>

#include "gfx/renderer.h"
#include "gfx/texture.h"

uint32_t PackColour(const float colour[4]) {
  auto channel = [](float c) {
    c = std::clamp(c, 0.0f, 1.0f);
    return static_cast<uint32_t>(c * 255.0f + 0.5f);
  };
  return channel(colour[3]) << 24 | channel(colour[0]) << 16 | channel(colour[1]) << 8 |
         channel(colour[2]);
}

void FillScreenRect(const TRect& rect, const float colour[4]) {
  TRenderer* r = GetRenderer();
  if (!r || rect.Empty()) return;
  const bool began = !r->In2d();
  if (began && !r->Begin2d()) return;
  const uint32_t argb = PackColour(colour);
  const float l = static_cast<float>(rect.left), t = static_cast<float>(rect.top);
  const float rr = static_cast<float>(rect.right), b = static_cast<float>(rect.bottom);
  TVertexColored quad[4] = {{l, t, 0.1f, 0.5f, argb, 0xFF000000u, 0, 0},
                            {rr, t, 0.1f, 0.5f, argb, 0xFF000000u, 0, 0},
                            {rr, b, 0.1f, 0.5f, argb, 0xFF000000u, 0, 0},
                            {l, b, 0.1f, 0.5f, argb, 0xFF000000u, 0, 0}};
  const int blend = r->BlendMode();
  r->SetTexture(0);
  r->SetBlendMode(colour[3] >= 1.0f ? kBlendOpaque : kBlendNormal);
  r->DrawVertices(kTriangleFan, TVertexArray{kVertex2d, quad, 4});
  r->SetBlendMode(blend);
  if (began) r->End2d();
}

void DrawBackdrop(TTexture& texture, int x, int y) {
  TRenderer* r = GetRenderer();
  if (!r) return;
  const bool began = !r->In2d();
  if (began && !r->Begin2d()) return;
  // DrawAt centres the picture on the position.
  texture.DrawAt(static_cast<float>(x) + texture.GetWidth() / 2.0f,
                 static_cast<float>(y) + texture.GetHeight() / 2.0f, 1, 1, 1, kBlendOpaque);
  if (began) r->End2d();
}

TScoped2d::TScoped2d() {
  TRenderer* r = GetRenderer();
  if (!r) return;
  if (!r->In2d()) {
    if (!r->Begin2d()) return;
    mBegan = true;
  }
  mRenderer = r;
}

TScoped2d::~TScoped2d() {
  if (mBegan) mRenderer->End2d();
}
