// The play screen in the real program, started headless: the main menu's classic game opens
// a level (a first start asks for the player's name on the way), the mouse makes matches,
// the keys ask for a hint, shuffle and take a match back. A first run writes the deal into the log
// ("game_log_deal"); the test rebuilds that board on the game's rules to find free pairs, then
// plays them in a second run and checks the log and the frames at the tiles' places.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "game/board.h"
#include "game/face_catalogue.h"
#include "gfx/pixel_image.h"
#include "tests/app/program_run.h"

namespace {

struct TLoggedTile {
  int layer, x, y;
  TFace face;
  int pointX, pointY;  // the middle of the top face on the screen
};

class GameProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "mc_game_program_XXXXXX");
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
  }
  void TearDown() override {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
  }

  // Runs the program on level 3 with seed 7; help costs $1 so that two matches pay for it.
  int Run(const std::string& input, const std::string& frames) {
    const std::string script = (folder / "input.txt").string();
    std::ofstream(script) << input;
    std::filesystem::remove(folder / "Tandervel" / "Mahjong Curio Mar" / "logfile.txt");
    const std::string command =
        std::string(MC_BIN_DIR) + "/mahjongcuriomar --headless --multiple --exit-after=60000" +
        " --input=" + script + " --frames=" + frames +
        " 'options=game_level=levels/level_003.xml&game_seed=7&game_log_deal=1"
        "&score_hintcost=1&score_shufflecost=1' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1000;
  }
  std::string Log() const {
    std::ifstream file(folder / "Tandervel" / "Mahjong Curio Mar" / "logfile.txt");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  static std::vector<TLoggedTile> Tiles(const std::string& log) {
    std::vector<TLoggedTile> tiles;
    const std::regex line(R"(Game: tile \d+ (\S+) layer (\d+) cell (\d+),(\d+) point (\d+),(\d+))");
    for (std::sregex_iterator it(log.begin(), log.end(), line), end; it != end; ++it) {
      const std::smatch& m = *it;
      tiles.push_back({std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4]),
                       FindFaceByShortName(m[1].str()), std::stoi(m[5]), std::stoi(m[6])});
    }
    return tiles;
  }
  std::filesystem::path folder;
};

// Two free pairs of the logged deal, played one after the other on the game's rules.
std::vector<int> TwoFreePairs(const std::vector<TLoggedTile>& tiles) {
  TBoard board;
  for (const TLoggedTile& t : tiles) board.PlaceTile(t.layer, t.x, t.y, t.face);
  board.RecountTiles(true);
  std::vector<int> moves;
  for (int round = 0; round < 2; ++round) {
    const std::vector<TTileId> free = board.FreeTiles();
    bool found = false;
    for (size_t i = 0; i < free.size() && !found; ++i)
      for (size_t j = i + 1; j < free.size() && !found; ++j) {
        const TFace face = board.Tile(free[i]).face;
        if (!(face == board.Tile(free[j]).face) || !IsCommonSuit(face.suit)) continue;
        moves.push_back(free[i]);
        moves.push_back(free[j]);
        board.RemoveTile(free[i]);
        board.RemoveTile(free[j]);
        found = true;
      }
  }
  return moves;
}

}  // namespace

TEST_F(GameProgram, TheMainMenuOpensALevelThatIsPlayedWithTheMouseHintShuffleAndUndo) {
  const std::string frames = (folder / "frames").string();
  std::filesystem::create_directories(frames);
  // The deal: the splash, the classic game's sign, the first player's name, one frame. Steps
  // are far apart: they fall due in application time, and each dialog fades in and out.
  ASSERT_EQ(Run("500 click 400 300\n3000 move 645 257\n3100 click 645 257\n"
                "14000 text Ada\n16000 key return\n24000 frame\n25000 quit\n",
                frames),
            0);
  std::string log = Log();
  if (log.find("Frames are not written") != std::string::npos) {
    GTEST_SKIP() << "no offscreen GL on this machine";
  }
  const std::vector<TLoggedTile> tiles = Tiles(log);
  ASSERT_GT(tiles.size(), 40u) << log;
  const std::vector<int> moves = TwoFreePairs(tiles);
  ASSERT_EQ(moves.size(), 4u);

  // The play, the player known now: two pairs by clicks, a hint (H), a shuffle (M), an undo
  // (U).
  std::ostringstream input;
  input << "500 click 400 300\n3000 move 645 257\n3100 click 645 257\n9000 frame\n";
  int t = 9100;
  for (int id : moves) {
    const TLoggedTile& p = tiles[id];
    input << t << " move " << p.pointX << ' ' << p.pointY << '\n'
          << t + 100 << " click " << p.pointX << ' ' << p.pointY << '\n';
    t += 400;
  }
  input << t + 200 << " move 400 20\n"
        << t + 400 << " frame\n"
        << t + 500 << " key h\n"
        << t + 900 << " frame\n"
        << t + 1000 << " key m\n"
        << t + 1400 << " frame\n"
        << t + 1500 << " key u\n"
        << t + 1900 << " frame\n"
        << t + 2400 << " quit\n";
  for (const std::filesystem::path& f : std::filesystem::directory_iterator(frames))
    std::filesystem::remove(f);
  ASSERT_EQ(Run(input.str(), frames), 0);
  log = Log();
  EXPECT_NE(log.find("Player 0 \"Ada\""), std::string::npos) << "the name was kept\n" << log;
  EXPECT_NE(log.find("Game: levels/level_003.xml dealt with seed 7"), std::string::npos) << log;
  EXPECT_EQ(Tiles(log).size(), tiles.size()) << "the same deal again";
  EXPECT_NE(log.find("Game: hint, total"), std::string::npos) << log;
  EXPECT_NE(log.find("Game: shuffle, total"), std::string::npos) << log;
  EXPECT_NE(log.find("Game: undo, total"), std::string::npos) << log;
  EXPECT_NE(log.find("Game loop ended"), std::string::npos) << log;

  TPixelImage shot[5];
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(ReadProgramFrame(frames, i, &shot[i])) << i;
  auto around = [&](int id) {
    const TLoggedTile& p = tiles[id];
    // The top face without its left edge, where a left neighbour's side shows.
    return std::array<int, 4>{p.pointX - 10, p.pointY - 20, p.pointX + 14, p.pointY + 20};
  };
  // The matched tiles are gone from their places, the money plaque changed.
  for (int id : moves) {
    const auto r = around(id);
    EXPECT_GT(ChangedPixels(shot[0], shot[1], r[0], r[1], r[2], r[3]), 200) << "tile " << id;
  }
  EXPECT_GT(ChangedPixels(shot[0], shot[1], 76, 5, 200, 37), 20);
  // The hint lit two tiles somewhere on the board (and cost a dollar).
  EXPECT_GT(ChangedPixels(shot[1], shot[2], 0, 50, 800, 470), 100);
  // The shuffle changed faces all over the board.
  EXPECT_GT(ChangedPixels(shot[2], shot[3], 0, 50, 800, 470), 2000);
  // Undo brought the second pair back onto the board, as it was dealt.
  for (int k = 2; k < 4; ++k) {
    const auto r = around(moves[k]);
    EXPECT_LT(ChangedPixels(shot[0], shot[4], r[0], r[1], r[2], r[3]), 20) << "tile " << moves[k];
  }
}
