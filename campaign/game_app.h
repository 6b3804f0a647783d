// TGameApp: the game's one application-level object. It owns the preferences store (saved
// as it changes, so options and progress survive a restart), the high-score service and the
// progress record of the current player; it keeps the players and their options (sound,
// music, tutorials, full screen), the launch flags of a web page and the game mode, and
// offers all of these to the dialog scripts as script functions.
//
// One exists at a time (Get). Script functions are bound while it lives and removed when it
// goes; every change a script function makes is written to the store at once.
#pragma once

#include <memory>
#include <string>

#include "campaign/record/game_state.h"
#include "campaign/record/record_keys.h"

class TApplication;
class TLocationMusic;
class TPrefs;
class TTvHiscores;
class TWindowManager;
struct TGameOptions;
struct lua_State;

// Modes of play: the location campaign with treasures, or speed play without them.
enum TGameMode : int {
  kGameModeSpeed = 0,
  kGameModeCampaign = 1,
};

// What a hosting web page hears from the game (the host link plugs itself in; nothing is
// sent without one).
class THostReports {
 public:
  virtual ~THostReports() = default;
  virtual void SendGameReady(const std::string& mode) = 0;
  // The page decides the master volume: the host link applies its mute rule.
  virtual void EvaluateMute() = 0;
  virtual void SetLevel(int level, int sublevel) = 0;
  // The end of a level: the final score of a won level (both sent by
  // TGameApp::AddFinishedLevelScore), then the page's break, won or lost (the end-of-level
  // screen).
  virtual void SendScoreSubmit(long /*score*/) {}
  virtual void SendScoreBroadcast(long /*score*/) {}
  virtual void SendGameBreak() {}
};

class TGameApp {
 public:
  static constexpr const char* kEncryptionKey = kGameEncryptionKey;
  static constexpr char kDefaultPlayerName[] = "Player";
  // Cursor pictures and their hotspots (the arrow's tip, the lens centre); the pictures are
  // drawn by content/pictures/gen/signs.py, which keeps the same points.
  static constexpr char kNormalCursor[] = "cursor/cursor";
  static constexpr int kNormalCursorHotspot[2] = {1, 1};
  static constexpr char kMagnifyCursor[] = "cursor/magnify";
  static constexpr int kMagnifyCursorHotspot[2] = {12, 12};

  // Sets the store's key, opens the store (saving on), reads the current player's options,
  // makes that player current, loads the record and binds the script functions into script
  // (when given). windows serves QuitToMainMenu (may be null).
  TGameApp(TApplication& app, lua_State* script, TWindowManager* windows);
  ~TGameApp();
  TGameApp(const TGameApp&) = delete;
  TGameApp& operator=(const TGameApp&) = delete;

  static TGameApp* Get();

  // --- Start-up steps of the game's main
  // The stored display mode (800 x 600, full screen when "fullscreen" is 1), then sound.
  void ApplyDisplaySettings();
  // Volumes of the current player's options through the application's sound link.
  void ApplySoundSettings();
  // A store without players gets the default player, so that progress is kept from the
  // first game on.
  void EnsurePlayer();
  void SetLaunchOptions(const TGameOptions& options);
  // Writes the display's full-screen state as the stored choice (after Alt+Enter).
  void StoreFullScreenState();
  void UseNormalCursor();
  void UseMagnifyCursor();

