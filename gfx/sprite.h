// TSprite: a node of a tree of drawable things. A sprite has a placement (position and a
// linear transform), a colour, alpha, mirror flags and a blend mode, the texture it shows
// (may be empty, may be animated) and a layer; its children are kept sorted by layer and
// drawn relative to it: children with a negative layer behind the sprite's own picture,
// the others in front, each layer in the order the children were added.
//
// Sprites are held by shared pointers; a parent holds its children.
#pragma once

#include <memory>
#include <vector>

#include "gfx/texture.h"

class TSprite : public std::enable_shared_from_this<TSprite> {
 public:
  TSprite() = default;
  virtual ~TSprite();
  TSprite(const TSprite&) = delete;
  TSprite& operator=(const TSprite&) = delete;

  virtual const char* ClassName() const { return "TSprite"; }

  // Draws the sprite combined with its parent's drawing: transforms multiplied, colour and
  // alpha multiplied, mirror flags combined by exclusive or, the blend mode inherited when
  // the sprite's is -1. depth 0 draws the sprite alone, a negative depth every level.
  virtual void Draw(const TDrawParams& parent, int depth);
  // Draws the tree as a root.
  void Draw() { Draw(TDrawParams{}, -1); }

  // Removes a child (and answers it, null when it is not one).
  virtual std::shared_ptr<TSprite> RemoveChild(TSprite* child);
  // The box the sprite's own picture covers, in its parent's coordinates (empty when it
  // shows nothing).
  virtual TRect GetBounds() const;
  virtual void SetDrawable(std::shared_ptr<TTexture> drawable);
  // Puts the children in layer order again (stable: a layer keeps the order of adding).
  virtual void SortChildren();

  void AddChild(std::shared_ptr<TSprite> child);
  void RemoveFromParent();
  TSprite* GetParent() const { return mParent; }
  const std::vector<std::shared_ptr<TSprite>>& Children() const { return mChildren; }

  void SetLayer(int layer);
  int GetLayer() const { return mLayer; }
  void SetVisible(bool visible) { mVisible = visible; }
  bool IsVisible() const { return mVisible; }
  const std::shared_ptr<TTexture>& GetDrawable() const { return mDrawable; }

  void SetPosition(float x, float y);
  float GetX() const { return mParams.x; }
  float GetY() const { return mParams.y; }
  // Scale and rotation (radians, clockwise on screen) around the sprite's position.
  void SetScaleRotation(float scaleX, float scaleY, float radians);
  void SetTransform(const TTransform2d& transform);
  void SetAlpha(float alpha) { mParams.alpha = alpha; }
  float GetAlpha() const { return mParams.alpha; }
  void SetColor(float red, float green, float blue);
  // kDrawMirrorX, kDrawMirrorY; kDrawCentred centres an animation's frames.
  void SetDrawFlags(unsigned flags);
  void SetBlendMode(int mode) { mParams.blendMode = mode; }
  const TDrawParams& DrawParams() const { return mParams; }

  // Combines a parent's drawing with this sprite's placement (what Draw passes down).
  TDrawParams Combine(const TDrawParams& parent) const;

 protected:
  // Draws the sprite's own picture with the combined drawing.
  virtual void DrawSelf(const TDrawParams& drawing);
  // Where the sprite's own picture lies around its position, before the transform: false
  // when it shows nothing. A plain texture is centred on the position.
  virtual bool PictureBox(float* left, float* top, float* width, float* height) const;

 private:
  bool mVisible = true;
  TDrawParams mParams;  // x, y and transform: the placement; flags: mirror and centring
  std::shared_ptr<TTexture> mDrawable;
  int mLayer = 0;
  TSprite* mParent = nullptr;
  std::vector<std::shared_ptr<TSprite>> mChildren;
};
