// Free play and the layout editor in the real program, started headless and driven by mouse
// and keys: a player draws a small symmetric layout, marks two treasure places, names and
// saves it, plays it at once (won with the "AutoWin" cheat), and after a restart finds it in
// the chooser, opens it again in the editor and plays it. Files the player dropped into the
// layout folder are listed when sound and skipped with a log line when damaged. The editor's
// first-time prompts come up over it and close with a key or their button, once per player;
// with the tips off they stay away. A layout is duplicated and deleted through the editor's
// buttons, and a large layout's deals are tried while the screen goes on being drawn.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "campaign/game_app.h"
#include "frame/application.h"
#include "game/level_file.h"
#include "game/level_layout.h"
#include "game/window/layout_editor_window.h"
#include "gfx/pixel_image.h"
#include "gfx/renderer.h"
#include "tests/app/program_director.h"
#include "tests/app/program_run.h"

namespace {

class EditorProgram : public TProgramRun {
 protected:
  EditorProgram() : TProgramRun("mc_editor_program_") {}
  void SetUp() override {
    TProgramRun::SetUp();
    levels = userFolder / "levels";
  }

  // Every click moves the pointer there first, as a real mouse does.
  static std::string Click(int ms, int x, int y) {
    return std::to_string(ms - 100) + " move " + std::to_string(x) + " " + std::to_string(y) +
           "\n" + std::to_string(ms) + " click " + std::to_string(x) + " " + std::to_string(y) +
           "\n";
  }

  int Run(const std::string& input) {
    const std::string script = (folder / "input.txt").string();
    std::ofstream(script) << input;
    std::filesystem::remove(userFolder / "logfile.txt");
    return RunProgram(150000,
                      "--input=" + script + " --frames=" + Frames() + " options=cheatmode=1");
  }
  std::string Frames() const { return (folder / "frames").string(); }
  // The first player, made before the program's first start, with the tips option as asked.
  static void MakePlayer(bool tipsOn) {
    ASSERT_EQ(RunInProcess([tipsOn](TApplication&, TGameApp& game) {
                ASSERT_TRUE(game.CreateNewUser("Ada"));
                if (game.TutorialsOn() != tipsOn) game.ToggleTutorials();
              }),
              0);
  }
  static std::string Read(const std::filesystem::path& path) { return ReadFile(path); }
  static void Write(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  int Tool(const std::string& arguments) const {
    const std::string command = std::string(MC_BIN_DIR) + "/tvtool " + arguments + " >" +
                                (folder / "tool.txt").string() + " 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1000;
  }
  std::vector<std::string> LevelFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(levels))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static int Count(const std::string& text, const std::string& what) {
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
      ++count;
    return count;
  }
  // The lines of the log that contain what, in order.
  static std::vector<std::string> Lines(const std::string& log, const std::string& what) {
    std::vector<std::string> lines;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
      if (line.find(what) != std::string::npos) lines.push_back(line.substr(line.find(what)));
    return lines;
  }

  std::filesystem::path levels;
};

// The screen points of the editor's board cells (the game's tile geometry, layer 0) and of
// the buttons.
constexpr int CellX(int x) {
  return 12 + 20 * x + 20;
}
constexpr int CellY(int y) {
  return 72 + 28 * y + 28;
}
constexpr int kFreePlaySign[] = {645, 303};
constexpr int kNewLayout[] = {548, 575};
constexpr int kEdit[] = {648, 575};
constexpr int kPlay[] = {748, 575};
constexpr int kSecondCard[] = {405, 190};
constexpr int kSave[] = {52, 48};
constexpr int kTestPlay[] = {150, 48};
constexpr int kDuplicate[] = {250, 48};
constexpr int kDelete[] = {349, 48};
constexpr int kEditorBack[] = {448, 48};
// The prompt's "Got It" and the question's "Yes" (both panels in the middle of the screen).
constexpr int kPromptGotIt[] = {296, 383};
constexpr int kConfirmYes[] = {306, 347};
constexpr int kNameField[] = {160, 549};
constexpr int kWinButton[] = {713, 69};

}  // namespace

