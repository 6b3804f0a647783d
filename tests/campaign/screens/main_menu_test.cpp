// The main menu's window class: the greeting, the cross-sell sign, the menu music and the
// script functions it offers while it lives.
#include "campaign/screens/main_menu.h"

#include "data/prefs.h"
#include "data/string_table.h"
#include "tests/campaign/screens/screen_test.h"
#include "ui/text.h"

namespace {

constexpr char kMenu[] =
    "MainMenu{ name = 'menu', x = 0, y = 0, w = 800, h = 600,"
    "  Text{ name = 'mainmenu_welcome_text', x = 0, y = 0, w = 300, h = 40, label = 'Hello' },"
    "  Bitmap{ name = 'mainmenu_moregames', x = 0, y = 100, w = 50, h = 50 },"
    "}";

class MainMenuTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    StringTable().SetString("mainmenu_welcome", "Welcome, %1%!");
  }
  void TearDown() override {
    StringTable().Clear();
    ScreenTest::TearDown();
  }
  std::string Welcome() { return Find<TText>("mainmenu_welcome_text")->GetText(); }
};

TEST_F(MainMenuTest, TheMenuGreetsTheCurrentPlayerAndFollowsAChange) {
  OpenDialog("mainmenu", kMenu);
  EXPECT_EQ(Welcome(), "Welcome, Player!");
  game->CreateNewUser("Ada");
  Run("SetWelcomeName()");
  EXPECT_EQ(Welcome(), "Welcome, Ada!");
}

TEST_F(MainMenuTest, WithoutPlayersTheGreetingKeepsTheDialogsOwnText) {
  game->DeleteUser(0);
  ASSERT_EQ(game->GetNumUsers(), 0);
  OpenDialog("mainmenu", kMenu);
  EXPECT_EQ(Welcome(), "Hello");
}

TEST_F(MainMenuTest, TheMoreGamesSignShowsOnlyWithACrossSellFile) {
  OpenDialog("mainmenu", kMenu);
  EXPECT_FALSE(Find<TWindow>("mainmenu_moregames")->IsVisible());
  Run("PopModal( 'mainmenu' )");
  Passes(2);
  WriteFile("assets/xsell/xsell.xml", "<xsell/>");
  InitFileSystem();
  OpenDialog("mainmenu", kMenu);
  EXPECT_TRUE(Find<TWindow>("mainmenu_moregames")->IsVisible());
}

TEST_F(MainMenuTest, TheMenuPlaysItsMusicAndItsFunctionsLeaveWithIt) {
  OpenDialog("mainmenu", kMenu);
  EXPECT_EQ(sound->music, TMainMenu::kMenuMusic);
  Run("PauseMusic()");
  EXPECT_EQ(sound->music, "");
  Run("ResumeMusic()");
  EXPECT_EQ(sound->music, TMainMenu::kMenuMusic);
  // KillMusic leaves another piece alone.
  sound->PlayMusic("audio/music/music_yardsale.ogg");
  Run("KillMusic()");
  EXPECT_EQ(sound->music, "audio/music/music_yardsale.ogg");
  Run("ResumeMusic()");  // nothing was paused
  EXPECT_EQ(sound->music, "audio/music/music_yardsale.ogg");

  EXPECT_EQ(Eval("HasGameStarted()"), "false");
  game->State().Progress().gameStarted = true;
  EXPECT_EQ(Eval("HasGameStarted()"), "true");
  Run("Reset()");
  EXPECT_EQ(Eval("HasGameStarted()"), "false");

  Run("PopModal( 'mainmenu' )");
  Passes(2);
  for (const char* name : {"SetWelcomeName", "HasGameStarted", "Reset", "KillMusic", "PlayMusic",
                           "PauseMusic", "ResumeMusic", "DoWork"})
    EXPECT_EQ(Eval(std::string("type( ") + name + " )"), "nil") << name;
  // These answer from the record and stay.
  EXPECT_EQ(Eval("HasTutorialLevelBeenSeen()"), "false");
  Run("SkipTutorial()");
  EXPECT_EQ(Eval("HasTutorialLevelBeenSeen()"), "true");
  EXPECT_EQ(TPrefs(false).GetPrefInt(record_key::kTutorialLevelDone, 0, 0), 1);
}

TEST_F(MainMenuTest, PlayerNamesByIndexAndNothingForAMissingOne) {
  game->CreateNewUser("Ada");
  EXPECT_EQ(Eval("GetUserName( 0 )"), "Player");
  EXPECT_EQ(Eval("GetUserName( 1 )"), "Ada");
  EXPECT_EQ(Eval("GetUserName( 2 )"), "");
  EXPECT_EQ(Eval("GetUserName( -1 )"), "");
  EXPECT_EQ(Eval("GetCurrentUser()"), "1");
}

}  // namespace
