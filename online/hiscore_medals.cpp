#include "online/hiscore_medals.h"

#include <iterator>

namespace {

// Medal names by location id, from 1.
constexpr const char* kLocationMedals[] = {
    "mahjongcuriomar_yardsale",
    "mahjongcuriomar_fleamarket",
    "mahjongcuriomar_antiqueshop",
    "mahjongcuriomar_estatesale",
    "mahjongcuriomar_texasauction",
    "mahjongcuriomar_rothchildesauctionhouse",
    "mahjongcuriomar_curiomarauctiongalleries",
};

}  // namespace

std::string MedalsXml(const std::function<bool(int locationId)>& isUnlocked) {
  std::string medals;
  for (int id = 1; id <= static_cast<int>(std::size(kLocationMedals)); ++id) {
    if (!isUnlocked(id)) continue;
    medals += "<medal name=\"";
    medals += kLocationMedals[id - 1];
    medals += "\" per=\"game\"/>\r\n";
  }
  return medals;
}