TEST_F(EditorProgram, APlayerDrawsSavesPlaysAndAfterARestartFindsAndPlaysTheirLayout) {
  // What the player copied in before: a sound layout, a cut one and one that is not XML.
  Write(
      levels / "handmade.xml",
      "<level><levelTitle>Handmade</levelTitle><levelData>01000000|01000400|</levelData></level>");
  Write(levels / "broken.xml", "<level><levelTitle>Bro");
  Write(levels / "noise.xml", std::string("\x89PNG\r\n\x1a\n\0\0", 10));

  // First start: the name, Free Play, a new layout drawn with the left-right mirror (three in
  // a row and their images), the middle ones marked as treasure places, the name typed, saved,
  // played at once and won with the cheat, back through the editor to the chooser. The
  // editor's prompts come up on the way: on opening (closed with Return, frame 0), after the
  // first tiles (closed with its button) and once the layout passes the checks (Escape).
  std::string input =
      Click(500, 400, 300) + Click(3000, kFreePlaySign[0], kFreePlaySign[1]) +
      "14000 text Ada\n16000 key return\n" + Click(23000, kNewLayout[0], kNewLayout[1]) +
      "25500 frame\n26000 key return\n27000 key m\n" + Click(27400, CellX(6), CellY(4)) +
      Click(29000, kPromptGotIt[0], kPromptGotIt[1]) + Click(30400, CellX(8), CellY(4)) +
      Click(30800, CellX(10), CellY(4)) +
      // A click on a tile puts the keys' ring on it: T marks it and its image.
      Click(31200, CellX(8), CellY(4)) + "31400 key t\n32800 key escape\n" +
      Click(34000, kNameField[0], kNameField[1]) + "34300 text Garden Walk\n" + "34800 frame\n" +
      Click(35500, kSave[0], kSave[1]) + Click(37500, kTestPlay[0], kTestPlay[1]) +
      "42500 frame\n" + Click(43500, kWinButton[0], kWinButton[1]) + "49500 key escape\n" +
      Click(54500, kEditorBack[0], kEditorBack[1]) + "58500 frame\n59500 quit\n";
  ASSERT_EQ(Run(input), 0);
  std::string log = Log();
  if (log.find("Frames are not written") != std::string::npos)
    GTEST_SKIP() << "no offscreen GL on this machine";
  for (const char* line :
       {"Layout user:levels/broken.xml is skipped: it is damaged",
        "Layout user:levels/noise.xml is skipped: it is damaged", "Free play: 2 layouts",
        "Editor: a new layout", "Editor: layout saved to user:levels/garden_walk.xml, 6 tiles",
        "Editor: the greedy player cleared", "Editor: test play of 6 tiles",
        "Game: editor:testplay.xml dealt with seed", "Game: level ended, board cleared",
        "Free play: 3 layouts"})
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
  // Each prompt once, in the order the player met them.
  EXPECT_EQ(Lines(log, "Tutorial: prompt"),
            (std::vector<std::string>{"Tutorial: prompt 17 tutorial_discover_editor_initial shown",
                                      "Tutorial: prompt 18 tutorial_discover_editor_move shown",
                                      "Tutorial: prompt 21 tutorial_discover_editor_save shown"}))
      << log;
  // The first prompt over the editor (frame 0), gone from the drawing later (frame 1): its
  // panel covers the middle of the board.
  TPixelImage prompt, drawing;
  ASSERT_TRUE(ReadProgramFrame(Frames(), 0, &prompt));
  ASSERT_TRUE(ReadProgramFrame(Frames(), 1, &drawing));
  EXPECT_GT(ChangedPixels(prompt, drawing, 200, 250, 600, 400), 40000);

  // The saved file is the hand-written one to the byte, and the level tools take it.
  const std::filesystem::path saved = levels / "garden_walk.xml";
  EXPECT_EQ(Read(saved), Read(std::filesystem::path(MC_APP_TEST_DATA) / "garden_walk.xml"));
  EXPECT_EQ(Tool("levelcheck '" + saved.string() + "'"), 0) << Read(folder / "tool.txt");
  EXPECT_EQ(Tool("level '" + saved.string() + "' '" + (folder / "drawing.txt").string() + "'"), 0)
      << Read(folder / "tool.txt");
  EXPECT_NE(Read(folder / "drawing.txt").find("......o.T.o...............o.T.o......."),
            std::string::npos)
      << Read(folder / "drawing.txt");
  // The damaged files are still there, untouched.
  EXPECT_EQ(Read(levels / "broken.xml"), "<level><levelTitle>Bro");

  // Second start, the player known: Free Play, the new layout (second card, after the
  // tutorial's) chosen and opened in the editor, back, then played and won.
  input = Click(500, 400, 300) + Click(3000, kFreePlaySign[0], kFreePlaySign[1]) +
          Click(7000, kSecondCard[0], kSecondCard[1]) + Click(8000, kEdit[0], kEdit[1]) +
          "12000 frame\n" + Click(13000, kEditorBack[0], kEditorBack[1]) +
          Click(17000, kPlay[0], kPlay[1]) + Click(23000, kWinButton[0], kWinButton[1]) +
          "29000 key escape\n33000 frame\n34000 quit\n";
  ASSERT_EQ(Run(input), 0);
  log = Log();
  // The opening prompt is asked for again but not shown: the player has seen it.
  EXPECT_NE(log.find("Editor: prompt tutorial_discover_editor_initial asked for"),
            std::string::npos)
      << log;
  EXPECT_EQ(Count(log, "tutorial_discover_editor_initial shown"), 0) << log;
  for (const char* line : {"Player 0 \"Ada\"", "Editor: user:levels/garden_walk.xml opened",
                           "Game: user:levels/garden_walk.xml dealt with seed",
                           "6 tiles, bankroll 0", "Game: level ended, board cleared"})
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
  EXPECT_EQ(log.find("layout saved"), std::string::npos) << "opening and leaving writes nothing";
  EXPECT_EQ(Read(saved), Read(std::filesystem::path(MC_APP_TEST_DATA) / "garden_walk.xml"));
}

