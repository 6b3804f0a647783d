// The in-game tutorial in the real program, headless. A new player goes from the main
// menu's Adventure through the name and the intro into the tutorial level and plays its
// seven lessons by mouse and keys: each prompt comes up over the board, the lesson's tiles
// light green, a move against the lesson is refused, the treasure ending fades the board
// and hands over to the end-of-level screen, and the next start finds the tutorial done.
// A second test shows that a prompt seen once stays seen across a restart, and that with
// the tips off a flagged prompt is not shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "campaign/game_app.h"
#include "frame/application.h"
#include "game/face.h"
#include "gfx/pixel_image.h"
#include "tests/app/program_run.h"

namespace {

namespace fs = std::filesystem;

class TutorialProgram : public TProgramRun {
 protected:
  TutorialProgram() : TProgramRun("mc_tutorial_program_") {}

  std::string WriteScript(const std::string& text) {
    const fs::path path = folder / "input.txt";
    std::ofstream(path) << text;
    return path.string();
  }
  static int Count(const std::string& text, const std::string& what) {
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
      ++count;
    return count;
  }
};

// The tutorial's tiles on the screen (the middle of the top face; the deal is fixed).
struct TTilePoint {
  int x, y;
};
constexpr TTilePoint kTv[] = {{212, 324}, {572, 324}};
constexpr TTilePoint kStamper[] = {{252, 324}, {292, 324}};
constexpr TTilePoint kCanteen[] = {{438, 317}, {532, 324}, {492, 324}};  // high, outer, inner
constexpr TTilePoint kWatch[] = {{358, 317}, {398, 317}, {352, 268}, {432, 268}};
constexpr TTilePoint kComputer[] = {{332, 324}, {452, 324}};
constexpr TTilePoint kRegister[] = {{372, 324}, {412, 324}};

// How green a tile looks: the mean of green minus red over its window (47 x 64), whose
// top-left corner is 20, 28 pixels up and left of the top face's middle.
double Greenness(const TPixelImage& image, TTilePoint tile) {
  double sum = 0;
  int count = 0;
  for (int y = tile.y - 26; y < tile.y + 30; ++y)
    for (int x = tile.x - 18; x < tile.x + 22; ++x) {
      const uint32_t p = image.At(x, y);
      sum += static_cast<int>((p >> 8) & 0xff) - static_cast<int>(p & 0xff);
      ++count;
    }
  return sum / count;
}

// How far from grey a rectangle is: the mean spread of its channels.
double Colourfulness(const TPixelImage& image, int left, int top, int right, int bottom) {
  double sum = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) {
      const uint32_t p = image.At(x, y);
      const int c[3] = {static_cast<int>(p & 0xff), static_cast<int>((p >> 8) & 0xff),
                        static_cast<int>((p >> 16) & 0xff)};
      sum += std::max({c[0], c[1], c[2]}) - std::min({c[0], c[1], c[2]});
    }
  return sum / ((right - left) * (bottom - top));
}

}  // namespace

