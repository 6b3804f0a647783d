#include "game/window/game.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "data/settings.h"
#include "data/string_table.h"
#include "frame/application.h"
#include "frame/application_time.h"
#include "frame/event.h"
#include "frame/frame_links.h"
#include "frame/log.h"
#include "frame/virtual_keys.h"
#include "game/appraisal.h"
#include "game/deal.h"
#include "game/face_catalogue.h"
#include "game/preview_rule.h"
#include "game/tutorial_prompt_queue.h"
#include "game/window/appraised_face.h"
#include "game/window/board_view.h"
#include "game/window/game_animations.h"
#include "game/window/game_bindings.h"
#include "game/window/game_player.h"
#include "game/window/game_tasks.h"
#include "game/window/game_tutorial_link.h"
#include "game/window/holding_area.h"
#include "game/window/level_result.h"
#include "game/window/tile.h"
#include "gfx/texture.h"
#include "ui/image.h"
#include "ui/modal_window.h"
#include "ui/sound_player.h"
#include "ui/text.h"
#include "ui/text_fit.h"
#include "ui/window_manager.h"
#include "ui/window_style.h"

namespace {

// The level pictures are drawn at 480 x 360 and shown over the whole 800 x 600 screen.
constexpr float kBackgroundScale = 5.0f / 3.0f;
// The end-of-level screen's music; the game window only stops it.
constexpr char kEndgameMusic[] = "audio/music/endgame.ogg";
// The location sign of the auction house at the end of the campaign.
constexpr int kLuxuryLocation = 6;

void ShowWindow(TWindow* window, bool shown) {
  if (!window) return;
  const uint32_t flags = window->GetFlags() & ~0xffu;
  window->SetFlags(shown ? flags | kWindowVisible : flags & ~kWindowVisible);
}

TText* FindText(TWindow& root, const std::string& name) {
  return dynamic_cast<TText*>(root.FindChild(name));
}

// Applies to each of a button's state labels: "<base>_up", "_down", "_over", "_inactive".
template <class F>
void ForEachState(TWindow& root, const std::string& base, F&& apply) {
  for (const char* state : {"_up", "_down", "_over", "_inactive"})
    if (TText* text = FindText(root, base + state)) apply(*text);
}

}  // namespace

TGame::TGame() : mLife(std::make_shared<TGameLife>()), mPlayer(CurrentGamePlayer()) {
  mLife->game = this;
  SetClassFlags(kWindowFocusable);
}

// The tasks hold the life token: they stop at their next run. The view goes before the
// board (it detaches the tile windows, which this window would otherwise delete twice).
TGame::~TGame() {
  mLife->game = nullptr;
  UnbindGameFunctions(this);
  if (mBoard) mBoard->SetHost(nullptr);
  mPlay.reset();
  mTutorial.reset();
  mView.reset();
  mBoard.reset();
}

TWindow* TGame::Create() {
  return new TGame;
}

TGame* GameWindowOf(TWindow* window) {
  for (TWindow* w = window; w; w = w->GetParent())
    if (auto* game = dynamic_cast<TGame*>(w)) return game;
  return nullptr;
}

// Construction: the level to play, the board and its view, the script functions and the
// update task. A description may name the level ("level") and the deal's seed ("seed").
void TGame::Init(const TWindowStyle& style) {
  TWindow::Init(style);
  const TLevelProgress progress = mPlayer.Progress();
  // A fixed deal and level for a scripted run or a bug report: the settings "game_seed" and
  // "game_level" (a level file such as "levels/level_003.xml"), or the description's keys.
  mSeed = static_cast<uint32_t>(
      style.GetNumber("seed", GetSettingInt("game_seed", static_cast<int>(ApplicationTime()))));
  // The level is played in the mode its caller chose (the main menu's adventure sets the
  // campaign, its classic game free play); the window does not change it. Free play never
  // deals the tutorial's layout.
  mGameMode = mPlayer.GameMode();
  TLevelProgress dealtProgress = progress;
  if (mGameMode != 1) dealtProgress.tutorialWon = true;
  mLevelFile = NextLevelEntry(dealtProgress, mSeed).file;
  mLevelFile = style.GetString("level", GetSetting("game_level", mLevelFile));
  mTutorialLevel = mGameMode == 1 && !progress.tutorialWon && mLevelFile == kTutorialLevelFile;
  TutorialPromptQueue().Clear();

  TBoardSetup setup;
  setup.campaignMode = mGameMode == 1;
  setup.bankroll = mPlayer.Bankroll();
  setup.amountSeed = mSeed;
  setup.searchSeed = mSeed + 1;
  mBoard = std::make_unique<TBoard>(setup);
  mView = std::make_unique<TBoardView>(*mBoard, *this);
  mView->SetGameHost(this);
  mView->SetTutorialSeen(mPlayer.TutorialSeen());
  mView->SetPreviewHandler([this](TTile* tile) { ShowPreview(tile); });
  mView->SetAppraiseHandler([this](TTile& tile) { mPlay->Appraise(tile.Id()); });
  mView->SetSendToBoxHandler([this](TTile& tile) { return SendToSetsBox(tile.Id()); });
  mView->SetDropHandler([this](TTile&, TPoint2 point) { DropAt(point); });
  mPlay = std::make_unique<TGamePlay>(*mBoard, *this, mSeed + 2);
  mTutorialLink = std::make_unique<TGameTutorialLink>(*this, mPlayer, mGameMode);
  mTutorial = std::make_unique<TGameTutorial>(*mTutorialLink, mTutorialLevel);
  mFlyToSound = GetWidgetSound("audio/sfx/sets_flyto.ogg");

  BindGameFunctions(this);
  StartTasks();
}

