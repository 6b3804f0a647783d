// The play screen in process: the shipped "scripts/game.lua" and its dialogs run on the
// shipped package (pictures, levels, strings, settings) with a window manager, the window
// script and an offscreen renderer. The tests play through the window manager as the event
// loop would — pointer moves, left and right clicks, keys — on a clock they advance
// themselves, and check the board, the sets box, the texts and buttons, the dialogs that
// open and what the player's record is told.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "campaign/screens/campaign_vocabulary.h"
#include "data/settings.h"
#include "data/string_table.h"
#include "frame/application_time.h"
#include "frame/event.h"
#include "frame/virtual_keys.h"
#include "game/face_catalogue.h"
#include "game/window/board_view.h"
#include "game/window/game.h"
#include "game/window/game_player.h"
#include "game/window/game_window_vocabulary.h"
#include "game/window/holding_area.h"
#include "game/window/tile.h"
#include "gfx/text_layout.h"
#include "platform/egl/offscreen_screen.h"
#include "tests/script/script_test_fixture.h"
#include "tests/ui/ui_test_support.h"
#include "ui/modal_window.h"
#include "ui/screen.h"
#include "ui/text.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"

namespace {

// A player the tests set up: progress, money, and what the game tells the record.
class TTestPlayer : public TGamePlayer {
 public:
  TLevelProgress Progress() const override { return progress; }
  int GameMode() const override { return mode; }
  void SetGameMode(int m) override { mode = m; }
  int Bankroll() const override { return bankroll; }
  std::string Name() const override { return name; }
  int CurrentLocation() const override { return 0; }
  bool TutorialSeen() const override { return progress.tutorialWon; }
  TFace PickTreasure(TFace excluded, uint32_t) override {
    for (const TFaceRow& row : CatalogueFaces())
      if (row.treasure && !(row.Face() == excluded) && !owned.count(FaceIndex(row.Face())))
        return row.Face();
    return kNoFace;
  }
  bool GiveTreasure(TFace face) override { return owned.insert(FaceIndex(face)).second; }
  void TakeBackTreasure(TFace face) override { owned.erase(FaceIndex(face)); }
  void RecordWonLevel(const std::string& file, TFace won, int total) override {
    wonLevel = file;
    wonFace = won;
    wonTotal = total;
  }
  void UseMagnifyCursor() override { magnifier = true; }
  void UseNormalCursor() override { magnifier = false; }

