#include "online/tv_hiscores.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "data/base64.h"
#include "data/prefs_cipher.h"
#include "online/hiscore_file.h"
#include "tests/online/online_test_fixture.h"
#include "tests/online/test_http_server.h"

namespace {

namespace fs = std::filesystem;

constexpr char kKey[] = "KPlaxRD7wAAA";
constexpr char kAdventure[] = "mahjongcuriomar_adventure";
constexpr char kTables[] =
    "<?xml version=\"1.0\"?>\n<hiscore><tables><table table=\"alltime\" name=\"All time\"/>"
    "<table table=\"week\" name=\"This week\"/></tables></hiscore>";

using TParams = std::vector<std::pair<std::string, std::string>>;

// The query of a request target, decoded, in order.
TParams Query(const std::string& target) {
  TParams params;
  const size_t question = target.find('?');
  if (question == std::string::npos) return params;
  size_t start = question + 1;
  while (start <= target.size()) {
    size_t end = target.find('&', start);
    if (end == std::string::npos) end = target.size();
    const std::string pair = target.substr(start, end - start);
    const size_t equals = pair.find('=');
    params.emplace_back(pair.substr(0, equals), PercentDecode(pair.substr(equals + 1)));
    start = end + 1;
  }
  return params;
}

std::vector<std::string> Names(const TParams& params) {
  std::vector<std::string> names;
  for (const auto& [name, value] : params) names.push_back(name);
  return names;
}

std::string Param(const TParams& params, const std::string& name) {
  for (const auto& [key, value] : params)
    if (key == name) return value;
  return "(absent)";
}

class HiscoresTest : public OnlineTest {
 protected:
  void SetUp() override {
    OnlineTest::SetUp();
    SetSetting("encryptionkey", kKey);
    SetSetting("tvgamehandle", "mahjongcuriomar");
    SetSetting("version", "1.0.0.0");
    program = folder / "program";
    fs::create_directories(program);
  }

  // Every request to the test server is answered with the text Answer() last set.
  void Answer(std::string body) {
    std::lock_guard<std::mutex> lock(mutex);
    answer = std::move(body);
  }
  TTestHandler Handler() {
    return [this](const TTestRequest&) {
      std::lock_guard<std::mutex> lock(mutex);
      TTestReply reply;
      reply.body = answer;
      return reply;
    };
  }

  std::unique_ptr<TTvHiscores> Make(bool save = true) {
    THiscoreSetup setup;
    setup.programFolder = program.string() + "/";
    setup.contentFolder = content;
    setup.platform = &platform;
    auto hiscores = std::make_unique<TTvHiscores>(save, setup);
    hiscores->SetParameter(TTvHiscores::kPlayerName, "Ann");
    hiscores->SetParameter(TTvHiscores::kCategory, kAdventure);
    return hiscores;
  }
  std::unique_ptr<TTvHiscores> MakeFor(const TTestHttpServer& server) {
    SetSetting("hiscoreserver", server.Url("/go/hiscore"));
    return Make();
  }

  // Polls until the request is over; the message of a failure goes to *message.
  int Finish(TTvHiscores& hiscores, std::string* message = nullptr, bool* accepted = nullptr) {
    char buffer[512] = "untouched";
    const int result = WaitWhile(TTvHiscores::kPollWorking,
                                 [&] { return hiscores.Poll(buffer, sizeof buffer, accepted); });
    if (message) *message = buffer;
    return result;
  }

  // The XML of an enciphered request parameter.
  static std::string Deciphered(const std::string& base64) {
    const std::string plain = TPrefsCipher(kKey).Decrypt(Base64Decode(base64));
    return plain;
  }

  void WriteProgramFile(const std::string& name, const std::string& text) {
    std::ofstream(program / name, std::ios::binary) << text;
  }

