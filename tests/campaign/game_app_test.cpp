// The game's application object over a headless application: players and their options,
// the volumes it hands to the sound link, the stored display mode, the cursor, and its
// script functions.
#include "campaign/game_app.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "campaign/game_app_bindings.h"
#include "campaign/location_music.h"
#include "campaign/record/record_keys.h"
#include "data/prefs.h"
#include "data/prefs_legacy.h"
#include "data/settings.h"
#include "data/string_table.h"
#include "files/file_system.h"
#include "frame/application.h"
#include "frame/command_line.h"
#include "gfx/texture.h"
#include "online/tv_hiscores.h"
#include "platform/headless/headless_platform.h"
#include "script/lua/lua_api.h"
#include "script/script.h"
#include "tests/campaign/campaign_test_folder.h"
#include "tests/frame/frame_fakes.h"
#include "tests/ui/ui_test_support.h"
#include "ui/screen.h"
#include "ui/window_manager.h"

namespace {

namespace fs = std::filesystem;

class TVolumeRecordingSound : public TRecordingSound {
 public:
  void SetGroupVolume(int group, float volume) override { groups[group] = volume; }
  bool PlayMusic(const std::string& file) override {
    music = file;
    return true;
  }
  void StopMusic() override { music.clear(); }
  std::string CurrentMusic() const override { return music; }
  std::map<int, float> groups;
  std::string music;
};

class TCursorRecordingRenderer : public TRecordingRenderer {
 public:
  void SetCursorImage(const std::shared_ptr<TTexture>& image, int hotX, int hotY) override {
    ++cursorChanges;
    cursorImage = image;
    hotspot = {hotX, hotY};
  }
  int cursorChanges = 0;
  std::shared_ptr<TTexture> cursorImage;
  std::pair<int, int> hotspot{-1, -1};
};

class GameAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = StartCampaignTestFolder("mc_game_app_", "game_app_test");
    StartApplication();
  }
  void TearDown() override {
    game.reset();
    app.reset();
    ResetSettings();
    ResetFileSystem();
    fs::remove_all(folder);
  }

  void StartApplication() {
    TFrameServices services;
    services.createSound = [this](TApplication&) -> std::unique_ptr<TSoundLink> {
      auto link = std::make_unique<TVolumeRecordingSound>();
      sound = link.get();
      return link;
    };
    app = std::make_unique<TApplication>(std::make_unique<TApplicationData>(), platform,
                                         std::move(services));
    app->CreatePlatformWindow();
    app->InitSound();
    auto link = std::make_unique<TCursorRecordingRenderer>();
    renderer = link.get();
    app->SetRenderer(std::move(link));
  }
  // The game object as the next start of the program makes it.
  TGameApp& Start(lua_State* script = nullptr, TWindowManager* windows = nullptr) {
    game.reset();
    game = std::make_unique<TGameApp>(*app, script, windows);
    return *game;
  }
  // The store as it is on disk.
  static std::unique_ptr<TPrefs> ReadStore() { return std::make_unique<TPrefs>(false); }

  fs::path folder;
  THeadlessPlatform platform;
  std::unique_ptr<TApplication> app;
  TVolumeRecordingSound* sound = nullptr;
  TCursorRecordingRenderer* renderer = nullptr;
  std::unique_ptr<TGameApp> game;
};

}  // namespace

TEST_F(GameAppTest, ANewPlayerOnAFreshStoreGetsTheDefaultOptionsAndBecomesCurrent) {
  TGameApp& g = Start();
  EXPECT_EQ(g.GetNumUsers(), 0);
  EXPECT_EQ(g.CurrentUser(), -1);
  EXPECT_TRUE(g.CreateNewUser("A"));
  const auto disk = ReadStore();
  EXPECT_EQ(disk->GetUserCount(), 1);
  EXPECT_EQ(disk->GetPref(record_key::kName, "", 0), "A");
  EXPECT_EQ(disk->GetPrefInt(record_key::kSoundLevel, -1, 0), 600);
  EXPECT_EQ(disk->GetPrefInt(record_key::kMusicLevel, -1, 0), 750);
  EXPECT_EQ(disk->GetPrefInt(record_key::kSoundOff, -1, 0), 0);
  EXPECT_EQ(disk->GetPrefInt(record_key::kTutorialsOn, -1, 0), 1);
  EXPECT_EQ(disk->GetPrefInt(record_key::kCurrentUser, -5), 0);
  EXPECT_EQ(g.State().Player(), 0);
}