  TLevelProgress progress{true, 3};
  int mode = 1;
  int bankroll = 1000;
  std::string name = "Ada Lovelace";
  std::set<int> owned;
  std::string wonLevel;
  TFace wonFace = kNoFace;
  int wonTotal = -1;
  bool magnifier = false;
};

// Frames are drawn only when a test asks: the play itself needs no pictures on the screen,
// and drawing every pass would make the tests slow.
class TQuietHost : public TTestHost {
 public:
  bool IsFlipDone() const override { return drawing; }
  bool drawing = false;
};

class GameWindowTest : public ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    std::filesystem::create_directory_symlink(std::filesystem::path(MC_BIN_DIR) / "assets",
                                              root / "assets");
    InitFileSystem();
    LoadSettingsFile("::assets/settings.xml");
    ASSERT_TRUE(StringTable().LoadAll());
    offscreen = TOffscreenScreen::Create(800, 600);
    if (!offscreen) GTEST_SKIP() << "no offscreen GL context";
    manager = std::make_unique<TWindowManager>(&host);
    script = new TWindowScript(manager.get());
    script->SetLocalizeLabels(true);
    manager->SetScript(script);
    manager->SetScreen(new TScreen);
    RegisterGameWindowVocabulary(*manager);
    // The end-of-level, loss and appraisal screens are the campaign's; the map's window type
    // is not part of these tests: its dialog is built of plain windows, enough to see the game
    // hand over to it.
    RegisterCampaignVocabulary(*manager);
    script->DoLuaString("CityMap = Window");
    SetCurrentGamePlayer(&player);
    SetSetting("game_seed", "7");
  }
  void TearDown() override {
    if (HasFailure()) std::printf("log:\n%s\n", LogText().c_str());
    manager.reset();
    host.tasks.Clear();
    SetCurrentGamePlayer(nullptr);
    StringTable().Clear();
    ResetSettings();
    ScriptTest::TearDown();
  }

  // Opens the play screen on a level (empty: the player's next one).
  void Open(const std::string& level = "levels/level_003.xml") {
    if (!level.empty()) SetSetting("game_level", level);
    script->DoLuaString(
        "return function() DoModal( 'scripts/game.lua' ) while true do WaitForMessage() end end");
    Pass();
    game = dynamic_cast<TGame*>(manager->TopModal()->FindChild("game_window", -1));
    ASSERT_NE(game, nullptr);
    ASSERT_TRUE(game->Initialised());
  }

  void Pass(uint32_t ms = 16) {
    host.now += ms;
    time.Set(host.now);
    host.tasks.Run(kUpdatePhase);
    Event(kEventIdle);
  }
  void Wait(int ms) {
    for (int t = 0; t < ms; t += 16) Pass();
  }
  void Event(int kind, int x = 0, int y = 0, int param = 0, int modifiers = 0) {
    TEvent e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.param = param;
    e.modifiers = modifiers;
    manager->HandleEvent(e);
  }
  // A point of a tile's top face where the pointer finds that tile (tiles overlap).
  TPoint2 At(TTileId id) {
    TWindow* tile = game->View().TileWindow(id);
    const TRect r = tile->GetAbsoluteRect();
    TModalWindow* top = manager->TopModal();
    for (int y = r.top + 28; y > r.top + 4; y -= 4)
      for (int x = r.left + 20; x > r.left + 4; x -= 4)
        if (top->FindWindowAt(top->ScreenToLocal({x, y}), -1) == tile) return {x, y};
    ADD_FAILURE() << "tile " << id << " cannot be pointed at";
    return {r.left + 20, r.top + 28};
  }
  void Click(TTileId id) {
    const TPoint2 p = At(id);
    ClickAt(p.x, p.y);
  }
  void ClickAt(int x, int y) {
    Event(kEventMove, x, y);
    Event(kEventLeftDown, x, y);
    Event(kEventLeftUp, x, y);
    Pass();
  }
  // A right click, then time for the flight into the box.
  void RightClick(TTileId id) {
    const TPoint2 p = At(id);
    Event(kEventMove, p.x, p.y);
    Event(kEventMouse, p.x, p.y, kMouseRightDown);
    Event(kEventMouse, p.x, p.y, kMouseRightUp);
    WaitForFlight();
  }
  // A flight takes up to 17 steps of 30 ms (a short way goes a pixel a step).
  void WaitForFlight() {
    for (int i = 0; i < 40 && Board().inputLocked; ++i) Pass();
    EXPECT_FALSE(Board().inputLocked);
  }
  void Key(int key, int modifiers = 0) {
    Event(kEventKeyDown, 0, 0, key, modifiers);
    if (key == VK_RETURN || key == VK_ESCAPE || key == VK_SPACE) Event(kEventChar, 0, 0, key);
    Event(kEventKeyUp, 0, 0, key, modifiers);
    Pass();
    Pass();
  }
  // Draws a frame now and keeps it beside the tests (build-test/bin) to be looked at.
  void SaveFrame(const std::string& name) {
    host.drawing = true;
    manager->Invalidate();
    Pass();
    host.drawing = false;
    EXPECT_TRUE(offscreen->SavePng(std::string(MC_BIN_DIR) + "/" + name));
  }
  std::string Top() const { return manager->TopModal() ? manager->TopModal()->GetName() : ""; }
  std::string TextOf(const char* name) {
    auto* text = dynamic_cast<TText*>(game->FindChild(name));
    return text ? text->GetText() : "<none>";
  }
  bool Shown(const char* name) {
    TWindow* w = game->FindChild(name);
    return w && w->IsShown();
  }
  TBoard& Board() { return game->Board(); }
  // Free tiles of the board with this face.
  std::vector<TTileId> FreeWith(TFace face) {
    std::vector<TTileId> found;
    for (TTileId id : Board().FreeTiles())
      if (Board().Tile(id).face == face) found.push_back(id);
    return found;
  }
  // Two free tiles that match, or none.
  std::pair<TTileId, TTileId> FreePair() {
    const std::vector<TTileId> free = Board().FreeTiles();
    for (size_t i = 0; i < free.size(); ++i)
      for (size_t j = i + 1; j < free.size(); ++j) {
        const TFace a = Board().Tile(free[i]).face, b = Board().Tile(free[j]).face;
        if (a == b && !IsTreasureSuit(a.suit) && !IsKennySuit(a.suit)) return {free[i], free[j]};
      }
    return {kNoTile, kNoTile};
  }
  int Total() { return Board().Ledger().Total(); }

  TManualTime time{1000};
  TQuietHost host;
  TTestPlayer player;
  std::unique_ptr<TOffscreenScreen> offscreen;
  std::unique_ptr<TWindowManager> manager;
  TWindowScript* script = nullptr;
  TGame* game = nullptr;
};

