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
#include <string>
#include <vector>

#include "campaign/game_app.h"
#include "campaign/record/game_state.h"
#include "campaign/screens/city_map_rules.h"
#include "data/string_table.h"
#include "frame/application.h"
#include "frame/application_time.h"
#include "game/appraisal.h"
#include "gfx/pixel_image.h"
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
};

// Money as the shipped string table writes it: "$1,234".
std::string Dollars(int amount) {
  std::string digits = std::to_string(amount < 0 ? -amount : amount);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
  return (amount < 0 ? "-$" : "$") + digits;
}

class CampaignProgram : public TProgramRun {
 protected:
  CampaignProgram() : TProgramRun("mc_campaign_program_") {}

  // A watch that writes down the modal stack and the texts of every dialog on it (not the
  // captions of buttons, all named "label").
  static std::function<void(TApplication&, TGameApp&)> Watch(TSeenWindows& seen) {
    return [&seen](TApplication&, TGameApp& game) {
      seen.tutorialsOn = game.TutorialsOn();
      seen.progress = game.State().Progress();
      if (const TFace first = seen.progress.collection[0]; !first.IsNone()) {
        seen.treasureTitle = AppraisalTitle(first, TAppraisalSet::kValued);
        seen.treasureValue = FormatCurrency(AppraisalAmount(first));
      }
      seen.appraisers[0] = GetString("appraisal_gent");
      seen.appraisers[1] = GetString("appraisal_lady");
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
    };
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
  // 7 appraisal, 8 day 2 after it); steps fall due in application time and leave each
  // dialog time to fade in and out.
  const fs::path frames = folder / "frames";
  const fs::path script = WriteScript("adventure.txt",
                                      "500 click 400 300\n"
                                      "2500 move 645 319\n"
                                      "2600 click 645 319\n"
                                      "5000 move 186 347\n"
                                      "5100 click 186 347\n"
                                      "5500 frame\n"
                                      "5600 key escape\n"
                                      "8000 move 645 195\n"
                                      "8100 click 645 195\n"
                                      "12000 text Ada\n"
                                      "12500 key return\n"
                                      "16000 frame\n"
                                      "16400 move 425 469\n"
                                      "16500 click 425 469\n"
                                      "20000 frame\n"
                                      "20100 key return\n"
                                      "24000 frame\n"
                                      "24400 move 713 69\n"
                                      "24500 click 713 69\n"
                                      "32000 frame\n"
                                      "32100 key return\n"
                                      "36000 frame\n"
                                      "36100 key return\n"
                                      "40000 frame\n"
                                      "40100 key a\n"
                                      "40300 key x\n"
                                      "43000 frame\n"
                                      "43100 key return\n"
                                      "46000 frame\n"
                                      "46100 quit\n");
  TSeenWindows seen;
  ASSERT_EQ(RunDriven(script.string(), frames.string(), 120000, Watch(seen), "options=cheatmode=1"),
            0);
  const std::string log = Log();
  if (log.find("Frames are not written") != std::string::npos) {
    GTEST_SKIP() << "no offscreen GL on this machine";
  }
  EXPECT_EQ(log.find("Exit time of"), std::string::npos) << log;

  // The screens came one after the other, as a player meets them.
  const std::vector<std::string> path = {
      "mainmenu", "options", "mainmenu", "players", "playername", "players",   "mainmenu", "intro",
      "citymap",  "game",    "endlevel", "citymap", "game",       "appraisal", "game"};
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

  // The real program started again: the same player, day and money.
  const fs::path again = WriteScript("again.txt",
                                     "500 click 400 300\n"
                                     "3000 move 645 195\n"
                                     "3100 click 645 195\n"
                                     "9000 frame\n"
                                     "9100 key return\n"
                                     "14000 quit\n");
  const fs::path framesAgain = folder / "frames_again";
  fs::remove(userFolder / "logfile.txt");
  ASSERT_EQ(RunProgram(60000, "--input=" + again.string() + " --frames=" + framesAgain.string()),
            0);
  const std::string logAgain = Log();
  EXPECT_NE(
      logAgain.find("Player 0 \"Ada\": 1 of 50 levels beaten, bankroll " + std::to_string(total)),
      std::string::npos)
      << logAgain;
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
