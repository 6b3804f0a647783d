// The high-score screens' classes in a window tree built by the dialog scripts' own
// functions, with the application object and its high-score service (no server here, so
// every online request fails at once with the service's "off" message).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "campaign/hiscore/dialog_script_text.h"
#include "campaign/hiscore/hiscore_submit.h"
#include "campaign/record/location_info.h"
#include "frame/command_line.h"
#include "online/tv_hiscores.h"
#include "tests/campaign/hiscore_screen_fixture.h"

namespace {

using HiscoreScreenTest = HiscoreScreenFixture;

TEST_F(HiscoreScreenTest, EveryByteOfAStartValueReachesTheDialogUnchanged) {
  std::string text = "O'Brien \\ \"quoted\" ]] end; os = nil --";
  for (int c = 1; c < 256; ++c) text += static_cast<char>(c);
  text += "7";  // a digit right after an escaped byte
  RunDialogText("gNameEdit='" + QuoteForLua(text) + "'; gAfter=1");
  EXPECT_EQ(Global("gNameEdit"), text);
  EXPECT_EQ(Global("gAfter"), "1") << "nothing after the value was swallowed";
}

TEST_F(HiscoreScreenTest, TheLocalViewListsTheCampaignTableAndSaysOnlineScoresAreOff) {
  game->State().Progress().bankroll = 1234;
  game->AddFinishedLevelScore();
  game->CreateNewUser("Bob");
  game->State().Progress().bankroll = 99;
  game->AddFinishedLevelScore();
  game->SetCurrentGameMode(kGameModeSpeed);

  THiscore* screen = BuildScreen();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(game->GameMode(), kGameModeCampaign) << "the screen opens on the campaign's table";
  EXPECT_EQ(screen->GetState(), THiscore::kLocalView);
  EXPECT_EQ(TextOf("name1"), "Ann");
  EXPECT_EQ(TextOf("score1"), "$1,234 ");
  EXPECT_EQ(TextOf("1"), "1.");
  EXPECT_EQ(TextOf("name2"), "Bob");
  EXPECT_EQ(TextOf("score2"), "$99 ");
  EXPECT_TRUE(Shown("name2"));
  EXPECT_FALSE(Shown("name3")) << "two rows only";
  EXPECT_TRUE(Shown("local"));
  EXPECT_EQ(TextOf("info"), "Online scores are off");
  EXPECT_FALSE(Shown("eligible")) << "nothing can be sent without a server";
  TWindowSystemHarness::Run(
      "gState = GetState(); gOnline = tostring( HiscoresOnline() ); "
      "gAvailable = tostring( ScoreAvailable() )");
  EXPECT_EQ(Global("gState"), "0");
  EXPECT_EQ(Global("gOnline"), "false");
  EXPECT_EQ(Global("gAvailable"), "true") << "Bob's score is not sent yet";

  // The other mode has its own (empty) table.
  screen->PressHiscoreButton("gamemodeleft");
  EXPECT_EQ(game->GameMode(), kGameModeSpeed);
  EXPECT_FALSE(Shown("name1"));
  screen->PressHiscoreButton("gamemoderight");
  EXPECT_EQ(game->GameMode(), kGameModeCampaign);
  EXPECT_TRUE(Shown("name1"));
}

TEST_F(HiscoreScreenTest, AFailedRequestShowsTheMessageAndTheGameModeStaysUntilBackToLocal) {
  THiscore* screen = BuildScreen();
  ASSERT_NE(screen, nullptr);
  screen->PressHiscoreButton("view");
  EXPECT_EQ(screen->GetState(), THiscore::kRequestingCategories);
  EXPECT_TRUE(Shown("server"));
  screen->PressHiscoreButton("gamemodeleft");
  EXPECT_EQ(game->GameMode(), kGameModeCampaign) << "no change while a request runs";
  for (int i = 0; i < 5; ++i) Pass(THiscore::kPollMs);
  EXPECT_EQ(screen->GetState(), THiscore::kError);
  EXPECT_EQ(screen->ErrorMessage(), TTvHiscores::kOnlineOffMessage);
  EXPECT_EQ(TextOf("error"), TTvHiscores::kOnlineOffMessage);
  EXPECT_TRUE(Shown("error"));
  EXPECT_FALSE(Shown("server"));
  screen->PressHiscoreButton("gamemodeleft");
  EXPECT_EQ(game->GameMode(), kGameModeCampaign) << "no change after a failure";
  screen->PressHiscoreButton("viewlocal");
  EXPECT_EQ(screen->GetState(), THiscore::kLocalView);
  screen->PressHiscoreButton("gamemodeleft");
  EXPECT_EQ(game->GameMode(), kGameModeSpeed);
}

TEST_F(HiscoreScreenTest, InAWebPageLookingAtTheTablesAnnouncesNoGame) {
  struct THost : THostReports {
    void SendGameReady(const std::string& mode) override { ready.push_back(mode); }
    void EvaluateMute() override {}
    void SetLevel(int, int) override {}
    std::vector<std::string> ready;
  } host;
  game->SetHostReports(&host);
  game->SetLaunchOptions(ParseGameOptions("game.exe -msn"));
  THiscore* screen = BuildScreen();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(game->GameMode(), kGameModeCampaign);
  screen->PressHiscoreButton("gamemodeleft");
  EXPECT_EQ(game->GameMode(), kGameModeSpeed) << "the tables still change";
  EXPECT_EQ(game->HiscoreCategory(), "mahjongcuriomar_adventure");
  EXPECT_TRUE(host.ready.empty()) << "a page told of a game would start one";
  // Choosing a game from the menu still tells the page.
  game->SetCurrentGameMode(kGameModeCampaign);
  EXPECT_EQ(host.ready, (std::vector<std::string>{"mahjongcuriomar_web"}));
  game->SetHostReports(nullptr);
}

TEST_F(HiscoreScreenTest, MedalsNameTheUnlockedLocationsInOrder) {
  EXPECT_EQ(THiscoreSubmit::UnlockedMedals(), "") << "nothing beyond the first location";
  TProgress& progress = game->State().Progress();
  progress.locationWins[kGrammasAttic] = 100;  // won: the yard sale opens
  EXPECT_EQ(THiscoreSubmit::UnlockedMedals(),
            "<medal name=\"mahjongcuriomar_yardsale\" per=\"game\"/>\r\n");
  progress.locationWins[kYardSale] = 100;
  EXPECT_EQ(THiscoreSubmit::UnlockedMedals(),
            "<medal name=\"mahjongcuriomar_yardsale\" per=\"game\"/>\r\n"
            "<medal name=\"mahjongcuriomar_fleamarket\" per=\"game\"/>\r\n");
}

TEST_F(HiscoreScreenTest, ScriptFunctionsLeaveWithTheScreen) {
  BuildScreen();
  TWindowSystemHarness::Run("gType = type( GetState )");
  EXPECT_EQ(Global("gType"), "function");
  manager->PopModal("hiscore");
  manager->ProcessDeletes();
  EXPECT_EQ(THiscore::Current(), nullptr);
  TWindowSystemHarness::Run("gType = type( GetState )");
  EXPECT_EQ(Global("gType"), "nil");
}

}  // namespace
