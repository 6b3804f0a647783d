#include "campaign/screens/sprite_layer.h"

#include "gfx/animated_sprite.h"
#include "ui/modal_window.h"
#include "ui/window_paint.h"

TSpriteLayer::TSpriteLayer() : mRoot(std::make_shared<TSprite>()) {}

TSpriteLayer::~TSpriteLayer() = default;

TWindow* TSpriteLayer::Create() {
  return new TSpriteLayer;
}

void TSpriteLayer::AddSprite(std::shared_ptr<TSprite> sprite) {
  if (!sprite) return;
  mRoot->AddChild(std::move(sprite));
  if (!mAnimating) {
    mAnimating = true;
    TWindow::StartAnimation(kUpdateMs, true, true, false);
  }
  Invalidate();
}

std::shared_ptr<TAnimatedSprite> TSpriteLayer::AddAnimation(const std::string& name, float x,
                                                            float y) {
  auto sprite = std::make_shared<TAnimatedSprite>();
  // The scripts run on the dialog's task list: they stop with it and pause with it.
  if (TModalWindow* modal = GetModalAncestor()) sprite->SetTasks(&modal->Tasks(), &modal->Clock());
  if (!sprite->Load(name)) return nullptr;
  sprite->SetPosition(x, y);
  AddSprite(sprite);
  return sprite;
}

bool TSpriteLayer::StartAnimation(TAnimatedSprite& sprite) {
  sprite.SetVisible(true);
  return sprite.Play();
}

bool TSpriteLayer::Animate() {
  Invalidate();
  return true;
}

void TSpriteLayer::Draw() {
  if (mRoot->Children().empty()) return;
  TScoped2d batch;
  if (!batch.Renderer()) return;
  // The window canvas has put the origin at the layer's top-left corner.
  mRoot->Draw();
}