void TGame::StartTasks() {
  TModalWindow* modal = GetModalAncestor();
  if (!modal) return;
  mLastUpdateTime = static_cast<uint32_t>(modal->Clock().GetTime());
  modal->Tasks().Add(new TUpdateGameTask(mLife, &modal->Clock()));
}

// Initialisation once the script has made the children: configure them, deal, check the
// deal, show the score and the sets box, and take the keyboard.
void TGame::PostCreate(const TWindowStyle& style) {
  TWindow::PostCreate(style);
  FindChildren();
  ConfigureChildren();
  QueueScript("if KillMusic then KillMusic() end");
  mPlayer.PlayLocationMusic();
  Deal();
  mBoard->EndCheck();
  UpdateScore();
  mShownScore = mBoard->Ledger().Total();
  ShowScoreText();
  ShowTimeText();
  if (mDrawer) {
    mDrawer->Bind(this);
    mDrawer->Reset();
  }
  UpdateUndoButtons();
  mInitialised = true;
  if (mGameMode == 1) {
    bool treasure = false;
    for (TTileId id : mBoard->GridOrder()) treasure |= IsTreasureSuit(mBoard->Tile(id).face.suit);
    if (!treasure) {
      ShowWindow(mMapButton, true);
      mTutorial->RequestPrompt("tutorial_discover_notreasuresleft");
    }
  }
  ShowPreview(nullptr);
  if (TWindowManager* manager = TWindowManager::Get()) {
    manager->SetKeyTarget(GetModalAncestor(), this);
    manager->SetFocus(this);
  }
}

void TGame::FindChildren() {
  mBackground = dynamic_cast<TImage*>(FindChild("game_background_image"));
  mReveal = dynamic_cast<TImage*>(FindChild("game_background_reveal_image"));
  mScoreText = FindText(*this, "game_score_text");
  mTimeText = FindText(*this, "game_time_text");
  mHintButton = FindChild("game_hint_button");
  mHintDisabled = FindChild("game_hint_disabled_image");
  mShuffleButton = FindChild("game_shuffle_button");
  mShuffleDisabled = FindChild("game_shuffle_disabled_image");
  mAppraisalButton = FindChild("game_appraisal_button");
  mAppraisalDisabled = FindChild("game_appraisal_disabled_image");
  mUndoButton = FindChild("game_undo_button");
  mUndoDisabled = FindChild("game_undo_disabled_image");
  mRedoButton = FindChild("game_redo_button");
  mRedoDisabled = FindChild("game_redo_disabled_image");
  mMapButton = FindChild("game_map_button");
  mPreviewFace = dynamic_cast<TImage*>(FindChild("game_preview_face"));
  mPreviewLocation = FindText(*this, "game_preview_location");
  mAntiqueName = FindText(*this, "game_antiquename_text");
  mFocusRing = dynamic_cast<TImage*>(FindChild("game_focus_ring"));
  mDrawer = dynamic_cast<THoldingArea*>(FindChild("game_set_drawer"));
  mAnimations = dynamic_cast<TGameAnimations*>(FindChild("animationlayer"));
}

