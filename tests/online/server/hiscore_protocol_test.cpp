// Round trips of the game's requests through the request handler, on SQLite and on
// PostgreSQL: the table list, scores coming back ranked, the tables of each period, the
// row cap and the requesting account's row.
#include <cstdio>

#include "tests/online/server/hiscore_fixture.h"

namespace {

std::string Guid(int n) {
  char text[40];
  std::snprintf(text, sizeof text, "%032x", n + 0x1000);
  return text;
}

TGameScore Anonymous(int n, const std::string& name, int score) {
  TGameScore entry;
  entry.guid = Guid(n);
  entry.name = name;
  entry.score = score;
  return entry;
}

std::vector<std::pair<std::string, std::string>> NamesAndRanks(const TGameAnswer& answer) {
  std::vector<std::pair<std::string, std::string>> rows;
  for (const TXmlNode* row : answer.Rows()) {
    rows.push_back({row->GetAttribute("name"), row->GetAttribute("rank")});
  }
  return rows;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

}  // namespace

using THiscoreProtocolTest = THiscoreFixture;

TEST_P(THiscoreProtocolTest, TableListNamesEveryPeriodTable) {
  const TServerReply reply = Send(TablesRequest());
  EXPECT_EQ(reply.status, 200);
  const TGameAnswer answer = ReadAnswer(reply.body);
  ASSERT_FALSE(answer.Failed()) << reply.body;
  const TXmlNode* tables = answer.root->FindChild("tables");
  ASSERT_TRUE(tables);
  Pairs listed;
  for (const auto& table : tables->Children()) {
    listed.push_back({table->GetAttribute("table"), table->GetAttribute("name")});
  }
  EXPECT_EQ(listed, (Pairs{{"alltime", "All Time"},
                           {"month", "This Month"},
                           {"week", "This Week"},
                           {"day", "Today"}}));
}

TEST_P(THiscoreProtocolTest, SubmittedScoreComesBackRankedWithEveryAttribute) {
  TGameScore score = Anonymous(1, "Ada", 4200);
  score.data = "level=12";
  score.version = "1.0.0.0";
  score.serverData = "gift";
  const TGameAnswer submitted = Submit(score);
  ASSERT_FALSE(submitted.Failed()) << submitted.ProtocolError() << submitted.Message();
  const TXmlNode* accepted = submitted.root->FindChild("score");
  ASSERT_TRUE(accepted) << "the game says 'accepted' only for a <score> child";
  EXPECT_EQ(accepted->GetAttribute("rank"), "1");
  EXPECT_EQ(accepted->GetAttribute("table"), "alltime");
  EXPECT_FALSE(submitted.root->FindChild("medals"));

  const TGameAnswer scores = Scores();
  ASSERT_FALSE(scores.Failed());
  const std::vector<TXmlNode*> rows = scores.Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0]->GetAttribute("name"), "Ada");
  EXPECT_EQ(rows[0]->GetAttribute("score"), "4200");
  EXPECT_EQ(rows[0]->GetAttribute("rank"), "1");
  EXPECT_EQ(rows[0]->GetAttribute("data"), "level=12");
  EXPECT_EQ(rows[0]->GetAttribute("serverData"), "gift");
  EXPECT_EQ(rows[0]->GetAttribute("ver"), "1.0.0.0");
  EXPECT_EQ(rows[0]->GetAttribute("guid"), score.guid);
  EXPECT_EQ(rows[0]->GetAttribute("anonymous"), "true");
  EXPECT_FALSE(rows[0]->HasAttribute("account"));
}

TEST_P(THiscoreProtocolTest, EqualScoresShareARankInTheOrderTheyCame) {
  Submit(Anonymous(1, "first300", 300));
  Submit(Anonymous(2, "top", 500));
  Submit(Anonymous(3, "second300", 300));
  Submit(Anonymous(4, "low", 100));
  Submit(Anonymous(5, "third300", 300));
  EXPECT_EQ(
      NamesAndRanks(Scores()),
      (Pairs{
          {"top", "1"}, {"first300", "2"}, {"second300", "2"}, {"third300", "2"}, {"low", "5"}}));
}

TEST_P(THiscoreProtocolTest, ModesKeepSeparateTables) {
  Submit(Anonymous(1, "adventurer", 10));
  TGameScore web = Anonymous(2, "surfer", 20);
  web.type = kWeb;
  Submit(web);
  EXPECT_EQ(NamesAndRanks(Scores(kAdventure)), (Pairs{{"adventurer", "1"}}));
  EXPECT_EQ(NamesAndRanks(Scores(kWeb)), (Pairs{{"surfer", "1"}}));
}