TEST_F(GameAppTest, ANewPlayerTakesTheLevelsOfTheCurrentOneAndTheMuteSwitches) {
  TGameApp& g = Start();
  g.CreateNewUser("A");
  g.Prefs().SetPrefInt(record_key::kSoundLevel, 250, 0);
  g.Prefs().SetPrefInt(record_key::kSoundOff, 1, 0);
  g.ToggleMusicMute();
  g.ToggleTutorials();
  g.CreateNewUser("B");
  EXPECT_EQ(g.CurrentUser(), 1);
  EXPECT_EQ(g.Prefs().GetPrefInt(record_key::kSoundLevel, 0, 1), 250);
  EXPECT_EQ(g.Prefs().GetPrefInt(record_key::kSoundOff, 0, 1), 1);
  EXPECT_EQ(g.Prefs().GetPrefInt(record_key::kMusicOff, 0, 1), 1);
  EXPECT_EQ(g.Prefs().GetPrefInt(record_key::kTutorialsOn, 0, 1), 1);
  EXPECT_TRUE(g.TutorialsOn());
}

TEST_F(GameAppTest, VolumesFollowThePlayersLevelsAndMuteSwitches) {
  TGameApp& g = Start();
  g.CreateNewUser("A");
  g.Prefs().SetPrefInt(record_key::kSoundLevel, 400, 0);
  g.Prefs().SetPrefInt(record_key::kMusicLevel, 900, 0);
  g.ApplySoundSettings();
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kEffectsGroup], 0.4f);
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kGameEffectsGroup], 0.4f);
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kMusicGroup], 0.9f);
  EXPECT_FLOAT_EQ(sound->master, 1.0f);

  g.ToggleSFXMute();
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kEffectsGroup], 0.0f);
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kGameEffectsGroup], 0.0f);
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kMusicGroup], 0.9f);
  g.ToggleMusicMute();
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kMusicGroup], 0.0f);
  g.ToggleSFXMute();
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kEffectsGroup], 0.4f);

  g.ToggleSoundMute();
  EXPECT_FLOAT_EQ(sound->master, 0.0f);
  EXPECT_TRUE(g.IsSoundOff());
  // A restart keeps it all: all sound off, music off, effects on.
  Start().ApplySoundSettings();
  EXPECT_FLOAT_EQ(sound->master, 0.0f);
  EXPECT_TRUE(game->MusicOff());
  EXPECT_FALSE(game->SfxOff());
  game->ToggleSoundMute();
  EXPECT_FLOAT_EQ(sound->master, 1.0f);
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kMusicGroup], 0.0f) << "music stays muted";
  EXPECT_FALSE(ReadStore()->GetPrefInt(record_key::kSoundOff, 1, 0));
}

TEST_F(GameAppTest, ChoosingAPlayerAppliesThatPlayersOwnSwitches) {
  TGameApp& g = Start();
  g.CreateNewUser("A");
  g.CreateNewUser("B");
  g.ToggleMusicMute();  // B only
  g.ToggleSFXMute();
  g.Prefs().SetPrefInt(record_key::kMusicLevel, 500, 0);
  g.SetCurrentUser(0);
  EXPECT_FALSE(g.MusicOff());
  EXPECT_FALSE(g.SfxOff());
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kMusicGroup], 0.5f);
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kEffectsGroup], 0.6f);
  g.SetCurrentUser(1);
  EXPECT_TRUE(g.MusicOff());
  EXPECT_TRUE(g.SfxOff());
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kMusicGroup], 0.0f);
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kGameEffectsGroup], 0.0f);
  // Toggling writes the current player's switch only.
  g.ToggleMusicMute();
  EXPECT_EQ(ReadStore()->GetPrefInt(record_key::kMusicOff, -1, 1), 0);
  EXPECT_EQ(ReadStore()->GetPrefInt(record_key::kMusicOff, -1, 0), 0);
  EXPECT_EQ(ReadStore()->GetPrefInt(record_key::kSfxOff, -1, 1), 1);
}

