#include "campaign/record/treasure_table.h"

#include <array>
#include <vector>

#include "campaign/record/location_info.h"
#include "frame/log.h"
#include "game/face_catalogue.h"

namespace {

constexpr std::string_view kGrammasAtticTreasures[] = {
    "chair6", "candlestick4", "purse2", "chair4", "train4", "rubybrooch2", "earrings1", "art4",
};
constexpr std::string_view kYardSaleTreasures[] = {
    "sled1", "decoy1", "chair1",    "recordplayer1", "coin3",
    "case1", "rug1",   "earrings2", "teddy3",        "art12",
};
constexpr std::string_view kFleaMarketTreasures[] = {
    "art9",    "violin1", "book5",   "furniture1", "teapot9",    "pipe6",
    "chair12", "plane1",  "teapot3", "lute1",      "telephone3", "soldier2",
};
constexpr std::string_view kAntiqueShopTreasures[] = {
    "vessel5",    "rug4",    "doll6",        "lamp9",   "chair3",      "divinghelmet1", "car1",
    "telephone2", "chair14", "cameobrooch1", "violin3", "microscope1", "camera2",
};
constexpr std::string_view kEstateSaleTreasures[] = {
    "music2",  "vessel3", "teapot8", "record2", "teapot1",     "rubybrooch1", "lamp3", "figure6",
    "camera3", "chair7",  "pipe3",   "chair9",  "theodolite1", "projector1",  "case6",
};
constexpr std::string_view kTexasAuctionTreasures[] = {
    "guitar1", "rug3",   "furniture5", "teddy4",  "baseball2", "stamp6",  "doll9",
    "teddy1",  "hat1",   "stamp2",     "pipe7",   "music1",    "guitar3", "divinghelmet1",
    "train1",  "stamp9", "stamp3",     "stamp10", "doll2",
};
constexpr std::string_view kSothebysTreasures[] = {
    "mask4",   "art1",       "candlestick2", "vessel10",     "stamp1", "fork1",
    "scroll1", "ring3",      "book1",        "vessel1",      "ring4",  "lamp1",
    "figure2", "accord1",    "ivorybrooch1", "teapot11",     "doll4",  "teapot12",
    "purse4",  "furniture2", "coin1",        "cameobrooch3", "opera2",
};

constexpr std::array<std::span<const std::string_view>, kCampaignLocationCount> kTables{{
    kGrammasAtticTreasures,
    kYardSaleTreasures,
    kFleaMarketTreasures,
    kAntiqueShopTreasures,
    kEstateSaleTreasures,
    kTexasAuctionTreasures,
    kSothebysTreasures,
}};

bool HasTable(int location) {
  return location >= 0 && location < kCampaignLocationCount;
}

// The tables as faces. A name the catalogue lacks is logged and left out, so that a
// catalogue change cannot put a non-treasure into a deal.
std::array<std::vector<TFace>, kCampaignLocationCount> ResolveTables() {
  std::array<std::vector<TFace>, kCampaignLocationCount> faces;
  for (size_t location = 0; location < kTables.size(); ++location) {
    for (std::string_view name : kTables[location]) {
      const TFace face = FindFaceByShortName(name);
      if (face.IsNone() || !IsTreasureSuit(face.suit)) {
        Log("Treasure table %zu: '%.*s' is no treasure of the catalogue", location,
            static_cast<int>(name.size()), name.data());
        continue;
      }
      faces[location].push_back(face);
    }
  }
  return faces;
}

}  // namespace

std::span<const TFace> TreasureTable(int location) {
  static const std::array<std::vector<TFace>, kCampaignLocationCount> kFaces = ResolveTables();
  if (!HasTable(location)) return {};
  return kFaces[static_cast<size_t>(location)];
}

std::span<const std::string_view> TreasureTableNames(int location) {
  if (!HasTable(location)) return {};
  return kTables[static_cast<size_t>(location)];
}
