#include "online/hiscore_response.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(HiscoreResponseTest, TablesList) {
  const THiscoreResponse response(
      "<?xml version=\"1.0\"?>\n<hiscore><tables>"
      "<table table=\"alltime\" name=\"All time\"/><other/>"
      "<table table=\"week\" name=\"This &amp; last week\"/></tables></hiscore>");
  ASSERT_TRUE(response.Valid());
  std::vector<THiscoreTableInfo> tables;
  ASSERT_TRUE(response.ReadTables(tables));
  EXPECT_EQ(tables, (std::vector<THiscoreTableInfo>{{"alltime", "All time"},
                                                    {"week", "This & last week"}}));
  std::vector<THiscoreRow> rows;
  int account;
  EXPECT_FALSE(response.ReadScores(rows, account));
}

TEST(HiscoreResponseTest, ScoresListWithTheAccountRow) {
  const THiscoreResponse response(
      "<hiscore><scores>"
      "<score name=\"Zed\" data=\"d1\" serverData=\"s1\" ver=\"1.0\" guid=\"g1\" "
      "anonymous=\"true\" score=\"900\" rank=\"1\"/>"
      "<score name=\"Ann\" guid=\"g2\" anonymous=\"false\" score=\"800\" rank=\"2\" "
      "account=\"true\"/>"
      "<score name=\"Bo\" score=\"800\" rank=\"2\" account=\"true\"/>"
      "</scores></hiscore>");
  ASSERT_TRUE(response.Valid());
  std::vector<THiscoreRow> rows;
  int account = 7;
  ASSERT_TRUE(response.ReadScores(rows, account));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(account, 1);  // the first row marked as the account's
  EXPECT_EQ(rows[0].name, "Zed");
  EXPECT_EQ(rows[0].gameData, "d1");
  EXPECT_EQ(rows[0].serverData, "s1");
  EXPECT_EQ(rows[0].version, "1.0");
  EXPECT_EQ(rows[0].guid, "g1");
  EXPECT_TRUE(rows[0].valid);
  EXPECT_EQ(rows[0].score, 900);
  EXPECT_EQ(rows[0].rank, 1);
  EXPECT_FALSE(rows[1].valid);
  EXPECT_EQ(rows[2].rank, 2);

  const THiscoreResponse empty("<hiscore><scores/></hiscore>");
  ASSERT_TRUE(empty.ReadScores(rows, account));
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(account, -1);
}

TEST(HiscoreResponseTest, RefusalsAndNonsense) {
  const THiscoreResponse message(
      "<hiscore><message>Name taken, try another</message><scores/></hiscore>");
  EXPECT_EQ(message.Problem(), THiscoreResponse::kUserMessage);
  EXPECT_EQ(message.ProblemText(), "Name taken, try another");

  const THiscoreResponse protocol("<hiscore><protocolError>bad ver</protocolError></hiscore>");
  EXPECT_EQ(protocol.Problem(), THiscoreResponse::kProtocolError);
  EXPECT_EQ(protocol.ProblemText(), "bad ver");

  for (const char* text : {"", "<html><body>502 Bad Gateway</body></html>", "hiscore", "<<<>>>",
                           "<scores><score/></scores>"}) {
    const THiscoreResponse nonsense(text);
    EXPECT_EQ(nonsense.Problem(), THiscoreResponse::kNotHiscoreXml) << text;
    std::vector<THiscoreTableInfo> tables;
    EXPECT_FALSE(nonsense.ReadTables(tables));
    EXPECT_FALSE(nonsense.Has("score"));
  }
}

TEST(HiscoreResponseTest, SubmitAnswers) {
  const THiscoreResponse accepted("<hiscore><score rank=\"3\"/></hiscore>");
  EXPECT_TRUE(accepted.Valid());
  EXPECT_TRUE(accepted.Has("score"));
  EXPECT_FALSE(accepted.Has("medals"));
  const THiscoreResponse kept("<hiscore/>");
  EXPECT_TRUE(kept.Valid());
  EXPECT_FALSE(kept.Has("score"));
}

}  // namespace