// The tutorial level's fixed deal (tile ids in grid order).
namespace tutorial {
constexpr TTileId kTvLeft = 0, kStamperLeft = 1, kStamperRight = 2, kComputerLeft = 3;
constexpr TTileId kWatchLow1 = 4, kRegisterLeft = 5, kRegisterRight = 6, kWatchLow2 = 7;
constexpr TTileId kComputerRight = 8, kCanteenInner = 9, kCanteenOuter = 10, kTvRight = 11;
constexpr TTileId kWatchHigh1 = 12, kWatchHigh2 = 13, kCanteenHigh = 14;
}  // namespace tutorial

}  // namespace

TEST_F(GameWindowTest, TheScreenComesUpDealtWithPricesMoneyTimeAndThePlayersSign) {
  Open();
  EXPECT_EQ(game->LevelFile(), "levels/level_003.xml");
  EXPECT_GT(Board().TilesOnBoard(), 40);
  for (TTileId id : Board().GridOrder()) ASSERT_NE(game->View().TileWindow(id), nullptr);
  EXPECT_EQ(TextOf("game_score_text"), "$1,000");
  EXPECT_EQ(TextOf("game_hint_price_up"), "$50");
  EXPECT_EQ(TextOf("game_shuffle_price_up"), "$100");
  EXPECT_EQ(TextOf("game_appraisal_price_up"), "$30");
  EXPECT_EQ(TextOf("game_preview_signature_text"), "ada lovelace");
  EXPECT_EQ(dynamic_cast<TText*>(game->FindChild("game_preview_signature_text"))->GetScale(), 1.0f);
  EXPECT_EQ(TextOf("game_antiquename_text"), "Day 4");
  EXPECT_EQ(TextOf("game_preview_location"), "Grandma's Attic");
  EXPECT_FALSE(Shown("game_submit_button"));
  EXPECT_FALSE(Shown("game_undo_button"));
  EXPECT_TRUE(Shown("game_undo_disabled_image"));
  EXPECT_FALSE(Shown("game_autowin_button"));
  // The timer counts playing time: 125 seconds show as 2:05.
  Pass(125000);
  EXPECT_EQ(TextOf("game_time_text"), "2:05");
  EXPECT_TRUE(LogHas("Game: levels/level_003.xml dealt with seed 7"));
}

// A long name stays on the signature line, drawn smaller to fit the card; a short one keeps
// its size.
TEST_F(GameWindowTest, ALongPlayersNameIsDrawnSmallerOnOneSignatureLine) {
  player.name = "Bartholomew Featherstonehaugh";
  Open();
  auto* signature = dynamic_cast<TText*>(game->FindChild("game_preview_signature_text"));
  ASSERT_NE(signature, nullptr);
  ASSERT_NE(signature->Layout(), nullptr);
  ASSERT_EQ(signature->Layout()->Lines().size(), 1u) << "the name wrapped";
  const float drawn = signature->Layout()->Lines()[0].width * signature->GetScale();
  EXPECT_LE(drawn, static_cast<float>(signature->Width()));
  EXPECT_GT(drawn, 0.9f * static_cast<float>(signature->Width())) << "shrunk more than needed";
  EXPECT_LT(signature->GetScale(), 1.0f);
}

