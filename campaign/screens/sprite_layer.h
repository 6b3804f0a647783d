// TSpriteLayer ("SpriteLayer"): a window that shows a tree of sprites (animations, tiles,
// diamonds) in its own coordinates, for screens whose decorations move. Sprites added to
// it are drawn with the layer's top-left corner as their origin, at scale 1; while the
// layer holds sprites it redraws on every update so their animations show.
#pragma once

#include <memory>

#include "ui/window.h"

class TAnimatedSprite;
class TClock;
class TSprite;
class TTaskList;

class TSpriteLayer : public TWindow {
 public:
  static constexpr int kUpdateMs = 16;

  TSpriteLayer();
  ~TSpriteLayer() override;

  static TWindow* Create();
  const char* GetClassName() const override { return "TSpriteLayer"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TSpriteLayer::Create || TWindow::IsKindOf(type);
  }

  void Draw() override;
  bool Animate() override;

  void AddSprite(std::shared_ptr<TSprite> sprite);
  TSprite& Root() { return *mRoot; }
  // An animated sprite loaded from an animation description, placed at (x, y) and paced by
  // the clock of the dialog the layer is in (so it pauses with it). Null when the
  // animation cannot be loaded (logged by the loader); nothing is added then.
  std::shared_ptr<TAnimatedSprite> AddAnimation(const std::string& name, float x, float y);
  // Starts the sprite's "DoAnim" (the sprite must be one of the layer's).
  static bool StartAnimation(TAnimatedSprite& sprite);

 private:
  std::shared_ptr<TSprite> mRoot;
  bool mAnimating = false;
};
