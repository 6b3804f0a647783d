#include "game/window/animation_layer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "data/string_table.h"
#include "frame/application_time.h"
#include "game/sets_box.h"
#include "game/window/board_view.h"
#include "game/window/game.h"
#include "game/window/game_tutorial_link.h"
#include "game/window/holding_area.h"
#include "game/window/r_end_level_anim.h"
#include "game/window/r_particle_anim.h"
#include "game/window/tile.h"
#include "ui/image.h"
#include "ui/modal_window.h"
#include "ui/sound_player.h"
#include "ui/window_paint.h"

namespace {

// A popup's box starts left of and below the tile's corner: it rises over the tile.
constexpr int kPopupLeft = 23;
constexpr int kPopupDrop = 64;
// Where a tile's centre is from its window's corner.
constexpr int kTileCentreX = 23;
constexpr int kTileCentreY = 32;
// The tutorial's praise on the sets box stands a little left of the slot's centre.
constexpr int kSlotPraiseLeft = 15;
// Two of the treasure ending's small popups closer than this side by side would read as one
// amount ("$120.00$20.00"): the later one goes up by half a box.
constexpr int kEndingPopupApart = 60;

// What the tutorial says when a set of this suit is submitted (its key, size), or none.
struct TPraise {
  const char* key = nullptr;
  float size = 25;
};

TPraise SetPraise(int suit) {
  switch (suit) {
    case tutorial_suit::kFourOfAFamily:
      return {"tutorial_exclamation_4", 20};
    case tutorial_suit::kThreeOfAKind:
      return {"tutorial_exclamation_3", 25};
    case tutorial_suit::kBlockedPair:
      return {"tutorial_exclamation_2", 25};
    case tutorial_suit::kHintPair:
      return {"tutorial_exclamation_5", 16};
    case tutorial_suit::kNormalPair:
      return {"tutorial_exclamation_1", 25};
    default:
      return {};
  }
}

TPoint2 Centre(const TWindow& window) {
  const TRect r = window.GetAbsoluteRect();
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

std::string PopupMoney(double amount) {
  const long long cents = std::llround(std::fabs(amount) * 100.0);
  char fraction[8];
  std::snprintf(fraction, sizeof fraction, ".%02lld", cents % 100);
  const std::string whole = FormatCurrency(static_cast<int>(cents / 100));
  return (amount < 0 ? "-" : "") + whole + fraction;
}

TAnimationLayer::TAnimationLayer()
    : mMatchSound(GetWidgetSound(kMatchSound)), mTreasureSound(GetWidgetSound(kTreasureSound)) {
  // The layer only shows: the pointer goes through to the tiles below.
  SetFlags(GetFlags() & ~kWindowOpaque);
  SetClassFlags(kWindowPassThrough);
}

TAnimationLayer::~TAnimationLayer() = default;

TWindow* TAnimationLayer::Create() {
  return new TAnimationLayer;
}

int TAnimationLayer::Now() const {
  TModalWindow* modal = GetModalAncestor();
  return modal ? static_cast<int>(modal->Clock().GetTime()) : static_cast<int>(ApplicationTime());
}

TPoint2 TAnimationLayer::FromScreen(TPoint2 screen) const {
  return ScreenToLocal(screen);
}

void TAnimationLayer::AddAnimation(std::unique_ptr<KAnim> animation) {
  if (!animation) return;
  if (mAnimations.empty()) {
    // Steps count from now, not from the last animation long ago.
    mLastTime = Now();
    mCarryMs = 0;
    mStarted = true;
  }
  mAnimations.push_back(std::move(animation));
  if (!mAnimating) {
    mAnimating = true;
    StartAnimation(KAnim::kStepMs, true, true, false);
  }
  Invalidate();
}

void TAnimationLayer::ShowFloatyText(const std::string& text, int x, int y,
                                     const TFloatyTextStyle& style) {
  AddAnimation(std::make_unique<RFloatyText>(text, x, y, style));
}

// Each tile of a matched pair: its popup, the match sound and its dust.
void TAnimationLayer::ShowMatch(TGame& game, TTileId id) {
  TTile* tile = game.View().TileWindow(id);
  if (!tile) return;
  const TPoint2 home = FromScreen(tile->Home());
  TFloatyTextStyle style;
  std::string text;
  if (game.TutorialLevel()) {
    const bool hintShown = game.Tutorial().LessonShown(TLesson::kHintPair);
    text = GetString(hintShown ? "tutorial_exclamation_5" : "tutorial_exclamation_1");
    style.size = hintShown ? 16.0f : 25.0f;
  } else {
    text = PopupMoney(game.Board().Ledger().LastValue() * 0.5);
  }
  ShowFloatyText(text, home.x - kPopupLeft, home.y + kPopupDrop, style);
  if (mMatchSound) mMatchSound->Play();
  AddAnimation(std::make_unique<RMatchAnim>(static_cast<float>(home.x + kTileCentreX),
                                            static_cast<float>(home.y + kTileCentreY)));
}

void TAnimationLayer::ShowSetsSubmit(TGame& game, const TSetsBox& box) {
  THoldingArea* drawer = game.SetsDrawer();
  const int count = box.Count();
  if (!drawer || count <= 0) return;
  const TFace first = box.FirstFace(game.Board());
  auto particles = std::make_unique<RSetsAnim>();
  const TPraise praise = SetPraise(first.suit);
  for (int slot = 0; slot < count && slot < THoldingArea::kSlots; ++slot) {
    const TImage* background = drawer->SlotBlank(slot);
    if (!background) continue;
    const TPoint2 centre = FromScreen(Centre(*background));
    particles->AddEmitter(RSetsAnim::kScript, static_cast<float>(centre.x),
                          static_cast<float>(centre.y));
    if (game.TutorialLevel()) {
      if (slot != 1 || !praise.key) continue;
      TFloatyTextStyle style;
      style.size = praise.size;
      ShowFloatyText(GetString(praise.key), centre.x - kSlotPraiseLeft - RFloatyText::kBoxWidth / 2,
                     centre.y - RFloatyText::kBoxHeight / 2, style);
    } else if (!IsKennySuit(first.suit)) {
      ShowFloatyText(PopupMoney(game.Board().Ledger().LastValue() / static_cast<double>(count)),
                     centre.x - RFloatyText::kBoxWidth / 2, centre.y - RFloatyText::kBoxHeight / 2,
                     TFloatyTextStyle{});
    }
  }
  AddAnimation(std::move(particles));
}

bool TAnimationLayer::StartTreasureEnding(TGame& game, TFace won) {
  // Once per board: a second start changes nothing (the first one ends the level).
  if (!game.Board().StartTreasureEnding()) return true;
  if (mTreasureSound) mTreasureSound->Play();
  auto ending = std::make_unique<REndLevelAnim>(game, won);
  const std::vector<TTileId>& tiles = ending->Cashed();
  const int value = ending->TileValue();
  TFloatyTextStyle style;
  style.size = 15;
  bool placed = false;
  TPoint2 previous{0, 0};
  auto popupAt = [&](TTileId id, int count) {
    TTile* tile = game.View().TileWindow(id);
    if (!tile) return;
    const TPoint2 home = FromScreen(tile->Home());
    TPoint2 at{home.x - kPopupLeft, home.y + kPopupDrop};
    if (placed && std::abs(at.x - previous.x) < kEndingPopupApart &&
        std::abs(at.y - previous.y) < RFloatyText::kBoxHeight / 2)
      at.y = previous.y - RFloatyText::kBoxHeight / 2;
    ShowFloatyText(PopupMoney(static_cast<double>(count) * value), at.x, at.y, style);
    placed = true;
    previous = at;
  };
  const int per = REndLevelAnim::kTilesPerPopup;
  for (size_t i = 0; i < tiles.size(); ++i)
    if ((i + 1) % per == 0) popupAt(tiles[i], per);
  if (tiles.size() % per != 0) popupAt(tiles.back(), static_cast<int>(tiles.size() % per));
  AddAnimation(std::move(ending));
  return true;
}

void TAnimationLayer::Advance() {
  const int now = Now();
  if (!mStarted) {
    mStarted = true;
    mLastTime = now;
  }
  const int elapsed = std::max(0, now - mLastTime) + mCarryMs;
  mLastTime = now;
  int steps = elapsed / KAnim::kStepMs;
  mCarryMs = elapsed % KAnim::kStepMs;
  if (steps > kMaxCatchUpSteps) {
    steps = kMaxCatchUpSteps;
    mCarryMs = 0;
  }
  for (int step = 0; step < steps && !mAnimations.empty(); ++step) {
    // An animation may add others while it runs (the ending ends the level): index, not
    // iterators.
    for (size_t i = 0; i < mAnimations.size();) {
      if (mAnimations[i]->Update(KAnim::kStepMs))
        ++i;
      else
        mAnimations.erase(mAnimations.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
}

// The animations run on the dialog's task list, not in Draw: a level ends on time even when
// no frame is drawn (a covered or minimised window, a headless run without pictures).
bool TAnimationLayer::Animate() {
  Advance();
  Invalidate();
  if (!mAnimations.empty()) return true;
  mAnimating = false;
  return false;
}

void TAnimationLayer::Draw() {
  if (mAnimations.empty()) return;
  TScoped2d batch;
  TRenderer* renderer = batch.Renderer();
  if (!renderer) return;
  for (const auto& animation : mAnimations) animation->Draw(*renderer);
}

int TAnimationLayer::LiveParticles() const {
  int count = 0;
  for (const auto& animation : mAnimations)
    if (const auto* particles = dynamic_cast<const RParticleAnim*>(animation.get()))
      count += particles->LiveParticles();
  return count;
}
