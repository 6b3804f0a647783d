#include "campaign/screens/city_map.h"

#include <cmath>

#include "campaign/game_app.h"
#include "campaign/record/location_info.h"
#include "campaign/screens/campaign_location.h"
#include "campaign/screens/city_map_rules.h"
#include "campaign/screens/window_fader.h"
#include "data/string_table.h"
#include "frame/application.h"
#include "frame/application_time.h"
#include "frame/frame_links.h"
#include "gfx/texture.h"
#include "ui/button.h"
#include "ui/image.h"
#include "ui/text.h"
#include "ui/window_manager.h"
#include "ui/window_paint.h"

namespace {

constexpr const char* kHoverSounds[kCampaignLocationCount] = {
    "audio/sfx/map_grammasattic_over.ogg", "audio/sfx/map_yardsale_over.ogg",
    "audio/sfx/map_fleamarket_over.ogg",   "audio/sfx/map_antiqueshop_over.ogg",
    "audio/sfx/map_estatesale_over.ogg",   "audio/sfx/map_texasauction_over.ogg",
    "audio/sfx/map_auctionhouse_over.ogg"};
// A hover sound is not started again while the last one may still play.
constexpr int kHoverSoundMs = 1500;
constexpr int kDayHitRadius = 12;

constexpr char kGoTutorial[] =
    "PopModal( 'citymap' );gGoTutorial = function()\tDoModal( 'scripts/game.lua' );end;"
    "table.insert( gCommandQueue, gGoTutorial );";
constexpr char kDisplayIntro[] =
    "gDisplayIntro = function()\tDoModal( 'scripts/intro.lua' );end;"
    "table.insert( gCommandQueue, gDisplayIntro );";
constexpr char kDisplayGallery[] =
    "PopModal( 'citymap' );gDisplayGallery = function()\tDoModal('scripts/treasuregallery.lua');"
    "end;table.insert( gCommandQueue, gDisplayGallery );";
constexpr char kDisplayEnd[] =
    "PopModal( 'citymap' );gDisplayEnd = function()\tDoModal('scripts/endgame.lua');end;"
    "table.insert( gCommandQueue, gDisplayEnd );";
constexpr char kStartLevel[] = "SwapToModal( 'scripts/game.lua' );";

void SetShown(TWindow* window, bool shown) {
  if (!window) return;
  window->SetFlags(shown ? window->GetFlags() | kWindowVisible
                         : window->GetFlags() & ~kWindowVisible);
}

void SetText(TWindow& root, const std::string& name, const std::string& text) {
  if (auto* t = dynamic_cast<TText*>(root.FindChild(name))) t->SetText(text);
}

std::string SignName(int id, const char* suffix) {
  return LocationSignLabel(id) + suffix;
}

void QueueScript(const char* text) {
  if (TWindowManager* manager = TWindowManager::Get()) manager->QueueScript(text);
}

}  // namespace

TCityMap::TCityMap() {
  mFunctions.Bind("SetCurrentLocation", this, &TCityMap::SetCurrentLocation);
  mFunctions.Bind("DisplayStoryPoint", this, &TCityMap::DisplayStoryPoint);
  mFunctions.Bind("Continue", this, &TCityMap::Continue);
  if (TGameState* state = State()) {
    if (!state->Progress().gameStarted) {
      state->Progress().gameStarted = true;
      state->Save(record_key::kGameStarted);
    }
  }
  mDotWon = GetTexture("gfx/dot_brown", 0);
  mDotAhead = GetTexture("gfx/dot_brown_faded", 0);
  mDotToday = GetTexture("gfx/dot_yellow_over", 0);
}

TCityMap::~TCityMap() = default;

TWindow* TCityMap::Create() {
  return new TCityMap;
}

TGameState* TCityMap::State() const {
  TGameApp* game = TGameApp::Get();
  return game ? &game->State() : nullptr;
}

int TCityMap::LevelsBeaten() const {
  TGameState* state = State();
  return state ? state->Progress().levelsBeatenCount : 0;
}