  fs::path program;
  std::string content;  // THiscoreSetup::contentFolder; "" for the program folder
  std::mutex mutex;
  std::string answer = "<hiscore/>";
};

TEST_F(HiscoresTest, WithoutAServerNothingTouchesTheNetwork) {
  auto hiscores = Make();
  EXPECT_FALSE(hiscores->OnlineScoresAvailable());
  EXPECT_TRUE(hiscores->AddLocalScore(500, true));
  std::string message;
  hiscores->RequestTables();
  EXPECT_EQ(Finish(*hiscores, &message), TTvHiscores::kPollFailed);
  EXPECT_EQ(message, TTvHiscores::kOnlineOffMessage);
  hiscores->RequestScores(0);
  EXPECT_EQ(Finish(*hiscores), TTvHiscores::kPollFailed);
  EXPECT_TRUE(hiscores->SubmitScore("ann", "pw", false));
  EXPECT_EQ(Finish(*hiscores), TTvHiscores::kPollFailed);
  EXPECT_EQ(hiscores->GetRowCount(true), 1);
  EXPECT_EQ(platform.sessions, 0);
  EXPECT_NE(LogText().find("online scores are off"), std::string::npos);
}

TEST_F(HiscoresTest, ServerAddressFromTheSettingOrTheFile) {
  WriteProgramFile("hiscoreserver.txt", "  https://scores.example.org/custom/path \r\nignored\n");
  EXPECT_EQ(Make()->ServerUrl(), "https://scores.example.org/custom/path");
  WriteProgramFile("hiscoreserver.txt", "http://127.0.0.1:8080");
  EXPECT_EQ(Make()->ServerUrl(), "http://127.0.0.1:8080/go/hiscore");
  SetSetting("hiscoreserver", "http://localhost:9000/go/hiscore");
  EXPECT_EQ(Make()->ServerUrl(), "http://localhost:9000/go/hiscore");
  SetSetting("hiscoreserver", "ftp://example.org/");
  auto refused = Make();
  EXPECT_EQ(refused->ServerUrl(), "");
  EXPECT_FALSE(refused->OnlineScoresAvailable());
  EXPECT_EQ(platform.sessions, 0);  // no request was made
}

// Installed, the program folder is <prefix>/bin/ and the game's files are in the content
// folder <prefix>/share/<game>/: the server's address and the configuration are read there.
TEST_F(HiscoresTest, AnInstalledGameReadsItsServerFileFromTheContentFolder) {
  const fs::path share = folder / "share";
  fs::create_directories(share);
  content = share.string() + "/";
  WriteProgramFile("hiscoreserver.txt", "http://127.0.0.1:1/wrong");
  WriteProgramFile("hiscore.xml", "<hiscore><language>xx</language></hiscore>");
  auto without = Make();
  EXPECT_EQ(without->ServerUrl(), "");  // the program folder's files are not the game's
  EXPECT_FALSE(without->OnlineScoresAvailable());
  EXPECT_EQ(without->Language(), "en");
  std::ofstream(share / "hiscoreserver.txt") << "https://scores.example.org\n";
  std::ofstream(share / "hiscore.xml") << "<hiscore><language>de</language></hiscore>";
  auto installed = Make();
  EXPECT_EQ(installed->ServerUrl(), "https://scores.example.org/go/hiscore");
  EXPECT_EQ(installed->Language(), "de");
  EXPECT_NE(LogText().find("HiScores: server https://scores.example.org/go/hiscore"),
            std::string::npos);
}

TEST_F(HiscoresTest, RequestsCarryTheExactParameters) {
  TTestHttpServer server(Handler());
  auto hiscores = MakeFor(server);
  ASSERT_TRUE(hiscores->OnlineScoresAvailable());

  Answer(kTables);
  hiscores->RequestTables();
  ASSERT_EQ(Finish(*hiscores), TTvHiscores::kPollDone);
  hiscores->RequestScores(1);
  Finish(*hiscores);
  hiscores->RequestScores(5);  // beyond the list: no table
  Finish(*hiscores);
  hiscores->AddLocalScore(1234, true, "level=7", "<extra a=\"1\"/>");
  ASSERT_TRUE(hiscores->SubmitScore("ann online", "p&ss word", false));
  Finish(*hiscores);
  hiscores->RequestScores(0);  // the account just used names the player now
  Finish(*hiscores);
  ASSERT_TRUE(
      hiscores->SubmitMedals("<medal name=\"m\" per=\"game\"/>\r\n", "ann online", "pw", false));
  Finish(*hiscores);

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 6u);
  for (const TTestRequest& request : requests) {
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.target.rfind("/go/hiscore?lang=en&ver=1.0&", 0), 0u) << request.target;
  }
  EXPECT_EQ(requests[0].target, "/go/hiscore?lang=en&ver=1.0&action=tables&game=mahjongcuriomar");
  EXPECT_EQ(requests[1].target,
            "/go/hiscore?lang=en&ver=1.0&action=get&game=mahjongcuriomar&type=" +
                std::string(kAdventure) + "&table=week&numScores=500");
  EXPECT_EQ(requests[2].target,
            "/go/hiscore?lang=en&ver=1.0&action=get&game=mahjongcuriomar&type=" +
                std::string(kAdventure) + "&numScores=500");

  const TParams submit = Query(requests[3].target);
  EXPECT_EQ(Names(submit), (std::vector<std::string>{"lang", "ver", "game", "action", "score"}));
  EXPECT_EQ(Param(submit, "action"), "submit");
  const std::string guid = hiscores->Store().tables.at(kAdventure).Rows()[0].guid;
  ASSERT_EQ(guid.size(), 32u);
  EXPECT_EQ(Deciphered(Param(submit, "score")),
            "<?xml version=\"1.0\"?>\n<score guid=\"" + guid +
                "\" name=\"ann online\" password=\"p&amp;ss word\" type=\"" + kAdventure +
                "\" game=\"mahjongcuriomar\" score=\"1234\" data=\"level=7\" ver=\"1.0.0.0\">"
                "&lt;extra a=&quot;1&quot;/&gt;</score>");

  EXPECT_EQ(Param(Query(requests[4].target), "username"), "ann online");
  EXPECT_EQ(Names(Query(requests[4].target)).back(), "username");

  const TParams medals = Query(requests[5].target);
  EXPECT_EQ(Names(medals), (std::vector<std::string>{"lang", "ver", "game", "action", "medals"}));
  EXPECT_EQ(Param(medals, "action"), "medals");
  EXPECT_EQ(Deciphered(Param(medals, "medals")),
            "<?xml version=\"1.0\"?>\n<medals name=\"ann online\" password=\"pw\" "
            "game=\"mahjongcuriomar\"><medal name=\"m\" per=\"game\"/>\r\n</medals>");

  // A new player name forgets the username of the requests.
  hiscores->SetParameter(TTvHiscores::kPlayerName, "Bob");
  hiscores->RequestScores(0);
  Finish(*hiscores);
  EXPECT_EQ(Param(Query(server.Requests().back().target), "username"), "(absent)");
}