TEST_F(GameWindowTest, TheScoreRollsTowardsTheTotalInAboutTwentyFiveUpdates) {
  player.bankroll = 940;
  Open();
  EXPECT_EQ(game->ShownScore(), 940);
  Board().Ledger().Add(60, 1.0, TScoreKind::kPair);
  game->UpdateScore();
  EXPECT_EQ(game->ScoreStep(), 3);
  for (int i = 0; i < 19; ++i) Pass();
  EXPECT_EQ(game->ShownScore(), 997);
  Pass();
  EXPECT_EQ(game->ShownScore(), 1000);
  EXPECT_EQ(TextOf("game_score_text"), "$1,000");
  // Down by 10 from 110 to 100: ceil(-10 / 25) is 0, so the step is -1.
  Board().Ledger().Add(-900, 1.0, TScoreKind::kPurchase);
  for (int i = 0; i < 30; ++i) Pass();
  ASSERT_EQ(game->ShownScore(), 100);
  Board().Ledger().Add(10, 1.0, TScoreKind::kPair);
  for (int i = 0; i < 30; ++i) Pass();
  Board().Ledger().Add(-10, 1.0, TScoreKind::kPurchase);
  game->UpdateScore();
  EXPECT_EQ(game->ScoreStep(), -1);
  for (int i = 0; i < 9; ++i) Pass();
  EXPECT_EQ(game->ShownScore(), 101);
  Pass();
  EXPECT_EQ(game->ShownScore(), 100);
  // A frame that comes late does the steps that fell due, not one.
  Board().Ledger().Add(250, 1.0, TScoreKind::kPair);
  game->UpdateScore();
  Pass(16 * 10);
  EXPECT_EQ(game->ShownScore(), 200);
}

TEST_F(GameWindowTest, HelpButtonsShowTheirDisabledLookBelowTheirPrice) {
  player.bankroll = 40;
  Open();
  EXPECT_FALSE(Shown("game_hint_button"));
  EXPECT_TRUE(Shown("game_hint_disabled_image"));
  EXPECT_FALSE(Shown("game_shuffle_button"));
  EXPECT_TRUE(Shown("game_shuffle_disabled_image"));
  EXPECT_TRUE(Shown("game_appraisal_button"));  // $30
  EXPECT_FALSE(Shown("game_appraisal_disabled_image"));
  // H below the price: nothing lit, nothing charged.
  Key('H');
  EXPECT_EQ(Total(), 40);
  Board().Ledger().Add(70, 1.0, TScoreKind::kPair);
  game->UpdateScore();
  EXPECT_TRUE(Shown("game_hint_button"));
  EXPECT_FALSE(Shown("game_hint_disabled_image"));
  EXPECT_TRUE(Shown("game_shuffle_button"));
}

