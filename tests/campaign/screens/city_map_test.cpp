// The city map: the arithmetic of days, unlocking and the next level's location, and the
// window itself: its signs, the parchment that rises into place, the bouncing signs, the
// tutorial level first, the story point, Continue, and the way on after the fiftieth day.
#include "campaign/screens/city_map.h"

#include "campaign/record/location_info.h"
#include "campaign/screens/campaign_location.h"
#include "campaign/screens/city_map_rules.h"
#include "data/string_table.h"
#include "tests/campaign/screens/screen_test.h"
#include "ui/text.h"

namespace {

class CityMapTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    StringTable().SetString("citymap_currentday", "Day %1%");
    StringTable().SetString("citymap_unlockdesc", "%1% days at %2%");
    StringTable().SetString("citymap_unlockdesc_1", "last day at %1%");
    StringTable().SetString("citymap_unlockdesc_end", "%1% to go");
    StringTable().SetString("citymap_unlockdesc_end1", "one to go");
    StringTable().SetString("citymap_unlockdesc_end2", "all done");
    StringTable().SetString("citymap_grammasattic_friendly", "Grandma's<br>Attic");
    StringTable().SetString("citymap_yardsale_friendly", "the Yard Sale");
    StringTable().SetString("citymap_sothebys_friendly", "Hartwell");
    // The screens the map leads to, as plain stand-ins that say they were opened.
    for (const char* name : {"game", "intro", "treasuregallery", "endgame"}) {
      WriteFile(std::string("assets/scripts/") + name + ".lua",
                std::string("gOpened = '") + name + "'; MakeDialog{ name = '" + name + "' }");
    }
    InitFileSystem();
  }
  void TearDown() override {
    StringTable().Clear();
    ScreenTest::TearDown();
  }

  TGameState& State() { return game->State(); }
  // Wins the next n campaign levels, each at the location whose days it belongs to.
  void Win(int n) {
    for (int i = 0; i < n; ++i) {
      const int beaten = State().Progress().levelsBeatenCount;
      State().RecordLocationWin(LocationOfNextLevel(beaten));
      char level[32];
      std::snprintf(level, sizeof level, "levels/level_%03d.xml", beaten + 1);
      State().RecordLevelBeaten(level);
    }
  }
  void TutorialDone() { State().Progress().tutorialLevelDone = true; }
  TCityMap* OpenMap() {
    Run("DoModal( 'scripts/citymap.lua' )");
    return nullptr;
  }
  TCityMap* Map() { return Find<TCityMap>("map"); }
  TCityMap* Open() {
    OpenDialog(
        "citymap",
        "CityMap{ name = 'map', x = 0, y = 0, w = 800, h = 600,"
        "  Bitmap{ name = 'citymap_dayparchment', x = 545, y = 400, w = 250, h = 190 },"
        "  Text{ name = 'citymap_currentday_text', x = 565, y = 430, w = 200, h = 40 },"
        "  Text{ name = 'citymap_unlockdesc_text', x = 565, y = 472, w = 200, h = 60 },"
        "  Button{ name = 'citymap_continue_button', x = 585, y = 540, w = 170, h = 42 },"
        "  Button{ name = 'citymap_grammasattic_button', x = 60, y = 490, w = 150, h = 40 },"
        "  Bitmap{ name = 'citymap_grammasattic_disabled', x = 60, y = 490, w = 150, h = 40 },"
        "  Button{ name = 'citymap_yardsale_button', x = 20, y = 232, w = 150, h = 40 },"
        "  Bitmap{ name = 'citymap_yardsale_disabled', x = 20, y = 232, w = 150, h = 40 },"
        "}");
    return Map();
  }
  std::string Text(const char* name) { return Find<TText>(name)->GetText(); }
  bool Shown(const char* name) { return Find<TWindow>(name)->IsVisible(); }
  std::string Opened() { return Global(L, "gOpened"); }
};

TEST_F(CityMapTest, DaysAndTheLineAboutTheDaysLeftFollowTheWins) {
  EXPECT_EQ(MapDayNumber(0), 1);
  EXPECT_EQ(MapDayNumber(49), 50);
  EXPECT_EQ(MapDayNumber(50), 50);
  EXPECT_EQ(UnlockText(State()), "7 days at Grandma's Attic");
  Win(6);
  EXPECT_EQ(UnlockText(State()), "last day at Grandma's Attic");
  Win(1);
  EXPECT_TRUE(IsSignOpen(State(), kYardSale));
  EXPECT_FALSE(IsSignOpen(State(), kFleaMarket));
  EXPECT_EQ(UnlockText(State()), "7 days at the Yard Sale");
  EXPECT_EQ(FrontierLocation(State()), kYardSale);
  Win(42);
  EXPECT_EQ(State().Progress().levelsBeatenCount, 49);
  // The days add up to 50: on the last day the auction house still has its last day.
  EXPECT_EQ(UnlockText(State()), "last day at Hartwell");
  Win(1);
  EXPECT_EQ(UnlockText(State()), "all done");
  EXPECT_EQ(FrontierLocation(State()), kSothebys);
}

