#include "campaign/screens/treasure_gallery.h"

#include <algorithm>
#include <vector>

#include "campaign/game_app.h"
#include "campaign/record/location_info.h"
#include "campaign/record/treasure_table.h"
#include "campaign/screens/screen_functions.h"
#include "data/string_table.h"
#include "game/appraisal.h"
#include "game/face_catalogue.h"
#include "game/level_list.h"

namespace {

TFace Treasure(int location, int index) {
  if (location < 0 || location >= kCampaignLocationCount) return kNoFace;
  const auto table = TreasureTable(location);
  if (index < 0 || static_cast<size_t>(index) >= table.size()) return kNoFace;
  return table[static_cast<size_t>(index)];
}

TGameState* State() {
  TGameApp* game = TGameApp::Get();
  return game ? &game->State() : nullptr;
}

// The valued appraisal ("c") for faces with the antique look, as the end of a level shows.
TAppraisalSet SetOf(TFace face) {
  return HasAntiqueLook(face.suit) ? TAppraisalSet::kValued : TAppraisalSet::kHover;
}

}  // namespace

int GalleryTreasureCount(int location) {
  if (location < 0 || location >= kCampaignLocationCount) return 0;
  return static_cast<int>(TreasureTable(location).size());
}

std::string GalleryPicture(int location, int index, bool large) {
  const TFace face = Treasure(location, index);
  if (face.IsNone()) return {};
  return "tiles/" + std::string(FaceImageName(face)) + (large ? "_lg" : "_md");
}

bool GalleryOwned(int location, int index) {
  const TFace face = Treasure(location, index);
  TGameState* state = State();
  return state && !face.IsNone() && state->IsOwned(face);
}

std::string GalleryTitle(int location, int index) {
  const TFace face = Treasure(location, index);
  return face.IsNone() ? std::string() : AppraisalTitle(face, SetOf(face));
}

std::string GalleryBody(int location, int index) {
  const TFace face = Treasure(location, index);
  return face.IsNone() ? std::string() : AppraisalBody(face, SetOf(face));
}

std::string GalleryValue(int location, int index) {
  const TFace face = Treasure(location, index);
  return face.IsNone() ? std::string() : FormatCurrency(AppraisalAmount(face));
}

int GalleryDiamonds(int location, int index) {
  const TFace face = Treasure(location, index);
  return face.IsNone() ? 0 : DiamondRating(face);
}

std::string GallerySet(int location, int index) {
  const TFace face = Treasure(location, index);
  if (face.IsNone()) return {};
  TGameState* state = State();
  const bool complete = state && state->IsSetComplete(face.suit);
  return GetString(complete ? "gallery_set_complete" : "gallery_set", SuitDisplayName(face.suit));
}

// The totals count each treasure once: a face may be sold at two locations (the diving
// helmet is), and the player owns it once.
namespace {

std::vector<TFace> DistinctTreasures() {
  std::vector<TFace> faces;
  for (int location = 0; location < kCampaignLocationCount; ++location)
    for (const TFace face : TreasureTable(location))
      if (std::find(faces.begin(), faces.end(), face) == faces.end()) faces.push_back(face);
  return faces;
}

}  // namespace

int GalleryOwnedCount() {
  TGameState* state = State();
  if (!state) return 0;
  const std::vector<TFace> faces = DistinctTreasures();
  return static_cast<int>(
      std::count_if(faces.begin(), faces.end(), [&](TFace face) { return state->IsOwned(face); }));
}

int GalleryTotalCount() {
  return static_cast<int>(DistinctTreasures().size());
}

std::string CollectionValueText() {
  TGameState* state = State();
  return FormatCurrency(state ? state->CollectionValue() : 0);
}

std::string BankrollText() {
  TGameState* state = State();
  return FormatCurrency(state ? state->Progress().bankroll : 0);
}

std::string FinalScoreText() {
  TGameState* state = State();
  if (!state) return FormatCurrency(0);
  // Both are whole dollars below 2^31 each; the sum is kept in range.
  const long long sum =
      static_cast<long long>(state->Progress().bankroll) + state->CollectionValue();
  return FormatCurrency(static_cast<int>(std::min<long long>(sum, 2147483647LL)));
}

bool IsCampaignWon() {
  TGameState* state = State();
  return state && state->Progress().levelsBeatenCount >= kCampaignLevelCount;
}

bool HasGameEnded() {
  TGameState* state = State();
  return state && state->Progress().gameEnded;
}

void EndTheGame() {
  TGameState* state = State();
  if (!state) return;
  state->Progress().gameEnded = true;
  state->Progress().gallerySeen = true;
  state->Save(record_key::kGameEnded);
  state->Save(record_key::kGallerySeen);
}

void BindGalleryFunctions(TWindowManager& manager) {
  TScreenFunctions::BindLasting("GalleryTreasureCount", &GalleryTreasureCount, &manager);
  TScreenFunctions::BindLasting("GalleryPicture", &GalleryPicture, &manager);
  TScreenFunctions::BindLasting("GalleryOwned", &GalleryOwned, &manager);
  TScreenFunctions::BindLasting("GalleryTitle", &GalleryTitle, &manager);
  TScreenFunctions::BindLasting("GalleryBody", &GalleryBody, &manager);
  TScreenFunctions::BindLasting("GalleryValue", &GalleryValue, &manager);
  TScreenFunctions::BindLasting("GalleryDiamonds", &GalleryDiamonds, &manager);
  TScreenFunctions::BindLasting("GallerySet", &GallerySet, &manager);
  TScreenFunctions::BindLasting("GalleryOwnedCount", &GalleryOwnedCount, &manager);
  TScreenFunctions::BindLasting("GalleryTotalCount", &GalleryTotalCount, &manager);
  TScreenFunctions::BindLasting("CollectionValueText", &CollectionValueText, &manager);
  TScreenFunctions::BindLasting("BankrollText", &BankrollText, &manager);
  TScreenFunctions::BindLasting("FinalScoreText", &FinalScoreText, &manager);
  TScreenFunctions::BindLasting("IsCampaignWon", &IsCampaignWon, &manager);
  TScreenFunctions::BindLasting("HasGameEnded", &HasGameEnded, &manager);
  TScreenFunctions::BindLasting("EndTheGame", &EndTheGame, &manager);
}
