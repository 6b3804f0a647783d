#include "campaign/record/location_info.h"

#include <array>

namespace {

constexpr std::array<TLocationInfo, kLocationCount> kLocations{{
    {kGrammasAttic, "grammasattic", 7, kYardSale},
    {kYardSale, "yardsale", 7, kFleaMarket},
    {kFleaMarket, "fleamarket", 7, kAntiqueShop},
    {kAntiqueShop, "antiqueshop", 7, kEstateSale},
    {kEstateSale, "estatesale", 7, kTexasAuction},
    {kTexasAuction, "texasauction", 7, kSothebys},
    {kSothebys, "sothebys", 8, kEndAuction},
    {kEndAuction, "endauction", 0, kNoLocation},
}};

constexpr int TotalDays() {
  int days = 0;
  for (const TLocationInfo& location : kLocations) days += location.days;
  return days;
}
static_assert(TotalDays() == kCampaignLevelCount, "one campaign level per day");

}  // namespace

std::span<const TLocationInfo> LocationTable() {
  return kLocations;
}

const TLocationInfo* FindLocation(int id) {
  for (const TLocationInfo& location : kLocations)
    if (location.id == id) return &location;
  return nullptr;
}

int FirstLevelOfLocation(int id) {
  int first = 0;
  for (const TLocationInfo& location : kLocations) {
    if (location.id == id) return first;
    first += location.days;
  }
  return -1;
}
