// The screens at the end of a level and around it: the end-of-level screen (the record moved
// on once, the treasure shown, the plaque counting after the fade), the loss screen's price
// and the appraisal screen.
#include "campaign/screens/end_level.h"

#include "campaign/record/treasure_table.h"
#include "campaign/screens/r_appraisal.h"
#include "campaign/screens/r_loss.h"
#include "data/settings.h"
#include "data/string_table.h"
#include "frame/command_line.h"
#include "game/appraisal.h"
#include "game/face_catalogue.h"
#include "game/window/appraised_face.h"
#include "game/window/game_player.h"
#include "game/window/level_result.h"
#include "online/hiscore_table.h"
#include "online/tv_hiscores.h"
#include "tests/campaign/screens/screen_test.h"
#include "ui/image.h"
#include "ui/text.h"

namespace {

constexpr char kEndLevel[] =
    "EndLevel{ name = 'endlevel_window', x = 0, y = 0, w = 800, h = 600,"
    "  Bitmap{ name = 'shadow', x = 0, y = 0, w = 800, h = 600 },"
    "  SpriteLayer{ name = 'endlevel_spritelayer', x = 0, y = 0, w = 200, h = 260 },"
    "  Text{ name = 'endlevel_title_text', x = 0, y = 0, w = 300, h = 30, label = 'Found' },"
    "  Text{ name = 'endlevel_subtitle_text', x = 0, y = 30, w = 300, h = 30, label = 'Sub' },"
    "  Text{ name = 'endlevel_tiletitle_text', x = 0, y = 60, w = 300, h = 30, label = '#' },"
    "  Text{ name = 'endlevel_tiledescription_text', x = 0, y = 90, w = 300, h = 30 },"
    "  Bitmap{ name = 'endlevel_scoreplaque', x = 0, y = 120, w = 100, h = 40,"
    "    Text{ name = 'endlevel_scoreplaque_text', x = 0, y = 0, w = 100, h = 40 } },"
    "  Text{ name = 'endlevel_yourscore_text', x = 300, y = 100, w = 100, h = 20 },"
    "  Text{ name = 'endlevel_scoretype_1_text', x = 300, y = 130, w = 100, h = 20 },"
    "  Text{ name = 'endlevel_score_1_text', x = 400, y = 130, w = 100, h = 20 },"
    "  Text{ name = 'endlevel_scoretype_2_text', x = 300, y = 150, w = 100, h = 20 },"
    "  Text{ name = 'endlevel_score_2_text', x = 400, y = 150, w = 100, h = 20 },"
    "  Text{ name = 'endlevel_score_3_text', x = 400, y = 170, w = 100, h = 20 },"
    "  Text{ name = 'endlevel_score_4_text', x = 400, y = 190, w = 100, h = 20 },"
    "  Text{ name = 'endlevel_score_5_text', x = 400, y = 210, w = 100, h = 20 },"
    "  Button{ name = 'endlevel_tryagain_button', x = 0, y = 500, w = 100, h = 40 },"
    "  Button{ name = 'endlevel_continue_button', x = 200, y = 500, w = 100, h = 40 },"
    "}";

// The game's player over the test's record, as the program installs one.
class TStatePlayer : public TGamePlayer {
 public:
  explicit TStatePlayer(TGameState& state) : mState(state) {}
  TLevelProgress Progress() const override { return {}; }
  int GameMode() const override { return 1; }
  void SetGameMode(int) override {}
  int Bankroll() const override { return mState.Progress().bankroll; }
  std::string Name() const override { return "Player"; }
  int CurrentLocation() const override { return 0; }
  bool TutorialSeen() const override { return false; }
  TFace PickTreasure(TFace, uint32_t) override { return kNoFace; }
  bool GiveTreasure(TFace) override { return false; }
  void TakeBackTreasure(TFace) override {}
  void RecordWonLevel(const std::string& levelFile, TFace won, int total) override {
    mState.RecordWonLevel({levelFile, won, total});
  }

