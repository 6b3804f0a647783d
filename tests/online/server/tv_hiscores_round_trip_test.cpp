// The game's own high-score client (TTvHiscores, with its HTTP client and its loader of
// the in-process server) against the real server: hiscored's service listening on
// 127.0.0.1, and tvservlet_stub.so in the program folder. Scores the game submits come
// back ranked.
#include <cstdlib>
#include <filesystem>

#include "data/settings.h"
#include "online/server/hiscore_server.h"
#include "online/server/sqlite_store.h"
#include "online/tv_hiscores.h"
#include "tests/online/online_test_fixture.h"
#include "tests/online/server/game_requests.h"

namespace fs = std::filesystem;

class THiscoreRoundTripTest : public OnlineTest {
 protected:
  void SetUp() override {
    OnlineTest::SetUp();
    SetSetting("encryptionkey", kKey);
    SetSetting("tvgamehandle", kGame);
    SetSetting("version", "1.0.0.0");
    program = folder / "program";
    fs::create_directories(program);
  }

  // hiscored's server in this process, on a free port, named in the "hiscoreserver" setting.
  void StartServer() {
    THiscoreConfig config = THiscoreConfig::Default();
    config.port = 0;
    config.threads = 2;
    config.passwordCost = {1, 8192};
    database = (folder / "server.db").string();
    server = std::make_unique<THiscoreServer>(config, StoreOpener<TSqliteStore>(database), "");
    std::string error;
    ASSERT_TRUE(server->Start(error)) << error;
    SetSetting("hiscoreserver",
               "http://127.0.0.1:" + std::to_string(server->Port()) + "/go/hiscore");
  }

  std::unique_ptr<TTvHiscores> Game(const std::string& player) {
    THiscoreSetup setup;
    setup.programFolder = program.string() + "/";
    setup.platform = &platform;
    auto hiscores = std::make_unique<TTvHiscores>(true, setup);
    hiscores->SetParameter(TTvHiscores::kPlayerName, player);
    hiscores->SetParameter(TTvHiscores::kCategory, kAdventure);
    return hiscores;
  }

  int Finish(TTvHiscores& hiscores, std::string* message = nullptr, bool* accepted = nullptr) {
    char buffer[512] = "";
    const int result = WaitWhile(TTvHiscores::kPollWorking,
                                 [&] { return hiscores.Poll(buffer, sizeof buffer, accepted); });
    if (message) *message = buffer;
    return result;
  }

  // The game's round: two players submit (one with an account, one without), then the
  // table list and the first table come back with the scores ranked.
  void PlayAndCheck() {
    auto ann = Game("Ann");
    ann->AddLocalScore(700, true, "level=7");
    bool accepted = false;
    ASSERT_TRUE(ann->SubmitScore("ann", "pw", true));
    std::string message;
    ASSERT_EQ(Finish(*ann, &message, &accepted), TTvHiscores::kPollDone) << message;
    EXPECT_TRUE(accepted);
    EXPECT_EQ(ann->GetPlayerEntry(false), nullptr) << "the submitted row is marked";

    auto bob = Game("Bob");
    bob->AddLocalScore(900, true);
    ASSERT_TRUE(bob->SubmitScore("Bob", "", false));  // as the screen does without an account
    ASSERT_EQ(Finish(*bob, &message, &accepted), TTvHiscores::kPollDone) << message;
    EXPECT_TRUE(accepted);

    ann->RequestTables();
    ASSERT_EQ(Finish(*ann, &message), TTvHiscores::kPollDone) << message;
    ASSERT_EQ(ann->GetTableCount(), 4);
    std::string name;
    ASSERT_TRUE(ann->GetTableName(1, &name));
    EXPECT_EQ(name, "This Month");

    ann->RequestScores(0);
    ASSERT_EQ(Finish(*ann, &message), TTvHiscores::kPollDone) << message;
    ASSERT_EQ(ann->GetRowCount(false), 2);
    const THiscoreRow* first = ann->GetRow(false, 0);
    EXPECT_EQ(first->name, "Bob");
    EXPECT_EQ(first->score, 900);
    EXPECT_EQ(first->rank, 1);
    EXPECT_TRUE(first->valid) << "the anonymous flag";
    const THiscoreRow* second = ann->GetRow(false, 1);
    EXPECT_EQ(second->name, "ann");
    EXPECT_EQ(second->rank, 2);
    EXPECT_EQ(second->gameData, "level=7");
    EXPECT_FALSE(second->valid);
    const THiscoreRow* entry = ann->GetPlayerEntry(true);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->rank, 2);

    // Medals for the account, then a wrong password, which makes the game forget it.
    ASSERT_TRUE(ann->SubmitMedals(GameMedalLines({1, 2}), "ann", "pw", true));
    ASSERT_EQ(Finish(*ann, &message), TTvHiscores::kPollDone) << message;
    ann->AddLocalScore(800, true);
    ASSERT_TRUE(ann->SubmitScore("ann", "not the password", true));
    EXPECT_EQ(Finish(*ann, &message), TTvHiscores::kPollFailed);
    EXPECT_FALSE(message.empty());
    EXPECT_FALSE(ann->GetAccount(&name, &message));
  }

  fs::path program;
  std::string database;
  std::unique_ptr<THiscoreServer> server;
};

TEST_F(THiscoreRoundTripTest, OverHttpAGameScoreComesBackRanked) {
  StartServer();
  PlayAndCheck();
  // Everything went through the server: its database holds both scores and the medals.
  TSqliteStore store(database);
  std::vector<TStoredScore> scores;
  ASSERT_TRUE(store.TopScores({kGame, kAdventure}, 0, 10, scores));
  EXPECT_EQ(scores.size(), 2u);
  std::optional<TStoredAccount> account;
  ASSERT_TRUE(store.FindAccount("ann", account));
  ASSERT_TRUE(account);
  EXPECT_EQ(store.Medals(account->id, kGame)->size(), 2u);
  server->Stop();
}

TEST_F(THiscoreRoundTripTest, InProcessAGameScoreComesBackRanked) {
  fs::copy_file(MC_STUB_PATH, program / "tvservlet_stub.so");
  setenv("TVSERVLET_DATA", folder.c_str(), 1);
  PlayAndCheck();
  unsetenv("TVSERVLET_DATA");
  EXPECT_TRUE(fs::exists(folder / "localscores.db"));
}