TEST_F(HiscoresTest, TablesAndScoresArrive) {
  TTestHttpServer server(Handler());
  auto hiscores = MakeFor(server);
  hiscores->AddLocalScore(700, true);
  const std::string ownGuid = hiscores->GetRow(true, 0)->guid;

  Answer(kTables);
  hiscores->RequestTables();
  ASSERT_EQ(Finish(*hiscores), TTvHiscores::kPollDone);
  ASSERT_EQ(hiscores->GetTableCount(), 2);
  std::string name;
  ASSERT_TRUE(hiscores->GetTableName(1, &name));
  EXPECT_EQ(name, "This week");
  EXPECT_FALSE(hiscores->GetTableName(2, &name));
  EXPECT_FALSE(hiscores->GetTableName(-1, &name));

  // Without an account row, the player's entry is the downloaded row of their name that
  // carries the guid of one of their local scores.
  Answer(
      "<hiscore><scores>"
      "<score name=\"Zed\" score=\"900\" rank=\"1\" guid=\"zz\" anonymous=\"true\"/>"
      "<score name=\"Ann\" score=\"800\" rank=\"2\" guid=\"someone-else\"/>"
      "<score name=\"Ann\" score=\"700\" rank=\"3\" guid=\"" +
      ownGuid + "\" data=\"d\"/></scores></hiscore>");
  hiscores->RequestScores(0);
  ASSERT_EQ(Finish(*hiscores), TTvHiscores::kPollDone);
  ASSERT_EQ(hiscores->GetRowCount(false), 3);
  EXPECT_TRUE(hiscores->GetRow(false, 0)->valid);
  EXPECT_EQ(hiscores->GetRow(false, 3), nullptr);
  const THiscoreRow* entry = hiscores->GetPlayerEntry(true);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->rank, 3);
  EXPECT_EQ(entry->gameData, "d");

  // With one, that row.
  Answer(
      "<hiscore><scores><score name=\"Zed\" score=\"900\" rank=\"1\"/>"
      "<score name=\"ann online\" score=\"10\" rank=\"2\" account=\"true\"/></scores></hiscore>");
  hiscores->RequestScores(0);
  ASSERT_EQ(Finish(*hiscores), TTvHiscores::kPollDone);
  ASSERT_NE(hiscores->GetPlayerEntry(true), nullptr);
  EXPECT_EQ(hiscores->GetPlayerEntry(true)->score, 10);

  // The local table is untouched by downloads.
  EXPECT_EQ(hiscores->GetRowCount(true), 1);
  EXPECT_EQ(hiscores->GetPlayerEntry(false)->score, 700);
}