TEST_F(GameWindowTest, PairsByClicksUndoAndRedoByKeysRestoreTilesAndMoney) {
  Open();
  const auto [a, b] = FreePair();
  ASSERT_NE(a, kNoTile);
  Click(a);
  EXPECT_TRUE(Board().Tile(a).selected)
      << "tile " << a << " layer " << Board().Tile(a).layer << " at " << At(a).x << "," << At(a).y
      << " selectable " << Board().IsSelectable(a) << " locked " << Board().inputLocked
      << " appraisal " << Board().appraisalMode << " box " << game->Play().SetsBox().Count();
  Click(b);
  EXPECT_TRUE(Board().Tile(a).removed);
  EXPECT_TRUE(Board().Tile(b).removed);
  EXPECT_EQ(game->View().TileWindow(a)->GetParent(), nullptr);
  const int afterMatch = Total();
  EXPECT_GT(afterMatch, 1000);
  EXPECT_TRUE(Shown("game_undo_button"));
  Key('U');
  EXPECT_FALSE(Board().Tile(a).removed);
  EXPECT_EQ(game->View().TileWindow(b)->GetParent(), game);
  EXPECT_EQ(Total(), 1000);
  EXPECT_TRUE(Shown("game_redo_button"));
  Key('Y', kModCtrl);
  EXPECT_TRUE(Board().Tile(a).removed);
  EXPECT_EQ(Total(), afterMatch);
  Key('Z', kModCtrl);
  EXPECT_EQ(Total(), 1000);
  // A plain Z is no undo.
  Key('Y');
  Key('Z');
  EXPECT_EQ(Total(), afterMatch);
}

TEST_F(GameWindowTest, TheSetsBoxTakesRunsAndSetsByRightClicksAndRefusesMixedSuits) {
  player.progress = {false, 0};
  player.bankroll = 0;
  Open("");
  ASSERT_TRUE(game->TutorialLevel());
  using namespace tutorial;
  THoldingArea* drawer = game->SetsDrawer();
  ASSERT_NE(drawer, nullptr);
  // Two stampers block each other: the box takes them one after the other.
  Click(kTvLeft);
  Click(kTvRight);
  ASSERT_TRUE(Board().Tile(kTvRight).removed);
  RightClick(kStamperLeft);
  EXPECT_EQ(game->Play().SetsBox().Count(), 1);
  EXPECT_TRUE(Board().Tile(kStamperLeft).removed);
  // A watch does not go with a stamper.
  RightClick(kWatchHigh1);
  EXPECT_EQ(game->Play().SetsBox().Count(), 1);
  EXPECT_FALSE(Board().Tile(kWatchHigh1).removed);
  RightClick(kStamperRight);
  EXPECT_EQ(game->Play().SetsBox().Count(), 2);
  EXPECT_TRUE(Shown("game_submit_button"));
  const int before = Total();
  Key(VK_SPACE);
  EXPECT_EQ(game->Play().SetsBox().Count(), 0);
  EXPECT_GT(Total(), before);
  EXPECT_FALSE(Shown("game_submit_button"));
  // Four watches of the family: a run of four, submitted with the button.
  for (TTileId id : {kWatchHigh1, kWatchHigh2, kWatchLow1, kWatchLow2}) RightClick(id);
  EXPECT_EQ(game->Play().SetsBox().Count(), 4);
  ASSERT_TRUE(Shown("game_submit_button"));
  SaveFrame("game_sets_box_run.png");
  const TRect submit = game->FindChild("game_submit_button")->GetAbsoluteRect();
  ClickAt(submit.left + 20, submit.top + 20);
  EXPECT_EQ(game->Play().SetsBox().Count(), 0);
  EXPECT_EQ(Board().Ledger().TotalOfKind(TScoreKind::kRunOf4) > 0, true);
  // Three canteens: a set of three; the inner one is free once the outer one has gone.
  RightClick(kCanteenHigh);
  RightClick(kCanteenOuter);
  RightClick(kCanteenInner);
  EXPECT_EQ(game->Play().SetsBox().Count(), 3);
  Key(VK_RETURN);
  EXPECT_EQ(game->Play().SetsBox().Count(), 0);
  EXPECT_GT(Board().Ledger().TotalOfKind(TScoreKind::kSetOf3), 0);
  // The rest with the mouse alone: the computers, then the treasure pair ends the level,
  // and the end-of-level dialog's button goes on to the map.
  Click(kComputerLeft);
  Click(kComputerRight);
  Click(kRegisterLeft);
  Click(kRegisterRight);
  Wait(4000);
  ASSERT_TRUE(Board().LevelEnded());
  Wait(500);
  ASSERT_EQ(Top(), "endlevel");
  EXPECT_EQ(player.wonLevel, "levels/tutorial/tutorial.xml");
  const TRect next =
      manager->TopModal()->FindChild("endlevel_continue_button", -1)->GetAbsoluteRect();
  ClickAt(next.left + 20, next.top + 20);
  Wait(500);
  EXPECT_EQ(Top(), "citymap");
}

