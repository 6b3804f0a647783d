// hiscored as built, run as a process on 127.0.0.1: the game's requests over HTTP, the
// health and counter endpoints, the access log, a clean stop on SIGTERM, and a crash
// (kill -9) in the middle of a burst of submits.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>

#include "online/server/sqlite_store.h"
#include "tests/online/server/game_requests.h"
#include "tests/online/server/hiscored_process.h"
#include "tests/online/server/http_test_client.h"

namespace fs = std::filesystem;

class THiscoredTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("hiscored_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  bool StartServer(THiscoredProcess& server, std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {"--db", (folder / "hiscore.db").string(), "--access-log",
                                          (folder / "access.log").string()};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    const bool started = server.Start(MC_HISCORED_PATH, arguments, (folder / "stderr").string());
    EXPECT_TRUE(started) << server.Errors();
    return started;
  }
  // hiscored run to its end with these arguments; answers its exit code.
  int RunToEnd(const std::string& arguments) {
    const std::string command = std::string(MC_HISCORED_PATH) + " " + arguments + " 2>" +
                                (folder / "stderr").string() + " >/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static TParameterList Submission(const std::string& guid, int score) {
    TGameScore entry;
    entry.guid = guid;
    entry.name = "player";
    entry.score = score;
    return SubmitRequest(Encipher(GameScoreXml(entry)));
  }

  fs::path folder;
};

TEST_F(THiscoredTest, ServesTheGameOverHttpAndStopsCleanlyOnSigterm) {
  THiscoredProcess server;
  ASSERT_TRUE(StartServer(server));
  THttpTestClient client;
  THttpTestReply reply = client.Get(server.Url(), TablesRequest());
  ASSERT_TRUE(reply.ok);
  EXPECT_EQ(reply.status, 200);
  EXPECT_TRUE(ReadAnswer(reply.body).root->FindChild("tables"));

  // The cipher text is percent-encoded the game's way ("+", "/" and "=" escaped).
  reply = client.Get(server.Url(), Submission("5eed0000000000000000000000000001", 777));
  EXPECT_TRUE(ReadAnswer(reply.body).root->FindChild("score")) << reply.body;
  reply = client.Get(server.Url(), ScoresRequest(kAdventure, "alltime"));
  ASSERT_EQ(ReadAnswer(reply.body).Rows().size(), 1u);
  EXPECT_EQ(ReadAnswer(reply.body).Rows()[0]->GetAttribute("score"), "777");

  reply = client.Get(server.Url(), {{"action", "nonsense"}, {"game", kGame}});
  EXPECT_EQ(reply.status, 400);
  EXPECT_EQ(client.Get(server.Url("/elsewhere")).status, 404);

  reply = client.Get(server.Url("/health"));
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.body, "ok\n");
  reply = client.Get(server.Url("/metrics"));
  EXPECT_NE(reply.body.find("hiscored_requests_total{action=\"tables\",outcome=\"ok\"} 1\n"),
            std::string::npos)
      << reply.body;
  EXPECT_NE(reply.body.find("hiscored_refusals_total{reason=\"unknown_action\"} 1\n"),
            std::string::npos);
  EXPECT_NE(reply.body.find("hiscored_request_duration_seconds_count 6\n"), std::string::npos);

  EXPECT_EQ(server.Terminate(), 0);
  EXPECT_NE(server.Errors().find("SIGTERM received, stopping"), std::string::npos);
  EXPECT_NE(server.Errors().find("stopped"), std::string::npos);
  // One access-log line per request, without the enciphered parameter.
  const std::string log = Read(folder / "access.log");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 7) << log;
  EXPECT_NE(log.find(" GET /go/hiscore submit 200 ok"), std::string::npos) << log;
  EXPECT_EQ(log.find("score="), std::string::npos);

  // What was stored is there after a restart.
  THiscoredProcess again;
  ASSERT_TRUE(StartServer(again));
  reply = client.Get(again.Url(), ScoresRequest(kAdventure, std::nullopt));
  EXPECT_EQ(ReadAnswer(reply.body).Rows().size(), 1u);
  EXPECT_EQ(again.Terminate(), 0);
}

