#include "game/tile_bag.h"

#include <algorithm>
#include <cmath>

#include "game/face_catalogue.h"

namespace {

constexpr int kTeacupSuit = 45;
constexpr int kMonthTeacupSuit = 46;

// The tutorial's own faces, added when its level has not been won: the lessons need
// pairs, a three of a kind, a family of four, a hint pair and the closing treasure.
constexpr std::pair<TFace, int> kTutorialFaces[] = {{{75, 0}, 2}, {{63, 0}, 2}, {{58, 0}, 3},
                                                    {{36, 0}, 1}, {{36, 1}, 1}, {{36, 2}, 1},
                                                    {{36, 3}, 1}, {{73, 0}, 2}, {{126, 0}, 2}};
constexpr int kTutorialFaceCount = 15;

// Suits held back until the player has come far enough: the many-variant and look-alike
// suits make early levels too hard.
constexpr int kBefore25[] = {5, 13, 17, 19, 23, 24, 27, 29, 30, 31, 32, 33, 38, 49};
constexpr int kBefore10[] = {2,  6,  7,  9,  10, 12, 14, 15, 16, 20, 21, 22, 25, 26,
                             35, 40, 41, 43, 44, 45, 47, 48, 51, 53, 54, 55, 56, 57,
                             59, 61, 62, 66, 67, 68, 69, 70, 71, 72, 76, 77};

bool HeldBack(int suit, int level) {
  auto in = [suit](const auto& list) {
    return std::find(std::begin(list), std::end(list), suit) != std::end(list);
  };
  return (level < 15 && suit == kMonthTeacupSuit) || (level < 25 && in(kBefore25)) ||
         (level < 10 && in(kBefore10));
}

bool IsTeacup(int suit) {
  return suit == kTeacupSuit || suit == kMonthTeacupSuit;
}

// Copies of the first and second treasure by the number of levels beaten.
struct TTreasureCopies {
  int first;
  int second;
};

TTreasureCopies TreasureCopies(int beaten) {
  if (beaten <= 3) return {2, 0};
  if (beaten <= 12) return {2, 2};
  if (beaten <= 17) return {4, 0};
  if (beaten <= 22) return {4, 2};
  if (beaten <= 29) return {3, 3};
  return {4, 4};
}

constexpr int kKennyFromLevelsBeaten = 9;

}  // namespace

TTileBag::TTileBag() {
  mList.reserve(kCapacity);
}

void TTileBag::Add(TFace face, int copies) {
  for (int i = 0; i < copies; ++i) mBuckets[face.suit].push_back(face);
}

int TTileBag::AddTreasures(const TBagRequest& request) {
  if (!request.pickTreasure) return 0;
  const TTreasureCopies copies = TreasureCopies(request.levelsBeaten);
  int added = 0;
  const TFace first = request.pickTreasure(kNoFace);
  if (IsCataloguedFace(first)) {
    Add(first, copies.first);
    added += copies.first;
  }
  if (copies.second > 0) {
    const TFace second = request.pickTreasure(first);
    if (IsCataloguedFace(second)) {
      Add(second, copies.second);
      added += copies.second;
    }
  }
  return added;
}

// Draws suits until their variant counts add up to the budget exactly. The draw stops
// early when no suit the rules allow can fit any more: below level 10 the allowed suits
// hold 50 faces in all, so a larger budget could never be filled.
void TTileBag::ChooseCommonSuits(int budget, int level, TMersenneTwister& random) {
  int used = 0;
  bool teacupSeen = false;
  auto allowed = [&](int suit) {
    return !HeldBack(suit, level) && !(teacupSeen && IsTeacup(suit)) &&
           std::find(mChosen.begin(), mChosen.end(), suit) == mChosen.end();
  };
  auto fits = [&](int suit) { return used + VariantCount(suit) <= budget; };
  while (used < budget) {
    bool anyFits = false;
    for (int suit = kFirstCommonSuit; suit <= kLastCommonSuit && !anyFits; ++suit)
      anyFits = allowed(suit) && fits(suit);
    if (!anyFits) break;
    const int suit = static_cast<int>(random.Next() % kLastCommonSuit) + kFirstCommonSuit;
    bool accept = allowed(suit) && fits(suit);
    // At most one of the two teacup suits in a level: the first one drawn closes both,
    // even when it is held back itself.
    if (IsTeacup(suit)) teacupSeen = true;
    if (!accept) continue;
    mChosen.push_back(suit);
    used += VariantCount(suit);
  }
}