 private:
  TGameState& mState;
};

class EndScreensTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    player = std::make_unique<TStatePlayer>(game->State());
    SetCurrentGamePlayer(player.get());
    StringTable().SetString("localizer_currency_tens_format", "$%%d");
    StringTable().SetString("localizer_currency_thousands_format", "$%%d,%%03d");
    StringTable().SetString("localizer_currency_millions_format", "$%%d,%%03d,%%03d");
    // The first treasure of the first sale is worth three diamonds here.
    StringTable().SetString("appraisal_c_amount_" + std::string(FaceShortName(Treasure())),
                            "1250000");
    StringTable().SetString("endlevel_previousscore", "Money carried in");
    StringTable().SetString("endlevel_matches", "Matches");
    StringTable().SetString("endlevel_didyouknow", "Did you know?");
    StringTable().SetString("endlevel_boardcleared", "Board cleared!");
    StringTable().SetString("appraisal_set", "Set: %1%");
    StringTable().SetString("appraisal_value", "Value: %1%");
    StringTable().SetString("appraisal_gent", "Mr. Finch");
    StringTable().SetString("appraisal_lady", "Mrs. Lorne");
  }
  void TearDown() override {
    SetCurrentGamePlayer(nullptr);
    player.reset();
    SetLastLevelResult({});
    SetAppraisedFace(kNoFace);
    StringTable().Clear();
    ScreenTest::TearDown();
  }

  // A level of the campaign ended with this ledger: $1,000 carried in, two pairs of $31 and
  // a set of $90, 3 tiles left ($60), a hint bought ($30).
  void EndLevel(TFace won, bool campaign = true) {
    auto ledger = std::make_shared<TScoreLedger>();
    ledger->Add(1000, 1.0, TScoreKind::kBankroll);
    ledger->Add(31, 1.0, TScoreKind::kPair);
    ledger->Add(31, 1.0, TScoreKind::kPair);
    ledger->Add(45, 2.0, TScoreKind::kSetOf3);
    ledger->AddRemaining(3);
    ledger->AddPurchase(30);
    TLevelResult result;
    result.won = won;
    result.levelFile = "levels/level_001.xml";
    result.campaign = campaign;
    result.ledger = ledger;
    SetLastLevelResult(result);
  }
  static TFace Treasure() { return TreasureTable(0)[0]; }
  std::unique_ptr<TStatePlayer> player;
  std::string TextOf(const std::string& name) {
    TText* text = Find<TText>(name);
    return text ? text->GetText() : "<missing " + name + ">";
  }
  bool Shown(const std::string& name) {
    TWindow* window = Find<TWindow>(name);
    return window && window->IsVisible();
  }
  REndLevel* Screen() { return Find<REndLevel>("endlevel_window"); }
  // Runs updates until the plaque stops changing (bounded).
  void CountToTheEnd() {
    for (int i = 0; i < 400 && !Screen()->Plaque().Done(); ++i) Pass(REndLevel::kUpdateMs);
  }
};

TEST_F(EndScreensTest, AWonLevelIsRecordedOnceAndItsTreasureShown) {
  game->State().Progress().tutorialLevelDone = true;
  const TFace treasure = Treasure();
  EndLevel(treasure);
  OpenDialog("endlevel", kEndLevel);
  ASSERT_NE(Screen(), nullptr);
  EXPECT_EQ(game->State().Progress().bankroll, 1000 + 62 + 90 + 60 - 30);
  EXPECT_EQ(game->State().Progress().levelsBeatenCount, 1);
  EXPECT_TRUE(game->State().IsOwned(treasure));
  EXPECT_TRUE(LastLevelResult().recorded);
  // The campaign's score (the money now held plus the collection) joins the local table.
  TTvHiscores* scores = game->Hiscores();
  ASSERT_NE(scores, nullptr);
  ASSERT_EQ(scores->GetRowCount(true), 1);
  const int finalScore = game->State().Progress().bankroll + game->State().CollectionValue();
  EXPECT_EQ(scores->GetRow(true, 0)->score, finalScore);
  // A second screen for the same result (rebuilt) does not win the day twice.
  Run("PopModal( 'endlevel' )");
  Passes(2);
  OpenDialog("endlevel", kEndLevel);
  EXPECT_EQ(game->State().Progress().levelsBeatenCount, 1);
  EXPECT_EQ(scores->GetRowCount(true), 1);

  EXPECT_EQ(TextOf("endlevel_tiletitle_text"), AppraisalTitle(treasure, TAppraisalSet::kValued));
  EXPECT_EQ(TextOf("endlevel_tiledescription_text"),
            AppraisalBody(treasure, TAppraisalSet::kValued));
  EXPECT_EQ(TextOf("endlevel_scoreplaque_text"), "$1,250,000");
  EXPECT_TRUE(Shown("endlevel_scoreplaque"));
  EXPECT_EQ(TextOf("endlevel_title_text"), "Found");
  EXPECT_EQ(Screen()->DiamondCount(), 3);
  EXPECT_FALSE(Shown("endlevel_tryagain_button"));
  EXPECT_TRUE(Shown("endlevel_continue_button"));
}

