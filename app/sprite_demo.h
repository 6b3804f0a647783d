// TSpriteDemo (window type "SpriteDemo"): the sprite and particle demo that "S" opens from
// the main screen. It shows the six decorative animations on little shelves, each playing
// again a moment after it stops, and lets the player fire the two particle effects the way
// the game will: clicking a tile of the mock board puffs it away in dust, clicking the
// mock sets box sends sparkles flying off each of its four slots.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/window.h"

class FLocus;
class TAnimatedSprite;
class TLuaParticleSystem;
class TSprite;
class TTexture;

class TSpriteDemo : public TWindow {
 public:
  // Where each animation is shown: objects stand on a shelf (their origin point on its
  // middle), the sparkle flashes over a dark velvet pad, the day marker sits on a piece of
  // the map's parchment.
  enum TBackdrop { kShelf, kVelvet, kParchment };
  struct TShelf {
    const char* animation;
    int x, y;
    TBackdrop backdrop;
    int restMs;  // pause after each play
  };
  static const TShelf kShelves[6];
  static constexpr int kTiles = 6;
  static constexpr int kSlots = 4;

  TSpriteDemo();
  ~TSpriteDemo() override;
  static TWindow* Create();
  const char* GetClassName() const override { return "TSpriteDemo"; }
  bool IsKindOf(TWindowCreator type) const override;

  void Draw() override;
  bool Animate() override;
  bool OnMouseDown(TPoint2 point) override;

  // Fires an effect script with its emitter at (x, y) in the window (what the clicks do).
  void FireEffect(const std::string& script, int x, int y, int stopMs, int lifeMs);
  int LiveEffects() const { return static_cast<int>(mEffects.size()); }
  int LiveParticles() const;
  const std::vector<std::shared_ptr<TAnimatedSprite>>& Sprites() const { return mSprites; }

  // The mock board's tiles and the sets box's slots, in window coordinates.
  static TRect TileRect(int i);
  static TRect SlotRect(int i);
  static TRect SetsBoxRect();

 private:
  struct TEffect;
  void Start();
  // The dialog's clock: everything in the demo pauses with it.
  int Now() const;
  void Step(int elapsedMs);
  void DrawMockBoard();

  bool mStarted = false;
  int mLastTime = 0;
  std::shared_ptr<TSprite> mRoot;
  std::vector<std::shared_ptr<TAnimatedSprite>> mSprites;
  std::vector<int> mIdleUntil;  // when each sprite plays again (clock time)
  std::shared_ptr<TTexture> mBlank;
  std::shared_ptr<TTexture> mSlot;
  std::vector<std::shared_ptr<TTexture>> mFaces;
  int mTileBackAt[kTiles] = {};  // a cleared tile returns at this clock time
  int mSetsBackAt = 0;
  std::vector<std::unique_ptr<TEffect>> mEffects;
};