void TCityMap::PostCreate(const TWindowStyle& style) {
  TKeyboardScreen::PostCreate(style);
  TGameState* state = State();
  if (!state) return;
  const int beaten = LevelsBeaten();
  SetText(*this, "citymap_currentday_text",
          GetString("citymap_currentday", std::to_string(MapDayNumber(beaten))));
  SetText(*this, "citymap_unlockdesc_text", UnlockText(*state));

  for (int id = 0; id < kLocationCount; ++id) {
    TWindow* button = FindChild(SignName(id, "_button"));
    TWindow* disabled = FindChild(SignName(id, "_disabled"));
    const bool open = IsSignOpen(*state, id);
    SetShown(button, open);
    SetShown(disabled, !open);
    mSigns[id].button = open ? button : nullptr;
    if (button) mSigns[id].baseTop = button->GetRect().top;
  }
  if (beaten >= kTrailDays) SetShown(FindChild("citymap_continue_button"), false);

  // The parchment and its two lines rise into place from below.
  const char* slides[] = {"citymap_dayparchment", "citymap_currentday_text",
                          "citymap_unlockdesc_text"};
  for (int i = 0; i < 3; ++i) {
    TWindow* w = FindChild(slides[i]);
    mSlideWindows[i] = w;
    if (!w) continue;
    if (i == 0) mParchmentTarget = w->GetRect().top;
    w->SetPosition(w->GetRect().left, w->GetRect().top + kParchmentSlide);
  }
  if (!mSlideWindows[0]) mParchmentArrived = true;

  if (!state->Progress().tutorialLevelDone) {
    SetCurrentLocationId(kGrammasAttic);
    QueueScript(kGoTutorial);
  }
  // Steps follow the clock: a slow frame runs the updates it missed (each update is due one
  // period after the previous one; timed from now, a late pass would never catch up).
  StartAnimation(kUpdateMs, true, false, true);
  if (beaten < kTrailDays) StartFade(nullptr, RWindowFader::kOpening, "DisplayStoryPoint();");
}

void TCityMap::PostDraw() {
  DrawDays();
  TKeyboardScreen::PostDraw();
}

void TCityMap::DrawDays() {
  const int beaten = LevelsBeaten();
  TScoped2d batch;
  if (!batch.Renderer()) return;
  for (int day = 0; day < kTrailDays; ++day) {
    const TMapPoint p = kDayTrail[static_cast<size_t>(day)];
    if (day < beaten) {
      if (mDotWon) mDotWon->DrawAt(p.x, p.y, 1, 1, 1, kBlendNormal);
    } else if (day > beaten) {
      if (mDotAhead) mDotAhead->DrawAt(p.x, p.y, 1, 1, 1, kBlendNormal);
    }
  }
  if (beaten < kTrailDays && mDotToday) {
    // The current day beats slowly; under the pointer it stands still and full.
    const TMapPoint p = kDayTrail[static_cast<size_t>(beaten)];
    const float pulse =
        mHover ? 1.25f : 1.0f + 0.18f * std::sin(static_cast<float>(mUpdates) * 0.12f);
    mDotToday->DrawAt(p.x, p.y, pulse, pulse, 1, kBlendNormal);
  }
}

bool TCityMap::Animate() {
  ++mUpdates;
  if (!mSignsDone) BounceSigns();
  if (!mParchmentArrived) SlideParchment();
  if (mSignsDone && mParchmentArrived && mDoneAt < 0) mDoneAt = mUpdates;
  if (mDoneAt >= 0 && !mEndQueued && mUpdates >= mDoneAt + kEndCheckDelay) {
    TGameState* state = State();
    if (state && LevelsBeaten() >= kTrailDays) {
      mEndQueued = true;
      QueueScript(state->Progress().gameEnded ? kDisplayEnd : kDisplayGallery);
    }
  }
  if (TWindowManager* manager = TWindowManager::Get()) manager->Invalidate();
  return true;
}