bool TTileBag::Build(int n, const TBagRequest& request, TMersenneTwister& random) {
  for (auto& bucket : mBuckets) bucket.clear();
  mChosen.clear();
  if (n > kCapacity) return false;
  const int level = request.levelsBeaten + 1;
  if (request.gameMode == 1) {
    if (!request.tutorialWon) {
      for (const auto& [face, copies] : kTutorialFaces) Add(face, copies);
      n -= kTutorialFaceCount;
    } else {
      n -= AddTreasures(request);
      if (request.levelsBeaten >= kKennyFromLevelsBeaten) {
        Add(kKennyFace, 2);
        n -= 2;
      }
    }
  }
  if (n <= 0) return true;
  ChooseCommonSuits(static_cast<int>(std::ceil(n * 0.3)), level, random);
  for (int suit : mChosen)
    for (int variant = 0; variant < VariantCount(suit); ++variant) {
      Add({suit, variant}, 2);
      n -= 2;
    }
  // The rest in random pairs of the chosen suits, so every common face stays even. With
  // no suit chosen (nothing fitted) the positions stay empty.
  if (n > 0 && !mChosen.empty()) {
    const int pairs = (n + 1) / 2;
    for (int i = 0; i < pairs; ++i) {
      const int suit = mChosen[random.Next() % mChosen.size()];
      const int variant = static_cast<int>(random.Next() % VariantCount(suit));
      Add({suit, variant}, 2);
    }
  }
  return true;
}

void TTileBag::Flatten(TMersenneTwister& random) {
  mList.clear();
  for (const auto& bucket : mBuckets) mList.insert(mList.end(), bucket.begin(), bucket.end());
  Shuffle(random);
}

void TTileBag::Shuffle(TMersenneTwister& random) {
  const size_t length = mList.size();
  for (size_t i = 0; i < length; ++i) std::swap(mList[i], mList[random.Next() % length]);
}

void TTileBag::Clear() {
  mList.clear();
}

TFace TTileBag::Take(size_t index) {
  const TFace face = mList[index];
  mList[index] = kNoFace;
  return face;
}

TFace TTileBag::DrawNormal() {
  for (size_t i = 0; i < mList.size(); ++i)
    if (!mList[i].IsNone() && mList[i].suit < kFirstTreasureSuit) return Take(i);
  return kNoFace;
}

TFace TTileBag::DrawTreasure() {
  for (size_t i = 0; i < mList.size(); ++i)
    if (mList[i].suit >= kFirstTreasureSuit) return Take(i);
  return DrawNormal();
}

TFace TTileBag::DrawExact(TFace face) {
  if (face.IsNone()) return kNoFace;
  for (size_t i = 0; i < mList.size(); ++i)
    if (mList[i] == face) return Take(i);
  return kNoFace;
}

int TTileBag::CountTreasures() const {
  return static_cast<int>(std::count_if(mList.begin(), mList.end(), [](const TFace& face) {
    return face.suit >= kFirstTreasureSuit;
  }));
}

void TTileBag::Append(TFace face) {
  mList.push_back(face);
}

TFace TTileBag::TakeLast() {
  if (mList.empty()) return kNoFace;
  const TFace face = mList.back();
  mList.pop_back();
  return face;
}

std::span<const TFace> TTileBag::Bucket(int suit) const {
  return IsKnownSuit(suit) ? std::span<const TFace>(mBuckets[suit]) : std::span<const TFace>();
}