void TGame::ConfigureChildren() {
  const int location = mPlayer.CurrentLocation();
  if (mBackground)
    mBackground->SetTexture(GetTexture(LocationBackground(location, mGameMode, false), 0),
                            kBackgroundScale);
  if (mReveal) {
    mReveal->SetTexture(GetTexture(LocationBackground(location, mGameMode, true), 0),
                        kBackgroundScale);
    mReveal->SetOpacity(0.0f);
    ShowWindow(mReveal, false);
  }
  ShowWindow(mMapButton, false);
  if (mTutorialLevel) {
    if (auto* hint = dynamic_cast<TImage*>(FindChild("game_hint_button_image_up"))) {
      hint->SetTexture(GetTexture("buttons/game_hint_glow", 0), 1.0f);
      mHintGlowing = true;
    }
    if (auto* submit = dynamic_cast<TImage*>(FindChild("game_submit_image_up")))
      submit->SetTexture(GetTexture("buttons/game_submit_glow", 0), 1.0f);
  }
  for (const char* name : {"game_menubutton_up", "game_menubutton_down", "game_menubutton_over"})
    if (TText* text = FindText(*this, name)) text->SetPadding(-4);
  ForEachState(*this, "game_options_button_text", [](TText& t) { t.SetRotation(90, 25, 25); });
  if (TText* signature = FindText(*this, "game_preview_signature_text")) {
    std::string name = mPlayer.Name();
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    signature->SetText(name);
    FitOnOneLine(*signature);
    signature->SetRotation(-8, 0, 0);
  }
  const TScoreLedger& ledger = mBoard->Ledger();
  ForEachState(*this, "game_hint_button_text", [](TText& t) {
    t.SetPadding(-4);
    t.SetRotation(-7, 0, 0);
  });
  ForEachState(*this, "game_hint_price", [&](TText& t) {
    t.SetRotation(-7, 0, 0);
    t.SetText(GetString("game_hint_price", FormatCurrency(ledger.HintCost())));
  });
  ForEachState(*this, "game_appraisal_price", [&](TText& t) {
    t.SetText(GetString("game_appraisal_price", FormatCurrency(ledger.AppraisalCost())));
  });
  ForEachState(*this, "game_shuffle_button_text", [](TText& t) { t.SetRotation(3.5f, 0, 0); });
  ForEachState(*this, "game_shuffle_price", [&](TText& t) {
    t.SetRotation(3.5f, 0, 0);
    t.SetText(GetString("game_shuffle_price", FormatCurrency(ledger.ShuffleCost())));
  });
  ShowWindow(FindChild("game_submit_button"), false);
  ShowWindow(mUndoButton, false);
  ShowWindow(mRedoButton, false);
  for (const char* name : {"speedscreen_background", "speedscreen_left", "speedscreen_right"})
    ShowWindow(FindChild(name), false);
  ShowWindow(FindChild("game_autowin_button"), GetSettingBool("cheatmode"));
  ShowWindow(mFocusRing, false);
}

void TGame::Deal() {
  TLevelLayout layout;
  LoadLevel(mLevelFile, mInfo, layout);
  TDealRequest request;
  const TLevelProgress progress = mPlayer.Progress();
  request.bag.gameMode = mGameMode;
  // The tutorial's own faces only on the tutorial level: another level chosen before the
  // tutorial is won (a fixed "game_level") is dealt as a level of the campaign.
  request.bag.tutorialWon = progress.tutorialWon || !mTutorialLevel;
  request.bag.levelsBeaten = progress.levelsBeaten;
  TGamePlayer* player = &mPlayer;
  const uint32_t seed = mSeed;
  request.bag.pickTreasure = [player, seed](TFace excluded) {
    return player->PickTreasure(excluded, seed);
  };
  request.solvable = SolvableDealsSetting();
  const int placed = ::Deal(*mBoard, layout, request, mSeed);
  Log("Game: %s dealt with seed %u, %d tiles, bankroll %d", mLevelFile.c_str(), mSeed, placed,
      mBoard->Ledger().Total());
  if (GetSettingBool("game_log_deal")) LogDeal();
}

// Every tile with its face, cell and the screen point of its top face's middle: what a
// bug report or a scripted run needs to find a tile (setting "game_log_deal").
void TGame::LogDeal() const {
  for (TTileId id : mBoard->GridOrder()) {
    const TBoardTile& tile = mBoard->Tile(id);
    const TTileScreenPosition at = TileScreenPosition(tile.layer, tile.x, tile.y);
    const TPoint2 screen = LocalToScreen({at.left + 20, at.top + 28});
    Log("Game: tile %d %s layer %d cell %d,%d point %d,%d", id,
        std::string(FaceShortName(tile.face)).c_str(), tile.layer, tile.x, tile.y, screen.x,
        screen.y);
  }
}

// --- Score, time and buttons ----------------------------------------------------------------

void TGame::UpdateScore() {
  const int total = mBoard->Ledger().Total();
  mScoreStep = static_cast<int>(std::ceil((total - mShownScore) / double(kScoreRollUpdates)));
  if (total < mShownScore && mScoreStep == 0) mScoreStep = -1;
  UpdateButtons();
}

void TGame::Update() {
  const uint32_t now = [&] {
    TModalWindow* modal = GetModalAncestor();
    return modal ? static_cast<uint32_t>(modal->Clock().GetTime()) : ApplicationTime();
  }();
  const int dt = static_cast<int>(now - mLastUpdateTime);
  mLastUpdateTime = now;
  const int total = mBoard->Ledger().Total();
  // A step pointing away from the total (the total moved without UpdateScore) is redone.
  if ((mShownScore < total && mScoreStep <= 0) || (mShownScore > total && mScoreStep >= 0))
    UpdateScore();
  const int before = mShownScore;
  // One roll step per 16 ms that passed, so the roll takes the same time at any frame rate.
  const int steps = std::clamp(dt / kUpdatePeriodMs, 1, kScoreRollUpdates);
  for (int i = 0; i < steps; ++i) {
    if (mShownScore < total)
      mShownScore = std::min(mShownScore + mScoreStep, total);
    else if (mShownScore > total)
      mShownScore = std::max(mShownScore + mScoreStep, total);
  }
  if (total == 0) mShownScore = 0;
  if (mShownScore != before) ShowScoreText();
  if (dt > 0) mTimer += dt;
  if (mTimer > 0) ShowTimeText();
  // The tutorial counts updates of 16 ms: a late update does the ones it missed.
  for (int i = 0; i < steps; ++i) mTutorial->Drive();
}

