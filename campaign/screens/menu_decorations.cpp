#include "campaign/screens/menu_decorations.h"

#include "campaign/screens/sprite_layer.h"
#include "gfx/animated_sprite.h"

namespace {

struct TPlacement {
  const char* animation;
  float x, y;  // the animation's origin point in the menu (its base for objects on the floor)
  float scale;
};

// In ring order. The places fit the shop picture: the sparkle on the shelf's gem, the phone on the
// counter, the toys on the floor in front of it, clear of the menu's signs.
constexpr TPlacement kRing[] = {
    {"anim/rockinghorse/rockinghorse.xml", 430, 590, 0.72f},
    {"anim/bling/bling.xml", 228, 300, 1.0f},
    {"anim/phone/phone.xml", 362, 372, 0.62f},
    {"anim/train/train.xml", 95, 582, 0.66f},
    {"anim/truck/truck.xml", 270, 590, 0.62f},
};
constexpr char kGlintAnimation[] = "anim/bling/bling.xml";
// The shelf sparkle's two places: the brass compass on the lowest shelf and the bell on the
// counter. Like the toys, every moving thing stays left of the signs and below y = 270.
constexpr float kGlintPlaces[2][2] = {{175, 298}, {199, 350}};

}  // namespace

int TDecorationRing::Step(const std::vector<bool>& playing) {
  if (mCount <= 0 || static_cast<int>(playing.size()) < mCount) return -1;
  const int previous = (mNext + mCount - 1) % mCount;
  if (!playing[static_cast<size_t>(previous)] && mQuiet > kQuietUpdates) {
    const int start = mNext;
    mNext = (mNext + 1) % mCount;
    mQuiet = 0;
    return start;
  }
  for (bool on : playing)
    if (on) return -1;
  ++mQuiet;
  return -1;
}

TMenuDecorations::TMenuDecorations() = default;
TMenuDecorations::~TMenuDecorations() = default;

bool TMenuDecorations::Start(TSpriteLayer& layer, unsigned seed) {
  mRandom.seed(seed);
  for (const TPlacement& place : kRing) {
    auto sprite = layer.AddAnimation(place.animation, place.x, place.y);
    if (!sprite) continue;
    sprite->SetScaleRotation(place.scale, place.scale, 0);
    mRing.push_back(sprite);
  }
  mOrder = TDecorationRing(static_cast<int>(mRing.size()));
  mGlint = layer.AddAnimation(kGlintAnimation, kGlintPlaces[0][0], kGlintPlaces[0][1]);
  // The glint's first frame would otherwise sit on the shelf until it first plays.
  if (mGlint) mGlint->SetVisible(false);
  return !mRing.empty();
}

void TMenuDecorations::Update() {
  if (mGlint && !mGlint->IsPlaying()) {
    mGlint->SetVisible(false);
    if (static_cast<int>(mRandom() % 100) < kGlintPercent) {
      const auto& place = kGlintPlaces[mRandom() % 2];
      mGlint->SetPosition(place[0], place[1]);
      TSpriteLayer::StartAnimation(*mGlint);
    }
  }
  std::vector<bool> playing;
  for (const auto& sprite : mRing) playing.push_back(sprite->IsPlaying());
  const int start = mOrder.Step(playing);
  if (start >= 0) TSpriteLayer::StartAnimation(*mRing[static_cast<size_t>(start)]);
}
