// The play screen in process: the shipped "scripts/game.lua" and its dialogs run on the
// shipped package (pictures, levels, strings, settings) with a window manager, the window
// script and an offscreen renderer. The tests play through the window manager as the event
// loop would — pointer moves, left and right clicks, keys — on a clock they advance
// themselves, and check the board, the sets box, the texts and buttons, the dialogs that
// open and what the player's record is told.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "campaign/screens/campaign_vocabulary.h"
#include "data/settings.h"
#include "data/string_table.h"
#include "frame/application_time.h"
#include "frame/event.h"
#include "frame/virtual_keys.h"
#include "game/face_catalogue.h"
#include "game/window/animation_layer.h"
#include "game/window/board_view.h"
#include "game/window/game.h"
#include "game/window/game_player.h"
#include "game/window/game_window_vocabulary.h"
#include "game/window/holding_area.h"
#include "game/window/level_result.h"
#include "game/window/r_end_level_anim.h"
#include "game/window/r_particle_anim.h"
#include "game/window/tile.h"
#include "gfx/renderer.h"
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
  bool PromptSeen(int id) const override { return seenPrompts.count(id) > 0; }
  void MarkPromptSeen(int id) override { seenPrompts.insert(id); }
  bool TutorialsOn() const override { return tipsOn; }
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
  std::set<int> seenPrompts;
  bool tipsOn = true;
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
    // A prompt may already stand over the play screen.
    game = nullptr;
    for (TModalWindow* modal : manager->ModalStack())
      if (!game) game = dynamic_cast<TGame*>(modal->FindChild("game_window", -1));
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
  TAnimationLayer& Layer() {
    auto* layer = dynamic_cast<TAnimationLayer*>(game->FindChild("animationlayer"));
    EXPECT_NE(layer, nullptr);
    return *layer;
  }
  // The texts of the popups on the animation layer.
  std::vector<std::string> Popups() {
    std::vector<std::string> texts;
    for (const auto& animation : Layer().Animations())
      if (const auto* text = dynamic_cast<const RFloatyText*>(animation.get()))
        texts.push_back(text->Text());
    return texts;
  }
  // Pairs of popups one after the other that stand so close side by side that they would
  // read as one amount.
  int PopupsSideBySide() {
    std::vector<const RFloatyText*> popups;
    for (const auto& animation : Layer().Animations())
      if (const auto* text = dynamic_cast<const RFloatyText*>(animation.get()))
        popups.push_back(text);
    int close = 0;
    for (size_t i = 1; i < popups.size(); ++i)
      close += std::abs(popups[i]->X() - popups[i - 1]->X()) < RFloatyText::kBoxWidth / 2 &&
               std::abs(popups[i]->Y() - popups[i - 1]->Y()) < RFloatyText::kBoxHeight / 2;
    return close;
  }
  template <class T>
  int Running() {
    int count = 0;
    for (const auto& animation : Layer().Animations())
      count += dynamic_cast<const T*>(animation.get()) != nullptr;
    return count;
  }
  // The tile shows the green hint blank (a lesson lit it).
  bool Lit(TTileId id) {
    TTile* tile = game->View().TileWindow(id);
    return tile && tile->BlankName() == "blank/tile_off_hint.png";
  }
  // Waits for the tutorial prompt with this text, checks its texts and closes it (Enter).
  void CloseTip(const std::string& body) {
    for (int i = 0; i < 80 && Top() != "gametutorial"; ++i) Pass();
    ASSERT_EQ(Top(), "gametutorial") << "no prompt " << body;
    auto* text = dynamic_cast<TText*>(manager->TopModal()->FindChild("tutorial_body_text", -1));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetText(), GetString(body.c_str()));
    Wait(400);
    Key(VK_RETURN);
    Wait(500);
    EXPECT_NE(Top(), "gametutorial") << body;
  }

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
// The largest board (200 tiles, blanks and faces alternating back to front) is drawn from
// the board's atlas in a handful of device calls for the whole screen, not two per tile.
TEST_F(GameWindowTest, AFullBoardIsDrawnInAFewBatches) {
  Open("levels/level_050.xml");
  ASSERT_EQ(Board().TilesOnBoard(), 200);
  host.drawing = true;
  Pass();
  const int before = GetRenderer()->DrawCalls();
  manager->Invalidate();
  Pass();
  host.drawing = false;
  const int calls = GetRenderer()->DrawCalls() - before;
  EXPECT_GT(calls, 0);
  EXPECT_LT(calls, 60);
  // Nine blanks and the board's faces.
  EXPECT_GT(game->View().Atlas().Pictures(), 9 + 20);
}

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

