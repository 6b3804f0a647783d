#include "ui/window_canvas.h"

#include "gfx/renderer.h"

namespace {

struct TCanvasState {
  TRect screen{0, 0, 800, 600};
  TRect clip{0, 0, 800, 600};
  std::vector<TRect> origins;
};

TCanvasState& State() {
  static TCanvasState state;
  return state;
}

void ApplyViewport(const TRect& rect) {
  if (TRenderer* renderer = GetRenderer()) renderer->SetViewport(rect);
}

}  // namespace

TRect TWindowCanvas::Clip() {
  return State().clip;
}

void TWindowCanvas::SetClip(const TRect& clip) {
  State().clip = clip;
  if (TRenderer* renderer = GetRenderer()) renderer->SetScissor(clip);
}

void TWindowCanvas::PushOrigin(const TRect& absolute) {
  State().origins.push_back(absolute);
  ApplyViewport(absolute);
}

void TWindowCanvas::PopOrigin() {
  TCanvasState& s = State();
  if (s.origins.empty()) return;
  s.origins.pop_back();
  ApplyViewport(s.origins.empty() ? s.screen : s.origins.back());
}

int TWindowCanvas::OriginDepth() {
  return static_cast<int>(State().origins.size());
}

void TWindowCanvas::Reset(int width, int height) {
  TCanvasState& s = State();
  s.screen = {0, 0, width, height};
  s.clip = s.screen;
  s.origins.clear();
  if (TRenderer* renderer = GetRenderer()) {
    renderer->ResetScissor();
    renderer->SetViewport(s.screen);
  }
}