TEST_P(THiscoreProtocolTest, PeriodTablesHoldOnlyTheirPeriod) {
  const int64_t wednesday = 1715760000;  // 2024-05-15 08:00 UTC
  now = wednesday;
  now = wednesday - 40 * 86400;  // April
  Submit(Anonymous(1, "april", 900));
  now = wednesday - 2 * 86400;  // Monday of this week
  Submit(Anonymous(2, "monday", 800));
  now = wednesday - 86400 * 6;  // Thursday of last week, still this month
  Submit(Anonymous(3, "lastweek", 700));
  now = wednesday;
  Submit(Anonymous(4, "today", 600));

  auto names = [&](const char* table) {
    std::vector<std::string> list;
    for (const auto& [name, rank] : NamesAndRanks(Scores(kAdventure, table))) list.push_back(name);
    return list;
  };
  using Names = std::vector<std::string>;
  EXPECT_EQ(names("alltime"), (Names{"april", "monday", "lastweek", "today"}));
  EXPECT_EQ(names("month"), (Names{"monday", "lastweek", "today"}));
  EXPECT_EQ(names("week"), (Names{"monday", "today"}));
  EXPECT_EQ(names("day"), (Names{"today"}));
  // Without a table the first one is meant (the game asks so when its index is beyond
  // the list).
  EXPECT_EQ(NamesAndRanks(Scores()).size(), 4u);

  // Midnight starts a new day table: the cached one is not served.
  now = wednesday + 86400;
  EXPECT_TRUE(names("day").empty());
  EXPECT_EQ(names("week"), (Names{"monday", "today"}));
}

TEST_P(THiscoreProtocolTest, TablesKeepTheConfiguredNumberOfRows) {
  THiscoreConfig config = TestConfig();
  config.limits.tableRows = 5;
  Restart(config);
  for (int i = 0; i < 5; ++i) Submit(Anonymous(i, "p" + std::to_string(i), 100 + i));
  // Below all five in every table: stored, but placed in none.
  const TGameAnswer low = Submit(Anonymous(10, "low", 50));
  ASSERT_FALSE(low.Failed());
  EXPECT_FALSE(low.root->FindChild("score"));
  EXPECT_TRUE(low.root->FindChild("submitted"));
  // A better one pushes the lowest out of the table.
  const TGameAnswer high = Submit(Anonymous(11, "high", 1000));
  ASSERT_TRUE(high.root->FindChild("score"));
  EXPECT_EQ(NamesAndRanks(Scores()),
            (Pairs{{"high", "1"}, {"p4", "2"}, {"p3", "3"}, {"p2", "4"}, {"p1", "5"}}));
  EXPECT_EQ(StoredScores(), 7u);

  TParameterList fewer = ScoresRequest(kAdventure, std::nullopt);
  fewer[5].second = "2";  // numScores
  EXPECT_EQ(ReadAnswer(Send(fewer).body).Rows().size(), 2u);
}

TEST_P(THiscoreProtocolTest, TheRequestingAccountsFirstRowIsMarked) {
  TGameScore own = Anonymous(1, "Ada", 300);
  own.password = "secret";
  Submit(own);
  own.guid = Guid(2);
  own.score = 100;
  Submit(own);
  Submit(Anonymous(3, "ada", 500));  // the same name without an account
  const TGameAnswer scores = Scores(kAdventure, std::nullopt, "ADA");
  std::vector<std::string> marks;
  for (const TXmlNode* row : scores.Rows()) {
    marks.push_back(row->GetAttribute("anonymous") + "/" + row->GetAttribute("account"));
  }
  EXPECT_EQ(marks, (std::vector<std::string>{"true/", "false/true", "false/"}));
  // Without a user name no row is marked.
  const TGameAnswer unnamed = Scores();
  for (const TXmlNode* row : unnamed.Rows()) EXPECT_FALSE(row->HasAttribute("account"));
}

TEST_P(THiscoreProtocolTest, EightBitNamesComeBackAsTheGameWroteThem) {
  TGameScore score = Anonymous(1, "Jos\xe9 & <Ren\xe9>", 10);
  score.data = "a\"b";
  ASSERT_FALSE(Submit(score).Failed());
  const TGameAnswer scores = Scores();
  const std::vector<TXmlNode*> rows = scores.Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0]->GetAttribute("name"), "Jos\xe9 & <Ren\xe9>");
  EXPECT_EQ(rows[0]->GetAttribute("data"), "a\"b");
  // The database holds UTF-8.
  std::vector<TStoredScore> stored;
  ASSERT_TRUE(OpenStore()->TopScores({kGame, kAdventure}, 0, 10, stored));
  EXPECT_EQ(stored.at(0).name, "Jos\xc3\xa9 & <Ren\xc3\xa9>");
}

TEST_P(THiscoreProtocolTest, ScoresStoredByAnotherServerAreSeenAtTheNextRead) {
  Submit(Anonymous(1, "here", 10));
  ASSERT_EQ(Scores().Rows().size(), 1u);  // now cached
  // A second service over the same database, as a second server process would be.
  std::unique_ptr<TStorePool> otherStores = NewPool();
  THiscoreService other(TestConfig(), *otherStores, [this] { return now; });
  TScoreSubmission submission;
  submission.game = kGame;
  submission.category = kAdventure;
  submission.guid = Guid(2);
  submission.name = "there";
  submission.score = 20;
  ASSERT_EQ(other.SubmitScore(submission).kind, THiscoreAnswer::TKind::kOk);
  EXPECT_EQ(NamesAndRanks(Scores()), (Pairs{{"there", "1"}, {"here", "2"}}));
}

INSTANTIATE_TEST_SUITE_P(Stores, THiscoreProtocolTest, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return info.param; });
