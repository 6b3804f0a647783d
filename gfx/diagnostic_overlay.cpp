#include "gfx/diagnostic_overlay.h"

#include <cstdio>
#include <memory>

#include "gfx/font_cache.h"
#include "gfx/renderer.h"
#include "gfx/text_layout.h"

std::string DiagnosticOverlayText(float frameRate) {
  char text[160];
  std::snprintf(text, sizeof text, "Quorvandel Version %d.%d.%d.%d<br>FPS<tab pos='200'>%f<br>", 4,
                0, 11, 6, static_cast<double>(frameRate));
  return text;
}

void DrawDiagnosticOverlay(TRenderer& renderer, float frameRate) {
  if (renderer.In2d() || renderer.In3d()) return;
  // Made on first use; text layouts hold no video memory, so one for the run serves every
  // renderer.
  static std::unique_ptr<TTextLayout> layout;
  if (!layout)
    layout = std::make_unique<TTextLayout>(kBuiltinFontName, 16, 0xFFFF0000u, 0, 512, 512);
  const std::string text = DiagnosticOverlayText(frameRate);
  if (text != layout->GetText()) layout->SetText(text);
  if (!renderer.Begin2d()) return;
  TVertexColored strip[4] = {
      {0, 0, 0.1f, 0.5f, 0xFF000000u, 0xFF000000u, 0, 0},
      {300, 0, 0.1f, 0.5f, 0xFF000000u, 0xFF000000u, 0, 0},
      {300, 40, 0.1f, 0.5f, 0xFF000000u, 0xFF000000u, 0, 0},
      {0, 40, 0.1f, 0.5f, 0xFF000000u, 0xFF000000u, 0, 0},
  };
  renderer.SetTexture(0);
  renderer.SetBlendMode(kBlendOpaque);
  renderer.DrawVertices(kTriangleFan, TVertexArray{kVertex2d, strip, 4});
  layout->Draw(renderer, 0, 0, 1, 1);
  renderer.End2d();
}

void AttachDiagnosticOverlay(TRenderer& renderer) {
  renderer.AddFrameEndListener([](TRenderer& r) {
    if (r.FrameRate().OverlayOn()) DrawDiagnosticOverlay(r, r.FrameRate().Rate());
  });
}