TEST_F(HiscoresTest, ASubmittedScoreIsNeverSentAgain) {
  TTestHttpServer server(Handler());
  auto hiscores = MakeFor(server);
  EXPECT_FALSE(hiscores->SubmitScore("ann", "pw", true));  // no table yet
  hiscores->AddLocalScore(900, false);
  hiscores->AddLocalScore(300, false);
  hiscores->SetParameter(TTvHiscores::kPlayerName, "Bob");
  hiscores->AddLocalScore(500, false);
  hiscores->SetParameter(TTvHiscores::kPlayerName, "Ann");

  Answer("<hiscore><score rank=\"4\"/></hiscore>");
  ASSERT_TRUE(hiscores->SubmitScore("ann", "pw", true));
  bool accepted = false;
  ASSERT_EQ(Finish(*hiscores, nullptr, &accepted), TTvHiscores::kPollDone);
  EXPECT_TRUE(accepted);
  EXPECT_EQ(hiscores->GetPlayerEntry(false), nullptr);
  // Polling again repeats the answer without taking it in (and saving) again.
  const std::string saved = ReadDiskFile(folder / "hiscore.dat");
  std::ofstream(folder / "hiscore.dat", std::ios::binary) << "sentinel";
  accepted = false;
  EXPECT_EQ(hiscores->Poll(nullptr, 0, &accepted), TTvHiscores::kPollDone);
  EXPECT_TRUE(accepted);
  EXPECT_EQ(ReadDiskFile(folder / "hiscore.dat"), "sentinel");
  std::ofstream(folder / "hiscore.dat", std::ios::binary) << saved;
  EXPECT_FALSE(hiscores->SubmitScore("ann", "pw", true));
  EXPECT_EQ(server.Requests().size(), 1u);

  // Saved: a fresh start knows both rows were submitted, Bob's not, and the account.
  auto again = Make();
  EXPECT_TRUE(again->GetRow(true, 0)->submitted);
  EXPECT_FALSE(again->GetRow(true, 1)->submitted);
  EXPECT_TRUE(again->GetRow(true, 2)->submitted);
  EXPECT_FALSE(again->SubmitScore("ann", "pw", true));
  std::string account, password;
  ASSERT_TRUE(again->GetAccount(&account, &password));
  EXPECT_EQ(account, "ann");
  EXPECT_EQ(password, "pw");

  // A kept score (no `score` child) is still a submission: not accepted, but not resent.
  again->AddLocalScore(50, false);
  Answer("<hiscore/>");
  ASSERT_TRUE(again->SubmitScore("ann", "pw", false));
  ASSERT_EQ(Finish(*again, nullptr, &accepted), TTvHiscores::kPollDone);
  EXPECT_FALSE(accepted);
  EXPECT_FALSE(again->SubmitScore("ann", "pw", false));
  EXPECT_FALSE(again->GetAccount(nullptr, nullptr));
}

TEST_F(HiscoresTest, AMessageFailsWithItsText) {
  TTestHttpServer server(Handler());
  auto hiscores = MakeFor(server);
  Answer("<hiscore><message>Too many requests, wait a minute</message></hiscore>");
  hiscores->RequestTables();
  std::string message;
  ASSERT_EQ(Finish(*hiscores, &message), TTvHiscores::kPollFailed);
  EXPECT_EQ(message, "Too many requests, wait a minute");
  EXPECT_NE(LogText().find("HiScore User Message: Too many requests"), std::string::npos);

  // Cut to the buffer, always terminated.
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(hiscores->Poll(small, sizeof small, nullptr), TTvHiscores::kPollFailed);
  EXPECT_STREQ(small, "Too");
  EXPECT_EQ(hiscores->Poll(small, 0, nullptr), TTvHiscores::kPollFailed);

  // A submission refused with a message keeps the row for later.
  hiscores->AddLocalScore(10, true);
  ASSERT_TRUE(hiscores->SubmitScore("ann", "", false));
  ASSERT_EQ(Finish(*hiscores, &message), TTvHiscores::kPollFailed);
  EXPECT_NE(hiscores->GetPlayerEntry(false), nullptr);
}

