// Free play and the layout editor in the real program, started headless and driven by mouse
// and keys: a player draws a small symmetric layout, marks two treasure places, names and
// saves it, plays it at once (won with the "AutoWin" cheat), and after a restart finds it in
// the chooser, opens it again in the editor and plays it. Files the player dropped into the
// layout folder are listed when sound and skipped with a log line when damaged.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class EditorProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "mc_editor_program_XXXXXX");
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    levels = folder / "Tandervel" / "Mahjong Curio Mar" / "levels";
  }
  void TearDown() override {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
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
    std::filesystem::remove(folder / "Tandervel" / "Mahjong Curio Mar" / "logfile.txt");
    const std::string command = std::string(MC_BIN_DIR) +
                                "/mahjongcuriomar --headless --multiple --exit-after=150000" +
                                " --input=" + script + " --frames=" + (folder / "frames").string() +
                                " options=cheatmode=1 >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1000;
  }
  std::string Log() const {
    return Read(folder / "Tandervel" / "Mahjong Curio Mar" / "logfile.txt");
  }
  static std::string Read(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
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

  std::filesystem::path folder;
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
constexpr int kEditorBack[] = {448, 48};
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
  // played at once and won with the cheat, back through the editor to the chooser.
  std::string input =
      Click(500, 400, 300) + Click(3000, kFreePlaySign[0], kFreePlaySign[1]) +
      "14000 text Ada\n16000 key return\n" + Click(23000, kNewLayout[0], kNewLayout[1]) +
      "27000 key m\n" + Click(27400, CellX(6), CellY(4)) + Click(27800, CellX(8), CellY(4)) +
      Click(28200, CellX(10), CellY(4)) +
      // A click on a tile puts the keys' ring on it: T marks it and its image.
      Click(28600, CellX(8), CellY(4)) + "28800 key t\n" +
      Click(29200, kNameField[0], kNameField[1]) + "29500 text Garden Walk\n" + "30000 frame\n" +
      Click(31000, kSave[0], kSave[1]) + Click(33000, kTestPlay[0], kTestPlay[1]) +
      "38000 frame\n" + Click(39000, kWinButton[0], kWinButton[1]) + "45000 key escape\n" +
      Click(50000, kEditorBack[0], kEditorBack[1]) + "54000 frame\n55000 quit\n";
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
  for (const char* line : {"Player 0 \"Ada\"", "Editor: user:levels/garden_walk.xml opened",
                           "Game: user:levels/garden_walk.xml dealt with seed",
                           "6 tiles, bankroll 0", "Game: level ended, board cleared"})
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
  EXPECT_EQ(log.find("layout saved"), std::string::npos) << "opening and leaving writes nothing";
  EXPECT_EQ(Read(saved), Read(std::filesystem::path(MC_APP_TEST_DATA) / "garden_walk.xml"));
}