TEST_F(GameAppTest, TheRecordFollowsTheCurrentPlayer) {
  TGameApp& g = Start();
  g.CreateNewUser("A");
  g.State().Progress().bankroll = 700;
  g.State().SaveAll();
  g.CreateNewUser("B");
  EXPECT_EQ(g.State().Player(), 1);
  EXPECT_EQ(g.State().Progress().bankroll, 0) << "a new player starts a fresh record";
  g.State().Progress().bankroll = 55;
  g.State().SaveAll();
  g.SetCurrentUser(0);
  EXPECT_EQ(g.State().Progress().bankroll, 700);
  g.SetCurrentUser(2);  // no such player: nothing changes
  EXPECT_EQ(g.CurrentUser(), 0);
  EXPECT_EQ(ReadStore()->GetPrefInt(record_key::kBankroll, 0, 1), 55);
}

TEST_F(GameAppTest, DeletingAPlayerMovesToThePreviousOneOrTheLast) {
  TGameApp& g = Start();
  for (const char* name : {"A", "B", "C"}) {
    g.CreateNewUser(name);
    g.State().Progress().bankroll = name[0];
    g.State().SaveAll();
  }
  g.SetCurrentUser(1);
  g.DeleteUser(0);  // B and C move down; the last one (C) becomes current
  EXPECT_EQ(g.GetNumUsers(), 2);
  EXPECT_EQ(g.CurrentUser(), 1);
  EXPECT_EQ(g.CurrentUserName(), "C");
  EXPECT_EQ(g.State().Progress().bankroll, 'C') << "the record is C's, not B's";
  g.DeleteUser(1);
  EXPECT_EQ(g.CurrentUserName(), "B");
  EXPECT_EQ(g.State().Progress().bankroll, 'B');
  g.DeleteUser(5);
  EXPECT_EQ(g.GetNumUsers(), 1);
  g.DeleteUser(0);
  EXPECT_EQ(g.GetNumUsers(), 0);
  EXPECT_EQ(g.CurrentUser(), -1);
  EXPECT_EQ(g.State().Player(), -1);
  EXPECT_EQ(ReadStore()->GetUserCount(), 0);
}

TEST_F(GameAppTest, NamesAreComparedExactlyAndRenamedAtOnce) {
  TGameApp& g = Start();
  g.CreateNewUser("Ann");
  g.CreateNewUser("Bob");
  EXPECT_TRUE(g.IsNameInUse("Ann"));
  EXPECT_FALSE(g.IsNameInUse("ann"));
  EXPECT_FALSE(g.IsNameInUse("Ann "));
  g.ChangeCurrentUserName("Robert");
  g.ChangeUserName("Annie", 0);
  g.ChangeUserName("Nobody", 7);
  const auto disk = ReadStore();
  EXPECT_EQ(disk->GetPref(record_key::kName, "", 0), "Annie");
  EXPECT_EQ(disk->GetPref(record_key::kName, "", 1), "Robert");
  EXPECT_EQ(disk->GetUserCount(), 2);
}

TEST_F(GameAppTest, TheDefaultPlayerIsMadeOnlyWhenThereIsNone) {
  Start().EnsurePlayer();
  EXPECT_EQ(game->GetNumUsers(), 1);
  EXPECT_EQ(game->CurrentUserName(), TGameApp::kDefaultPlayerName);
  game->CreateNewUser("Second");
  Start().EnsurePlayer();
  EXPECT_EQ(game->GetNumUsers(), 2);
  EXPECT_EQ(game->CurrentUserName(), "Second");
}