void TGame::ShowScoreText() {
  if (mScoreText) mScoreText->SetText(GetString("game_score", FormatCurrency(mShownScore)));
}

void TGame::ShowTimeText() {
  if (!mTimeText) return;
  const int minutes = mTimer / 60000;
  const int seconds = mTimer / 1000 - 60 * minutes;
  char text[32];
  std::snprintf(text, sizeof text, "%d:%.2d", minutes, seconds);
  mTimeText->SetText(GetString("game_time", text));
}

void TGame::ShowButton(TWindow* button, TWindow* disabled, bool enabled) {
  ShowWindow(button, enabled);
  ShowWindow(disabled, !enabled);
}

// The help buttons by price; during the tutorial level they wait for its lessons. The
// second and third days explain the shuffle and the appraisal once they are affordable.
void TGame::UpdateButtons() {
  const TScoreLedger& ledger = mBoard->Ledger();
  const bool playing = !mBoard->LevelEnded();
  const int beaten = mPlayer.Progress().levelsBeaten;
  ShowButton(mHintButton, mHintDisabled,
             playing && mTutorial->HintAllowed() && ledger.CanAfford(ledger.HintCost()));
  const bool shuffle =
      playing && mTutorial->ShuffleAllowed() && ledger.CanAfford(ledger.ShuffleCost());
  ShowButton(mShuffleButton, mShuffleDisabled, shuffle);
  if (shuffle && beaten == 1) mTutorial->RequestPrompt("tutorial_discover_shuffle");
  const bool appraisal =
      playing && mTutorial->AppraisalAllowed() && ledger.CanAfford(ledger.AppraisalCost());
  ShowButton(mAppraisalButton, mAppraisalDisabled, appraisal);
  if (appraisal && beaten == 2) mTutorial->RequestPrompt("tutorial_discover_appraisal");
}

void TGame::UpdateUndoButtons() {
  ShowButton(mUndoButton, mUndoDisabled, CanUndo());
  ShowButton(mRedoButton, mRedoDisabled, CanRedo());
}

// --- The preview ----------------------------------------------------------------------------

void TGame::ShowPreview(TTile* tile, bool checkCovered) {
  if (tile && mBoard->LevelEnded() && tile->Alpha() < 1.0f) tile = nullptr;
  const TTileId id = tile ? tile->Id() : kNoTile;
  if (mInitialised && id == mHoveredTile && id != kNoTile) return;
  if (tile && checkCovered && !IsPreviewable(*mBoard, mBoard->Tile(id))) return;
  mHoveredTile = id;
  const float scale = mPreviewFace ? mPreviewFace->GetScale() : 1.0f;
  if (tile) {
    const TFace face = mBoard->Tile(id).face;
    if (mPreviewFace)
      mPreviewFace->SetTexture(GetTexture("tiles/" + std::string(FaceImageName(face)) + "_lg", 0),
                               scale);
    ShowWindow(mPreviewLocation, false);
    if (mAntiqueName) mAntiqueName->SetText(AppraisalTitle(face, TAppraisalSet::kHover));
    return;
  }
  const int location = mPlayer.CurrentLocation();
  if (mPreviewFace)
    mPreviewFace->SetTexture(
        GetTexture(location == kLuxuryLocation ? "tiles/blank/logo_sign_large"
                                               : "tiles/blank/logo_sign_normal",
                   0),
        scale);
  if (mPreviewLocation) {
    mPreviewLocation->SetPadding(-5);
    mPreviewLocation->SetText(GetString(PlayedLocationNameKey(location, mGameMode)));
    ShowWindow(mPreviewLocation, true);
  }
  if (mAntiqueName) {
    const std::string day = std::to_string(mPlayer.Progress().levelsBeaten + 1);
    mAntiqueName->SetText(mGameMode == 1 ? GetString("game_preview_day", day) : "");
  }
}

void TGame::ClearPreview() {
  ShowPreview(nullptr);
}

// --- Input ----------------------------------------------------------------------------------

// A click beside the tiles deselects them; the click goes on to the dialog.
bool TGame::OnMouseDown(TPoint2) {
  mBoard->DeselectAll();
  if (TWindowTreeHost* host = TreeHost()) host->SetFocus(this);
  return false;
}