TEST_F(THiscoredTest, UnusableCommandLinesAndConfigurationsEndWithAReason) {
  EXPECT_EQ(RunToEnd("--port 99999"), 2);
  EXPECT_NE(Read(folder / "stderr").find("cannot use --port 99999"), std::string::npos);
  std::ofstream(folder / "bad.xml") << "<hiscored><table id=\"x\"/></hiscored>";
  EXPECT_EQ(RunToEnd("--config " + (folder / "bad.xml").string()), 2);
  EXPECT_NE(Read(folder / "stderr").find("bad.xml: <table> needs"), std::string::npos);
  EXPECT_EQ(RunToEnd("--db " + (folder / "no/such/folder/h.db").string() + " --port 0"), 1);
  EXPECT_NE(Read(folder / "stderr").find("cannot open"), std::string::npos)
      << Read(folder / "stderr");
}

// kill -9 while eight clients submit as fast as they can: after a restart every score
// the server acknowledged is there, and none twice.
TEST_F(THiscoredTest, EveryAcknowledgedScoreSurvivesAKillDuringABurst) {
  // All clients come from 127.0.0.1: no rate limits for this burst.
  std::ofstream(folder / "burst.xml") << "<hiscored><limits submits=\"0\"/></hiscored>";
  THiscoredProcess server;
  ASSERT_TRUE(
      StartServer(server, {"--access-log", "", "--config", (folder / "burst.xml").string()}));
  constexpr int kClients = 8;
  constexpr int kMaxPerClient = 400;
  std::mutex mutex;
  std::vector<std::string> acknowledged;
  std::atomic<int> answered{0};
  std::atomic<bool> stop{false};
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, c] {
      THttpTestClient client;
      for (int i = 0; i < kMaxPerClient && !stop; ++i) {
        char guid[40];
        std::snprintf(guid, sizeof guid, "c%02d%029d", c, i);
        const THttpTestReply reply = client.Get(server.Url(), Submission(guid, i), 5000);
        const TGameAnswer answer = ReadAnswer(reply.body);
        if (!reply.ok || reply.status != 200 || answer.Failed()) continue;
        ++answered;
        std::lock_guard lock(mutex);
        acknowledged.push_back(guid);
      }
    });
  }
  // Kill once a good part of the burst has been answered (bounded in time).
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (answered < 300 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  server.Kill();
  stop = true;
  for (std::thread& client : clients) client.join();
  ASSERT_GE(acknowledged.size(), 300u) << "the burst was too slow to test anything";

  TSqliteStore store((folder / "hiscore.db").string());
  ASSERT_TRUE(store.Opened()) << store.LastError();
  std::vector<TStoredScore> stored;
  ASSERT_TRUE(store.TopScores({kGame, kAdventure}, 0, 1000000, stored));
  std::multiset<std::string> guids;
  for (const TStoredScore& score : stored) guids.insert(score.guid);
  size_t lost = 0;
  for (const std::string& guid : acknowledged) {
    lost += guids.count(guid) == 0;
    EXPECT_EQ(guids.count(guid), 1u) << guid << " was acknowledged";
  }
  const size_t distinct = std::set<std::string>(guids.begin(), guids.end()).size();
  EXPECT_EQ(distinct, guids.size());
  std::printf(
      "crash test: %zu submits acknowledged before kill -9; after restart %zu stored, "
      "%zu acknowledged missing, %zu stored twice\n",
      acknowledged.size(), stored.size(), lost, guids.size() - distinct);

  // The server starts again on the same file and answers.
  THiscoredProcess again;
  ASSERT_TRUE(StartServer(again));
  THttpTestClient client;
  EXPECT_EQ(client.Get(again.Url("/health")).body, "ok\n");
  EXPECT_EQ(again.Terminate(), 0);
}