TEST_F(EndScreensTest, AnEverydayFaceAsksDidYouKnowAndAClearedBoardShowsNoItem) {
  const TFace everyday{0, 0};
  EndLevel(everyday);
  OpenDialog("endlevel", kEndLevel);
  EXPECT_EQ(TextOf("endlevel_title_text"), "Did you know?");
  EXPECT_FALSE(Shown("endlevel_scoreplaque"));
  EXPECT_FALSE(Shown("endlevel_subtitle_text"));
  EXPECT_EQ(TextOf("endlevel_tiletitle_text"), AppraisalTitle(everyday, TAppraisalSet::kHover));
  EXPECT_EQ(Screen()->DiamondCount(), 0);
  Run("PopModal( 'endlevel' )");
  Passes(2);

  EndLevel(kNoFace);
  OpenDialog("endlevel", kEndLevel);
  EXPECT_EQ(TextOf("endlevel_title_text"), "Board cleared!");
  EXPECT_FALSE(Shown("endlevel_scoreplaque"));
  EXPECT_EQ(TextOf("endlevel_tiletitle_text"), "");
}

TEST_F(EndScreensTest, AClassicGameLeavesTheCampaignAlone) {
  game->State().Progress().bankroll = 777;
  EndLevel(TreasureTable(0)[0], false);
  OpenDialog("endlevel", kEndLevel);
  EXPECT_EQ(game->State().Progress().bankroll, 777);
  EXPECT_EQ(game->State().Progress().levelsBeatenCount, 0);
  EXPECT_FALSE(game->State().IsOwned(TreasureTable(0)[0]));
  EXPECT_EQ(game->Hiscores()->GetRowCount(true), 0) << "no campaign score from a classic game";
}

TEST_F(EndScreensTest, AHostingPageHearsTheScoreAndABreakOncePerLevelWonOrLost) {
  struct THost : THostReports {
    void SendGameReady(const std::string&) override { sent.push_back("ready"); }
    void EvaluateMute() override {}
    void SetLevel(int, int) override {}
    void SendScoreSubmit(long score) override { sent.push_back("submit " + std::to_string(score)); }
    void SendScoreBroadcast(long) override { sent.push_back("broadcast"); }
    void SendGameBreak() override { sent.push_back("break"); }
    std::vector<std::string> sent;
  } host;
  game->SetHostReports(&host);
  game->SetLaunchOptions(ParseGameOptions("game.exe -msn"));
  EndLevel(kNoFace);
  OpenDialog("endlevel", kEndLevel);
  const std::string submit = "submit " + std::to_string(game->State().Progress().bankroll +
                                                        game->State().CollectionValue());
  // No GameReady among them: the page would answer it with a start, which restarts the game
  // under way.
  EXPECT_EQ(host.sent, (std::vector<std::string>{submit, "broadcast", "break"}));
  EXPECT_EQ(game->GameMode(), kGameModeCampaign);
  Run("PopModal( 'endlevel' )");
  Passes(2);
  OpenDialog("endlevel", kEndLevel);  // the same level's screen again: nothing new
  EXPECT_EQ(host.sent.size(), 3u);
  Run("PopModal( 'endlevel' )");
  Passes(2);
  host.sent.clear();
  OpenDialog("loss", "RLoss{ name = 'loss_window', x = 0, y = 0, w = 800, h = 600 }");
  EXPECT_EQ(host.sent, (std::vector<std::string>{"break"}));
  game->SetHostReports(nullptr);
}

TEST_F(EndScreensTest, ThePlaqueCountsOnlyAfterTheFadeAndAClickHurriesIt) {
  EndLevel(kNoFace);
  OpenDialog("endlevel", kEndLevel);
  EXPECT_EQ(TextOf("endlevel_scoretype_1_text"), "Money carried in");
  EXPECT_EQ(TextOf("endlevel_score_1_text"), "$0");
  EXPECT_EQ(TextOf("endlevel_score_5_text"), "<outline color=\"000000\" size=\"1\">$0</outline>");
  EXPECT_FALSE(Screen()->Counting());
  // The fade-in takes six steps of 30 ms; then the counting starts.
  Passes(10);
  ASSERT_TRUE(Screen()->Counting());
  Passes(3);
  const int shown = Screen()->Plaque().Line(0).shown;
  EXPECT_GT(shown, 0);
  EXPECT_LT(shown, 1000);
  EXPECT_EQ(TextOf("endlevel_score_1_text"), FormatCurrency(shown));
  // A click on the screen (not on a button) finishes the first line at the next update.
  EXPECT_TRUE(Screen()->OnMouseDown({400, 300}));
  Pass(REndLevel::kUpdateMs);
  EXPECT_EQ(Screen()->Plaque().Line(0).shown, 1000);
  EXPECT_EQ(TextOf("endlevel_score_1_text"), "$1,000");
  CountToTheEnd();
  EXPECT_EQ(TextOf("endlevel_score_2_text"), "$62");
  EXPECT_EQ(TextOf("endlevel_score_3_text"), "$90");
  EXPECT_EQ(TextOf("endlevel_score_4_text"), "$60");
  EXPECT_EQ(TextOf("endlevel_score_5_text"),
            "<outline color=\"000000\" size=\"1\">$1,182</outline>");
  // With every line complete a click is not the plaque's.
  EXPECT_FALSE(Screen()->OnMouseDown({400, 300}));
}