// The pointer over the background, away from tiles and the drawer: the preview shows the
// location again.
bool TGame::OnMouseMove(TPoint2) {
  if (mHoveredTile != kNoTile) ShowPreview(nullptr);
  return false;
}

bool TGame::OnKeyDown(int key, int modifiers) {
  const bool ctrl = (modifiers & kModCtrl) != 0;
  switch (key) {
    case VK_SPACE:
    case VK_RETURN:
      Submit();
      return true;
    case VK_LEFT:
      MoveFocus(TTileDirection::kLeft);
      return true;
    case VK_RIGHT:
      MoveFocus(TTileDirection::kRight);
      return true;
    case VK_UP:
      MoveFocus(TTileDirection::kUp);
      return true;
    case VK_DOWN:
      MoveFocus(TTileDirection::kDown);
      return true;
    case VK_TAB:
      SetFocusTile(NextFreeTile(*mBoard, mFocusTile, (modifiers & kModShift) != 0));
      return true;
    case VK_ESCAPE:
      if (mBoard->appraisalMode) {
        mPlay->ToggleAppraisal();
        return true;
      }
      QueueScript(
          "gGameMenu = function() DoModal('scripts/gamemenu.lua') end; "
          "table.insert(gCommandQueue, gGameMenu)");
      return true;
    default:
      break;
  }
  switch (key) {
    case 'X':
      if (mFocusTile == kNoTile) SetFocusTile(NextFreeTile(*mBoard, kNoTile, false));
      ClickTile(mFocusTile);
      return true;
    case 'S':
      if (mFocusTile == kNoTile) SetFocusTile(NextFreeTile(*mBoard, kNoTile, false));
      SendToSetsBox(mFocusTile);
      return true;
    case 'H':
      Hint();
      return true;
    case 'M':
      Shuffle();
      return true;
    case 'A':
      StartAppraisal();
      return true;
    case 'U':
      Undo();
      return true;
    case 'Z':
      if (!ctrl) return false;
      Undo();
      return true;
    case 'Y':
      Redo();
      return true;
    default:
      return false;
  }
}

void TGame::ClickTile(TTileId id) {
  if (id < 0 || id >= mBoard->TileCount() || mBoard->inputLocked) return;
  if (mBoard->appraisalMode) {
    mPlay->Appraise(id);
    return;
  }
  mBoard->ClickTile(id);
}

// The right button's rule: a selectable tile flies into the next slot when the box can
// take it; otherwise the refuse sound.
bool TGame::SendToSetsBox(TTileId id) {
  if (id < 0 || id >= mBoard->TileCount()) return false;
  if (mBoard->appraisalMode || mBoard->inputLocked || mBoard->LevelEnded()) return true;
  if (!mBoard->IsSelectable(id)) {
    PlayCue(TBoardSound::kRefuse);
    return false;
  }
  mBoard->ClearSelection();
  if (mTutorial->BlocksSetsBox(mBoard->Tile(id).face)) {
    Log("Tutorial: %s refused by the lesson",
        std::string(FaceShortName(mBoard->Tile(id).face)).c_str());
    PlayCue(TBoardSound::kRefuse);
    return true;
  }
  const TSetsBox& box = mPlay->SetsBox();
  TTile* tile = mView->TileWindow(id);
  TModalWindow* modal = GetModalAncestor();
  if (!mDrawer || !tile || !modal || !box.CanHold(*mBoard, mBoard->Tile(id).face)) {
    PlayCue(TBoardSound::kRefuse);
    return true;
  }
  tile->EndPress();
  if (mFlyToSound) mFlyToSound->Play();
  modal->Tasks().Add(
      new TMoveTile(mLife, &modal->Clock(), id, tile->Home(), mDrawer->SlotPosition(box.Count())));
  return true;
}

void TGame::FinishFlight(TTileId id, int /*boxCountAtStart*/) {
  if (TTile* tile = mView->TileWindow(id)) {
    if (TWindow* parent = tile->GetParent()) {
      const TPoint2 home = parent->ScreenToLocal(tile->Home());
      tile->SetPosition(home.x, home.y);
    }
  }
  mBoard->inputLocked = false;
  mPlay->PutIntoSetsBox(id);
  mBoard->RecountTiles(true);
}

bool TGame::DropAt(TPoint2 screenPoint) {
  if (!mDrawer || mBoard->LevelEnded()) return false;
  if (mDrawer->SlotAt(screenPoint) != mPlay->SetsBox().Count()) return false;
  const std::span<const TPlacedTile> selection = mBoard->Selection();
  if (!selection.empty() && mTutorial->BlocksSetsBox(mBoard->Tile(selection.back().tile).face)) {
    PlayCue(TBoardSound::kRefuse);
    return false;
  }
  return mPlay->DropSelectedIntoSetsBox();
}

// --- Keyboard focus -------------------------------------------------------------------------

void TGame::SetFocusTile(TTileId id) {
  mFocusTile = id;
  PlaceFocusRing();
  if (TTile* tile = mView->TileWindow(id)) ShowPreview(tile, false);
}

