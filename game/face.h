// What a tile shows: the face (suit, variant), and the suit classes every rule of the game
// is written in. Suits are numbered 0..129:
//   0         the Kenny tile (one picture whatever the variant number)
//   1..77     common suits, the random part of every deal
//   78..126   treasure suits: matching a pair of one ends the level
//   127..129  common suits drawn with the antique look
// Suits 78..129 have the antique look: antique blanks and a diamond rating.
// The progress record stores treasures as the same pair.
#pragma once

#include <cstdint>

struct TFace {
  int32_t suit = -1;
  int32_t variant = -1;

  bool operator==(const TFace&) const = default;
  // (-1, -1) and anything else with a negative part: no face (an empty bag slot, a
  // position the deal left empty, "no treasure won").
  constexpr bool IsNone() const { return suit < 0 || variant < 0; }
};

inline constexpr TFace kNoFace{-1, -1};

inline constexpr int kSuitCount = 130;
inline constexpr int kKennySuit = 0;
inline constexpr int kFirstCommonSuit = 1;
inline constexpr int kLastCommonSuit = 77;
inline constexpr int kFirstTreasureSuit = 78;
inline constexpr int kLastTreasureSuit = 126;
inline constexpr int kFirstAntiqueLookSuit = 78;
inline constexpr int kLastSuit = kSuitCount - 1;

inline constexpr TFace kKennyFace{kKennySuit, 0};

constexpr bool IsKnownSuit(int suit) {
  return suit >= 0 && suit < kSuitCount;
}
constexpr bool IsKennySuit(int suit) {
  return suit == kKennySuit;
}
constexpr bool IsTreasureSuit(int suit) {
  return suit >= kFirstTreasureSuit && suit <= kLastTreasureSuit;
}
constexpr bool HasAntiqueLook(int suit) {
  return suit >= kFirstAntiqueLookSuit;
}
// The suits a deal draws its common faces from (the antique-look commons 127..129 are
// never dealt).
constexpr bool IsCommonSuit(int suit) {
  return suit >= kFirstCommonSuit && suit <= kLastCommonSuit;
}