TEST_F(EndScreensTest, DiamondsPopInOneAfterAnotherBeforeTheLinesCount) {
  EndLevel(Treasure());
  OpenDialog("endlevel", kEndLevel);
  ASSERT_EQ(Screen()->DiamondCount(), 3);
  Run("StartScoreAnim()");
  Passes(5, REndLevel::kUpdateMs);
  EXPECT_GT(Screen()->DiamondScale(0), 0.0f);
  EXPECT_EQ(Screen()->DiamondScale(1), 0.0f);
  EXPECT_EQ(Screen()->Plaque().Line(0).shown, 0);
  // 26 updates of 0.04 bring a diamond past 1.
  Passes(3 * 26, REndLevel::kUpdateMs);
  EXPECT_EQ(Screen()->DiamondScale(2), 1.0f);
  Passes(2, REndLevel::kUpdateMs);
  EXPECT_GT(Screen()->Plaque().Line(0).shown, 0);
}

TEST_F(EndScreensTest, TheLossScreenPricesAShuffle) {
  constexpr char kLoss[] =
      "RLoss{ name = 'loss_window', x = 0, y = 0, w = 800, h = 600,"
      "  Text{ name = 'loss_shuffle_price', x = 0, y = 0, w = 100, h = 20 } }";
  OpenDialog("loss", kLoss);
  EXPECT_EQ(TextOf("loss_shuffle_price"), "-$100");
  Run("PopModal( 'loss' )");
  Passes(2);
  SetSetting("score_shufflecost", "1500");
  OpenDialog("loss", kLoss);
  EXPECT_EQ(TextOf("loss_shuffle_price"), "-$1,500");
}

TEST_F(EndScreensTest, TheAppraisalShowsTheFaceItsSetValueAndAnAppraiser) {
  constexpr char kAppraisal[] =
      "RAppraisal{ name = 'appraisal_window', x = 0, y = 0, w = 800, h = 600,"
      "  Text{ name = 'appraisal_title_text', x = 0, y = 0, w = 300, h = 20 },"
      "  Text{ name = 'appraisal_body_text', x = 0, y = 20, w = 300, h = 20 },"
      "  Text{ name = 'appraisal_set_text', x = 0, y = 40, w = 300, h = 20 },"
      "  Text{ name = 'appraisal_value_text', x = 0, y = 60, w = 300, h = 20 },"
      "  Text{ name = 'appraisal_nametag_text', x = 0, y = 80, w = 300, h = 20 },"
      "  Bitmap{ name = 'appraisal_picture', x = 0, y = 100, w = 100, h = 100 },"
      "  Bitmap{ name = 'appraisal_portrait_image', x = 100, y = 100, w = 100, h = 100 } }";
  const TFace treasure = TreasureTable(1)[0];
  SetAppraisedFace(treasure);
  OpenDialog("appraisal", kAppraisal);
  EXPECT_EQ(TextOf("appraisal_title_text"), AppraisalTitle(treasure, TAppraisalSet::kHover));
  EXPECT_EQ(TextOf("appraisal_set_text"), "Set: " + SuitDisplayName(treasure.suit));
  EXPECT_EQ(TextOf("appraisal_value_text"), "Value: " + FormatCurrency(AppraisalAmount(treasure)));
  const std::string name = TextOf("appraisal_nametag_text");
  EXPECT_TRUE(name == "Mr. Finch" || name == "Mrs. Lorne") << name;

  // An everyday face has no amount: $0. The appraisers follow the roll.
  auto* screen = Find<RAppraisal>("appraisal_window");
  ASSERT_NE(screen, nullptr);
  screen->ShowFace(TFace{0, 0}, RAppraisal::TAppraiser::kLady);
  EXPECT_EQ(TextOf("appraisal_value_text"), "Value: $0");
  EXPECT_EQ(TextOf("appraisal_nametag_text"), "Mrs. Lorne");
  screen->ShowFace(TFace{0, 0}, RAppraisal::TAppraiser::kGentleman);
  EXPECT_EQ(TextOf("appraisal_nametag_text"), "Mr. Finch");
  int gentlemen = 0;
  for (int roll = 1; roll <= 100; ++roll)
    gentlemen += RAppraisal::AppraiserFor(roll) == RAppraisal::TAppraiser::kGentleman;
  EXPECT_EQ(gentlemen, 50);
}

}  // namespace