TEST_F(GameWindowTest, SpaceWithOneTileInTheBoxIsRefusedAndUndoPutsTheBoxBack) {
  Open();
  const auto [a, b] = FreePair();
  ASSERT_NE(a, kNoTile);
  RightClick(a);
  ASSERT_EQ(game->Play().SetsBox().Count(), 1);
  Key(VK_SPACE);
  EXPECT_EQ(game->Play().SetsBox().Count(), 1);
  RightClick(b);
  ASSERT_EQ(game->Play().SetsBox().Count(), 2);
  Key('U');
  EXPECT_EQ(game->Play().SetsBox().Count(), 0);
  EXPECT_FALSE(Board().Tile(a).removed);
  EXPECT_FALSE(Board().Tile(b).removed);
  EXPECT_EQ(Total(), 1000);
}

TEST_F(GameWindowTest, TwoKennyTilesInTheBoxBringTheOfferAndUndoTakesTheGiftBack) {
  Open();
  const auto [a, b] = FreePair();
  ASSERT_NE(a, kNoTile);
  Board().SetTileFace(a, kKennyFace);
  Board().SetTileFace(b, kKennyFace);
  RightClick(a);
  RightClick(b);
  ASSERT_EQ(game->Play().SetsBox().Count(), 2);
  Key(VK_RETURN);
  Wait(500);
  ASSERT_EQ(Top(), "choosekenny");
  EXPECT_EQ(Total(), 1000) << "a Kenny pair scores nothing";
  // Enter takes the sure gift: the kenny_giftcost of the settings.
  Key(VK_RETURN);
  EXPECT_EQ(Total(), 1100);
  EXPECT_EQ(Top(), "choosekenny");
  Key(VK_ESCAPE);
  Wait(500);
  EXPECT_NE(Top(), "choosekenny");
  Key('U');
  EXPECT_FALSE(Board().Tile(a).removed);
  EXPECT_FALSE(Board().Tile(b).removed);
  EXPECT_EQ(Total(), 1000);
}

TEST_F(GameWindowTest, AHintLightsTwoTilesForItsPriceAndTheLightGoesOut) {
  Open();
  Key('H');
  EXPECT_EQ(Total(), 950);
  int lit = 0;
  for (TTileId id : Board().GridOrder())
    lit += game->View().TileWindow(id)->BlankName().find("hint") != std::string::npos;
  EXPECT_EQ(lit, 2);
  Wait(3400);
  lit = 0;
  for (TTileId id : Board().GridOrder())
    lit += game->View().TileWindow(id)->BlankName().find("hint") != std::string::npos;
  EXPECT_EQ(lit, 0);
}

// A shuffle gives the lit tiles other faces: the light, which pointed at the old pair, goes
// out at once.
TEST_F(GameWindowTest, AShufflePutsOutTheHintLight) {
  Open();
  auto litTiles = [&] {
    int lit = 0;
    for (TTileId id : Board().GridOrder())
      lit += game->View().TileWindow(id)->BlankName().find("hint") != std::string::npos;
    return lit;
  };
  Key('H');
  ASSERT_EQ(litTiles(), 2);
  Key('M');
  EXPECT_TRUE(LogHas("Game: shuffle, total"));
  Wait(500);
  EXPECT_EQ(litTiles(), 0);
}

TEST_F(GameWindowTest, EscapeOpensTheMenuAndEscapeClosesIt) {
  Open();
  Key(VK_ESCAPE);
  Wait(500);
  EXPECT_EQ(Top(), "gamemenu");
  Key(VK_ESCAPE);
  Wait(500);
  EXPECT_EQ(Top(), "game");
  // The keys reach the game again.
  Key('H');
  EXPECT_EQ(Total(), 950);
}