TEST_F(HiscoresTest, FailureMessages) {
  int port;
  {
    TTestHttpServer gone(Handler());
    port = gone.Port();
  }
  SetSetting("hiscoreserver", "http://127.0.0.1:" + std::to_string(port) + "/go/hiscore");
  std::string message;
  {
    auto hiscores = Make();
    hiscores->RequestTables();
    ASSERT_EQ(Finish(*hiscores, &message), TTvHiscores::kPollFailed);
    EXPECT_EQ(message, TTvHiscores::kConnectFailedMessage);
  }
  WriteProgramFile("hiscore.xml",
                   "<hiscore><defaulterror>The score server is resting.</defaulterror></hiscore>");
  {
    auto hiscores = Make();
    hiscores->RequestTables();
    ASSERT_EQ(Finish(*hiscores, &message), TTvHiscores::kPollFailed);
    EXPECT_EQ(message, "The score server is resting.");
  }

  TTestHttpServer server(Handler());
  auto hiscores = MakeFor(server);
  // A scores answer that is no score list, before any table list arrived.
  Answer("<hiscore/>");
  hiscores->RequestScores(0);
  ASSERT_EQ(Finish(*hiscores, &message), TTvHiscores::kPollFailed);
  EXPECT_EQ(message, "Score request failed because no category information has been received yet");
  EXPECT_NE(LogText().find("HiScores parsed incorrectly"), std::string::npos);

  Answer("<hiscore><protocolError>Missing required parameter: type</protocolError></hiscore>");
  hiscores->RequestScores(0);
  ASSERT_EQ(Finish(*hiscores, &message), TTvHiscores::kPollFailed);
  EXPECT_EQ(message, "Score request failed because game mode is not valid");
  EXPECT_NE(LogText().find("HiScore Protocol Error: Missing required parameter: type"),
            std::string::npos);

  Answer("<hiscore><scores/></hiscore>");
  hiscores->RequestTables();
  ASSERT_EQ(Finish(*hiscores, &message), TTvHiscores::kPollFailed);
  EXPECT_EQ(message, "The score server is resting.");
  EXPECT_NE(LogText().find("HiScore Tables parsed incorrectly"), std::string::npos);

  Answer("<html>Bad gateway</html>");
  hiscores->RequestTables();
  ASSERT_EQ(Finish(*hiscores, &message), TTvHiscores::kPollFailed);
  EXPECT_NE(LogText().find("HiScore XML parsing error!"), std::string::npos);

  // Once the table list is there, a failed score request reports the server's message.
  Answer(kTables);
  hiscores->RequestTables();
  ASSERT_EQ(Finish(*hiscores), TTvHiscores::kPollDone);
  Answer("<hiscore><message>Table closed</message></hiscore>");
  hiscores->RequestScores(0);
  ASSERT_EQ(Finish(*hiscores, &message), TTvHiscores::kPollFailed);
  EXPECT_EQ(message, "Table closed");
}

TEST_F(HiscoresTest, WrongPasswordForgetsTheRememberedAccount) {
  TTestHttpServer server(Handler());
  auto hiscores = MakeFor(server);
  hiscores->AddLocalScore(10, true);
  Answer("<hiscore><message>hiscore.error.invalidUsernameOrPassword</message></hiscore>");
  ASSERT_TRUE(hiscores->SubmitScore("ann", "wrong", true));
  EXPECT_TRUE(hiscores->GetAccount(nullptr, nullptr));
  ASSERT_EQ(Finish(*hiscores), TTvHiscores::kPollFailed);
  EXPECT_FALSE(hiscores->GetAccount(nullptr, nullptr));
  EXPECT_TRUE(Make()->Store().accounts.empty());
}