TEST_F(TutorialProgram, ANewPlayersFirstGameIsTheTutorialPlayedLessonByLesson) {
  const std::string frames = (folder / "frames").string();
  fs::create_directories(frames);
  std::ostringstream in;
  // Steps lie seconds apart: fades and flights take their time in a slow build, and a key
  // that comes early goes to the wrong dialog.
  int t = 0;
  auto at = [&](int gap, const std::string& step) {
    t += gap;
    in << t << ' ' << step << '\n';
  };
  auto tile = [&](int gap, TTilePoint p, const char* button = "") {
    at(gap, "move " + std::to_string(p.x) + ' ' + std::to_string(p.y));
    at(100, "click " + std::to_string(p.x) + ' ' + std::to_string(p.y) + button);
  };
  at(500, "click 400 300");  // the splash
  at(2500, "move 645 195");
  at(100, "click 645 195");  // Adventure
  at(9900, "key return");    // who is playing: Play asks the new player's name
  at(7000, "text Ada");
  at(1000, "key return");
  at(7000, "key return");  // the intro's Start
  at(12000, "frame");      // 0: the first prompt over the board
  at(1000, "key return");
  at(4000, "frame");                // 1: the televisions lit
  tile(1000, kWatch[2], " right");  // refused: the watches come later
  tile(2000, kTv[0]);
  tile(1500, kTv[1]);
  at(200, "frame");  // 2: popups and dust where the televisions were
  at(6000, "key return");
  at(3000, "frame");  // 3: the stampers lit
  for (TTilePoint p : kStamper) tile(3000, p, " right");
  at(3000, "key space");
  at(6000, "key return");
  for (TTilePoint p : kCanteen) tile(3000, p, " right");
  at(3000, "key space");
  at(6000, "key return");
  for (TTilePoint p : kWatch) tile(3000, p, " right");
  at(3000, "key space");
  at(6000, "key return");
  at(3000, "key h");
  for (TTilePoint p : kComputer) tile(2000, p);
  at(6000, "key return");
  tile(3000, kRegister[0]);
  tile(1500, kRegister[1]);
  at(300, "frame");    // 4: the treasure ending under way
  at(12000, "frame");  // 5: the end-of-level screen
  at(1000, "key return");
  at(8000, "quit");
  ASSERT_EQ(RunProgram(t + 60000, "--input=" + WriteScript(in.str()) + " --frames=" + frames), 0);
  std::string log = Log();
  if (log.find("Frames are not written") != std::string::npos)
    GTEST_SKIP() << "no offscreen GL on this machine";

  // The prompts in the lessons' order, each once.
  const std::regex shown(R"(Tutorial: prompt (\d+) (\w+) shown)");
  std::vector<std::string> prompts;
  for (std::sregex_iterator it(log.begin(), log.end(), shown), end; it != end; ++it)
    prompts.push_back((*it)[2]);
  EXPECT_EQ(prompts, (std::vector<std::string>{"tutorial_normalpair", "tutorial_blockedpair",
                                               "tutorial_threeofakind", "tutorial_fourofafamily",
                                               "tutorial_hintpair", "tutorial_antiquepair"}))
      << log;
  EXPECT_NE(log.find("Game: levels/tutorial/tutorial.xml dealt"), std::string::npos) << log;
  EXPECT_EQ(Count(log, "refused by the lesson"), 1) << log;
  EXPECT_NE(log.find("Game: hint, total"), std::string::npos) << log;
  EXPECT_NE(log.find("Game: level ended, treasure won"), std::string::npos) << log;

  TPixelImage shot[6];
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(ReadProgramFrame(frames, i, &shot[i])) << i;
  // The prompt covered the middle of the board; closed, the board shows again.
  EXPECT_GT(ChangedPixels(shot[0], shot[1], 200, 200, 600, 400), 20000);
  // The televisions are green, the stampers not yet; a lesson later the stampers are.
  EXPECT_GT(Greenness(shot[1], kTv[0]), Greenness(shot[1], kStamper[0]) + 8);
  EXPECT_GT(Greenness(shot[3], kStamper[0]), Greenness(shot[1], kStamper[0]) + 8);
  EXPECT_GT(Greenness(shot[3], kStamper[1]), Greenness(shot[1], kStamper[1]) + 8);
  // Where the televisions were: popups over them and dust.
  EXPECT_GT(
      ChangedPixels(shot[1], shot[2], kTv[0].x - 40, kTv[0].y - 90, kTv[0].x + 60, kTv[0].y + 40),
      500);
  // The treasure ending: the attic takes its colours back.
  EXPECT_GT(Colourfulness(shot[4], 20, 60, 180, 140), Colourfulness(shot[1], 20, 60, 180, 140) + 3);
  EXPECT_GT(ChangedPixels(shot[4], shot[5], 0, 0, 800, 600), 100000) << "the end-of-level screen";

  // The next start knows the tutorial level is done.
  ASSERT_EQ(RunProgram(2000), 0);
  log = Log();
  EXPECT_NE(log.find("Player 0 \"Ada\": 0 of 50 levels beaten"), std::string::npos) << log;
  EXPECT_NE(log.find("tutorial level done"), std::string::npos) << log;
}

// A player one day into the campaign with money enough for a shuffle: the classic game's
// play screen explains the shuffle once; the next start does not explain it again. With the
// tips off the prompt (one the tips switch governs) is not shown at all.
TEST_F(TutorialProgram, APromptSeenOnceIsNotShownAgainAfterARestart) {
  auto dayOne = [](TApplication&, TGameApp& game) {
    game.State().RecordWonLevel({"levels/tutorial/tutorial.xml", kNoFace, 150});
    game.State().RecordWonLevel({"levels/level_001.xml", kNoFace, 480});
  };
  ASSERT_EQ(RunInProcess(dayOne), 0);
  // The splash, the classic game's sign, the player's name (asked once), a few seconds of
  // play; the second start knows the player.
  const std::string first = WriteScript(
      "500 click 400 300\n3000 move 645 257\n3100 click 645 257\n14000 text Ada\n"
      "16000 key return\n26000 quit\n");
  ASSERT_EQ(RunProgram(60000, "--input=" + first + " options=score_shufflecost=0"), 0);
  std::string log = Log();
  EXPECT_EQ(Count(log, "Tutorial: prompt 7 tutorial_discover_shuffle shown"), 1) << log;

  const std::string again =
      WriteScript("500 click 400 300\n3000 move 645 257\n3100 click 645 257\n14000 quit\n");
  ASSERT_EQ(RunProgram(60000, "--input=" + again + " options=score_shufflecost=0"), 0);
  log = Log();
  EXPECT_NE(log.find("Game: levels/"), std::string::npos) << "the game was played\n" << log;
  EXPECT_EQ(Count(log, "tutorial_discover_shuffle shown"), 0) << log;

  bool seen = false;
  ASSERT_EQ(RunInProcess([&](TApplication&, TGameApp& game) {
              seen = game.State().IsTutorialSeen("tutorial_discover_shuffle");
            }),
            0);
  EXPECT_TRUE(seen);
}

TEST_F(TutorialProgram, WithTheTipsOffAPromptTheyGovernIsNotShown) {
  ASSERT_EQ(RunInProcess([](TApplication&, TGameApp& game) {
              game.State().RecordWonLevel({"levels/tutorial/tutorial.xml", kNoFace, 150});
              game.State().RecordWonLevel({"levels/level_001.xml", kNoFace, 480});
              if (game.TutorialsOn()) game.ToggleTutorials();
            }),
            0);
  const std::string script = WriteScript(
      "500 click 400 300\n3000 move 645 257\n3100 click 645 257\n14000 text Ada\n"
      "16000 key return\n26000 quit\n");
  ASSERT_EQ(RunProgram(60000, "--input=" + script + " options=score_shufflecost=0"), 0);
  const std::string log = Log();
  EXPECT_NE(log.find("Game: levels/"), std::string::npos) << "the game was played\n" << log;
  EXPECT_EQ(Count(log, "tutorial_discover_shuffle shown"), 0) << log;
}