void TGame::MoveFocus(TTileDirection direction) {
  if (mFocusTile == kNoTile || !mBoard->IsSelectable(mFocusTile)) {
    SetFocusTile(NextFreeTile(*mBoard, kNoTile, false));
    return;
  }
  const TTileId next = NearestFreeTile(*mBoard, mFocusTile, direction);
  if (next != kNoTile) SetFocusTile(next);
}

// The ring sits around the focused tile's top face, in front of every tile.
void TGame::PlaceFocusRing() {
  if (!mFocusRing) return;
  TTile* tile = mView->TileWindow(mFocusTile);
  if (!tile || mBoard->Tile(mFocusTile).removed) {
    ShowWindow(mFocusRing, false);
    return;
  }
  const TRect r = tile->GetRect();
  const int w = mFocusRing->Width(), h = mFocusRing->Height();
  // Centred on the top face: the upper-left 40 x 56 pixels of the tile window.
  mFocusRing->SetPosition(r.left + 20 - w / 2, r.top + 28 - h / 2);
  mFocusRing->ChangeOrder(kToFront);
  ShowWindow(mFocusRing, true);
}

// The focused tile left the board: the focus goes to the free tile nearest to it.
void TGame::FocusNearby(TTileId gone) {
  if (gone != mFocusTile || mFocusTile == kNoTile) return;
  const TTileId next = FreeTileNearestTo(*mBoard, TileCentre(mBoard->Tile(gone)));
  mFocusTile = next;
  PlaceFocusRing();
}

// --- Board events ---------------------------------------------------------------------------

// A tile leaves or comes back with a match, a set or an undo record: the undo and redo
// buttons follow.
void TGame::OnTileRemoved(TTileId id) {
  if (id == mHoveredTile) ShowPreview(nullptr);
  if (id == mFocusTile) FocusNearby(id);
  UpdateUndoButtons();
}

void TGame::OnTileRestored(TTileId) {
  PlaceFocusRing();
  UpdateUndoButtons();
}

void TGame::OnTileFaceChanged(TTileId id) {
  if (id == mHoveredTile) ShowPreview(nullptr);
}

void TGame::OnDrawingOrder(std::span<const TTileId>) {
  if (mFocusRing && mFocusRing->IsVisible()) mFocusRing->ChangeOrder(kToFront);
}

int TGame::SetsBoxCount() const {
  return mPlay ? mPlay->SetsBox().Count() : 0;
}

bool TGame::SetsBoxCanTake(const TBoardTile& tile) const {
  return !mPlay || mPlay->SetsBox().CanAccept(*mBoard, tile.face);
}

void TGame::OnPairAccepted(TTileId first, TTileId, int) {
  mPlay->ForgetRedo();
  mTutorial->OnPairAccepted(mBoard->Tile(first).face);
  UpdateScore();
}

void TGame::OnSubmitting(TFace first) {
  mTutorial->OnSubmitting(first);
}

bool TGame::TutorialBlocksSelection(const TBoardTile& tile) {
  return mTutorial->BlocksSelection(tile.face);
}

void TGame::FlushTutorial() {
  TutorialPromptQueue().Flush();
}

void TGame::OnMatchShown(TTileId id) {
  if (mAnimations) mAnimations->ShowMatch(*this, id);
}

void TGame::OnKennyPair() {
  mPlay->ForgetRedo();
  UndoStateChanged();
  OpenKennyOffer();
}

void TGame::OnTreasurePair(TFace face) {
  mPlay->ForgetRedo();
  StartTreasureEnding(face);
}

// Without an animation layer the ending is immediate: the coloured picture shows, the
// tiles left are cashed and the level ends.
void TGame::StartTreasureEnding(TFace face) {
  if (mAnimations && mAnimations->StartTreasureEnding(*this, face)) return;
  if (mReveal) {
    mReveal->SetOpacity(1.0f);
    ShowWindow(mReveal, true);
  }
  mBoard->FinishTreasureEnding(face);
  UpdateScore();
}

void TGame::OnLevelEnded(TFace won) {
  TLevelResult result;
  result.won = won;
  result.levelFile = mLevelFile;
  result.timeMs = mTimer;
  result.campaign = mGameMode == 1;
  result.ledger = std::make_shared<const TScoreLedger>(mBoard->Ledger());
  SetLastLevelResult(result);
  UpdateButtons();
  UndoStateChanged();
  Log("Game: level ended, %s, total %d", won.IsNone() ? "board cleared" : "treasure won",
      mBoard->Ledger().Total());
  QueueScript(
      "gEndLevel = function()\tDoModal( 'scripts/endlevel.lua' );end;table.insert( "
      "gCommandQueue, gEndLevel );");
}

