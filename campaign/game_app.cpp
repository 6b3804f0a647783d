#include "campaign/game_app.h"

#include <algorithm>

#include "campaign/game_app_bindings.h"
#include "campaign/location_music.h"
#include "campaign/record/record_keys.h"
#include "data/prefs.h"
#include "data/settings.h"
#include "frame/application.h"
#include "frame/command_line.h"
#include "frame/log.h"
#include "gfx/texture.h"
#include "online/tv_hiscores.h"
#include "ui/modal_window.h"
#include "ui/window_manager.h"

namespace {

TGameApp* gGameApp = nullptr;

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

// Option defaults of a player the store knows nothing about.
constexpr int kDefaultSoundLevel = 600;
constexpr int kDefaultMusicLevel = 750;

// High-score categories, indexed by game mode.
constexpr const char* kHiscoreCategories[] = {"mahjongcuriomar_adventure", "mahjongcuriomar_web"};
constexpr char kWebModeText[] = "mahjongcuriomar_web";

constexpr char kPrivacyPolicyPage[] = "privacypolicy.html";
constexpr char kTermsPage[] = "tos.html";

float Thousandths(int level) {
  return static_cast<float>(level) / 1000.0f;
}

}  // namespace

TGameApp* TGameApp::Get() {
  return gGameApp;
}

TGameApp::TGameApp(TApplication& app, lua_State* script, TWindowManager* windows)
    : mApp(app), mScript(script), mWindows(windows) {
  if (gGameApp) Log("A second game application object replaces the first");
  gGameApp = this;
  SetSetting("encryptionkey", kEncryptionKey);
  // Saving on: every change is written as it is made (atomically), so options and progress
  // are there at the next start. Files of earlier releases are read (and converted).
  mPrefs = std::make_unique<TPrefs>(true);
  // The service reads the key set above and its server address; with no server configured
  // it never touches the network.
  mHiscores = std::make_unique<TTvHiscores>(true);
  const int user = CurrentUser();
  mSfxOff = mPrefs->GetPrefInt(record_key::kSfxOff, 0, user) == 1;
  mMusicOff = mPrefs->GetPrefInt(record_key::kMusicOff, 0, user) == 1;
  mTutorialsOn = mPrefs->GetPrefInt(record_key::kTutorialsOn, 1, user) == 1;
  mGameMode = kGameModeSpeed;
  SetHiscoreCategory(kHiscoreCategories[kGameModeSpeed]);
  SetCurrentUser(user);
  mState = std::make_unique<TGameState>(*mPrefs);
  mLocationMusic = std::make_unique<TLocationMusic>(mApp);
  if (mScript) BindGameAppFunctions(mScript, this);
}

TGameApp::~TGameApp() {
  if (mScript) UnbindGameAppFunctions(mScript);
  // Every change was written when it was made; nothing below writes at teardown, so the
  // record may go after the store it was read from.
  mPrefs.reset();
  mHiscores.reset();
  mState.reset();
  mLocationMusic.reset();
  if (gGameApp == this) gGameApp = nullptr;
}

// ------------------------------------------------------------------- start-up

void TGameApp::ApplyDisplaySettings() {
  const bool fullscreen = mPrefs->GetPrefInt(record_key::kFullscreen, 0) == 1;
  mApp.SetDisplay(kScreenWidth, kScreenHeight, fullscreen);
  ApplySoundSettings();
}

void TGameApp::ApplySoundSettings() {
  const int user = CurrentUser();
  // The groups follow their mute switches even while all sound is off, so that turning
  // sound on again (which only sets the master volume) keeps muted music muted.
  SetEffectsVolume(
      mSfxOff ? 0.0f
              : Thousandths(mPrefs->GetPrefInt(record_key::kSoundLevel, kDefaultSoundLevel, user)));
  SetMusicVolume(mMusicOff ? 0.0f
                           : Thousandths(mPrefs->GetPrefInt(record_key::kMusicLevel,
                                                            kDefaultMusicLevel, user)));
  SetMasterVolume(mPrefs->GetPrefInt(record_key::kSoundOff, 0, user) != 0 ? 0.0f : 1.0f);
}

