#include "campaign/screens/campaign_location.h"

#include "campaign/game_app.h"
#include "campaign/record/location_info.h"

namespace {

int gCurrentLocation = kNoLocation;

// The level pictures of each location id; the end auction is held where the estate sale was.
constexpr const char* kBackgroundPlaces[kLocationCount] = {
    "attic",      "yardsale",     "fleamarket", "antiqueshop",
    "estatesale", "texasauction", "sothebys",   "estatesale"};
constexpr char kSpeedPlace[] = "speedauction";

}  // namespace

int CurrentLocationId() {
  return gCurrentLocation;
}

void SetCurrentLocationId(int id) {
  if (id < 0 || id >= kLocationCount) return;
  gCurrentLocation = id;
}

std::string LevelBackground(bool colour, int gameMode) {
  const int location = gCurrentLocation < 0 ? kGrammasAttic : gCurrentLocation;
  const std::string place =
      gameMode != kGameModeCampaign ? kSpeedPlace : kBackgroundPlaces[location];
  return "backgrounds/levels/" + place + (colour ? "_color" : "_bw");
}

std::string LocationSignLabel(int id) {
  const TLocationInfo* location = FindLocation(id);
  if (!location) location = FindLocation(kEstateSale);
  return "citymap_" + std::string(location->keyName);
}