// The tutorial level played by its lessons with the mouse: each lesson lights its tiles
// green and its prompt comes up over the board; moves that would break the lesson are
// refused with the refuse sound; the sets box takes the blocked pair, the three canteens and
// the four watches; the hint finds the computers; the treasure ends the level.
TEST_F(GameWindowTest, TheTutorialLevelIsPlayedLessonByLessonWithTheMouse) {
  player.progress = {false, 0};
  player.bankroll = 0;
  Open("");
  ASSERT_TRUE(game->TutorialLevel());
  using namespace tutorial;
  THoldingArea* drawer = game->SetsDrawer();
  ASSERT_NE(drawer, nullptr);
  EXPECT_FALSE(Shown("game_hint_button")) << "the hint waits for its lesson";
  EXPECT_FALSE(Shown("game_undo_button"));

  // Lesson 1: the televisions light green, the prompt comes 30 updates later. A lesson's
  // prompt is always shown, so it offers no tips switch.
  Pass();
  EXPECT_TRUE(Lit(kTvLeft) && Lit(kTvRight));
  EXPECT_FALSE(Lit(kStamperLeft));
  for (int i = 0; i < 80 && Top() != "gametutorial"; ++i) Pass();
  TWindow* tips = manager->TopModal()->FindChild("tutorialson_button", -1);
  ASSERT_NE(tips, nullptr);
  EXPECT_FALSE(tips->IsShown());
  CloseTip("tutorial_normalpair");
  // A watch does not go into the box yet, and the canteens never go by clicks.
  RightClick(kWatchHigh1);
  EXPECT_EQ(game->Play().SetsBox().Count(), 0);
  EXPECT_TRUE(LogHas("refused by the lesson")) << LogText();
  Click(kTvLeft);
  Click(kCanteenHigh);
  EXPECT_TRUE(Board().Selection().empty()) << "the click was refused and the selection dropped";
  EXPECT_FALSE(Board().Tile(kCanteenHigh).selected);
  Click(kTvLeft);
  Click(kTvRight);
  ASSERT_TRUE(Board().Tile(kTvRight).removed);
  // The tutorial praises a match instead of counting its money.
  EXPECT_EQ(Popups(), std::vector<std::string>(2, GetString("tutorial_exclamation_1")));
  EXPECT_EQ(Running<RMatchAnim>(), 2);

  // Lesson 2: the stampers block each other: the box takes them one after the other.
  Pass();
  EXPECT_TRUE(Lit(kStamperLeft) && Lit(kStamperRight));
  CloseTip("tutorial_blockedpair");
  RightClick(kStamperLeft);
  EXPECT_EQ(game->Play().SetsBox().Count(), 1);
  RightClick(kWatchHigh1);
  EXPECT_EQ(game->Play().SetsBox().Count(), 1) << "a watch does not go with a stamper";
  RightClick(kStamperRight);
  EXPECT_EQ(game->Play().SetsBox().Count(), 2);
  EXPECT_TRUE(Shown("game_submit_button"));
  const int before = Total();
  Key(VK_SPACE);
  EXPECT_EQ(game->Play().SetsBox().Count(), 0);
  EXPECT_GT(Total(), before);

  // Lesson 3: three canteens; the inner one is free once the outer one has gone.
  Pass();
  EXPECT_TRUE(Lit(kCanteenHigh) && Lit(kCanteenOuter) && Lit(kCanteenInner));
  CloseTip("tutorial_threeofakind");
  RightClick(kCanteenHigh);
  RightClick(kCanteenOuter);
  EXPECT_FALSE(game->Play().SubmitReady()) << "the lesson wants all three";
  RightClick(kCanteenInner);
  EXPECT_EQ(game->Play().SetsBox().Count(), 3);
  Key(VK_RETURN);
  EXPECT_EQ(game->Play().SetsBox().Count(), 0);
  EXPECT_GT(Board().Ledger().TotalOfKind(TScoreKind::kSetOf3), 0);
  EXPECT_EQ(Popups().back(), GetString("tutorial_exclamation_3")) << "one word, on the second slot";
  EXPECT_GE(Running<RSetsAnim>(), 1);

  // Lesson 4: the four watches; appraisal opens for this lesson only.
  Pass();
  EXPECT_TRUE(Lit(kWatchHigh1) && Lit(kWatchLow2));
  EXPECT_TRUE(Shown("game_appraisal_button"));
  CloseTip("tutorial_fourofafamily");
  for (TTileId id : {kWatchHigh1, kWatchHigh2, kWatchLow1, kWatchLow2}) RightClick(id);
  EXPECT_EQ(game->Play().SetsBox().Count(), 4);
  ASSERT_TRUE(Shown("game_submit_button"));
  SaveFrame("game_sets_box_run.png");
  const TRect submit = game->FindChild("game_submit_button")->GetAbsoluteRect();
  ClickAt(submit.left + 20, submit.top + 20);
  EXPECT_EQ(game->Play().SetsBox().Count(), 0);
  EXPECT_GT(Board().Ledger().TotalOfKind(TScoreKind::kRunOf4), 0);

  // Lesson 5: the hint button opens, the appraisal closes again.
  Pass();
  CloseTip("tutorial_hintpair");
  EXPECT_TRUE(Shown("game_hint_button"));
  EXPECT_FALSE(Shown("game_appraisal_button"));
  Key('H');
  EXPECT_TRUE(LogHas("Game: hint, total")) << LogText();
  Click(kComputerLeft);
  Click(kComputerRight);
  ASSERT_TRUE(Board().Tile(kComputerRight).removed);

  // Lesson 6: the treasure; its pair ends the level.
  Pass();
  CloseTip("tutorial_antiquepair");
  Click(kRegisterLeft);
  Click(kRegisterRight);
  Wait(4000);
  ASSERT_TRUE(Board().LevelEnded());
  Wait(500);
  ASSERT_EQ(Top(), "endlevel");
  EXPECT_EQ(player.wonLevel, "levels/tutorial/tutorial.xml");
  EXPECT_TRUE(player.seenPrompts.empty()) << "the tutorial level's prompts are not recorded";
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
  // A Kenny set earns nothing: its particles fly, but no money pops up.
  EXPECT_EQ(Running<RSetsAnim>(), 1);
  EXPECT_TRUE(Popups().empty());
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
  CloseTip("tutorial_normalpair");
  choose(kTvLeft);
  choose(kTvRight);
  CloseTip("tutorial_blockedpair");
  box(kStamperLeft);
  box(kStamperRight);
  Key(VK_SPACE);
  CloseTip("tutorial_threeofakind");
  for (TTileId id : {kCanteenHigh, kCanteenOuter, kCanteenInner}) box(id);
  Key(VK_SPACE);
  CloseTip("tutorial_fourofafamily");
  for (TTileId id : {kWatchHigh1, kWatchHigh2, kWatchLow1, kWatchLow2}) box(id);
  Key(VK_SPACE);
  CloseTip("tutorial_hintpair");
  choose(kComputerLeft);
  choose(kComputerRight);
  EXPECT_EQ(Board().TilesOnBoard(), 2);
  CloseTip("tutorial_antiquepair");
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

TEST_F(GameWindowTest, AMatchedPairShowsHalfItsValueOnEachTileAndDustWhereTheyWere) {
  Open();
  const auto [a, b] = FreePair();
  ASSERT_NE(a, kNoTile);
  Click(a);
  Click(b);
  ASSERT_TRUE(Board().Tile(a).removed);
  const int value = Board().Ledger().LastValue();
  EXPECT_EQ(Popups(), std::vector<std::string>(2, PopupMoney(value * 0.5)));
  ASSERT_EQ(Running<RMatchAnim>(), 2);
  Wait(200);
  EXPECT_GT(Layer().LiveParticles(), 0) << "dust rises where the tiles were";
  // Popups last about 1.4 s, dust 1.9 s; then the layer is empty and its systems released.
  Wait(2000);
  EXPECT_TRUE(Layer().Animations().empty());
  EXPECT_EQ(Layer().LiveParticles(), 0);
}

TEST_F(GameWindowTest, PopupsCountMoneyWithCents) {
  EXPECT_EQ(PopupMoney(13 * 0.5), "$6.50");
  EXPECT_EQ(PopupMoney(56 / 3.0), "$18.67");
  EXPECT_EQ(PopupMoney(6 * 20), "$120.00");
  EXPECT_EQ(PopupMoney(1250), "$1,250.00");
  EXPECT_EQ(PopupMoney(0.004), "$0.00");
  EXPECT_EQ(RFloatyText::OutlineMarkup("$1", 1, 300, -4),
            "<outline color=\"01FF00\" size=\"1\">$1</outline>");
}

// A popup rises 75 pixels faster and faster (29 updates), holds as long, fades as long.
TEST_F(GameWindowTest, APopupRisesHoldsAndFadesInThreeEqualParts) {
  RFloatyText text("$6.50", 100, 200, TFloatyTextStyle{});
  int updates = 1;
  float lastScale = -1;
  while (text.Update(KAnim::kStepMs) && updates < 500) {
    ++updates;
    if (text.Rise() < RFloatyText::kRise) {
      EXPECT_GT(text.Scale(), lastScale) << "it grows while it rises";
      lastScale = text.Scale();
    }
    if (updates == 40) {
      EXPECT_FLOAT_EQ(text.Opacity(), 1.0f) << "holding";
    }
    if (updates == 75) {
      EXPECT_LT(text.Opacity(), 0.6f) << "fading";
    }
  }
  EXPECT_EQ(text.Rise(), RFloatyText::kRise);
  EXPECT_EQ(updates, 89);
}

// The treasure ending: the tiles left are cashed in popups of six, the bonus enters the
// ledger at once, the tiles fade while the coloured picture comes up, and 25 updates after
// the fade the level ends with the end-of-level dialog. Nothing can be matched meanwhile.
TEST_F(GameWindowTest, TheTreasureEndingCashesFadesAndHandsOverToTheEndOfLevel) {
  SetSetting("cheatmode", "1");
  Open();
  const int before = Total();
  game->AutoWin();
  ASSERT_TRUE(Board().LevelEnded());
  ASSERT_EQ(Running<REndLevelAnim>(), 1);
  const REndLevelAnim* ending = nullptr;
  for (const auto& animation : Layer().Animations())
    if (auto* e = dynamic_cast<const REndLevelAnim*>(animation.get())) ending = e;
  const std::vector<TTileId> cashed = ending->Cashed();
  const int n = static_cast<int>(cashed.size());
  ASSERT_GT(n, 6);
  std::vector<std::string> expected(n / 6, "$120.00");
  if (n % 6) expected.push_back(PopupMoney(20.0 * (n % 6)));
  EXPECT_EQ(Popups(), expected);
  EXPECT_EQ(PopupsSideBySide(), 0);
  game->AutoWin();
  EXPECT_EQ(Running<REndLevelAnim>(), 1) << "the ending runs once";

  Pass();
  EXPECT_EQ(Board().Ledger().TotalOfKind(TScoreKind::kTilesLeft), 20 * n);
  EXPECT_EQ(Total(), before + 20 * n);
  EXPECT_EQ(Board().ClickTile(cashed[0]), TSelectResult::kNothing);
  Wait(250);
  TTile* tile = game->View().TileWindow(cashed[0]);
  ASSERT_NE(tile, nullptr);
  EXPECT_GT(tile->Alpha(), 0.0f);
  EXPECT_LT(tile->Alpha(), 1.0f);
  auto* reveal = dynamic_cast<TImage*>(game->FindChild("game_background_reveal_image"));
  ASSERT_NE(reveal, nullptr);
  EXPECT_TRUE(reveal->IsShown());
  EXPECT_NEAR(reveal->GetOpacity(), 1.0f - tile->Alpha(), 0.01f);
  // About 34 updates of fading and 25 more: just under a second.
  Wait(600);
  EXPECT_NE(Top(), "endlevel");
  Wait(800);
  ASSERT_EQ(Top(), "endlevel");
  EXPECT_EQ(tile->Alpha(), 0.0f);
  const TLevelResult result = LastLevelResult();
  ASSERT_NE(result.ledger, nullptr);
  EXPECT_EQ(result.ledger->Total(), before + 20 * n);
  EXPECT_TRUE(HasAntiqueLook(result.won.suit));
}

// The attic's ending cashes 13 tiles: $120.00 at the 6th and 12th, and $20.00 at the 13th,
// the 12th's neighbour, which goes up half a box so that the two amounts read apart.
TEST_F(GameWindowTest, TheEndingsLastPopupStandsApartFromItsNeighbour) {
  SetSetting("cheatmode", "1");
  Open("levels/tutorial/tutorial.xml");
  game->AutoWin();
  ASSERT_TRUE(Board().LevelEnded());
  EXPECT_EQ(Popups(), (std::vector<std::string>{"$120.00", "$120.00", "$20.00"}));
  EXPECT_EQ(PopupsSideBySide(), 0);
}

// A prompt that explains a feature: shown at once once the tutorial is won, with the tips
// switch, recorded as seen, and not shown again when its reason comes back.
TEST_F(GameWindowTest, AFeaturePromptOffersTheTipsSwitchAndIsShownOnce) {
  player.progress = {true, 1};
  Open();
  ASSERT_EQ(Top(), "gametutorial") << "the shuffle is affordable on the second day";
  TWindow* tips = manager->TopModal()->FindChild("tutorialson_button", -1);
  ASSERT_NE(tips, nullptr);
  EXPECT_TRUE(tips->IsShown());
  // The switch stands on the parchment, whatever screen lies below, clear of the text and
  // the buttons.
  const TRect switchRect = tips->GetAbsoluteRect();
  TWindow* panel = manager->TopModal()->FindChild("tutorial_panel", -1);
  ASSERT_NE(panel, nullptr);
  const TRect panelRect = panel->GetAbsoluteRect();
  EXPECT_GE(switchRect.left, panelRect.left);
  EXPECT_GE(switchRect.top, panelRect.top);
  EXPECT_LE(switchRect.bottom, panelRect.bottom);
  EXPECT_LT(switchRect.left + 120, panelRect.right) << "room for the box and its caption";
  for (const char* other : {"tutorial_body_text", "tutorial_ok_button", "tutorial_skip_button",
                            "gametutorial_picture"}) {
    TWindow* window = manager->TopModal()->FindChild(other, -1);
    ASSERT_NE(window, nullptr) << other;
    EXPECT_TRUE(Intersect(switchRect, window->GetAbsoluteRect()).Empty()) << other;
  }
  EXPECT_EQ(player.seenPrompts, std::set<int>{7});
  CloseTip("tutorial_discover_shuffle");
  const auto [a, b] = FreePair();
  ASSERT_NE(a, kNoTile);
  Click(a);
  Click(b);
  Wait(1000);
  EXPECT_EQ(Top(), "game");
}

TEST_F(GameWindowTest, WithTheTipsOffTheFeaturePromptStaysAway) {
  player.progress = {true, 1};
  player.tipsOn = false;
  Open();
  Wait(1000);
  EXPECT_EQ(Top(), "game");
  EXPECT_TRUE(player.seenPrompts.empty());
}

// "Skip the Lesson" on a prompt of the tutorial level leaves the level for the map.
TEST_F(GameWindowTest, SkippingTheLessonFromItsPromptGoesOnToTheMap) {
  player.progress = {false, 0};
  Open("");
  for (int i = 0; i < 80 && Top() != "gametutorial"; ++i) Pass();
  ASSERT_EQ(Top(), "gametutorial");
  Wait(400);
  const TRect skip = manager->TopModal()->FindChild("tutorial_skip_button", -1)->GetAbsoluteRect();
  ClickAt(skip.left + 20, skip.top + 20);
  Wait(1000);
  EXPECT_EQ(Top(), "citymap");
}
