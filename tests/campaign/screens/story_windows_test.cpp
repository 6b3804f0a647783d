// The story pop-ups: the help pages and their buttons, the intro that starts the game, the
// tutorial tip's switch and skip button.
#include "campaign/screens/help.h"

#include "campaign/record/location_info.h"
#include "campaign/screens/campaign_location.h"
#include "data/prefs.h"
#include "tests/campaign/screens/screen_test.h"
#include "ui/button.h"
#include "ui/text.h"

namespace {

class StoryTest : public ScreenTest {
 protected:
  bool Shown(const char* name) { return Find<TWindow>(name)->IsVisible(); }
};

constexpr char kHelp[] =
    "HelpWindow{ name = 'pages', x = 0, y = 0, w = 800, h = 600,"
    "  Text{ name = 'help_page1_title1', x = 0, y = 0, w = 100, h = 20 },"
    "  Text{ name = 'help_page2_title1', x = 0, y = 0, w = 100, h = 20 },"
    "  Text{ name = 'help_page3_body2', x = 0, y = 0, w = 100, h = 20 },"
    "  Text{ name = 'help_page4_body3', x = 0, y = 0, w = 100, h = 20 },"
    "  Text{ name = 'help_pagenumber_text', x = 0, y = 40, w = 40, h = 20 },"
    "  Button{ name = 'help_prev_button', x = 0, y = 100, w = 40, h = 20 },"
    "  Button{ name = 'help_next_button', x = 100, y = 100, w = 40, h = 20 },"
    "}";

TEST_F(StoryTest, HelpTurnsItsFourPagesAndHidesTheButtonsAtTheEnds) {
  OpenDialog("help", kHelp);
  auto* help = Find<Help>("pages");
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->Page(), 1);
  EXPECT_TRUE(Shown("help_page1_title1"));
  EXPECT_FALSE(Shown("help_page2_title1"));
  EXPECT_FALSE(Shown("help_prev_button"));
  EXPECT_TRUE(Shown("help_next_button"));
  EXPECT_EQ(Find<TText>("help_pagenumber_text")->GetText(), "1");
  Run("Previous()");
  EXPECT_EQ(help->Page(), 1);
  Run("Next()");
  EXPECT_TRUE(Shown("help_page2_title1"));
  EXPECT_FALSE(Shown("help_page1_title1"));
  EXPECT_TRUE(Shown("help_prev_button"));
  Run("Next() Next()");
  EXPECT_EQ(help->Page(), 4);
  EXPECT_TRUE(Shown("help_page4_body3"));
  EXPECT_FALSE(Shown("help_page3_body2"));
  EXPECT_FALSE(Shown("help_next_button"));
  EXPECT_EQ(Find<TText>("help_pagenumber_text")->GetText(), "4");
  Run("Next()");
  EXPECT_EQ(help->Page(), 4);
  Run("Previous()");
  EXPECT_EQ(help->Page(), 3);
  EXPECT_TRUE(Shown("help_page3_body2"));
}

TEST_F(StoryTest, OpeningTheIntroStartsTheGameEvenWithoutStart) {
  SetCurrentLocationId(kSothebys);
  OpenDialog("intro", "RIntro{ name = 'letter', x = 0, y = 0, w = 800, h = 600 }");
  EXPECT_TRUE(game->State().Progress().gameStarted);
  EXPECT_TRUE(game->State().Progress().introSeen);
  EXPECT_EQ(CurrentLocationId(), kGrammasAttic);
  TPrefs stored(false);
  EXPECT_EQ(stored.GetPrefInt(record_key::kGameStarted, 0, 0), 1);
  EXPECT_EQ(stored.GetPrefInt(record_key::kIntroSeen, 0, 0), 1);
}

TEST_F(StoryTest, TheTutorialTipShowsTheTipsOptionAndSkipsOnlyBeforeTheLevelIsDone) {
  constexpr char kTip[] =
      "RTutorial{ name = 'tip', x = 0, y = 0, w = 800, h = 600,"
      "  Button{ name = 'tutorialson_button', type = kToggle, x = 0, y = 0, w = 20, h = 20 },"
      "  Button{ name = 'tutorial_skip_button', x = 0, y = 40, w = 20, h = 20 },"
      "}";
  OpenDialog("tutorial", kTip);
  EXPECT_TRUE(Find<TButton>("tutorialson_button")->IsOn());
  EXPECT_TRUE(Shown("tutorial_skip_button"));
  Run("SkipTutorialLevel()");
  EXPECT_TRUE(game->State().Progress().tutorialLevelDone);
  Run("PopModal( 'tutorial' )");
  Passes(2);
  game->ToggleTutorials();
  OpenDialog("tutorial", kTip);
  EXPECT_FALSE(Find<TButton>("tutorialson_button")->IsOn());
  EXPECT_FALSE(Shown("tutorial_skip_button"));
}

}  // namespace