// The tutorial level from the deal to the end-of-level dialog with keys only: Tab moves the
// ring over the free tiles, X chooses, S sends to the box, Space submits.
TEST_F(GameWindowTest, TheTutorialLevelIsWonWithTheKeyboardAlone) {
  player.progress = {false, 0};
  player.bankroll = 0;
  Open("");
  using namespace tutorial;
  auto focusOn = [&](TTileId id) {
    for (int i = 0; i < 40 && game->FocusTile() != id; ++i) Key(VK_TAB);
    ASSERT_EQ(game->FocusTile(), id);
  };
  auto choose = [&](TTileId id) {
    focusOn(id);
    Key('X');
  };
  auto box = [&](TTileId id) {
    focusOn(id);
    Key('S');
    WaitForFlight();
  };
  choose(kTvLeft);
  choose(kTvRight);
  box(kStamperLeft);
  box(kStamperRight);
  Key(VK_SPACE);
  for (TTileId id : {kWatchHigh1, kWatchHigh2, kWatchLow1, kWatchLow2}) box(id);
  Key(VK_SPACE);
  for (TTileId id : {kCanteenHigh, kCanteenOuter, kCanteenInner}) box(id);
  Key(VK_SPACE);
  choose(kComputerLeft);
  choose(kComputerRight);
  EXPECT_EQ(Board().TilesOnBoard(), 2);
  choose(kRegisterLeft);
  choose(kRegisterRight);
  Wait(4000);
  ASSERT_TRUE(Board().LevelEnded());
  Wait(500);
  ASSERT_EQ(Top(), "endlevel");
  EXPECT_EQ(player.wonLevel, "levels/tutorial/tutorial.xml");
  EXPECT_EQ(player.wonFace, Board().Tile(kRegisterLeft).face);
  // Enter goes on to the map.
  Key(VK_RETURN);
  Wait(500);
  EXPECT_EQ(Top(), "citymap");
}

// The window plays in the mode its caller chose. A classic game (mode 0) of a new player
// deals the first campaign layout rather than the tutorial, with neither treasures nor
// Kenny tiles, keeps the mode, and its end leaves the campaign's record alone.
TEST_F(GameWindowTest, AClassicGameKeepsItsModeSkipsTheTutorialAndIsNotRecorded) {
  player.progress = {false, 0};
  player.mode = 0;
  Open("");
  EXPECT_EQ(player.mode, 0);
  EXPECT_EQ(game->LevelFile(), "levels/level_001.xml");
  for (TTileId id : Board().GridOrder()) {
    EXPECT_FALSE(IsTreasureSuit(Board().Tile(id).face.suit)) << id;
    EXPECT_FALSE(IsKennySuit(Board().Tile(id).face.suit)) << id;
  }
  EXPECT_EQ(TextOf("game_antiquename_text"), "") << "no day in a classic game";
  // The card names the hall the background shows, not the adventure's location.
  EXPECT_EQ(TextOf("game_preview_location"), "Speed Auction");
  static_cast<TBoardHost*>(game)->OnLevelEnded(kNoFace);  // as the board reports a clear
  Wait(500);
  ASSERT_EQ(Top(), "endlevel");
  EXPECT_EQ(player.wonLevel, "") << "the campaign was told of a classic game";
  EXPECT_TRUE(LogHas("Game: classic game ended with"));
  // Continue leads back to where the game was started, not to the campaign's map.
  Key(VK_RETURN);
  Wait(500);
  EXPECT_EQ(manager->TopModal(), manager->Screen()) << "not back on the main screen: " << Top();
}

