// Accounts, passwords, resubmitted guids and medals, on SQLite and on PostgreSQL.
#include "online/server/hiscore_reply.h"
#include "tests/online/server/hiscore_fixture.h"

namespace {

TGameScore AccountScore(const std::string& guid, const std::string& name,
                        const std::string& password, int score) {
  TGameScore entry;
  entry.guid = guid;
  entry.name = name;
  entry.password = password;
  entry.score = score;
  return entry;
}

}  // namespace

class THiscoreAccountsTest : public THiscoreFixture {
 protected:
  TGameAnswer Medals(const std::string& name, const std::string& password,
                     const std::vector<int>& locations) {
    const std::string xml = GameMedalsXml(name, password, GameMedalLines(locations));
    return ReadAnswer(Send(MedalsRequest(Encipher(xml))).body);
  }
  std::optional<TStoredAccount> Account(const std::string& nameKey) {
    std::optional<TStoredAccount> account;
    EXPECT_TRUE(OpenStore()->FindAccount(nameKey, account));
    return account;
  }
};

TEST_P(THiscoreAccountsTest, FirstSubmissionCreatesTheAccountWithAHashedPassword) {
  ASSERT_FALSE(Submit(AccountScore("a0000001", "Ada", "pa55word", 100)).Failed());
  const std::optional<TStoredAccount> account = Account("ada");
  ASSERT_TRUE(account);
  EXPECT_EQ(account->name, "Ada");
  EXPECT_TRUE(account->passwordHash.starts_with("$argon2id$")) << account->passwordHash;
  EXPECT_EQ(account->passwordHash.find("pa55word"), std::string::npos);
}

TEST_P(THiscoreAccountsTest, WrongPasswordIsRefusedWithTheGamesMessageAndStoresNothing) {
  ASSERT_FALSE(Submit(AccountScore("a0000001", "Ada", "right", 100)).Failed());
  const TServerReply reply =
      Send(SubmitRequest(Encipher(GameScoreXml(AccountScore("a0000002", "ADA", "wrong", 900)))));
  // The game looks for this text to forget the remembered account.
  EXPECT_NE(reply.body.find("hiscore.error.invalidUsernameOrPassword"), std::string::npos);
  const TGameAnswer answer = ReadAnswer(reply.body);
  EXPECT_TRUE(answer.Failed());
  EXPECT_FALSE(answer.Message().empty());
  EXPECT_EQ(StoredScores(), 1u);

  // Medals under the account are refused the same way.
  EXPECT_TRUE(Medals("Ada", "wrong", {1, 2}).Failed());
  // The right password still works, in any letter case of the name.
  EXPECT_FALSE(Submit(AccountScore("a0000003", "aDA", "right", 50)).Failed());
  EXPECT_EQ(StoredScores(), 2u);
}

TEST_P(THiscoreAccountsTest, RaceForANewNameLeavesOneAccountAndOnePassword) {
  // Two submissions for a new name arrive through different services (as on two server
  // processes): the first creates the account, the second must then know its password.
  std::unique_ptr<TStorePool> otherStores = NewPool();
  THiscoreService other(TestConfig(), *otherStores, [this] { return now; });
  TScoreSubmission submission;
  submission.game = kGame;
  submission.category = kAdventure;
  submission.guid = "b0000001";
  submission.name = "Bea";
  submission.password = "one";
  submission.score = 1;
  ASSERT_EQ(other.SubmitScore(submission).kind, THiscoreAnswer::TKind::kOk);
  const TGameAnswer second = Submit(AccountScore("b0000002", "bea", "two", 2));
  ASSERT_TRUE(second.root && second.root->FindChild("message"));
  EXPECT_EQ(second.root->FindChild("message")->GetAttribute("id"), kInvalidLoginId);
}

TEST_P(THiscoreAccountsTest, ResubmittedGuidIsCountedOnceAndAnsweredAsBefore) {
  const TGameScore score = AccountScore("c0000001", "Cy", "pw", 700);
  const TGameAnswer first = Submit(score);
  const TGameAnswer again = Submit(score);
  ASSERT_FALSE(again.Failed());
  ASSERT_TRUE(again.root->FindChild("score"));
  EXPECT_EQ(again.root->FindChild("score")->GetAttribute("rank"),
            first.root->FindChild("score")->GetAttribute("rank"));
  EXPECT_EQ(StoredScores(), 1u);

  // The same guid with another score: the first stays, the second is not counted (and the
  // game may mark its row submitted and move on).
  TGameScore changed = score;
  changed.score = 999999;
  const TGameAnswer other = Submit(changed);
  EXPECT_FALSE(other.Failed());
  EXPECT_FALSE(other.root->FindChild("score"));
  EXPECT_TRUE(other.root->FindChild("duplicate"));
  ASSERT_EQ(Scores().Rows().size(), 1u);
  EXPECT_EQ(Scores().Rows()[0]->GetAttribute("score"), "700");

  // A guid is unique per game mode, not across modes.
  TGameScore web = score;
  web.type = kWeb;
  EXPECT_TRUE(Submit(web).root->FindChild("score"));
  EXPECT_EQ(StoredScores(kWeb), 1u);
}

TEST_P(THiscoreAccountsTest, MedalsAreKeptOncePerAccount) {
  const TGameAnswer first = Medals("Dee", "pw", {1, 2, 3});
  ASSERT_FALSE(first.Failed()) << first.ProtocolError();
  const TXmlNode* medals = first.root->FindChild("medals");
  ASSERT_TRUE(medals) << "the game must not mark scores submitted after medals";
  EXPECT_EQ(medals->GetAttribute("added"), "3");

  const TGameAnswer second = Medals("dee", "pw", {2, 3, 4});
  EXPECT_EQ(second.root->FindChild("medals")->GetAttribute("added"), "1");
  EXPECT_EQ(second.root->FindChild("medals")->GetAttribute("total"), "4");

  const std::optional<TStoredAccount> account = Account("dee");
  ASSERT_TRUE(account);
  const auto stored = OpenStore()->Medals(account->id, kGame);
  ASSERT_TRUE(stored);
  ASSERT_EQ(stored->size(), 4u);
  EXPECT_EQ(stored->front().name, "mahjongcuriomar_antiqueshop");
  EXPECT_EQ(stored->front().per, "game");
}

INSTANTIATE_TEST_SUITE_P(Stores, THiscoreAccountsTest, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return info.param; });