void TGameApp::EnsurePlayer() {
  if (GetNumUsers() == 0) {
    Log("No player yet: starting with \"%s\"", kDefaultPlayerName);
    CreateNewUser(kDefaultPlayerName);
  } else if (CurrentUser() < 0) {
    SetCurrentUser(0);
  }
  const TProgress& progress = mState->Progress();
  Log("Player %d \"%s\": %d of %d levels beaten, bankroll %d, tutorial level %s", CurrentUser(),
      CurrentUserName().c_str(), progress.levelsBeatenCount, kCampaignLevelCount, progress.bankroll,
      progress.tutorialLevelDone ? "done" : "ahead");
}

void TGameApp::SetLaunchOptions(const TGameOptions& options) {
  mLaunchUrl = options.url;
  mWebScoreMode = options.hasAnon ? options.anon : 0;
  mMsn = options.msn;
  mAol = options.aol;
}

void TGameApp::StoreFullScreenState() {
  mPrefs->SetPrefInt(record_key::kFullscreen, mApp.IsFullscreen() ? 1 : 0, -1, true);
}

void TGameApp::UseNormalCursor() {
  SetCursor(kNormalCursor, kNormalCursorHotspot);
}

void TGameApp::UseMagnifyCursor() {
  SetCursor(kMagnifyCursor, kMagnifyCursorHotspot);
}

void TGameApp::SetCursor(const char* picture, const int hotspot[2]) {
  std::shared_ptr<TTexture> image = GetTexture(picture, 0);
  if (!image) {
    Log("Cursor picture %s is missing; the built-in arrow stands in", picture);
    mApp.SetCursorImage(nullptr, 0, 0);
    return;
  }
  mApp.SetCursorImage(std::move(image), hotspot[0], hotspot[1]);
}

// ------------------------------------------------------------------- sound

void TGameApp::SetEffectsVolume(float volume) {
  if (TSoundLink* sound = mApp.GetSoundManager()) {
    sound->SetGroupVolume(TSoundLink::kGameEffectsGroup, volume);
    sound->SetGroupVolume(TSoundLink::kEffectsGroup, volume);
  }
}

void TGameApp::SetMusicVolume(float volume) {
  if (TSoundLink* sound = mApp.GetSoundManager())
    sound->SetGroupVolume(TSoundLink::kMusicGroup, volume);
}

void TGameApp::SetMasterVolume(float volume) {
  if (TSoundLink* sound = mApp.GetSoundManager()) sound->SetMasterVolume(volume);
}

void TGameApp::ToggleSoundMute() {
  const int user = CurrentUser();
  if (user < 0) return;
  // (stored + 1) mod 2, never negative even for a damaged stored value.
  const int soundOff = (mPrefs->GetPrefInt(record_key::kSoundOff, 0, user) % 2 + 3) % 2;
  mPrefs->SetPrefInt(record_key::kSoundOff, soundOff, user, true);
  if (mMsn && mHost) {
    mHost->EvaluateMute();  // the page has its say over the volume
    return;
  }
  SetMasterVolume(soundOff == 0 ? 1.0f : 0.0f);
}

void TGameApp::ToggleSFXMute() {
  mSfxOff = !mSfxOff;
  const int user = CurrentUser();
  if (user >= 0) mPrefs->SetPrefInt(record_key::kSfxOff, mSfxOff ? 1 : 0, user, true);
  SetEffectsVolume(
      mSfxOff ? 0.0f
              : Thousandths(mPrefs->GetPrefInt(record_key::kSoundLevel, kDefaultSoundLevel, user)));
}

void TGameApp::ToggleMusicMute() {
  mMusicOff = !mMusicOff;
  const int user = CurrentUser();
  if (user >= 0) mPrefs->SetPrefInt(record_key::kMusicOff, mMusicOff ? 1 : 0, user, true);
  SetMusicVolume(mMusicOff ? 0.0f
                           : Thousandths(mPrefs->GetPrefInt(record_key::kMusicLevel,
                                                            kDefaultMusicLevel, user)));
}