// A player with the tips off duplicates a layout through the editor's buttons and saves the
// copy, which the chooser then lists; after a restart the copy is opened and deleted (after
// the question), and the chooser lists what is left. The editor's prompts are asked for but,
// all five needing the tips, none is shown.
TEST_F(EditorProgram, ALayoutIsDuplicatedAndTheCopyDeletedWithTheTipsOff) {
  MakePlayer(false);
  const std::string original = Read(std::filesystem::path(MC_APP_TEST_DATA) / "garden_walk.xml");
  Write(levels / "garden_walk.xml", original);

  std::string input = Click(500, 400, 300) + Click(3000, kFreePlaySign[0], kFreePlaySign[1]) +
                      Click(7000, kSecondCard[0], kSecondCard[1]) +
                      Click(8000, kEdit[0], kEdit[1]) + "11500 frame\n" +
                      Click(12000, kDuplicate[0], kDuplicate[1]) +
                      Click(13000, kSave[0], kSave[1]) +
                      Click(14500, kEditorBack[0], kEditorBack[1]) + "18000 frame\n19000 quit\n";
  ASSERT_EQ(Run(input), 0);
  std::string log = Log();
  if (log.find("Frames are not written") != std::string::npos)
    GTEST_SKIP() << "no offscreen GL on this machine";
  EXPECT_NE(log.find("Editor: prompt tutorial_discover_editor_initial asked for"),
            std::string::npos)
      << log;
  EXPECT_EQ(Count(log, "Tutorial: prompt"), 0) << "the tips are off\n" << log;
  EXPECT_NE(log.find("Editor: duplicated as \"Copy of Garden Walk\""), std::string::npos) << log;
  EXPECT_EQ(Lines(log, "Free play: "),
            (std::vector<std::string>{"Free play: 2 layouts to choose from",
                                      "Free play: 3 layouts to choose from"}))
      << log;
  // The copy: its own file, the same tiles under the new name; the original untouched.
  EXPECT_EQ(LevelFiles(), (std::vector<std::string>{"copy_of_garden_walk.xml", "garden_walk.xml"}));
  EXPECT_EQ(Read(levels / "garden_walk.xml"), original);
  std::string copy = original;
  copy.replace(copy.find("Garden Walk"), 11, "Copy of Garden Walk");
  EXPECT_EQ(Read(levels / "copy_of_garden_walk.xml"), copy);

  // Second start: the copy (the second card: the cards go by file name) opened and deleted;
  // the question answered Yes.
  input = Click(500, 400, 300) + Click(3000, kFreePlaySign[0], kFreePlaySign[1]) +
          Click(7000, kSecondCard[0], kSecondCard[1]) + Click(8000, kEdit[0], kEdit[1]) +
          Click(12000, kDelete[0], kDelete[1]) + "14000 frame\n" +
          Click(15000, kConfirmYes[0], kConfirmYes[1]) + "19000 frame\n20000 quit\n";
  ASSERT_EQ(Run(input), 0);
  log = Log();
  for (const char* line : {"Editor: user:levels/copy_of_garden_walk.xml opened",
                           "Layout user:levels/copy_of_garden_walk.xml deleted"})
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
  EXPECT_EQ(Lines(log, "Free play: "),
            (std::vector<std::string>{"Free play: 3 layouts to choose from",
                                      "Free play: 2 layouts to choose from"}))
      << log;
  EXPECT_EQ(LevelFiles(), (std::vector<std::string>{"garden_walk.xml"}));
  EXPECT_EQ(Read(levels / "garden_walk.xml"), original);
}

