// tvtool deal LEVEL [--seed N] [--mode 0|1] [--beaten C] [--solvable] [--package PKG]:
// deals a level the way the game does and prints the board: one picture per layer, each
// grid cell three characters wide, a tile written on the cell of its upper-left quarter as
// a two-letter code of its face ("*" after a free tile), then the codes with their faces.
// Common faces get lower-case codes, treasures upper-case ones, the Kenny tile "KK".
// LEVEL is a campaign number 1..50 or "tutorial" (read from the game's package), or a
// level file or drawing. Cells without a tile show ".", the rest of a tile's footprint
// stays blank. The treasures are picked from the whole catalogue, standing in for
// the player's record.
#include <cstdio>
#include <map>
#include <string>

#include "game/board.h"
#include "game/deal.h"
#include "game/face_catalogue.h"
#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/level_deal.h"

namespace {

struct TFaceCodes {
  std::map<std::pair<int, int>, std::string> codes;
  int common = 0;
  int treasure = 0;

  const std::string& For(TFace face) {
    auto [it, added] = codes.try_emplace({face.suit, face.variant});
    if (added) {
      if (IsKennySuit(face.suit)) {
        it->second = "KK";
      } else {
        int& counter = HasAntiqueLook(face.suit) ? treasure : common;
        const char base = HasAntiqueLook(face.suit) ? 'A' : 'a';
        it->second = {static_cast<char>(base + counter / 26 % 26),
                      static_cast<char>(base + counter % 26)};
        ++counter;
      }
    }
    return it->second;
  }
};

void PrintLayers(const TBoard& board, TFaceCodes& codes) {
  for (int layer = 0; layer < TLevelLayout::kLayers; ++layer) {
    int tiles = 0;
    for (TTileId id : board.GridOrder()) tiles += board.Tile(id).layer == layer;
    if (tiles == 0) continue;
    std::printf("layer %d: %d tiles\n", layer, tiles);
    for (int y = 0; y < TLevelLayout::kRows; ++y) {
      std::string line;
      for (int x = 0; x < TLevelLayout::kColumns; ++x) {
        const TTileId id = board.TileAt(layer, x, y);
        if (id == kNoTile) {
          // The other three cells of a tile's footprint stay blank.
          const bool covered = board.TileAt(layer, x - 1, y) != kNoTile ||
                               board.TileAt(layer, x, y - 1) != kNoTile ||
                               board.TileAt(layer, x - 1, y - 1) != kNoTile;
          line += covered ? "   " : " . ";
        } else {
          line += codes.For(board.Tile(id).face);
          line += board.IsSelectable(id) ? '*' : ' ';
        }
      }
      while (!line.empty() && line.back() == ' ') line.pop_back();
      std::printf("%2d %s\n", y, line.c_str());
    }
  }
}

int RunDeal(const TToolArguments& args) {
  TDealOptions options;
  std::string error;
  if (!ReadDealOptions(args, options, error)) return ToolError("deal", error);
  if (options.positional.size() != 1) return ToolUsage("deal");
  TLevelLayout layout;
  int levelsBeaten = 0;
  bool tutorial = false;
  if (!ReadDealLevel(options.positional[0], options.package, layout, levelsBeaten, tutorial, error))
    return ToolError("deal", error);
  const TDealRequest request = DealRequestFor(options, levelsBeaten, tutorial);

  TBoard board;
  const int placed = Deal(board, layout, request, options.seed);
  std::printf("%s: %d positions, %d tiles dealt, seed %u, mode %d, %d levels beaten%s\n",
              options.positional[0].c_str(), layout.PositionCount(), placed, options.seed,
              options.mode, request.bag.levelsBeaten,
              request.TutorialLevel() ? ", tutorial"
              : request.solvable      ? ", solvable"
                                      : "");
  TFaceCodes codes;
  PrintLayers(board, codes);
  std::map<std::string, std::pair<TFace, int>> legend;
  for (TTileId id : board.GridOrder()) {
    const TFace face = board.Tile(id).face;
    auto& entry = legend[codes.For(face)];
    entry.first = face;
    ++entry.second;
  }
  std::printf("faces:\n");
  for (const auto& [code, entry] : legend)
    std::printf("  %s %-16s (%d,%d) x%d%s\n", code.c_str(),
                std::string(FaceShortName(entry.first)).c_str(), entry.first.suit,
                entry.first.variant, entry.second,
                IsTreasureSuit(entry.first.suit) ? " treasure" : "");
  std::printf("%zu free tiles; %s\n", board.FreeTiles().size(),
              board.NoMovesLeft() ? "no move: the loss screen would open" : "moves open");
  return 0;
}

const TCommandRegistration kDeal{
    "deal", "LEVEL [--seed N] [--mode 0|1] [--beaten C] [--solvable] [--package PKG]",
    "deal a level as the game does and print the board layer by layer", &RunDeal,
    DealOptionFlags()};

}  // namespace