// No pair left: the loss dialog; Enter (no undo yet) starts the level over, or a click on
// Main Menu leaves the level.
TEST_F(GameWindowTest, NoMoveLeftOpensTheLossDialogAndEnterStartsOver) {
  Open("levels/level_001.xml");
  // Every tile a suit of its own: nothing matches, no run.
  int suit = kFirstCommonSuit;
  ASSERT_LE(Board().TilesOnBoard(), kLastCommonSuit);
  for (TTileId id : Board().GridOrder()) Board().SetTileFace(id, TFace{suit++, 0});
  game->DisplayDialogIfEnd();
  Wait(500);
  ASSERT_EQ(Top(), "loss");
  EXPECT_TRUE(LogHas("Game: no moves left"));
  Key(VK_RETURN);
  Wait(500);
  game = dynamic_cast<TGame*>(manager->TopModal()->FindChild("game_window", -1));
  ASSERT_NE(game, nullptr);
  EXPECT_NE(FreePair().first, kNoTile) << "a new deal";
  int next = kFirstCommonSuit;
  for (TTileId id : Board().GridOrder()) Board().SetTileFace(id, TFace{next++, 0});
  game->DisplayDialogIfEnd();
  Wait(500);
  ASSERT_EQ(Top(), "loss");
  const TRect quit = manager->TopModal()->FindChild("loss_quit_button", -1)->GetAbsoluteRect();
  ClickAt(quit.left + 20, quit.top + 20);
  Wait(500);
  EXPECT_EQ(manager->TopModal(), manager->Screen()) << "back to the main screen: " << Top();
  EXPECT_TRUE(LogHas("Game: quit levels/level_001.xml"));
}

// A tile dragged onto the first slot goes into the box; dropped onto a later slot it goes
// home.
TEST_F(GameWindowTest, ATileDraggedOntoTheNextSlotGoesIntoTheBox) {
  Open();
  const auto [a, b] = FreePair();
  ASSERT_NE(a, kNoTile);
  auto drag = [&](TTileId id, const char* slot) {
    const TPoint2 from = At(id);
    const TRect target = game->FindChild(slot)->GetAbsoluteRect();
    const TPoint2 to{(target.left + target.right) / 2, (target.top + target.bottom) / 2};
    Event(kEventMove, from.x, from.y);
    Event(kEventLeftDown, from.x, from.y);
    Event(kEventMove, from.x + 10, from.y + 10);
    Event(kEventMove, to.x, to.y);
    Event(kEventLeftUp, to.x, to.y);
    Pass();
  };
  drag(a, "game_set_tile_background_1");
  EXPECT_EQ(game->Play().SetsBox().Count(), 0);
  EXPECT_FALSE(Board().Tile(a).removed);
  EXPECT_EQ(game->View().TileWindow(a)->GetRect().left, game->View().TileWindow(a)->Home().x)
      << "back home";
  drag(a, "game_set_tile_background_0");
  EXPECT_EQ(game->Play().SetsBox().Count(), 1);
  EXPECT_TRUE(Board().Tile(a).removed);
  drag(b, "game_set_tile_background_1");
  EXPECT_EQ(game->Play().SetsBox().Count(), 2);
  EXPECT_TRUE(Shown("game_submit_button"));
}

// A: appraisal mode with the magnifier; a click on a tile buys the appraisal and opens it.
TEST_F(GameWindowTest, AnAppraisalIsBoughtByClickingATileInAppraisalMode) {
  Open();
  const TTileId tile = Board().FreeTiles().front();
  Key('A');
  EXPECT_TRUE(Board().appraisalMode);
  EXPECT_TRUE(player.magnifier);
  Click(tile);
  EXPECT_FALSE(Board().appraisalMode);
  EXPECT_FALSE(player.magnifier);
  EXPECT_FALSE(Board().Tile(tile).selected) << "appraising does not choose the tile";
  EXPECT_EQ(Total(), 970);
  Wait(500);
  ASSERT_EQ(Top(), "appraisal");
  EXPECT_EQ(game->AppraisedPicture(),
            "tiles/" + std::string(FaceImageName(Board().Tile(tile).face)) + "_lg");
  Key(VK_ESCAPE);
  Wait(500);
  EXPECT_EQ(Top(), "game");
  // Escape also leaves appraisal mode without buying.
  Key('A');
  Key(VK_ESCAPE);
  EXPECT_FALSE(Board().appraisalMode);
  EXPECT_EQ(Total(), 970);
}