TEST_F(GameAppTest, TheFullScreenChoiceIsStoredAndUsedAtTheNextStart) {
  TGameApp& g = Start();
  g.ApplyDisplaySettings();
  EXPECT_FALSE(app->IsFullscreen());
  EXPECT_TRUE(g.ToggleFullScreen());
  EXPECT_TRUE(app->IsFullscreen());
  EXPECT_EQ(ReadStore()->GetPrefInt(record_key::kFullscreen, 0), 1);

  platform.SetFailModes(true, true);  // the switch back fails: nothing is stored
  EXPECT_FALSE(g.ToggleFullScreen());
  EXPECT_EQ(ReadStore()->GetPrefInt(record_key::kFullscreen, 0), 1);
  platform.SetFailModes(false, false);

  game.reset();
  app.reset();
  StartApplication();
  Start().ApplyDisplaySettings();
  EXPECT_TRUE(app->IsFullscreen());
  app->SetFullscreen(false);  // what Alt+Enter does, then the main loop stores it
  game->StoreFullScreenState();
  EXPECT_EQ(ReadStore()->GetPrefInt(record_key::kFullscreen, 1), 0);
}

TEST_F(GameAppTest, GameModesPickTheirHighScoreCategory) {
  TGameApp& g = Start();
  EXPECT_EQ(g.GameMode(), kGameModeSpeed);
  EXPECT_EQ(g.HiscoreCategory(), "mahjongcuriomar_adventure");
  g.SetCurrentGameMode(kGameModeCampaign);
  EXPECT_EQ(g.HiscoreCategory(), "mahjongcuriomar_web");
  g.SetCurrentGameMode(2);
  EXPECT_EQ(g.GameMode(), kGameModeCampaign);
}

TEST_F(GameAppTest, WebFlagsComeFromTheLaunchOptionsAndReachTheHostLink) {
  struct THost : THostReports {
    void SendGameReady(const std::string& mode) override { calls.push_back("ready " + mode); }
    void EvaluateMute() override { calls.push_back("mute"); }
    void SetLevel(int, int) override { calls.push_back("level"); }
    std::vector<std::string> calls;
  } host;
  TGameApp& g = Start();
  g.CreateNewUser("A");
  g.SetHostReports(&host);
  g.SetCurrentGameMode(5);
  EXPECT_TRUE(host.calls.empty()) << "nothing is sent without the MSN flag";
  g.SetLaunchOptions(ParseGameOptions("game.exe -url=http://x.invalid/a -anon 1 -msn"));
  EXPECT_EQ(g.LaunchUrl(), "http://x.invalid/a");
  EXPECT_TRUE(g.IsWebAnon());
  EXPECT_FALSE(g.IsWebLocal());
  EXPECT_FALSE(g.IsTandervelGame());
  EXPECT_TRUE(g.IsMSNGame());
  EXPECT_FALSE(g.IsAOLGame());
  g.SetCurrentGameMode(5);
  g.ToggleSoundMute();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"ready mahjongcuriomar_web", "mute"}));
  EXPECT_FLOAT_EQ(sound->master, 1.0f) << "the page decides the master volume";
}

TEST_F(GameAppTest, AMissingCursorPictureLeavesTheBuiltInArrow) {
  TGameApp& g = Start();
  g.UseMagnifyCursor();  // no package here, so no picture
  EXPECT_EQ(renderer->cursorChanges, 1);
  EXPECT_EQ(renderer->cursorImage, nullptr);
  EXPECT_EQ(renderer->hotspot, std::make_pair(0, 0)) << "the arrow's tip";
}

TEST_F(GameAppTest, ACursorChosenWhileHiddenAppearsWhenShownAndTemporaryOnesAreNotKept) {
  Start();
  const auto picture = std::make_shared<TTexture>(nullptr);
  app->SetCursorVisible(false);
  app->SetCursorImage(picture, 12, 12);
  EXPECT_EQ(renderer->cursorChanges, 0);
  app->SetCursorVisible(true);
  EXPECT_EQ(renderer->cursorImage, picture);
  EXPECT_EQ(renderer->hotspot, std::make_pair(12, 12));
  app->SetCursorImage(nullptr, 3, 4, true);  // e.g. over a text field
  EXPECT_EQ(renderer->cursorImage, nullptr);
  app->SetCursorVisible(false);
  app->SetCursorVisible(true);
  EXPECT_EQ(renderer->cursorImage, picture) << "the application's own cursor comes back";
  EXPECT_EQ(renderer->hotspot, std::make_pair(12, 12));
}

