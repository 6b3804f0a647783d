// The adventure as a new player meets it, in the program's own start-up and GameMain, drawn
// offscreen and driven by input scripts: the first name, the options, the intro letter, the
// city map, a level won (the cheat "AutoWin"), the end-of-level screen's account, the map a
// day further on, an appraisal bought in the next level, and a restart of the real program
// that finds the same day, money and collection. The window tree is watched while the runs
// go; the log and the written frames are checked afterwards. MC_TRACE_DIALOGS=1 prints each
// dialog as it comes to the top, with the application time (to place a script's steps), and
// MC_KEEP_TEST_FOLDER=1 keeps the frames to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "campaign/game_app.h"
#include "campaign/record/game_state.h"
#include "campaign/record/treasure_table.h"
#include "campaign/screens/city_map_rules.h"
#include "data/string_table.h"
#include "frame/application.h"
#include "frame/application_time.h"
#include "frame/input_script.h"
#include "game/appraisal.h"
#include "game/board.h"
#include "game/face_catalogue.h"
#include "game/window/game.h"
#include "gfx/pixel_image.h"
#include "tests/app/program_director.h"
#include "tests/app/program_run.h"
#include "ui/modal_window.h"
#include "ui/text.h"
#include "ui/window_manager.h"

namespace {

namespace fs = std::filesystem;

// What the watch saw of the window tree during a run.
struct TSeenWindows {
  std::vector<std::string> dialogs;                         // the top dialog at each change
  std::map<std::string, std::string> texts;                 // "dialog/child" -> its last text
  std::map<std::string, std::vector<std::string>> history;  // "dialog/child" -> each change
  bool tutorialsOn = true;
  TProgress progress;
  // Texts of the string table, read while the program runs (it goes with the program).
  std::string treasureTitle;  // the appraisal title of the collection's first treasure
  std::string treasureValue;  // and its appraised value
  std::string appraisers[2];
  std::string galleryChoose;  // the gallery card's line while no tile is chosen
};

// Money as the shipped string table writes it: "$1,234".
std::string Dollars(int amount) {
  std::string digits = std::to_string(amount < 0 ? -amount : amount);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, 1, ',');
  std::string out = amount < 0 ? "-$" : "$";
  out += digits;
  return out;
}

// How long the map's note takes to rise into place (200 pixels, 3 every 30 ms), and a new
// level's deal to settle, before a stage goes on.
constexpr uint32_t kParchmentRiseMs = 2500;
constexpr uint32_t kDealMs = 1500;

class CampaignProgram : public TProgramRun {
 protected:
  CampaignProgram() : TProgramRun("mc_campaign_program_") {}

  // Writes down the modal stack, the texts of every dialog on it (not the captions of
  // buttons, all named "label") and the record.
  static void Record(TGameApp& game, TSeenWindows& seen) {
    seen.tutorialsOn = game.TutorialsOn();
    seen.progress = game.State().Progress();
    if (const TFace first = seen.progress.collection[0]; !first.IsNone()) {
      seen.treasureTitle = AppraisalTitle(first, TAppraisalSet::kValued);
      seen.treasureValue = FormatCurrency(AppraisalAmount(first));
    }
    seen.appraisers[0] = GetString("appraisal_gent");
    seen.appraisers[1] = GetString("appraisal_lady");
    seen.galleryChoose = GetString("gallery_choose");
    TWindowManager* windows = TWindowManager::Get();
    if (!windows) return;
    TModalWindow* top = windows->TopModal();
    const std::string name = top ? top->GetName() : "";
    if (seen.dialogs.empty() || seen.dialogs.back() != name) {
      seen.dialogs.push_back(name);
      if (std::getenv("MC_TRACE_DIALOGS"))
        std::printf("dialog %s at %u\n", name.c_str(), ApplicationTime());
    }
    for (TModalWindow* modal : windows->ModalStack()) RecordTexts(*modal, modal->GetName(), seen);
  }