void TCityMap::BounceSigns() {
  bool anyOpen = false;
  bool reached = false;
  for (TSign& sign : mSigns) {
    if (!sign.button) continue;
    anyOpen = true;
    const TRect r = sign.button->GetRect();
    if (mGoingUp) {
      const int top = sign.baseTop + 3 * mBounceRound - 20;
      if (r.top > top) sign.button->SetPosition(r.left, r.top - 1);
      if (r.top - 1 <= top) reached = true;
    } else {
      if (r.top < sign.baseTop) sign.button->SetPosition(r.left, r.top + 1);
      if (r.top + 1 >= sign.baseTop) reached = true;
    }
  }
  if (!anyOpen) {
    mSignsDone = true;
    return;
  }
  if (!reached) return;
  if (mGoingUp) {
    mGoingUp = false;
  } else if (mBounceRound < 5) {
    // Back at the base: the next, smaller bounce (rounds 3, 4 and 5).
    ++mBounceRound;
    mGoingUp = true;
  } else {
    mSignsDone = true;
  }
}

void TCityMap::SlideParchment() {
  TWindow* parchment = mSlideWindows[0];
  int step = 3;
  const int top = parchment->GetRect().top;
  if (top - step <= mParchmentTarget) {
    step = top - mParchmentTarget;
    mParchmentArrived = true;
  }
  for (TWindow* w : mSlideWindows) {
    if (w) w->SetPosition(w->GetRect().left, w->GetRect().top - step);
  }
}

bool TCityMap::OnCurrentDay(TPoint2 point) const {
  const int beaten = LevelsBeaten();
  if (beaten >= kTrailDays) return false;
  const TMapPoint p = kDayTrail[static_cast<size_t>(beaten)];
  const int dx = point.x - p.x, dy = point.y - p.y;
  return dx * dx + dy * dy <= kDayHitRadius * kDayHitRadius;
}

bool TCityMap::OnMouseDown(TPoint2 point) {
  if (!OnCurrentDay(point)) return false;
  StartLevelAt(LocationOfNextLevel(LevelsBeaten()));
  return true;
}

bool TCityMap::OnMouseMove(TPoint2 point) {
  SetHover(OnCurrentDay(point));
  return false;
}

bool TCityMap::OnMouseLeave() {
  SetHover(false);
  return false;
}

void TCityMap::SetHover(bool on) {
  if (on == mHover) return;
  mHover = on;
  TGameState* state = State();
  if (!state) return;
  const int frontier = FrontierLocation(*state);
  if (on) {
    const int now = static_cast<int>(ApplicationTime());
    TApplication* app = TApplication::Get();
    TSoundLink* sound = app ? app->GetSoundManager() : nullptr;
    if (sound && now - mHoverSoundAt >= kHoverSoundMs) {
      sound->PlayEffect(kHoverSounds[frontier], TSoundLink::kGameEffectsGroup);
      mHoverSoundAt = now;
    }
  }
  // The frontier's sign lights up and says what waits there.
  if (TButton* sign = dynamic_cast<TButton*>(mSigns[frontier].button))
    sign->SetState(on ? TButton::kMouseOver : TButton::kNormal);
  SetText(*this, SignName(frontier, "_up"),
          GetString(on ? SignName(frontier, "_over") : LocationSignLabel(frontier)));
}

void TCityMap::SetCurrentLocation(int index) {
  if (index < kLocationCount) SetCurrentLocationId(index);
}

bool TCityMap::DisplayStoryPoint() {
  TGameState* state = State();
  if (!state || state->Progress().levelsBeatenCount > 0 || state->Progress().introSeen)
    return false;
  QueueScript(kDisplayIntro);
  return true;
}

void TCityMap::Continue() {
  TGameState* state = State();
  StartLevelAt(state ? FrontierLocation(*state) : kGrammasAttic);
}

void TCityMap::StartLevelAt(int location) {
  SetCurrentLocationId(location);
  QueueScript(kStartLevel);
}