TEST_F(GameAppTest, AFileOfTheOlderFormIsReadAndWrittenBackInTheCurrentForm) {
  TPrefsSections sections;
  TPrefsSection& section = sections["game_app_test"];
  section.resize(2);
  section[0][record_key::kCurrentUser] = std::string("0", 2);
  section[1][record_key::kName] = std::string("Old Timer", 10);
  section[1][record_key::kBankroll] = std::string("3250", 5);
  section[1][record_key::kTutorialLevelDone] = std::string("1", 2);
  {
    std::ofstream file(folder / "prefs.dat", std::ios::binary);
    file << WriteLegacyPrefs(sections, TPrefsCipher(TGameApp::kEncryptionKey));
  }
  TGameApp& g = Start();
  EXPECT_EQ(g.CurrentUserName(), "Old Timer");
  EXPECT_EQ(g.State().Progress().bankroll, 3250);
  EXPECT_TRUE(g.State().Progress().tutorialLevelDone);
  std::ifstream file(folder / "prefs.dat", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_FALSE(IsLegacyPrefs(bytes));
  EXPECT_EQ(ReadStore()->GetPrefInt(record_key::kBankroll, 0, 0), 3250);
}

TEST_F(GameAppTest, ADamagedFileStartsAFreshRecordAndIsKeptAside) {
  const std::string damaged = "IKEY\xff\xff\xff\xff this is not a preferences file";
  std::ofstream(folder / "prefs.dat", std::ios::binary) << damaged;
  TGameApp& g = Start();
  EXPECT_EQ(g.GetNumUsers(), 0);
  g.EnsurePlayer();
  EXPECT_EQ(g.State().Progress().bankroll, 0);
  std::ifstream kept(folder / "prefs.dat.damaged", std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>()),
            damaged);
  EXPECT_EQ(ReadStore()->GetPref(record_key::kName, "", 0), TGameApp::kDefaultPlayerName);
}

TEST_F(GameAppTest, TheLocationMusicStopsOnlyItself) {
  TGameApp& g = Start();
  sound->PlayMusic("audio/music/music_mainmenu.ogg");
  g.KillMusicForCurrentLocation();
  EXPECT_EQ(sound->music, "audio/music/music_mainmenu.ogg");
  g.LocationMusic().Play();
  EXPECT_TRUE(g.LocationMusic().IsPlaying());
  g.KillMusicForCurrentLocation();
  EXPECT_EQ(sound->music, "");
}

// ------------------------------------------------------------------- script functions

namespace {

class GameAppScriptTest : public GameAppTest {
 protected:
  // Runs a Lua expression and answers its value as text.
  std::string Eval(const std::string& expression) {
    script.DoLuaString(("gResult = tostring(" + expression + ")").c_str());
    lua_State* L = script.GetState();
    lua_pushstring(L, "gResult");
    lua_gettable(L, LUA_GLOBALSINDEX);
    std::string value = lua_isstring(L, -1) ? lua_tostring(L, -1) : "(none)";
    lua_pop(L, 1);
    return value;
  }
  TScript script;
  TTestHost host;
  TWindowManager windows{&host};
};

}  // namespace

TEST_F(GameAppScriptTest, EveryFunctionIsBoundWhileTheObjectLives) {
  Start(script.GetState(), &windows);
  for (const char* name : GameAppFunctionNames()) {
    EXPECT_EQ(Eval(std::string("type(") + name + ")"), "function") << name;
  }
  EXPECT_EQ(Eval("CreateNewUser('Ann')"), "true");
  EXPECT_EQ(Eval("GetNumUsers()"), "1");
  EXPECT_EQ(Eval("IsNameInUse('Ann')"), "true");
  EXPECT_EQ(Eval("IsSoundOff()"), "false");
  Eval("ToggleSoundMute()");
  EXPECT_EQ(Eval("IsSoundOff()"), "true");
  EXPECT_EQ(Eval("IsTandervelGame()"), "true");
  Eval("SetCurrentGameMode(1)");
  EXPECT_EQ(game->GameMode(), kGameModeCampaign);
  game.reset();
  for (const char* name : GameAppFunctionNames()) {
    EXPECT_EQ(Eval(std::string("type(") + name + ")"), "nil") << name;
  }
}

