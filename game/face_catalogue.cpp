#include "game/face_catalogue.h"

#include <array>

namespace {

// kFaceRows, generated from the catalogue file.
#include "game/face_table.inc"

static_assert(std::size(kFaceRows) == kCatalogueFaceCount,
              "the face count of face_catalogue.h must match the catalogue file");
constexpr int kFaceCount = kCatalogueFaceCount;

// The row of each suit's variant 0 and its variant count. The generator has already
// refused a catalogue out of suit and variant order.
struct TSuitIndex {
  std::array<int, kSuitCount> firstRow{};
  std::array<int, kSuitCount> variants{};
};

constexpr TSuitIndex MakeSuitIndex() {
  TSuitIndex index;
  for (int row = kFaceCount - 1; row >= 0; --row) {
    const TFaceRow& face = kFaceRows[row];
    index.firstRow[face.suit] = row;
    ++index.variants[face.suit];
  }
  return index;
}

constexpr TSuitIndex kSuits = MakeSuitIndex();

// The catalogue and the rules must agree: each face's flags follow the suit classes, its
// short name is the end of its picture name, and each suit has one display key and at
// least one variant (exactly one for the Kenny suit). A disagreement stops the build.
constexpr bool CatalogueAgreesWithRules() {
  for (const TFaceRow& face : kFaceRows) {
    if (!IsKnownSuit(face.suit)) return false;
    if (face.treasure != IsTreasureSuit(face.suit) ||
        face.antiqueLook != HasAntiqueLook(face.suit) || face.kenny != IsKennySuit(face.suit))
      return false;
    const size_t slash = face.imageBase.rfind('/');
    if (slash == std::string_view::npos || face.imageBase.substr(slash + 1) != face.shortName)
      return false;
    if (face.displayKey != kFaceRows[kSuits.firstRow[face.suit]].displayKey) return false;
  }
  for (int suit = 0; suit < kSuitCount; ++suit)
    if (kSuits.variants[suit] < 1) return false;
  return kSuits.variants[kKennySuit] == 1;
}
static_assert(CatalogueAgreesWithRules(),
              "content/catalogue/faces.csv disagrees with the suit classes of game/face.h");

}  // namespace

std::span<const TFaceRow> CatalogueFaces() {
  return kFaceRows;
}

int VariantCount(int suit) {
  return IsKnownSuit(suit) ? kSuits.variants[suit] : 0;
}

const TFaceRow* FindFaceRow(TFace face) {
  if (!IsKnownSuit(face.suit)) return nullptr;
  if (IsKennySuit(face.suit)) return &kFaceRows[kSuits.firstRow[kKennySuit]];
  if (face.variant < 0 || face.variant >= kSuits.variants[face.suit]) return nullptr;
  return &kFaceRows[kSuits.firstRow[face.suit] + face.variant];
}

int FaceIndex(TFace face) {
  const TFaceRow* row = FindFaceRow(face);
  return row ? static_cast<int>(row - kFaceRows) : -1;
}

bool IsCataloguedFace(TFace face) {
  return !face.IsNone() && FindFaceRow(face) != nullptr;
}

TFace FindFaceByShortName(std::string_view shortName) {
  for (const TFaceRow& face : kFaceRows)
    if (face.shortName == shortName) return face.Face();
  return kNoFace;
}

std::string_view FaceImageName(TFace face) {
  const TFaceRow* row = FindFaceRow(face);
  return row ? row->imageBase : std::string_view();
}

std::string_view FaceShortName(TFace face) {
  const TFaceRow* row = FindFaceRow(face);
  return row ? row->shortName : std::string_view();
}

std::string_view SuitDisplayKey(int suit) {
  return IsKnownSuit(suit) ? kFaceRows[kSuits.firstRow[suit]].displayKey : std::string_view();
}