void TGame::OnNoMovesLeft() {
  if (mLossQueued) return;
  mLossQueued = true;
  Log("Game: no moves left with %d tiles", mBoard->TilesOnBoard());
  QueueScript(
      "gDoModal = function()\tDoModal('scripts/loss.lua');end;table.insert( gCommandQueue, "
      "gDoModal );");
}

void TGame::OnGiftTakenBack(TFace face) {
  Log("UNDO: ZOZAD URAVI TREASURE TAKEBACK");
  TakeBackTreasure(face);
}

// --- The play's host ------------------------------------------------------------------------

void TGame::PlayCue(TBoardSound sound) {
  mView->PlaySound(sound);
}

void TGame::ScoreChanged() {
  mLossQueued = false;
  UpdateScore();
}

void TGame::UndoStateChanged() {
  mLossQueued = false;
  UpdateUndoButtons();
  PlaceFocusRing();
}

void TGame::SetsBoxChanged() {
  if (mDrawer) mDrawer->Refresh();
  UpdateUndoButtons();
}

void TGame::SetsSubmitted(const TSetsBox& box) {
  if (mAnimations) mAnimations->ShowSetsSubmit(*this, box);
}

void TGame::LightHint(std::span<const TTileId> tiles) {
  TModalWindow* modal = GetModalAncestor();
  if (!modal) return;
  for (TTileId id : tiles)
    modal->Tasks().Add(new THintHighlight(mLife, &modal->Clock(), id, ++mHintGeneration[id]));
}

int TGame::HintGeneration(TTileId id) const {
  const auto it = mHintGeneration.find(id);
  return it == mHintGeneration.end() ? 0 : it->second;
}

// The hint light: the hint blank of the tile's kind, then its usual blank (lit while it is
// selected).
void TGame::ShowHintBlank(TTileId id, bool lit) {
  TTile* tile = mView->TileWindow(id);
  if (!tile) return;
  if (lit)
    tile->SetImages(BlanksForHint(mBoard->Tile(id).face).hint);
  else
    tile->ShowSelected(mBoard->Tile(id).selected);
}

void TGame::ShowAppraisalCursor(bool magnifier) {
  if (magnifier)
    mPlayer.UseMagnifyCursor();
  else
    mPlayer.UseNormalCursor();
}

void TGame::OpenAppraisal(TFace face) {
  SetAppraisedFace(face);
  QueueScript("DoModal('scripts/appraisal.lua');");
}

void TGame::OpenKennyOffer() {
  PlayCue(TBoardSound::kKenny);
  QueueScript(
      "gKennyOffer = function()\tDoModal('scripts/choosekenny.lua');end;table.insert( "
      "gCommandQueue, gKennyOffer );");
}

bool TGame::GiveTreasure(TFace face) {
  return mPlayer.GiveTreasure(face);
}

void TGame::TakeBackTreasure(TFace face) {
  mPlayer.TakeBackTreasure(face);
}

TFace TGame::OfferTreasure() {
  // Not the treasure this level hides: that one is still to be won here.
  TFace excluded = kNoFace;
  for (TTileId id : mBoard->GridOrder())
    if (IsTreasureSuit(mBoard->Tile(id).face.suit)) {
      excluded = mBoard->Tile(id).face;
      break;
    }
  return mPlayer.PickTreasure(excluded, mSeed + static_cast<uint32_t>(mTimer));
}

void TGame::QueueScript(const std::string& text) {
  if (TWindowManager* manager = TWindowManager::Get()) manager->QueueScript(text);
}

// --- Script functions -----------------------------------------------------------------------

void TGame::Submit() {
  mPlay->Submit();
}

// The help the player bought and the moves taken back go into the log with the money left:
// what a bug report about a lost move needs.
void TGame::Shuffle() {
  const int before = mBoard->Ledger().Total();
  mPlay->Shuffle();
  if (mBoard->Ledger().Total() != before) Log("Game: shuffle, total %d", mBoard->Ledger().Total());
}

void TGame::Undo() {
  const bool could = mPlay->CanUndo();
  mPlay->Undo();
  if (could) Log("Game: undo, total %d", mBoard->Ledger().Total());
}

void TGame::Redo() {
  if (mPlay->Redo()) Log("Game: redo, total %d", mBoard->Ledger().Total());
}

bool TGame::Hint() {
  const int before = mBoard->Ledger().Total();
  const bool answered = mPlay->Hint();
  if (mBoard->Ledger().Total() == before) return answered;
  Log("Game: hint, total %d", mBoard->Ledger().Total());
  // The tutorial's glow on the hint button lasts until the first hint.
  if (mHintGlowing) {
    mHintGlowing = false;
    if (auto* hint = dynamic_cast<TImage*>(FindChild("game_hint_button_image_up")))
      hint->SetTexture(GetTexture("buttons/game_hint_up", 0), 1.0f);
  }
  return answered;
}

void TGame::StartAppraisal() {
  mPlay->ToggleAppraisal();
}

void TGame::BuyAppraisal() {
  mPlay->BuyAppraisal();
}