bool TGameApp::IsSoundOff() const {
  return mPrefs->GetPrefInt(record_key::kSoundOff, 0, CurrentUser()) == 1;
}

void TGameApp::KillMusicForCurrentLocation() {
  mLocationMusic->Stop();
}

// ------------------------------------------------------------------- display and mode

bool TGameApp::ToggleFullScreen() {
  if (!mApp.SetFullscreen(!mApp.IsFullscreen())) return false;
  StoreFullScreenState();
  return true;
}

void TGameApp::SetCurrentGameMode(int mode) {
  if (mMsn && mHost) mHost->SendGameReady(kWebModeText);
  SelectGameMode(mode);
}

void TGameApp::SelectGameMode(int mode) {
  if (mode != kGameModeSpeed && mode != kGameModeCampaign) return;
  mGameMode = mode;
  SetHiscoreCategory(kHiscoreCategories[mode]);
}

int TGameApp::AddFinishedLevelScore() {
  if (CurrentUser() < 0) {
    Log("A finished level's score with no player is not kept");
    return -1;
  }
  // The page has its game already: it hears the score and then the level's break, and a
  // GameReady here would make it answer with a start that restarts the game.
  SelectGameMode(kGameModeCampaign);
  const int score = mState->Progress().bankroll + mState->CollectionValue();
  if (mMsn) {
    if (mHost) {
      mHost->SendScoreSubmit(score);
      mHost->SendScoreBroadcast(score);
    }
    return score;
  }
  if (mHiscores && !mHiscores->AddLocalScore(score, true))
    Log("Score %d of \"%s\" is not in the local table (below it, or below the player's best)",
        score, CurrentUserName().c_str());
  return score;
}

void TGameApp::RecordFreePlayLevel(const std::string& layoutCategory, int total) {
  if (CurrentUser() < 0) {
    Log("A free play level with no player is not counted");
    return;
  }
  ++mState->Progress().speedLevelsPlayed;
  mState->Save(record_key::kSpeedLevelsPlayed);
  if (layoutCategory.empty() || !mHiscores || mMsn) return;
  SetHiscoreCategory(layoutCategory);
  if (!mHiscores->AddLocalScore(total, true))
    Log("Score %d on %s is below the player's best there", total, layoutCategory.c_str());
  SetHiscoreCategory(kHiscoreCategories[mGameMode]);
}

int TGameApp::BestLocalScore(const std::string& layoutCategory) {
  if (!mHiscores || CurrentUser() < 0) return -1;
  SetHiscoreCategory(layoutCategory);
  const std::string name = CurrentUserName();
  int best = -1;
  for (int i = 0; i < mHiscores->GetRowCount(true); ++i) {
    const THiscoreRow* row = mHiscores->GetRow(true, i);
    if (row && row->name == name) best = std::max(best, row->score);
  }
  SetHiscoreCategory(kHiscoreCategories[mGameMode]);
  return best;
}

void TGameApp::ReportLevelBreak() {
  if (mMsn && mHost) mHost->SendGameBreak();
}

void TGameApp::SetHiscoreCategory(const std::string& category) {
  mHiscoreCategory = category;
  if (mHiscores) mHiscores->SetParameter(TTvHiscores::kCategory, category);
}

void TGameApp::ToggleTutorials() {
  mTutorialsOn = !mTutorialsOn;
  const int user = CurrentUser();
  if (user >= 0) mPrefs->SetPrefInt(record_key::kTutorialsOn, mTutorialsOn ? 1 : 0, user, true);
}

void TGameApp::QuitToMainMenu() {
  if (!mWindows) return;
  // Down to the bottom of the modal stack (the screen, the one without a parent); the
  // main-loop script then opens the main menu again.
  while (TModalWindow* top = mWindows->TopModal()) {
    if (!top->GetParent() || !mWindows->PopModal(top->IdText())) break;
  }
}

void TGameApp::OpenPrivacyPolicy() {
  OpenSitePage(kPrivacyPolicyPage);
}

void TGameApp::OpenTermsOfService() {
  OpenSitePage(kTermsPage);
}

