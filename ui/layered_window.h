// TLayeredWindow: a window whose children are sorted into numbered layers, of which one is
// shown at a time. The layer lists do not own their windows (the child list does).
#pragma once

#include <vector>

#include "ui/widget_hooks.h"
#include "ui/window.h"

class TLayeredWindow : public TWindow, public TLayeredWindowHook {
 public:
  static constexpr int kAllLayers = -1;

  explicit TLayeredWindow(unsigned layerCount);

  static TWindow* Create();
  const char* GetClassName() const override { return "TLayeredWindow"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TLayeredWindow::Create || TWindow::IsKindOf(type);
  }

  // Shows the windows of layer index (layer 0 for kAllLayers) and hides every other direct
  // child; children added afterwards join that layer (every layer for kAllLayers).
  void SelectLayer(int index) override;
  bool AddChild(TWindow* child, bool attach) override;
  void RemoveChild(TWindow* child) override;

  int CurrentLayer() const { return mCurrentLayer; }
  unsigned LayerCount() const { return static_cast<unsigned>(mLayers.size()); }
  const std::vector<TWindow*>& Layer(unsigned index) const { return mLayers[index]; }

 private:
  int mCurrentLayer = 0;
  std::vector<std::vector<TWindow*>> mLayers;
};