  // --- Script functions
  bool ToggleFullScreen();
  void ToggleSoundMute();
  void ToggleSFXMute();
  void ToggleMusicMute();
  // The player chose a game: a hosting page hears that a game is ready (and holds the game
  // until it says to start), then the mode is selected as by SelectGameMode.
  void SetCurrentGameMode(int mode);
  int GetNumUsers() const;
  bool CreateNewUser(const std::string& name);
  void SetCurrentUser(int index);
  void ChangeCurrentUserName(const std::string& name);
  void ChangeUserName(const std::string& name, int index);
  void DeleteUser(int index);
  bool IsNameInUse(const std::string& name) const;
  void QuitToMainMenu();
  void ToggleTutorials();
  bool IsTandervelGame() const { return mWebScoreMode != kWebScoresAnonymous; }
  void OpenPrivacyPolicy();
  void OpenTermsOfService();
  bool IsWebAnon() const { return mWebScoreMode == kWebScoresAnonymous; }
  bool IsWebLocal() const { return mWebScoreMode == kWebScoresLocal; }
  bool IsSoundOff() const;
  bool IsAOLGame() const { return mAol; }
  bool IsMSNGame() const { return mMsn; }
  void KillMusicForCurrentLocation();
  // The end of a won level: selects the campaign mode (quietly: no game is announced) and
  // takes its final score (bankroll plus the value of the collection). In a web page the
  // score goes to the page; otherwise
  // it joins the local table of the campaign's category, one row per player. Answers the
  // final score, or -1 when there is no player to credit it to.
  int AddFinishedLevelScore();
  // The end of a level, won or lost (once per level): a hosting page hears its break and
  // holds the game until it says to go on. Nothing happens outside a page.
  void ReportLevelBreak();
  // The end of a level played outside the campaign (free play or a classic game): one more
  // speed level played ("mj_speedlevelsplayed"), and the total into the local table of the
  // layout's own category (one row per player), when a category is given.
  void RecordFreePlayLevel(const std::string& layoutCategory, int total);
  // The current player's best local score in a layout's category; -1 when there is none.
  int BestLocalScore(const std::string& layoutCategory);

  // --- State
  TPrefs& Prefs() { return *mPrefs; }
  TGameState& State() { return *mState; }
  TTvHiscores* Hiscores() { return mHiscores.get(); }
  TLocationMusic& LocationMusic() { return *mLocationMusic; }
  int CurrentUser() const;
  std::string CurrentUserName() const;
  int GameMode() const { return mGameMode; }
  // Selects the mode (0 or 1; others change nothing) and its high-score category without
  // telling a hosting page: for the code that only looks at a mode's scores or records one,
  // where announcing a game would make the page start a new one over the game under way.
  void SelectGameMode(int mode);
  // The high-score category of the game mode.
  const std::string& HiscoreCategory() const { return mHiscoreCategory; }
  bool TutorialsOn() const { return mTutorialsOn; }
  bool SfxOff() const { return mSfxOff; }
  bool MusicOff() const { return mMusicOff; }
  const std::string& LaunchUrl() const { return mLaunchUrl; }
  int WebScoreMode() const { return mWebScoreMode; }
  // The host link of a web page (not owned; null when there is none).
  void SetHostReports(THostReports* host) { mHost = host; }
  THostReports* HostReports() const { return mHost; }

 private:
  static constexpr int kWebScoresAnonymous = 1;
  static constexpr int kWebScoresLocal = 2;

  void SetEffectsVolume(float volume);
  void SetMusicVolume(float volume);
  void SetMasterVolume(float volume);
  void OpenSitePage(const char* page);
  void SetHiscoreCategory(const std::string& category);
  void SetCursor(const char* picture, const int hotspot[2]);

  TApplication& mApp;
  lua_State* mScript;
  TWindowManager* mWindows;
  THostReports* mHost = nullptr;

  std::string mLaunchUrl;
  int mWebScoreMode = 0;
  bool mMsn = false;
  bool mAol = false;
  // Owned, and released in this order.
  std::unique_ptr<TPrefs> mPrefs;
  std::unique_ptr<TTvHiscores> mHiscores;  // null until the high-score service is wired in
  std::unique_ptr<TGameState> mState;
  std::unique_ptr<TLocationMusic> mLocationMusic;
  bool mSfxOff = false;
  bool mMusicOff = false;
  bool mTutorialsOn = true;
  int mGameMode = kGameModeSpeed;
  std::string mHiscoreCategory;
};