TEST_F(GameAppScriptTest, QuitToMainMenuPopsEveryDialogDownToTheScreen) {
  auto* screen = new TScreen;
  windows.SetScreen(screen);
  Start(script.GetState(), &windows);
  for (const char* name : {"mainmenu", "citymap", "game", "options"}) {
    auto* modal = new TModalWindow;
    modal->SetName(name);
    windows.PushModal(modal);
  }
  Eval("QuitToMainMenu()");
  EXPECT_EQ(windows.TopModal(), screen);
  EXPECT_EQ(windows.ModalStack().size(), 1u);
  Eval("QuitToMainMenu()");
  EXPECT_EQ(windows.TopModal(), screen);
}

// The high-score service the application object owns: told the player and the category,
// and given the finished levels' scores.
TEST_F(GameAppTest, AFinishedLevelsScoreJoinsTheCampaignTableOncePerPlayer) {
  TGameApp& g = Start();
  ASSERT_NE(g.Hiscores(), nullptr);
  EXPECT_FALSE(g.Hiscores()->OnlineScoresAvailable()) << "no server is configured here";
  EXPECT_EQ(g.AddFinishedLevelScore(), -1) << "no player yet";
  g.CreateNewUser("Ada");
  EXPECT_EQ(g.Hiscores()->PlayerName(), "Ada");
  g.State().Progress().bankroll = 1500;
  EXPECT_EQ(g.AddFinishedLevelScore(), 1500);
  EXPECT_EQ(g.GameMode(), kGameModeCampaign);
  EXPECT_EQ(g.Hiscores()->Category(), "mahjongcuriomar_web");
  ASSERT_EQ(g.Hiscores()->GetRowCount(true), 1);
  EXPECT_EQ(g.Hiscores()->GetRow(true, 0)->name, "Ada");
  EXPECT_EQ(g.Hiscores()->GetRow(true, 0)->score, 1500);

  g.State().Progress().bankroll = 900;  // a lower score: the player's best stays
  EXPECT_EQ(g.AddFinishedLevelScore(), 900);
  ASSERT_EQ(g.Hiscores()->GetRowCount(true), 1);
  EXPECT_EQ(g.Hiscores()->GetRow(true, 0)->score, 1500);

  g.ChangeCurrentUserName("Ada L.");
  g.State().Progress().bankroll = 2000;
  g.AddFinishedLevelScore();
  ASSERT_EQ(g.Hiscores()->GetRowCount(true), 2);
  EXPECT_EQ(g.Hiscores()->GetRow(true, 0)->name, "Ada L.") << "the new name is used at once";

  // The table is kept for the next start of the program.
  Start();
  game->SetCurrentGameMode(kGameModeCampaign);
  EXPECT_EQ(game->Hiscores()->GetRowCount(true), 2);
  game->SetCurrentGameMode(kGameModeSpeed);
  EXPECT_EQ(game->Hiscores()->GetRowCount(true), 0) << "the other mode has its own table";
}

TEST_F(GameAppTest, InAWebPageTheScoreGoesToThePageAndNotToTheLocalTable) {
  struct THost : THostReports {
    void SendGameReady(const std::string&) override {}
    void EvaluateMute() override {}
    void SetLevel(int, int) override {}
    void SendScoreSubmit(long score) override { sent.push_back("submit " + std::to_string(score)); }
    void SendScoreBroadcast(long score) override {
      sent.push_back("broadcast " + std::to_string(score));
    }
    std::vector<std::string> sent;
  } host;
  TGameApp& g = Start();
  g.CreateNewUser("Web");
  g.SetHostReports(&host);
  g.SetLaunchOptions(ParseGameOptions("game.exe -msn"));
  g.State().Progress().bankroll = 700;
  EXPECT_EQ(g.AddFinishedLevelScore(), 700);
  EXPECT_EQ(host.sent, (std::vector<std::string>{"submit 700", "broadcast 700"}));
  EXPECT_EQ(g.Hiscores()->GetRowCount(true), 0);
}