TEST_F(CityMapTest, TheNextLevelsLocationGoesByTheDaysBeaten) {
  EXPECT_EQ(LocationOfNextLevel(0), kGrammasAttic);
  EXPECT_EQ(LocationOfNextLevel(6), kGrammasAttic);
  EXPECT_EQ(LocationOfNextLevel(7), kYardSale);
  EXPECT_EQ(LocationOfNextLevel(42), kSothebys);
  EXPECT_EQ(LocationOfNextLevel(50), kSothebys);
  // The first location's sign is open from the start.
  EXPECT_TRUE(IsSignOpen(State(), kGrammasAttic));
}

TEST_F(CityMapTest, BackgroundsFollowTheLocationAndTheGameMode) {
  EXPECT_EQ(LevelBackground(true, kGameModeCampaign), "backgrounds/levels/attic_color");
  SetCurrentLocationId(kEndAuction);
  EXPECT_EQ(LevelBackground(false, kGameModeCampaign), "backgrounds/levels/estatesale_bw");
  SetCurrentLocationId(8);
  EXPECT_EQ(CurrentLocationId(), kEndAuction);
  EXPECT_EQ(LevelBackground(true, kGameModeSpeed), "backgrounds/levels/speedauction_color");
  EXPECT_EQ(LocationSignLabel(42), "citymap_estatesale");
  SetCurrentLocationId(kGrammasAttic);
}

TEST_F(CityMapTest, AFreshPlayerIsSentToTheTutorialLevelAtOnce) {
  ASSERT_NE(Open(), nullptr);
  EXPECT_TRUE(State().Progress().gameStarted);
  Passes(3);
  EXPECT_EQ(Opened(), "game");
  EXPECT_EQ(CurrentLocationId(), kGrammasAttic);
}

TEST_F(CityMapTest, TheMapShowsTheDayTheOpenSignsAndSlidesItsParchmentIntoPlace) {
  TutorialDone();
  Win(7);
  TCityMap* map = Open();
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(Text("citymap_currentday_text"), "Day 8");
  EXPECT_EQ(Text("citymap_unlockdesc_text"), "7 days at the Yard Sale");
  EXPECT_TRUE(Shown("citymap_grammasattic_button"));
  EXPECT_FALSE(Shown("citymap_grammasattic_disabled"));
  EXPECT_TRUE(Shown("citymap_yardsale_button"));
  EXPECT_FALSE(Shown("citymap_yardsale_disabled"));
  EXPECT_TRUE(Shown("citymap_continue_button"));
  TWindow* parchment = Find<TWindow>("citymap_dayparchment");
  TWindow* day = Find<TWindow>("citymap_currentday_text");
  EXPECT_EQ(parchment->GetRect().top, 400 + TCityMap::kParchmentSlide);
  TWindow* sign = Find<TWindow>("citymap_yardsale_button");
  int highest = sign->GetRect().top;
  for (int i = 0; i < 200 && !(map->SignsDone() && map->ParchmentArrived()); ++i) {
    Pass(TCityMap::kUpdateMs);
    highest = std::min(highest, sign->GetRect().top);
  }
  EXPECT_TRUE(map->ParchmentArrived());
  EXPECT_TRUE(map->SignsDone());
  EXPECT_EQ(parchment->GetRect().top, 400);
  EXPECT_EQ(day->GetRect().top, 430);
  // The first bounce is the highest: 11 pixels; the signs end at their places.
  EXPECT_EQ(highest, 232 - 11);
  EXPECT_EQ(sign->GetRect().top, 232);
  // The story point has been seen to: not a fresh game, so no intro.
  EXPECT_EQ(Opened(), "");
  EXPECT_EQ(Eval("DisplayStoryPoint()"), "false");
}

TEST_F(CityMapTest, ContinueStartsTheNextLevelAtTheFrontier) {
  TutorialDone();
  Win(8);
  Open();
  Run("SetCurrentLocation( 8 )");
  EXPECT_NE(CurrentLocationId(), kEndAuction);
  Run("SetCurrentLocation( 0 )");
  EXPECT_EQ(CurrentLocationId(), kGrammasAttic);
  Run("Continue()");
  Passes(2);
  EXPECT_EQ(CurrentLocationId(), kYardSale);
  EXPECT_EQ(Opened(), "game");
}

TEST_F(CityMapTest, AFreshGameShowsTheIntroAsItsStoryPoint) {
  TutorialDone();
  Open();
  EXPECT_EQ(Eval("DisplayStoryPoint()"), "true");
  Passes(2);
  EXPECT_EQ(Opened(), "intro");
}

TEST_F(CityMapTest, AfterTheFiftiethDayTheMapLeadsToTheGalleryThenToTheEnd) {
  TutorialDone();
  Win(50);
  TCityMap* map = Open();
  EXPECT_FALSE(Shown("citymap_continue_button"));
  EXPECT_EQ(Text("citymap_currentday_text"), "Day 50");
  for (int i = 0; i < 400 && Opened().empty(); ++i) Pass(TCityMap::kUpdateMs);
  EXPECT_EQ(Opened(), "treasuregallery");
  (void)map;

  Run("gOpened = nil");
  State().Progress().gameEnded = true;
  Open();
  for (int i = 0; i < 400 && Opened().empty(); ++i) Pass(TCityMap::kUpdateMs);
  EXPECT_EQ(Opened(), "endgame");
}

}  // namespace
