#include "online/hiscore_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

THiscoreRow Row(int score, const std::string& name = "ann") {
  THiscoreRow row;
  row.score = score;
  row.name = name;
  row.guid = name + std::to_string(score);
  return row;
}

// "p12" and the like, appended piece by piece (chained temporaries upset GCC 12's -Wrestrict).
std::string Numbered(char prefix, int number) {
  std::string name(1, prefix);
  name += std::to_string(number);
  return name;
}

std::vector<int> Ranks(const THiscoreTable& table) {
  std::vector<int> ranks;
  for (const THiscoreRow& row : table.Rows()) ranks.push_back(row.rank);
  return ranks;
}

std::vector<std::string> Guids(const THiscoreTable& table) {
  std::vector<std::string> guids;
  for (const THiscoreRow& row : table.Rows()) guids.push_back(row.guid);
  return guids;
}

TEST(HiscoreTableTest, EqualScoresShareARankAndTheNextSkips) {
  THiscoreTable table;
  EXPECT_TRUE(table.Add(Row(300, "b"), false));
  EXPECT_TRUE(table.Add(Row(200, "d"), false));
  EXPECT_TRUE(table.Add(Row(500, "a"), false));
  EXPECT_TRUE(table.Add(Row(300, "c"), false));
  EXPECT_EQ(Ranks(table), (std::vector<int>{1, 2, 2, 4}));
  // A new equal score goes after the scores equal to it.
  EXPECT_EQ(Guids(table), (std::vector<std::string>{"a500", "b300", "c300", "d200"}));
  table.Add(Row(300, "e"), false);
  EXPECT_EQ(Ranks(table), (std::vector<int>{1, 2, 2, 2, 5}));
  EXPECT_EQ(table.Rows()[3].guid, "e300");
}

TEST(HiscoreTableTest, OnePerPlayerKeepsOnlyTheBest) {
  THiscoreTable table;
  table.Add(Row(400, "ann"), true);
  table.Add(Row(380, "bob"), true);
  EXPECT_FALSE(table.Add(Row(350, "ann"), true));
  EXPECT_FALSE(table.Add(Row(400, "ann"), true));
  EXPECT_EQ(Guids(table), (std::vector<std::string>{"ann400", "bob380"}));

  EXPECT_TRUE(table.Add(Row(450, "ann"), true));
  EXPECT_EQ(Guids(table), (std::vector<std::string>{"ann450", "bob380"}));
  EXPECT_EQ(Ranks(table), (std::vector<int>{1, 2}));

  // Without the rule a player may hold several rows.
  EXPECT_TRUE(table.Add(Row(100, "ann"), false));
  EXPECT_EQ(table.Rows().size(), 3u);
}

TEST(HiscoreTableTest, TheTableHoldsFiveHundredRows) {
  THiscoreTable table;
  for (int i = 0; i < 500; ++i) table.Add(Row(1000 - i, Numbered('p', i)), false);
  ASSERT_EQ(table.Rows().size(), THiscoreTable::kMaxRows);

  // A 501st score below all others does not get in; one equal to the lowest neither.
  EXPECT_FALSE(table.Add(Row(1, "late"), false));
  EXPECT_FALSE(table.Add(Row(501, "tie"), false));
  EXPECT_EQ(table.Rows().size(), 500u);
  EXPECT_EQ(table.Rows().back().score, 501);

  // A higher one pushes the lowest out.
  EXPECT_TRUE(table.Add(Row(2000, "top"), false));
  EXPECT_EQ(table.Rows().size(), 500u);
  EXPECT_EQ(table.Rows().front().guid, "top2000");
  EXPECT_EQ(table.Rows().back().score, 502);
  EXPECT_EQ(table.Rows().back().rank, 500);
}

TEST(HiscoreTableTest, AssignOrdersCutsAndRanks) {
  std::vector<THiscoreRow> rows;
  for (int i = 0; i < 600; ++i) rows.push_back(Row(i % 7, Numbered('r', i)));
  THiscoreTable table;
  table.Assign(rows);
  ASSERT_EQ(table.Rows().size(), 500u);
  EXPECT_EQ(table.Rows().front().score, 6);
  EXPECT_EQ(table.Rows().front().name, "r6");  // equal scores keep their order
  for (size_t i = 1; i < table.Rows().size(); ++i) {
    const THiscoreRow& before = table.Rows()[i - 1];
    const THiscoreRow& row = table.Rows()[i];
    EXPECT_GE(before.score, row.score);
    EXPECT_EQ(row.rank, row.score == before.score ? before.rank : static_cast<int>(i) + 1);
  }
}

TEST(HiscoreTableTest, FirstUnsubmittedSkipsSubmittedRowsAndOtherPlayers) {
  THiscoreTable table;
  table.Add(Row(900, "bob"), false);
  table.Add(Row(800, "ann"), false);
  table.Add(Row(700, "ann"), false);
  table.Rows()[1].submitted = true;
  ASSERT_NE(table.FirstUnsubmitted("ann"), nullptr);
  EXPECT_EQ(table.FirstUnsubmitted("ann")->score, 700);
  table.Rows()[2].submitted = true;
  EXPECT_EQ(table.FirstUnsubmitted("ann"), nullptr);
  EXPECT_EQ(table.FirstUnsubmitted("cid"), nullptr);
}

}  // namespace
