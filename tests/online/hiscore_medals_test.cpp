#include "online/hiscore_medals.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(HiscoreMedalsTest, OneLinePerUnlockedLocationInIdOrder) {
  const std::set<int> unlocked = {0, 7, 3, 8, 1};
  EXPECT_EQ(MedalsXml([&](int id) { return unlocked.count(id) > 0; }),
            "<medal name=\"mahjongcuriomar_yardsale\" per=\"game\"/>\r\n"
            "<medal name=\"mahjongcuriomar_antiqueshop\" per=\"game\"/>\r\n"
            "<medal name=\"mahjongcuriomar_curiomarauctiongalleries\" per=\"game\"/>\r\n");
  EXPECT_EQ(MedalsXml([](int) { return false; }), "");
  int asked = 0;
  MedalsXml([&](int id) {
    EXPECT_EQ(id, ++asked);
    return true;
  });
  EXPECT_EQ(asked, 7);
}

}  // namespace