// A large layout (four full layers, 608 tiles) opened in the editor: the greedy player's
// deals are tried on their own thread, so while they run the screen is drawn again and
// again (the pointer moves over the board the whole time) and the figures on it grow. Had
// the trial run on the drawing thread, no frame would come between its start and its end.
TEST_F(EditorProgram, FramesKeepComingWhileTheDealsOfALargeLayoutAreTried) {
  MakePlayer(false);
  TLevelLayout layout;
  layout.title = "Four Floors";
  for (int layer = 0; layer < 4; ++layer)
    for (int x = 0; x <= 36; x += 2)
      for (int y = 0; y <= 14; y += 2) layout.SetType(layer, x, y, kOrdinaryPosition);
  layout.SetType(3, 0, 0, kCandidatePosition);
  layout.SetType(3, 36, 14, kCandidatePosition);
  ASSERT_EQ(layout.PositionCount(), 608);
  Write(levels / "four_floors.xml", WriteLevelXml(layout));

  // The pointer sweeps the board back and forth, a move every 25 ms, for 60 s.
  std::string sweep = "0 frame\n";
  for (int i = 0; i < 2400; ++i)
    sweep += std::to_string(25 * i + 100) + " move " + std::to_string(40 + (i * 37) % 720) + " " +
             std::to_string(100 + (i * 23) % 400) + "\n";
  TDirector director({
      {"splash", "0 click 400 300"},
      {"mainmenu", Click(100, kFreePlaySign[0], kFreePlaySign[1])},
      {"layoutchooser",
       Click(100, kSecondCard[0], kSecondCard[1]) + Click(600, kEdit[0], kEdit[1])},
      {"layouteditor", sweep},
  });
  uint32_t framesAtStart = 0, framesWhileRunning = 0;
  std::vector<int> dealsSeen;  // each different count of deals done, seen while running
  bool finished = false;
  const std::string frames = Frames();
  ASSERT_EQ(RunDriven(frames, 150000,
                      [&](TApplication& app, TGameApp&) {
                        director.Step(app);
                        TWindowManager* windows = TWindowManager::Get();
                        TModalWindow* top = windows ? windows->TopModal() : nullptr;
                        auto* editor = top ? dynamic_cast<TLayoutEditorWindow*>(
                                                 top->FindChild("editor_window"))
                                           : nullptr;
                        const TRenderer* renderer = GetRenderer();
                        if (!editor || !renderer || finished) return;
                        const TLayoutSolverCheck::TProgress progress = editor->SolverProgress();
                        if (progress.dealsWanted == 0) return;  // not started yet
                        if (!progress.running) {
                          finished = true;
                          app.PostQuit();
                          return;
                        }
                        if (framesAtStart == 0) framesAtStart = renderer->FrameCount();
                        framesWhileRunning = renderer->FrameCount() - framesAtStart;
                        if (dealsSeen.empty() || dealsSeen.back() != progress.dealsDone)
                          dealsSeen.push_back(progress.dealsDone);
                        // Enough seen: the run may end before the trial does.
                        if (framesWhileRunning >= 30 && dealsSeen.size() >= 3) app.PostQuit();
                      }),
            0);
  const std::string log = Log();
  if (log.find("Frames are not written") != std::string::npos)
    GTEST_SKIP() << "no offscreen GL on this machine";
  EXPECT_NE(log.find("Editor: user:levels/four_floors.xml opened"), std::string::npos) << log;
  EXPECT_GT(framesAtStart, 0u) << "the trial was seen running\n" << log;
  EXPECT_GE(framesWhileRunning, 10u) << log;
  EXPECT_GE(dealsSeen.size(), 3u) << "the figures grew while the screen was drawn";
  TPixelImage first;
  EXPECT_TRUE(ReadProgramFrame(frames, 0, &first)) << "the editor's frame";
}