  static void RecordTexts(TWindow& window, const std::string& dialog, TSeenWindows& seen) {
    for (TWindow* child : window.Children()) {
      auto* text = dynamic_cast<TText*>(child);
      if (text && !child->GetName().empty() && child->GetName() != "label") {
        const std::string key = dialog + "/" + child->GetName();
        const std::string value = text->GetText();
        std::string& last = seen.texts[key];
        if (last != value || seen.history[key].empty()) {
          last = value;
          seen.history[key].push_back(value);
        }
      }
      RecordTexts(*child, dialog, seen);
    }
  }

  static bool ReadFrame(const fs::path& path, TPixelImage* image) {
    const std::string bytes = ReadFile(path);
    return !bytes.empty() &&
           DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image);
  }
  static std::string FrameName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06d.png", index);
    return name;
  }
  // Pixels that differ between two pictures in a rectangle.
  static int Changed(const TPixelImage& a, const TPixelImage& b, int left, int top, int right,
                     int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) count += a.At(x, y) != b.At(x, y);
    return count;
  }

  fs::path WriteScript(const std::string& name, const std::string& text) {
    const fs::path path = folder / name;
    std::ofstream(path) << text;
    return path;
  }
};

}  // namespace

TEST_F(CampaignProgram, ANewPlayersFirstDayIsWonAndKeptAcrossARestart) {
  // Options first (the tutorial tips off: the lesson prompts are not part of this path), then
  // Adventure: the first player's name, the intro letter, where "Skip the Lesson" goes
  // straight to the map; Continue plays day 1, which the Win button ends with its treasure.
  // The end-of-level screen counts its lines; Continue shows the map at day 2 and Continue
  // again plays day 2, where A and X appraise the first free tile. Frames are marked at
  // every screen (0 options, 1 intro, 2 map, 3 day 1, 4 end of level, 5 map, 6 day 2,
  // 7 appraisal, 8 day 2 after it). Each screen's input waits for the screen.
  const fs::path frames = folder / "frames";
  TDirector director({
      {"splash", "0 click 400 300"},
      {"mainmenu", "0 move 645 357\n100 click 645 357"},
      {"options", "0 move 186 347\n100 click 186 347\n400 frame\n500 key escape"},
      {"mainmenu", "0 move 645 195\n100 click 645 195"},
      {"playername", "0 text Ada\n300 key return"},
      {"intro", "0 frame\n400 move 425 469\n500 click 425 469"},
      {"citymap", "0 frame\n100 key return", kParchmentRiseMs},
      {"game", "0 frame\n400 move 713 69\n500 click 713 69", kDealMs},
      {"endlevel", "4000 frame\n4100 key return"},
      {"citymap", "0 frame\n100 key return", kParchmentRiseMs},
      {"game", "0 frame\n100 key a\n300 key x", kDealMs},
      {"appraisal", "0 frame\n100 key return"},
      {"game", "0 frame\n100 quit", kDealMs},
  });
  TSeenWindows seen;
  ASSERT_EQ(RunDriven(
                frames.string(), 240000,
                [&](TApplication& app, TGameApp& game) {
                  Record(game, seen);
                  director.Step(app);
                },
                "options=cheatmode=1"),
            0);
  const std::string log = Log();
  if (log.find("Frames are not written") != std::string::npos) {
    GTEST_SKIP() << "no offscreen GL on this machine";
  }
  EXPECT_EQ(log.find("Exit time of"), std::string::npos) << log;

  // The screens came one after the other, as a player meets them.
  const std::vector<std::string> path = {
      "splash", "mainmenu", "options", "mainmenu", "players", "playername", "players",   "mainmenu",
      "intro",  "citymap",  "game",    "endlevel", "citymap", "game",       "appraisal", "game"};
  std::vector<std::string> dialogs = seen.dialogs;
  dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), ""), dialogs.end());
  EXPECT_EQ(dialogs, path);
  EXPECT_FALSE(seen.tutorialsOn) << "the options' switch";

  // Day 1 was won with its treasure; the record holds the level, the money and the treasure.
  std::smatch won;
  ASSERT_TRUE(
      std::regex_search(log, won, std::regex(R"(EndLevel: levels/level_001.xml won with (\d+))")))
      << log;
  const int total = std::stoi(won[1]);
  EXPECT_GT(total, 0);
  EXPECT_EQ(seen.progress.levelsBeatenCount, 1);
  EXPECT_EQ(seen.progress.bankroll, total);
  EXPECT_EQ(seen.progress.locationWins[0], 1);
  EXPECT_TRUE(seen.progress.tutorialLevelDone) << "the lesson was skipped";
  const TFace treasure = seen.progress.collection[0];
  ASSERT_FALSE(treasure.IsNone());

  // The end-of-level screen named that treasure, its value, and counted its lines up to the
  // level's total (nothing carried in on the first day).
  EXPECT_EQ(seen.texts["endlevel/endlevel_tiletitle_text"], seen.treasureTitle);
  EXPECT_EQ(seen.texts["endlevel/endlevel_scoreplaque_text"], seen.treasureValue);
  EXPECT_EQ(seen.texts["endlevel/endlevel_score_1_text"], "$0");
  const std::vector<std::string>& counted = seen.history["endlevel/endlevel_score_5_text"];
  ASSERT_GE(counted.size(), 3u) << "counted in steps";
  EXPECT_NE(counted.front().find(">$0<"), std::string::npos) << counted.front();
  EXPECT_NE(counted.back().find(">" + Dollars(total) + "<"), std::string::npos) << counted.back();

  // The map moved on by a day.
  EXPECT_EQ(seen.history["citymap/citymap_currentday_text"],
            (std::vector<std::string>{"Day 1", "Day 2"}));
  // Day 2 was dealt with the money won, and the appraisal was paid from it.
  EXPECT_NE(log.find("Game: levels/level_002.xml dealt with seed"), std::string::npos) << log;
  EXPECT_NE(log.find("bankroll " + std::to_string(total) + "\n"), std::string::npos) << log;
  const std::string price = seen.texts["game/game_appraisal_price_up"];
  ASSERT_EQ(price.rfind("$", 0), 0u) << price;
  const int appraisalCost = std::stoi(price.substr(1));
  EXPECT_EQ(seen.texts["game/game_score_text"], Dollars(total - appraisalCost));
  EXPECT_FALSE(seen.texts["appraisal/appraisal_title_text"].empty());
  EXPECT_EQ(seen.texts["appraisal/appraisal_value_text"].rfind("Value: $", 0), 0u)
      << seen.texts["appraisal/appraisal_value_text"];
  const std::string appraiser = seen.texts["appraisal/appraisal_nametag_text"];
  EXPECT_TRUE(appraiser == seen.appraisers[0] || appraiser == seen.appraisers[1]) << appraiser;

  // The frames show each screen.
  TPixelImage shot[9];
  for (int i = 0; i < 9; ++i) ASSERT_TRUE(ReadFrame(frames / FrameName(i), &shot[i])) << i;
  // The map: today's marker has left day 1's place for day 2's, the note's day changed.
  auto around = [](const TMapPoint& p) {
    return std::array<int, 4>{p.x - 6, p.y - 6, p.x + 7, p.y + 7};
  };
  for (const TMapPoint& day : {kDayTrail[0], kDayTrail[1]}) {
    const auto r = around(day);
    EXPECT_GT(Changed(shot[2], shot[5], r[0], r[1], r[2], r[3]), 30) << day.x << "," << day.y;
  }
  EXPECT_GT(Changed(shot[2], shot[5], 565, 430, 775, 470), 50);
  EXPECT_EQ(Changed(shot[2], shot[5], 250, 20, 540, 80), 0) << "the map itself stays";
  // The end-of-level screen over the play screen, the appraisal over day 2.
  EXPECT_GT(Changed(shot[3], shot[4], 130, 70, 670, 520), 100000);
  EXPECT_GT(Changed(shot[6], shot[7], 420, 300, 640, 520), 20000);
  // The money plaque of day 2 went down by the appraisal's price.
  EXPECT_GT(Changed(shot[6], shot[8], 76, 5, 200, 37), 20);

  // The real program started again finds the same player, day and money.
  fs::remove(userFolder / "logfile.txt");
  ASSERT_EQ(RunProgram(3000), 0);
  EXPECT_NE(
      Log().find("Player 0 \"Ada\": 1 of 50 levels beaten, bankroll " + std::to_string(total)),
      std::string::npos)
      << Log();
  // Adventure leads to the map at day 2 (its note as the first run drew it), and Continue
  // deals day 2 with the same money.
  const fs::path framesAgain = folder / "frames_again";
  TDirector again({
      {"splash", "0 click 400 300"},
      {"mainmenu", "0 move 645 195\n100 click 645 195"},
      {"citymap", "0 frame\n100 key return", kParchmentRiseMs},
      {"game", "0 quit", kDealMs},
  });
  fs::remove(userFolder / "logfile.txt");
  ASSERT_EQ(RunDriven(framesAgain.string(), 120000,
                      [&](TApplication& app, TGameApp&) { again.Step(app); }),
            0);
  const std::string logAgain = Log();
  EXPECT_NE(logAgain.find("Game: levels/level_002.xml dealt with seed"), std::string::npos)
      << logAgain;
  EXPECT_NE(logAgain.find("bankroll " + std::to_string(total) + "\n"), std::string::npos)
      << logAgain;
  TPixelImage map;
  ASSERT_TRUE(ReadFrame(framesAgain / FrameName(0), &map));
  EXPECT_EQ(Changed(shot[5], map, 560, 425, 780, 535), 0) << "the note of day 2";

  // The record after the restart: the treasure and the tips switch are still there.
  TProgress kept;
  bool tipsOn = true;
  ASSERT_EQ(RunInProcess([&](TApplication&, TGameApp& game) {
              kept = game.State().Progress();
              tipsOn = game.TutorialsOn();
            }),
            0);
  EXPECT_EQ(kept.collection[0], treasure);
  EXPECT_EQ(kept.bankroll, total);
  EXPECT_EQ(kept.levelsBeatenCount, 1);
  EXPECT_FALSE(tipsOn);
}

