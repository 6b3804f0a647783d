// TTileBag: the faces a level is dealt from. Build fills it for a level of n positions —
// a few treasure tiles from the current location, sometimes a pair of Kenny tiles, and a
// random choice of common suits whose size and variety grow with the player's progress —
// grouped by suit; Flatten lays the faces out in one list in suit order and shuffles it;
// the deal draws from the list. The shuffle of a board in play reuses the list.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <vector>

#include "frame/mersenne_twister.h"
#include "game/face.h"

// What the bag needs to know of the player.
struct TBagRequest {
  // 1: the campaign (treasures, Kenny tiles, the tutorial's faces); 0: none of those.
  int gameMode = 1;
  bool tutorialWon = true;
  int levelsBeaten = 0;
  // The progress record's treasure pick: an unowned treasure face of the current location
  // other than the one given; kNoFace when none is left. No function: no treasures.
  std::function<TFace(TFace excluded)> pickTreasure;
};

class TTileBag {
 public:
  // The bag serves layouts of up to this many positions.
  static constexpr int kCapacity = 1330;

  TTileBag();

  // Empties the buckets and fills them for a level of n positions. False (with the
  // buckets left empty) when n is more than the bag holds.
  bool Build(int n, const TBagRequest& request, TMersenneTwister& random);
  // The buckets' faces into the list in suit order, then Shuffle.
  void Flatten(TMersenneTwister& random);
  // Swaps each list entry i with entry (random modulo length).
  void Shuffle(TMersenneTwister& random);
  // Empties the list.
  void Clear();

  // The first face in the list that is a Kenny tile or of a common suit; kNoFace when none.
  // A face drawn leaves an empty slot (kNoFace) behind.
  TFace DrawNormal();
  // The first treasure-look face; when there is none, DrawNormal.
  TFace DrawTreasure();
  // The first entry equal to the face; kNoFace when none.
  TFace DrawExact(TFace face);
  // List entries of the treasure look (suit 78 and above).
  int CountTreasures() const;

  // For the shuffle: appends a face to the list, and takes the last entry off it.
  void Append(TFace face);
  TFace TakeLast();

  std::span<const TFace> List() const { return mList; }
  std::span<const TFace> Bucket(int suit) const;
  // The common suits the last Build chose, in the order chosen.
  std::span<const int> ChosenSuits() const { return mChosen; }

 private:
  void Add(TFace face, int copies);
  int AddTreasures(const TBagRequest& request);
  void ChooseCommonSuits(int budget, int level, TMersenneTwister& random);
  TFace Take(size_t index);

  std::array<std::vector<TFace>, kSuitCount> mBuckets;
  std::vector<TFace> mList;  // taken entries stay in place as kNoFace
  std::vector<int> mChosen;
};
