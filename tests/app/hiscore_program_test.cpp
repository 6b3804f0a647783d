// High scores through the real program: a finished level's score joins the local table (the
// end-of-level step, run inside the program's own start-up), then the real program, headless
// and driven by an input script, shows the local table, sends the score to the real
// high-score server on 127.0.0.1 and shows the world table it sends back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "campaign/game_app.h"
#include "frame/application.h"
#include "gfx/pixel_image.h"
#include "online/tv_hiscores.h"
#include "tests/app/program_run.h"
#include "tests/online/server/hiscored_process.h"

namespace {

namespace fs = std::filesystem;

class HiscoreProgram : public TProgramRun {
 protected:
  HiscoreProgram() : TProgramRun("mc_hiscore_program_") {}

  static bool ReadFrame(const fs::path& path, TPixelImage* image) {
    const std::string bytes = ReadFile(path);
    return !bytes.empty() &&
           DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image);
  }
  // Pixels of the area in the screens' dark brown ink (text, wooden buttons); the table
  // green of the main screen is not.
  static int InkPixels(const TPixelImage& image, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        const uint32_t p = image.At(x, y);
        const int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
        if (r < 110 && g < 90 && b < 60 && r > g) ++count;
      }
    }
    return count;
  }
  // Pixels of the area in the board's pale parchment.
  static int ParchmentPixels(const TPixelImage& image, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        const uint32_t p = image.At(x, y);
        const int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
        if (r > 220 && g > 210 && b > 170) ++count;
      }
    }
    return count;
  }
};

TEST_F(HiscoreProgram, ALevelsScoreIsShownSentToTheServerAndTheWorldTableComesBack) {
  THiscoredProcess server;
  ASSERT_TRUE(server.Start(MC_HISCORED_PATH,
                           {"--db", (folder / "scores.db").string(), "--threads", "2"},
                           (folder / "hiscored.err").string()))
      << server.Errors();

  // The end of a won level: the record's bankroll becomes the final score of the table.
  int score = 0;
  ASSERT_EQ(RunInProcess([&](TApplication&, TGameApp& game) {
              game.State().Progress().bankroll = 1234;
              score = game.AddFinishedLevelScore();
            }),
            0);
  ASSERT_EQ(score, 1234);

  // The main menu's "High Scores" sign opens the screen (local table); the mouse presses
  // "Submit Score"; Enter sends under
  // the player's name; the world table arrives; Escape leaves. Steps wait for the marked
  // frames before them, so the answer gets a wide margin of application time (the server
  // answers in milliseconds, but this may run on a loaded machine under the sanitizers).
  const fs::path frames = folder / "frames";
  fs::create_directories(frames);
  const fs::path script = folder / "input.txt";
  std::ofstream(script) << "300 key space\n"
                           "1000 click 644 445\n"
                           "2000 frame\n"
                           "2100 click 630 370\n"
                           "3000 frame\n"
                           "3100 key return\n"
                           "20000 frame\n"
                           "20100 key escape\n"
                           "20600 frame\n"
                           "21000 quit\n";
  const std::string options = "'options=hiscoreserver=" + server.Url() + "&splash_ms=200'";
  ASSERT_EQ(RunProgram(60000, "--input=" + script.string() + " --frames=" + frames.string() + " " +
                                  options),
            0);
  const std::string log = Log();
  EXPECT_NE(log.find("HiScores: server " + server.Url()), std::string::npos) << log;
  EXPECT_NE(log.find("High scores: the server took the score"), std::string::npos) << log;
  EXPECT_NE(log.find("High scores: world table \"This Month\" with 1 rows, the player's rank 1"),
            std::string::npos)
      << log;
  EXPECT_EQ(log.find("request failed"), std::string::npos) << log;
  EXPECT_EQ(log.find("Lua error"), std::string::npos) << log;
  EXPECT_EQ(log.find("script failed"), std::string::npos) << log;

  // The pictures: the local row, the dialog's title, the world row, then the main screen.
  TPixelImage local, dialog, world, after;
  ASSERT_TRUE(ReadFrame(frames / "frame_000000.png", &local));
  ASSERT_TRUE(ReadFrame(frames / "frame_000001.png", &dialog));
  ASSERT_TRUE(ReadFrame(frames / "frame_000002.png", &world));
  ASSERT_TRUE(ReadFrame(frames / "frame_000003.png", &after));
  ASSERT_EQ(local.width, 800);
  // Row 1 of the list (rank, name and score) is written in ink in both tables.
  EXPECT_GT(InkPixels(local, 70, 220, 470, 248), 100);
  EXPECT_GT(InkPixels(world, 70, 220, 470, 248), 100);
  // Row 2 is empty: one score only.
  EXPECT_EQ(InkPixels(world, 70, 250, 470, 278), 0);
  // The submit dialog covers the middle of the screen with its own board and fields.
  EXPECT_NE(local.At(400, 300), dialog.At(400, 300));
  EXPECT_GT(InkPixels(dialog, 210, 235, 380, 265), 20) << "the name field holds \"Player\"";
  // Escape left the screen: the board's parchment is gone, the main menu is back.
  const int rowArea = 400 * 28;
  EXPECT_GT(ParchmentPixels(world, 70, 220, 470, 248), rowArea * 8 / 10);
  EXPECT_LT(ParchmentPixels(after, 70, 220, 470, 248), rowArea / 10);

  // The sent row is marked: nothing is left to send, and the next start knows it.
  ASSERT_EQ(RunInProcess([&](TApplication&, TGameApp& game) {
              game.SetCurrentGameMode(kGameModeCampaign);
              TTvHiscores& scores = *game.Hiscores();
              ASSERT_EQ(scores.GetRowCount(true), 1);
              EXPECT_TRUE(scores.GetRow(true, 0)->submitted);
              EXPECT_EQ(scores.GetPlayerEntry(false), nullptr);
            }),
            0);
  EXPECT_EQ(server.Terminate(), 0);
}

TEST_F(HiscoreProgram, WithoutAServerTheScreenSaysOnlineScoresAreOffAndStaysLocal) {
  ASSERT_EQ(RunInProcess([](TApplication&, TGameApp& game) {
              game.State().Progress().bankroll = 500;
              game.AddFinishedLevelScore();
            }),
            0);
  const fs::path frames = folder / "frames";
  fs::create_directories(frames);
  const fs::path script = folder / "input.txt";
  // W (world scores) and S (submit) do nothing without a server.
  std::ofstream(script) << "300 key space\n1000 key h\n1500 key w\n1600 key s\n2500 frame\n"
                           "2600 key escape\n3000 quit\n";
  ASSERT_EQ(RunProgram(20000, "--input=" + script.string() + " --frames=" + frames.string() +
                                  " 'options=splash_ms=200'"),
            0);
  const std::string log = Log();
  EXPECT_EQ(log.find("HiScores: server"), std::string::npos) << log;
  EXPECT_EQ(log.find("High scores: "), std::string::npos) << "no request was made\n" << log;
  TPixelImage local;
  ASSERT_TRUE(ReadFrame(frames / "frame_000000.png", &local));
  EXPECT_GT(InkPixels(local, 70, 220, 470, 248), 100) << "the local row is shown";
  // The information panel says online scores are off (three lines of text), and neither
  // the submit nor the world-scores button is there.
  EXPECT_GT(InkPixels(local, 530, 160, 730, 220), 200);
  EXPECT_EQ(InkPixels(local, 560, 355, 700, 385), 0) << "no submit button";
  EXPECT_EQ(InkPixels(local, 560, 405, 700, 435), 0) << "no world-scores button";
}

}  // namespace