TEST_F(CampaignProgram, AfterTheFiftiethDayTheMapShowsTheGalleryAndTheEndOfTheAdventure) {
  // The record of a player who has won the lesson and all fifty days, each day's treasure
  // the next of its location's table (the collection's ten slots fill up; the rest of the
  // treasures wait in the display case), written by the game's own operations.
  constexpr int kFinalBankroll = 1234567;
  int owned = 0;
  ASSERT_EQ(RunInProcess([&](TApplication&, TGameApp& game) {
              TGameState& state = game.State();
              state.Progress().gameStarted = true;
              state.Progress().introSeen = true;
              state.RecordWonLevel({"levels/tutorial/tutorial.xml", kNoFace, 100});
              for (int day = 0; day < kCampaignLevelCount; ++day) {
                const int location = state.CurrentLocation();
                const auto table = TreasureTable(location);
                const size_t next = static_cast<size_t>(state.Progress().locationWins[location]);
                const TFace treasure = next < table.size() ? table[next] : kNoFace;
                char level[32];
                std::snprintf(level, sizeof level, "levels/level_%03d.xml", day + 1);
                state.RecordWonLevel(
                    {level, treasure, day + 1 == kCampaignLevelCount ? kFinalBankroll : day * 100});
                owned += treasure.IsNone() ? 0 : 1;
              }
            }),
            0);
  ASSERT_GT(owned, 10) << "more treasures than collection slots";

  // Adventure opens the map at its end: no day left, so after the signs have bounced the
  // gallery opens by itself. A click on the first tile shows that treasure, Next turns to
  // the yard sale, Close (Enter) leads to the end of the adventure, whose default button
  // shows the credits; Escape closes it, back to the main menu. Frames: 0 gallery, 1 treasure
  // shown, 2 the next location, 3 the end, 4 the credits, 5 the main menu.
  const fs::path frames = folder / "frames";
  TDirector director({
      {"splash", "0 click 400 300"},
      {"mainmenu", "0 move 645 195\n100 click 645 195"},
      {"treasuregallery",
       "0 frame\n400 move 66 209\n500 click 66 209\n1500 frame\n"
       "1900 move 449 146\n2000 click 449 146\n3000 frame\n3100 key return"},
      {"endgame", "0 frame\n100 key return\n1000 frame\n1100 key escape"},
      {"mainmenu", "0 frame\n100 quit"},
  });
  TSeenWindows seen;
  ASSERT_EQ(RunDriven(frames.string(), 120000,
                      [&](TApplication& app, TGameApp& game) {
                        Record(game, seen);
                        director.Step(app);
                      }),
            0);
  const std::string log = Log();
  if (log.find("Frames are not written") != std::string::npos) {
    GTEST_SKIP() << "no offscreen GL on this machine";
  }
  EXPECT_NE(log.find("50 of 50 levels beaten, bankroll " + std::to_string(kFinalBankroll)),
            std::string::npos)
      << log;
  std::vector<std::string> dialogs = seen.dialogs;
  dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), ""), dialogs.end());
  EXPECT_EQ(dialogs, (std::vector<std::string>{"splash", "mainmenu", "citymap", "treasuregallery",
                                               "endgame", "mainmenu"}));
  // The end of the adventure is kept: the map will not lead to it as news again.
  EXPECT_TRUE(seen.progress.gameEnded);
  EXPECT_TRUE(seen.progress.gallerySeen);

  // The gallery: the attic's treasures, then the yard sale's; the first one's appraisal.
  const std::vector<std::string>& places = seen.history["treasuregallery/gallery_location_text"];
  ASSERT_EQ(places.size(), 2u);
  EXPECT_EQ(places[0], seen.texts["citymap/citymap_grammasattic_up"]);
  EXPECT_EQ(places[1], seen.texts["citymap/citymap_yardsale_up"]);
  EXPECT_EQ(seen.history["treasuregallery/gallery_unknown_text"].front(), seen.galleryChoose);
  const std::vector<std::string>& titles = seen.history["treasuregallery/gallery_title_text"];
  ASSERT_FALSE(titles.empty());
  EXPECT_NE(std::find(titles.begin(), titles.end(), seen.treasureTitle), titles.end())
      << "the attic's first treasure is the collection's first";
  EXPECT_NE(seen.texts["treasuregallery/gallery_total_text"].find(std::to_string(owned) + " of "),
            std::string::npos)
      << seen.texts["treasuregallery/gallery_total_text"];
  // The end: the money made and the final score, the collection's value added.
  EXPECT_NE(seen.texts["endgame/endgame_bankroll_text"].find(Dollars(kFinalBankroll)),
            std::string::npos)
      << seen.texts["endgame/endgame_bankroll_text"];
  EXPECT_FALSE(seen.texts["endgame/endgame_collection_text"].empty());
  EXPECT_EQ(seen.texts["endgame/endgame_score_text"].find(Dollars(kFinalBankroll)),
            std::string::npos)
      << "the score adds the collection";

  TPixelImage shot[6];
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(ReadFrame(frames / FrameName(i), &shot[i])) << i;
  // The card shows the chosen treasure; the next location's tiles differ.
  EXPECT_GT(Changed(shot[0], shot[1], 566, 65, 796, 520), 5000);
  EXPECT_GT(Changed(shot[1], shot[2], 40, 170, 470, 400), 5000);
  // The end's letter, then the credits in its place; the main menu after it.
  EXPECT_GT(Changed(shot[2], shot[3], 120, 40, 680, 500), 50000);
  EXPECT_GT(Changed(shot[3], shot[4], 160, 120, 640, 420), 2000);
  EXPECT_GT(Changed(shot[4], shot[5], 120, 40, 680, 500), 50000);
}

