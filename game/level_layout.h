// The layout of one level: the descriptive fields of a level file and the grid of tile
// positions its "leveldata" text encodes. Layer 0 is the bottom; a position at (x, y)
// covers the 2 x 2 cells x..x+1, y..y+1 of its layer.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The record type a level file stores for each position: an ordinary tile, or a place the
// deal may give a treasure (it gets an ordinary face when no treasure goes there).
enum class TPositionType : uint8_t { kNone = 0, kOrdinary = 1, kTreasureCandidate = 7 };
inline constexpr uint8_t kNoPosition = static_cast<uint8_t>(TPositionType::kNone);
inline constexpr uint8_t kOrdinaryPosition = static_cast<uint8_t>(TPositionType::kOrdinary);
inline constexpr uint8_t kCandidatePosition =
    static_cast<uint8_t>(TPositionType::kTreasureCandidate);

struct TLayoutPosition {
  int layer = 0;
  int x = 0;
  int y = 0;
  uint8_t type = kOrdinaryPosition;

  bool operator==(const TLayoutPosition&) const = default;
};

class TLevelLayout {
 public:
  static constexpr int kLayers = 7;
  static constexpr int kColumns = 38;
  static constexpr int kRows = 16;
  static constexpr int kCells = kLayers * kColumns * kRows;  // 4256

  static constexpr int CellIndex(int layer, int x, int y) {
    return (layer * kColumns + x) * kRows + y;
  }
  static constexpr bool InGrid(int layer, int x, int y) {
    return layer >= 0 && layer < kLayers && x >= 0 && x < kColumns && y >= 0 && y < kRows;
  }

  TLevelLayout() { mTypes.fill(0); }

  // Descriptive fields of the level file.
  std::string creatorName = "Curiomar";
  std::string title;
  std::string description;
  int difficulty = 0;
  int layoutId = -1;

  // The position type of a cell (0 outside the grid or where there is no position).
  uint8_t TypeAt(int layer, int x, int y) const {
    return InGrid(layer, x, y) ? mTypes[CellIndex(layer, x, y)] : kNoPosition;
  }
  // Sets a cell's type; cells outside the grid are ignored.
  void SetType(int layer, int x, int y, uint8_t type);
  void Clear() { mTypes.fill(0); }

  // Decodes "leveldata": 9-character records of 8 hex digits (type, layer, x, y) and a
  // separator. Type 0 records and records outside the grid are skipped, a later record for
  // a cell overwrites an earlier one, and a record cut short by the end of the text keeps
  // the bytes it has and zeros for the rest. Replaces the whole grid.
  void DecodeLayoutData(std::string_view text);
  // Encodes the grid in visiting order (layer, x, y ascending), every record ended by "|".
  std::string EncodeLayoutData() const;

  // Positions (type not 0) in visiting order: layer 0..6, x 0..37, y 0..15.
  std::vector<TLayoutPosition> Positions() const;
  int PositionCount() const;
  int CandidateCount() const;
  // One more than the highest layer holding a position; 0 for an empty grid.
  int LayerCount() const;

  const std::array<uint8_t, kCells>& Types() const { return mTypes; }

 private:
  std::array<uint8_t, kCells> mTypes;
};