void TGameApp::OpenSitePage(const char* page) {
  const std::string site = GetSetting("website");
  if (site.empty()) {
    Log("No web site is configured (setting \"website\"); %s is not opened", page);
    return;
  }
  mApp.OpenURL(site + (site.back() == '/' ? "" : "/") + page);
}

// ------------------------------------------------------------------- players

int TGameApp::GetNumUsers() const {
  return mPrefs->GetUserCount();
}

int TGameApp::CurrentUser() const {
  return mPrefs->GetPrefInt(record_key::kCurrentUser, -1);
}

std::string TGameApp::CurrentUserName() const {
  const int user = CurrentUser();
  return user < 0 ? std::string() : mPrefs->GetPref(record_key::kName, "", user);
}

bool TGameApp::CreateNewUser(const std::string& name) {
  const int user = GetNumUsers();
  if (user >= TPrefs::kMaxPlayers) {
    Log("No room for another player (%d players)", user);
    return false;
  }
  const int from = CurrentUser();
  // Everything is handed to the store first; SetCurrentUser writes the file once.
  mPrefs->SetPref(record_key::kName, name, user);
  for (const auto& [key, fallback] : {std::pair{record_key::kSoundLevel, kDefaultSoundLevel},
                                      std::pair{record_key::kMusicLevel, kDefaultMusicLevel},
                                      std::pair{record_key::kSoundOff, 0}}) {
    mPrefs->SetPrefInt(key, mPrefs->GetPrefInt(key, fallback, from), user);
  }
  mPrefs->SetPrefInt(record_key::kSfxOff, mSfxOff ? 1 : 0, user);
  mPrefs->SetPrefInt(record_key::kMusicOff, mMusicOff ? 1 : 0, user);
  mPrefs->SetPrefInt(record_key::kTutorialsOn, 1, user);
  mTutorialsOn = true;
  SetCurrentUser(user);
  return true;
}

void TGameApp::SetCurrentUser(int index) {
  if (index >= GetNumUsers() || index < -1) return;
  mPrefs->SetPrefInt(record_key::kCurrentUser, index, -1, true);
  // The record follows the player: another player's progress must never be shown or saved
  // under this one.
  if (mState && mState->Player() != index) mState->LoadAll();
  if (index < 0) return;
  if (mHiscores) mHiscores->SetParameter(TTvHiscores::kPlayerName, CurrentUserName());
  // The player's own mute switches, so that another player's choice is not heard (or shown
  // by the options screen, which reads them from the store) after the change.
  mSfxOff = mPrefs->GetPrefInt(record_key::kSfxOff, mSfxOff ? 1 : 0, index) == 1;
  mMusicOff = mPrefs->GetPrefInt(record_key::kMusicOff, mMusicOff ? 1 : 0, index) == 1;
  ApplySoundSettings();
  mTutorialsOn = mPrefs->GetPrefInt(record_key::kTutorialsOn, 1, index) == 1;
}

void TGameApp::ChangeCurrentUserName(const std::string& name) {
  ChangeUserName(name, CurrentUser());
}

void TGameApp::ChangeUserName(const std::string& name, int index) {
  if (index < 0 || index >= GetNumUsers()) return;
  mPrefs->SetPref(record_key::kName, name, index, true);
  // Scores added after a rename carry the new name.
  if (index == CurrentUser() && mHiscores)
    mHiscores->SetParameter(TTvHiscores::kPlayerName, CurrentUserName());
}

void TGameApp::DeleteUser(int index) {
  if (index < 0 || index >= GetNumUsers()) return;
  mPrefs->DeleteUser(index);
  const int next = index - 1 >= 0 ? index - 1 : GetNumUsers() - 1;
  SetCurrentUser(next);
  // Players after the deleted one moved down a slot: read the record again in any case.
  mState->LoadAll();
}

bool TGameApp::IsNameInUse(const std::string& name) const {
  for (int user = 0; user < GetNumUsers(); ++user) {
    if (mPrefs->GetPrefBytes(record_key::kName, nullptr, user) &&
        mPrefs->GetPref(record_key::kName, "", user) == name)
      return true;
  }
  return false;
}