TEST_F(CampaignProgram, ALevelWithNoPairLeftOffersTheLossScreenWhichStartsItOver) {
  // A player on day 4 with money for a shuffle.
  ASSERT_EQ(RunInProcess([](TApplication&, TGameApp& game) {
              TGameState& state = game.State();
              state.Progress().gameStarted = true;
              state.Progress().introSeen = true;
              state.RecordWonLevel({"levels/tutorial/tutorial.xml", kNoFace, 100});
              for (int day = 1; day <= 3; ++day) {
                char level[32];
                std::snprintf(level, sizeof level, "levels/level_%03d.xml", day);
                state.RecordWonLevel({level, kNoFace, 500 * day});
              }
            }),
            0);

  // Adventure, the map, Continue: day 4. There the board is made to hold no pair (every
  // tile a suit of its own), as a stuck deal would, and the game looks for the end. The loss
  // screen's default (no move to take back) starts the level over. Frames: 0 the loss
  // screen, 1 the level dealt again.
  bool stuck = false;
  int tiles = 0;
  int dealsSeen = 0;
  TSeenWindows seen;
  TDirector director({
      {"splash", "0 click 400 300"},
      {"mainmenu", "0 move 645 195\n100 click 645 195"},
      {"citymap", "0 key return", kParchmentRiseMs},
      {"loss", "0 frame\n100 key return"},
      {"game", "0 frame\n100 quit", kDealMs},
  });
  const fs::path frames = folder / "frames";
  ASSERT_EQ(RunDriven(frames.string(), 120000,
                      [&](TApplication& app, TGameApp& game) {
                        Record(game, seen);
                        director.Step(app);
                        TWindowManager* windows = TWindowManager::Get();
                        TModalWindow* top = windows ? windows->TopModal() : nullptr;
                        if (stuck || !top || top->GetName() != "game") return;
                        auto* play = dynamic_cast<TGame*>(top->FindChild("game_window"));
                        if (!play || !play->Initialised() || play->Board().inputLocked) return;
                        tiles = play->Board().TilesOnBoard();
                        int suit = kFirstCommonSuit;
                        for (TTileId id : play->Board().GridOrder())
                          play->Board().SetTileFace(id, TFace{suit++, 0});
                        play->DisplayDialogIfEnd();
                        stuck = true;
                      }),
            0);
  const std::string log = Log();
  if (log.find("Frames are not written") != std::string::npos) {
    GTEST_SKIP() << "no offscreen GL on this machine";
  }
  EXPECT_LE(tiles, kLastCommonSuit - kFirstCommonSuit + 1) << "a suit of its own for each tile";
  for (size_t at = log.find("Game: levels/level_004.xml dealt"); at != std::string::npos;
       at = log.find("Game: levels/level_004.xml dealt", at + 1))
    ++dealsSeen;
  EXPECT_EQ(dealsSeen, 2) << log;
  EXPECT_NE(log.find("Game: no moves left"), std::string::npos) << log;
  std::vector<std::string> dialogs = seen.dialogs;
  dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), ""), dialogs.end());
  EXPECT_EQ(dialogs,
            (std::vector<std::string>{"splash", "mainmenu", "citymap", "game", "loss", "game"}));
  // The shuffle's price is shown as the money it takes.
  EXPECT_EQ(seen.texts["loss/loss_shuffle_price"], "-$100");
  EXPECT_EQ(seen.progress.levelsBeatenCount, 3) << "a lost level is not won";

  TPixelImage shot[2];
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(ReadFrame(frames / FrameName(i), &shot[i])) << i;
  // The loss panel over the board, gone again with the new deal.
  EXPECT_GT(Changed(shot[0], shot[1], 140, 90, 660, 500), 50000);
}
