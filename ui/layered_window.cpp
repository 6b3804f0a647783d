#include "ui/layered_window.h"

#include <algorithm>

#include "ui/window_spiders.h"

TLayeredWindow::TLayeredWindow(unsigned layerCount) : mLayers(layerCount) {}

TWindow* TLayeredWindow::Create() {
  return new TLayeredWindow(1);
}

void TLayeredWindow::SelectLayer(int index) {
  if (index == mCurrentLayer) return;
  mCurrentLayer = index;
  TWindowClearFlags hide(~static_cast<uint32_t>(kWindowVisible), false);
  ForEachChild(hide);
  const int shown = index == kAllLayers ? 0 : index;
  // An index past the last layer hides everything (there is nothing to show).
  if (shown >= 0 && static_cast<size_t>(shown) < mLayers.size()) {
    for (TWindow* window : mLayers[static_cast<size_t>(shown)])
      window->SetFlags(window->GetFlags() | kWindowVisible);
  }
  Invalidate();
}

bool TLayeredWindow::AddChild(TWindow* child, bool attach) {
  if (!TWindow::AddChild(child, attach)) return false;
  auto join = [child](std::vector<TWindow*>& layer) {
    if (std::find(layer.begin(), layer.end(), child) == layer.end()) layer.push_back(child);
  };
  if (mCurrentLayer == kAllLayers) {
    for (auto& layer : mLayers) join(layer);
  } else if (mCurrentLayer >= 0 && static_cast<size_t>(mCurrentLayer) < mLayers.size()) {
    join(mLayers[static_cast<size_t>(mCurrentLayer)]);
  }
  return true;
}

void TLayeredWindow::RemoveChild(TWindow* child) {
  TWindow::RemoveChild(child);
  for (auto& layer : mLayers)
    layer.erase(std::remove(layer.begin(), layer.end(), child), layer.end());
}
