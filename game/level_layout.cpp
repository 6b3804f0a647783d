#include "game/level_layout.h"

#include <cstdio>

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads up to four "%02x" bytes from one record the way sscanf does: a byte takes at most
// two hex digits, the first byte that cannot be read ends the conversion, and bytes not
// read stay 0.
std::array<int, 4> ReadRecordBytes(std::string_view record) {
  std::array<int, 4> bytes{0, 0, 0, 0};
  size_t pos = 0;
  for (int& byte : bytes) {
    int value = 0;
    int digits = 0;
    while (digits < 2 && pos < record.size() && HexDigit(record[pos]) >= 0) {
      value = value * 16 + HexDigit(record[pos]);
      ++pos;
      ++digits;
    }
    if (digits == 0) break;
    byte = value;
  }
  return bytes;
}

}  // namespace

void TLevelLayout::SetType(int layer, int x, int y, uint8_t type) {
  if (InGrid(layer, x, y)) mTypes[CellIndex(layer, x, y)] = type;
}

void TLevelLayout::DecodeLayoutData(std::string_view text) {
  Clear();
  for (size_t start = 0; start < text.size(); start += 9) {
    std::string_view record = text.substr(start, 8);
    std::array<int, 4> b = ReadRecordBytes(record);
    if (b[0] == 0) continue;
    SetType(b[1], b[2], b[3], static_cast<uint8_t>(b[0]));
  }
}

std::string TLevelLayout::EncodeLayoutData() const {
  std::string text;
  for (const TLayoutPosition& p : Positions()) {
    char record[16];
    std::snprintf(record, sizeof record, "%02x%02x%02x%02x|", p.type, p.layer, p.x, p.y);
    text += record;
  }
  return text;
}

std::vector<TLayoutPosition> TLevelLayout::Positions() const {
  std::vector<TLayoutPosition> positions;
  for (int layer = 0; layer < kLayers; ++layer)
    for (int x = 0; x < kColumns; ++x)
      for (int y = 0; y < kRows; ++y)
        if (uint8_t type = mTypes[CellIndex(layer, x, y)]) positions.push_back({layer, x, y, type});
  return positions;
}

int TLevelLayout::PositionCount() const {
  int count = 0;
  for (uint8_t type : mTypes) count += type != kNoPosition;
  return count;
}

int TLevelLayout::CandidateCount() const {
  int count = 0;
  for (uint8_t type : mTypes) count += type == kCandidatePosition;
  return count;
}

int TLevelLayout::LayerCount() const {
  for (int layer = kLayers - 1; layer >= 0; --layer)
    for (int x = 0; x < kColumns; ++x)
      for (int y = 0; y < kRows; ++y)
        if (mTypes[CellIndex(layer, x, y)]) return layer + 1;
  return 0;
}