void TGame::ResetCursor() {
  mPlayer.UseNormalCursor();
}

void TGame::KillEndgameMusic() {
  TApplication* app = TApplication::Get();
  TSoundLink* sound = app ? app->GetSoundManager() : nullptr;
  if (sound && sound->CurrentMusic() == kEndgameMusic) sound->StopMusic();
}

void TGame::AutoWin() {
  if (GetSettingBool("cheatmode")) mPlay->AutoWin();
}

void TGame::DoAppropriateModal() {
  // A classic game has no map to go on to: its end goes back to where it was started.
  if (mGameMode != 1) {
    mPlayer.StopLocationMusic();
    if (TModalWindow* modal = GetModalAncestor())
      QueueScript("PopModal( 'endlevel' );PopModal( '" + modal->IdText() + "' )");
    return;
  }
  QueueScript(
      "PopModal( 'endlevel' );gDoModal = function()\tSwapToModal( 'scripts/citymap.lua' );end;"
      "table.insert( gCommandQueue, gDoModal );");
}

void TGame::DisplayDialogIfEnd() {
  mLossQueued = false;
  mBoard->EndCheck();
}

bool TGame::CanShuffle() const {
  return mBoard->Ledger().CanAfford(mBoard->Ledger().ShuffleCost());
}

bool TGame::CanUndo() const {
  return !mTutorialLevel && !mBoard->LevelEnded() && mPlay->CanUndo();
}

bool TGame::CanRedo() const {
  return !mTutorialLevel && !mBoard->LevelEnded() && mPlay->CanRedo();
}

void TGame::AssignKennyUndo() {
  mPlay->AssignKennyUndo();
}

// Quitting the level: Zozad Uravi's treasures of this level go back, the music stops and
// the game's dialog closes (after this call has returned).
void TGame::QuitGame() {
  mPlay->TakeBackGifts();
  mPlayer.StopLocationMusic();
  Log("Game: quit %s", mLevelFile.c_str());
  if (TModalWindow* modal = GetModalAncestor())
    QueueScript("PopModal( '" + modal->IdText() + "' )");
}

// Leaving a level without a treasure for the map: like quitting, but on to the city map.
void TGame::LeaveForMap() {
  mPlay->TakeBackGifts();
  mPlayer.StopLocationMusic();
  QueueScript("SwapToModal( 'scripts/citymap.lua' )");
}

std::string TGame::KennyOfferText() const {
  return GetString("choosekenny_body", FormatCurrency(mPlay->KennySettings().giftCost));
}

std::string TGame::KennyGiftText(const TKennyGift& gift) const {
  switch (gift.outcome) {
    case TKennyOutcome::kSureGift:
      return GetString("choosekenny_result_money", FormatCurrency(gift.money));
    case TKennyOutcome::kDoubleMoney:
      return GetString("choosekenny_result_double", FormatCurrency(gift.money));
    case TKennyOutcome::kTreasure:
      return GetString("choosekenny_result_treasure",
                       AppraisalTitle(gift.treasure, TAppraisalSet::kHover));
    case TKennyOutcome::kBadIdea:
      break;
  }
  return GetString("choosekenny_result_nothing");
}

std::string TGame::TakeKennyGift() {
  return KennyGiftText(mPlay->ChooseKennyGift(TKennyChoice::kSureGift));
}

std::string TGame::GambleWithKenny() {
  return KennyGiftText(mPlay->ChooseKennyGift(TKennyChoice::kGamble));
}

std::string TGame::LevelResultText() const {
  return DescribeLevelResult(LastLevelResult());
}

std::string TGame::AppraisedPicture() const {
  const TFace face = AppraisedFace();
  return face.IsNone() ? "" : "tiles/" + std::string(FaceImageName(face)) + "_lg";
}

// What the appraiser says: the antiques get the verdict and the value, the everyday things
// their description.
std::string TGame::AppraisedText() const {
  const TFace face = AppraisedFace();
  if (face.IsNone()) return "";
  const TAppraisalSet set =
      HasAntiqueLook(face.suit) ? TAppraisalSet::kValued : TAppraisalSet::kHover;
  std::string text = AppraisalTitle(face, set) + "<br><br>" + AppraisalBody(face, set);
  if (set == TAppraisalSet::kValued)
    text += "<br><br>" + GetString("gameappraisal_value", FormatCurrency(AppraisalAmount(face)));
  return text;
}

void TGame::RecordLevelResult() {
  TLevelResult result = LastLevelResult();
  if (result.recorded || !result.ledger) return;
  // A classic game is played beside the campaign: it neither advances the player's days nor
  // changes the money carried from level to level.
  if (result.campaign)
    mPlayer.RecordWonLevel(result.levelFile, result.won, result.ledger->Total());
  else
    Log("Game: classic game ended with %d; the campaign's record is unchanged",
        result.ledger->Total());
  result.recorded = true;
  SetLastLevelResult(result);
}
