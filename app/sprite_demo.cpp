#include "app/sprite_demo.h"

#include <algorithm>

#include "gfx/animated_sprite.h"
#include "gfx/lua_particle_system.h"
#include "gfx/particle_locus.h"
#include "gfx/texture.h"
#include "script/script.h"
#include "ui/modal_window.h"
#include "ui/window_paint.h"

namespace {

const char* const kFaces[] = {
    "tiles/common/clock/clock1_md",      "tiles/common/teapot/teapot10_md",
    "tiles/common/toy/rockinghorse1_md", "tiles/common/ring/ring1_md",
    "tiles/common/clock/clock5_md",      "tiles/common/teapot/teapot13_md"};
constexpr int kTileW = 47, kTileH = 64;
constexpr int kSlotW = 45, kSlotH = 69;
constexpr float kShelfColour[4] = {0.36f, 0.22f, 0.11f, 1.0f};
constexpr float kShelfEdge[4] = {0.62f, 0.42f, 0.22f, 1.0f};
constexpr float kVelvetColour[4] = {0.16f, 0.05f, 0.12f, 1.0f};
constexpr float kParchmentColour[4] = {0.88f, 0.8f, 0.62f, 1.0f};
constexpr float kBoxColour[4] = {0.30f, 0.18f, 0.09f, 1.0f};
// The demo covers the screen it opens over, in the program's table green.
constexpr float kStageColour[4] = {0x18 / 255.0f, 0x48 / 255.0f, 0x30 / 255.0f, 1.0f};

// Like the game: the emission stops after about 20 frames, the system goes when its last
// particles have faded.
constexpr int kDustStopMs = 330, kDustLifeMs = 2000;
constexpr int kSparkStopMs = 330, kSparkLifeMs = 3000;
constexpr int kTileReturnMs = 1500, kSetsReturnMs = 2500;
// A frame that took longer than this moves the effects only this far: after a hitch they
// go on where they were rather than jumping to their end unseen.
constexpr int kLongestStepMs = 250;

bool Inside(const TRect& r, TPoint2 p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

struct TSpriteDemo::TEffect {
  std::unique_ptr<FLocus> locus;  // declared first: it must outlive the system
  std::unique_ptr<TLuaParticleSystem> system;
  int age = 0;
  bool emitting = true;
  int stopMs = 0;
  int lifeMs = 0;
};

const TSpriteDemo::TShelf TSpriteDemo::kShelves[6] = {
    {"anim/rockinghorse/rockinghorse.xml", 150, 200, kShelf, 900},
    {"anim/phone/phone.xml", 400, 200, kShelf, 1400},
    {"anim/bling/bling.xml", 650, 140, kVelvet, 400},
    {"anim/train/train.xml", 150, 400, kShelf, 700},
    {"anim/truck/truck.xml", 400, 400, kShelf, 1100},
    {"anim/dotanim/dotanim.xml", 650, 340, kParchment, 0}};

TSpriteDemo::TSpriteDemo() = default;
TSpriteDemo::~TSpriteDemo() = default;

TWindow* TSpriteDemo::Create() {
  return new TSpriteDemo;
}

bool TSpriteDemo::IsKindOf(TWindowCreator type) const {
  return type == &TSpriteDemo::Create || TWindow::IsKindOf(type);
}

TRect TSpriteDemo::TileRect(int i) {
  const int left = 60 + i * (kTileW + 4);
  return TRect{left, 470, left + kTileW, 470 + kTileH};
}

TRect TSpriteDemo::SlotRect(int i) {
  const int left = 470 + i * (kSlotW + 8);
  return TRect{left, 468, left + kSlotW, 468 + kSlotH};
}

TRect TSpriteDemo::SetsBoxRect() {
  return TRect{SlotRect(0).left - 10, SlotRect(0).top - 10, SlotRect(kSlots - 1).right + 10,
               SlotRect(0).bottom + 10};
}

// The sprites run their scripts on the dialog's task list and clock, so they pause with
// it; that needs the dialog, so it happens on the first draw.
void TSpriteDemo::Start() {
  TModalWindow* modal = GetModalAncestor();
  if (!modal) return;
  mStarted = true;
  mRoot = std::make_shared<TSprite>();
  for (const TShelf& shelf : kShelves) {
    auto sprite = std::make_shared<TAnimatedSprite>();
    sprite->SetTasks(&modal->Tasks(), &modal->Clock());
    sprite->Load(shelf.animation);
    sprite->SetPosition(static_cast<float>(shelf.x), static_cast<float>(shelf.y));
    mRoot->AddChild(sprite);
    mSprites.push_back(sprite);
  }
  mIdleUntil.assign(mSprites.size(), 0);
  mBlank = GetTexture("tiles/blank/tile_off", 0);
  mSlot = GetTexture("tiles/blank/tile_medium_headon", 0);
  for (const char* face : kFaces) mFaces.push_back(GetTexture(face, 0));
  mLastTime = modal->Clock().GetTime();
  // Animate on every update pass: particles move and the frame is drawn again.
  StartAnimation(0, true, true, false);
}

bool TSpriteDemo::Animate() {
  TModalWindow* modal = GetModalAncestor();
  if (!modal) return false;
  const int now = modal->Clock().GetTime();
  Step(std::clamp(now - mLastTime, 0, kLongestStepMs));
  mLastTime = now;
  Invalidate();
  return true;
}

int TSpriteDemo::Now() const {
  TModalWindow* modal = GetModalAncestor();
  return modal ? modal->Clock().GetTime() : 0;
}

void TSpriteDemo::Step(int elapsedMs) {
  const int now = Now();
  // Each animation plays again once it has rested after stopping.
  for (size_t i = 0; i < mSprites.size(); ++i) {
    if (mSprites[i]->IsPlaying()) {
      mIdleUntil[i] = now + kShelves[i].restMs;
    } else if (now >= mIdleUntil[i]) {
      mSprites[i]->Play();
    }
  }
  for (auto& effect : mEffects) {
    effect->system->Update(static_cast<unsigned>(elapsedMs));
    // Stopped after the step that passes the emission time, so that even a slow first
    // step (a long frame) emits.
    effect->age += elapsedMs;
    if (effect->emitting && effect->age > effect->stopMs) {
      effect->system->Script().DoLuaString("gActive = false");
      effect->emitting = false;
    }
  }
  std::erase_if(mEffects, [](const std::unique_ptr<TEffect>& e) { return e->age > e->lifeMs; });
}

void TSpriteDemo::FireEffect(const std::string& script, int x, int y, int stopMs, int lifeMs) {
  auto effect = std::make_unique<TEffect>();
  effect->locus = std::make_unique<FLocus>(static_cast<float>(x), static_cast<float>(y));
  effect->system = std::make_unique<TLuaParticleSystem>();
  effect->system->AddFunctionMember("dLocus", effect->locus.get());
  if (!effect->system->Load(script)) return;
  effect->stopMs = stopMs;
  effect->lifeMs = lifeMs;
  mEffects.push_back(std::move(effect));
}

int TSpriteDemo::LiveParticles() const {
  int count = 0;
  for (const auto& effect : mEffects) count += effect->system->Particles().LiveCount();
  return count;
}

bool TSpriteDemo::OnMouseDown(TPoint2 point) {
  const int now = Now();
  for (int i = 0; i < kTiles; ++i) {
    const TRect r = TileRect(i);
    if (Inside(r, point) && now >= mTileBackAt[i]) {
      // The dust replaces the tile, centred where its face was.
      FireEffect("gamepiece/dust.lua", (r.left + r.right) / 2, (r.top + r.bottom) / 2, kDustStopMs,
                 kDustLifeMs);
      mTileBackAt[i] = now + kTileReturnMs;
      return true;
    }
  }
  if (Inside(SetsBoxRect(), point) && now >= mSetsBackAt) {
    for (int i = 0; i < kSlots; ++i) {
      const TRect r = SlotRect(i);
      FireEffect("gamepiece/flynpull.lua", (r.left + r.right) / 2, (r.top + r.bottom) / 2,
                 kSparkStopMs, kSparkLifeMs);
    }
    mSetsBackAt = now + kSetsReturnMs;
    return true;
  }
  return false;
}

// Tiles come back by the dialog's clock, whenever the last step was.
void TSpriteDemo::DrawMockBoard() {
  const int now = Now();
  for (int i = 0; i < kTiles; ++i) {
    if (now < mTileBackAt[i]) continue;
    const TRect r = TileRect(i);
    if (mBlank)
      mBlank->DrawAt(r.left + kTileW / 2.0f, r.top + kTileH / 2.0f, 1, 1, 1, kBlendNormal);
    // The face at 11/15 of its size, a little right of and above the blank's centre.
    if (mFaces[i]) {
      mFaces[i]->DrawAt(r.left + kTileW / 2.0f + 3, r.top + kTileH / 2.0f - 3, 11.0f / 15,
                        11.0f / 15, 1, kBlendNormal);
    }
  }
  FillScreenRect(SetsBoxRect(), kBoxColour);
  for (int i = 0; i < kSlots; ++i) {
    const TRect r = SlotRect(i);
    const float cx = (r.left + r.right) / 2.0f, cy = (r.top + r.bottom) / 2.0f;
    if (mSlot) mSlot->DrawAt(cx, cy, 1, 1, 1, kBlendNormal);
    if (now >= mSetsBackAt && mFaces[i])
      mFaces[i]->DrawAt(cx, cy - 4, 11.0f / 15, 11.0f / 15, 1, kBlendNormal);
  }
}

void TSpriteDemo::Draw() {
  if (!mStarted) Start();
  TScoped2d batch;
  if (!batch.Renderer()) return;
  FillScreenRect(GetAbsoluteRect(), kStageColour);
  for (const TShelf& shelf : kShelves) {
    switch (shelf.backdrop) {
      case kShelf:
        FillScreenRect(TRect{shelf.x - 105, shelf.y, shelf.x + 105, shelf.y + 10}, kShelfColour);
        FillScreenRect(TRect{shelf.x - 105, shelf.y, shelf.x + 105, shelf.y + 2}, kShelfEdge);
        break;
      case kVelvet:
        FillScreenRect(TRect{shelf.x - 60, shelf.y - 50, shelf.x + 60, shelf.y + 50},
                       kVelvetColour);
        break;
      case kParchment:
        FillScreenRect(TRect{shelf.x - 60, shelf.y - 50, shelf.x + 60, shelf.y + 50},
                       kParchmentColour);
        break;
    }
  }
  if (mRoot) mRoot->Draw();
  DrawMockBoard();
  for (const auto& effect : mEffects) effect->system->Draw(TVec3{});
}