TEST_F(HiscoresTest, SlowAndSilentServers) {
  SetSetting("http_timeout_ms", "600");
  TTestHttpServer server([](const TTestRequest& request) {
    TTestReply reply;
    if (request.target.find("action=tables") != std::string::npos) {
      reply.kind = TTestReply::kNeverAnswer;
    } else {
      reply.body =
          "<hiscore><scores><score name=\"slow\" score=\"1\" rank=\"1\"/></scores></hiscore>";
      reply.chunkBytes = 10;
      reply.delayMs = 20;
    }
    return reply;
  });
  auto hiscores = MakeFor(server);
  hiscores->RequestScores(0);
  ASSERT_EQ(Finish(*hiscores), TTvHiscores::kPollDone);
  EXPECT_EQ(hiscores->GetRow(false, 0)->name, "slow");

  std::string message;
  hiscores->RequestTables();
  EXPECT_EQ(hiscores->Poll(nullptr, 0, nullptr), TTvHiscores::kPollWorking);
  ASSERT_EQ(Finish(*hiscores, &message), TTvHiscores::kPollFailed);
  EXPECT_EQ(message, TTvHiscores::kConnectFailedMessage);
}

TEST_F(HiscoresTest, LanguageFromHiscoreXmlIsFixed) {
  WriteProgramFile("hiscore.xml",
                   "<?xml version=\"1.0\"?>\n<hiscore><language>de</language></hiscore>");
  auto locked = Make();
  EXPECT_EQ(locked->Language(), "de");
  locked->SetParameter(TTvHiscores::kLanguage, "fr");
  EXPECT_EQ(locked->Language(), "de");

  fs::remove(program / "hiscore.xml");
  auto free = Make();
  free->SetParameter(TTvHiscores::kLanguage, "fr");
  EXPECT_EQ(free->Language(), "fr");
}

TEST_F(HiscoresTest, SavedTablesSurviveARestart) {
  {
    auto hiscores = Make();
    hiscores->AddLocalScore(300, true, "g");
    hiscores->SetParameter(TTvHiscores::kCategory, "mahjongcuriomar_web");
    hiscores->AddLocalScore(50, true);
  }
  ASSERT_TRUE(fs::exists(folder / "hiscore.dat"));
  EXPECT_FALSE(fs::exists(folder / "hiscore.dat.tmp"));
  auto hiscores = Make();
  ASSERT_EQ(hiscores->GetRowCount(true), 1);
  EXPECT_EQ(hiscores->GetRow(true, 0)->score, 300);
  EXPECT_EQ(hiscores->GetRow(true, 0)->gameData, "g");
  EXPECT_EQ(hiscores->GetRow(true, 0)->version, "1.0.0.0");
  EXPECT_EQ(hiscores->GetRow(true, 0)->name, "Ann");
  hiscores->SetParameter(TTvHiscores::kCategory, "mahjongcuriomar_web");
  EXPECT_EQ(hiscores->GetRow(true, 0)->score, 50);
  hiscores->SetParameter(TTvHiscores::kCategory, "unknown");
  EXPECT_EQ(hiscores->GetRowCount(true), 0);
  EXPECT_EQ(hiscores->GetRow(true, 0), nullptr);

  // Without saving, nothing is written.
  const std::string before = ReadDiskFile(folder / "hiscore.dat");
  auto readOnly = Make(false);
  readOnly->AddLocalScore(999, true);
  EXPECT_EQ(ReadDiskFile(folder / "hiscore.dat"), before);
}

TEST_F(HiscoresTest, DamagedFileStartsEmptyAndIsKeptAside) {
  const std::string damaged = "this is not a score file, but someone may want it back";
  std::ofstream(folder / "hiscore.dat", std::ios::binary) << damaged;
  auto hiscores = Make();
  EXPECT_EQ(hiscores->GetRowCount(true), 0);
  EXPECT_NE(LogText().find("HiScores: Checksum did not match! Ignoring saved score data."),
            std::string::npos);
  EXPECT_EQ(ReadDiskFile(folder / "hiscore.dat"), damaged);  // untouched until a change

  hiscores->AddLocalScore(77, true);
  EXPECT_EQ(ReadDiskFile(folder / "hiscore.dat.damaged"), damaged);
  auto again = Make();
  ASSERT_EQ(again->GetRowCount(true), 1);
  EXPECT_EQ(again->GetRow(true, 0)->score, 77);
}

TEST_F(HiscoresTest, MissingKeyIsLoggedAndStillWorks) {
  SetSetting("encryptionkey", "");
  auto hiscores = Make();
  EXPECT_NE(LogText().find("ERROR: No encryption key set before TTvHiscores construction!"),
            std::string::npos);
  hiscores->AddLocalScore(5, true);
  EXPECT_EQ(Make()->GetRowCount(true), 1);
}

}  // namespace
