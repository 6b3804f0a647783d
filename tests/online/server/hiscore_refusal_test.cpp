// Every class of bad request is answered with an error the game can read, and changes
// nothing that is stored; the rate limits and the address they count.
#include "data/base64.h"
#include "data/prefs_cipher.h"
#include "tests/online/server/hiscore_fixture.h"

namespace {

TGameScore GoodScore() {
  TGameScore score;
  score.guid = "0123456789abcdef0123456789abcdef";
  score.name = "Eve";
  score.score = 1234;
  return score;
}

// The submit request with one change to the score XML.
TParameterList SubmitWith(std::string xml) {
  return SubmitRequest(Encipher(xml));
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

struct TBadRequest {
  const char* what;
  TParameterList parameters;
  int status;  // expected HTTP status
};

std::vector<TBadRequest> BadRequests() {
  const std::string good = GameScoreXml(GoodScore());
  const std::string goodCipher = Encipher(good);
  TParameterList noAction = SubmitRequest(goodCipher);
  noAction.erase(noAction.begin() + 3);
  TParameterList repeated = SubmitRequest(goodCipher);
  repeated.push_back({"score", goodCipher});
  TParameterList many = TablesRequest();
  for (int i = 0; i < 16; ++i) many.push_back({"x" + std::to_string(i), "1"});
  TParameterList oldVersion = SubmitRequest(goodCipher);
  oldVersion[1].second = "2.0";
  TParameterList otherGame = SubmitRequest(goodCipher);
  otherGame[2].second = "othergame";
  TParameterList unknownAction = TablesRequest();
  unknownAction[2].second = "delete";
  TParameterList noRows = ScoresRequest(kAdventure, std::nullopt);
  noRows[5].second = "0";
  TParameterList wordRows = ScoresRequest(kAdventure, std::nullopt);
  wordRows[5].second = "all";
  TParameterList noType = ScoresRequest(kAdventure, std::nullopt);
  noType.erase(noType.begin() + 4);

  // Cipher texts that are not what the game's cipher writes.
  const std::string bytes = TPrefsCipher(kKey).Encrypt(good);
  std::string flipped = goodCipher;
  flipped[flipped.size() - 6] = flipped[flipped.size() - 6] == 'A' ? 'B' : 'A';
  std::string strayBits = Base64Encode(bytes.substr(0, 7));  // 7 bytes: "xxxxxxxxxx=", padded
  const std::string unpadded =
      Base64Encode(TPrefsCipher(kKey).Encrypt("x").substr(0, 8) + std::string(8, '\0'));

  return {
      {"no action", noAction, 400},
      {"unknown action", unknownAction, 400},
      {"repeated parameter", repeated, 400},
      {"too many parameters", many, 400},
      {"parameter too long", SubmitRequest(std::string(9000, 'A')), 400},
      {"protocol version", oldVersion, 400},
      {"unknown game", otherGame, 400},
      {"scores without a type", noType, 400},
      {"unknown type", ScoresRequest("chess", std::nullopt), 400},
      {"unknown table", ScoresRequest(kAdventure, "decade"), 400},
      {"no rows asked for", noRows, 400},
      {"rows not a number", wordRows, 400},
      {"empty score parameter", SubmitRequest(""), 400},
      {"not base64", SubmitRequest("not*base64!"), 400},
      {"base64 of a partial block", SubmitRequest(strayBits), 400},
      {"another key", SubmitRequest(Encipher(good, "OtherKeyAAAA")), 400},
      {"damaged cipher text", SubmitRequest(flipped), 400},
      {"bad padding", SubmitRequest(unpadded), 400},
      {"not XML", SubmitWith("score=1234 name=Eve"), 400},
      {"another element",
       SubmitWith(Replace(Replace(good, "<score", "<scores"), "</score>", "</scores>")), 400},
      {"two elements", SubmitWith(good + "<score guid=\"x\" />"), 400},
      {"no guid", SubmitWith(Replace(good, "guid=", "guide=")), 400},
      {"repeated attribute", SubmitWith(Replace(good, " name=", " name=\"Mallory\" name=")), 400},
      {"unquoted attribute", SubmitWith(Replace(good, "score=\"1234\"", "score=1234")), 400},
      {"score not a number", SubmitWith(Replace(good, "score=\"1234", "score=\"12e4")), 400},
      {"score too large", SubmitWith(Replace(good, "score=\"1234", "score=\"99999999999")), 400},
      {"negative score", SubmitWith(Replace(good, "score=\"1234", "score=\"-5")), 400},
      {"bad guid", SubmitWith(Replace(good, "0123456789abcdef", "0123'; DROP--")), 400},
      {"empty name", SubmitWith(Replace(good, "name=\"Eve\"", "name=\"  \"")), 400},
      {"control byte in name", SubmitWith(Replace(good, "Eve", "E&#10;ve")), 400},
      {"name too long", SubmitWith(Replace(good, "Eve", std::string(41, 'e'))), 400},
      {"game data too long",
       SubmitWith(Replace(good, " type=", " data=\"" + std::string(600, 'd') + "\" type=")), 400},
      {"empty password", SubmitWith(Replace(good, " type=", " password=\"\" type=")), 400},
      {"XML of another game", SubmitWith(Replace(good, "game=\"mahjongcuriomar\"", "game=\"x\"")),
       400},
      {"child elements", SubmitWith(Replace(good, "</score>", "<extra /></score>")), 400},
      {"medals without a password",
       MedalsRequest(Encipher(Replace(GameMedalsXml("Eve", "pw", ""), " password=\"pw\"", ""))),
       400},
      {"medals with a foreign element",
       MedalsRequest(Encipher(GameMedalsXml("Eve", "pw", "<trophy name=\"x\"/>"))), 400},
      {"medal with a bad name",
       MedalsRequest(Encipher(GameMedalsXml("Eve", "pw", "<medal name=\"a b\" per=\"game\"/>"))),
       400},
  };
}

}  // namespace

class THiscoreRefusalTest : public THiscoreFixture {};

TEST_P(THiscoreRefusalTest, EveryBadRequestIsAnsweredAndStoresNothing) {
  for (const TBadRequest& bad : BadRequests()) {
    const TServerReply reply = Send(bad.parameters);
    EXPECT_EQ(reply.status, bad.status) << bad.what << ": " << reply.body;
    const TGameAnswer answer = ReadAnswer(reply.body);
    EXPECT_TRUE(answer.Failed()) << bad.what << ": " << reply.body;
    EXPECT_FALSE(answer.ProtocolError().empty() && answer.Message().empty()) << bad.what;
  }
  EXPECT_EQ(StoredScores(), 0u);
  EXPECT_EQ(OpenStore()->Revision({kGame, kAdventure}), 0);
  std::optional<TStoredAccount> account;
  ASSERT_TRUE(OpenStore()->FindAccount("eve", account));
  EXPECT_FALSE(account) << "a refused medals request must not create its account";
  // The good request these were made from is taken.
  EXPECT_FALSE(Submit(GoodScore()).Failed());
  EXPECT_EQ(StoredScores(), 1u);
}

TEST_P(THiscoreRefusalTest, MissingTypeUsesTheTextTheGameRecognises) {
  TParameterList request = ScoresRequest(kAdventure, std::nullopt);
  request.erase(request.begin() + 4);
  EXPECT_EQ(ReadAnswer(Send(request).body).ProtocolError(), "Missing required parameter: type");
}

TEST_P(THiscoreRefusalTest, OnlyGetIsServed) {
  const TServerReply reply = Send(TablesRequest(), "127.0.0.1", "POST");
  EXPECT_EQ(reply.status, 405);
  EXPECT_TRUE(ReadAnswer(reply.body).Failed());
}

TEST_P(THiscoreRefusalTest, RateLimitsCountEachClientAddress) {
  THiscoreConfig config = TestConfig();
  config.limits.readsPerSecond = 0.001;  // no refill within the test
  config.limits.readBurst = 2;
  config.limits.submitsPerSecond = 0.001;
  config.limits.submitBurst = 1;
  config.trustedProxies = {"127.0.0.1"};
  Restart(config);
  EXPECT_EQ(Send(TablesRequest(), "10.0.0.1").status, 200);
  EXPECT_EQ(Send(TablesRequest(), "10.0.0.1").status, 200);
  const TServerReply limited = Send(TablesRequest(), "10.0.0.1");
  EXPECT_EQ(limited.status, 429);
  EXPECT_FALSE(ReadAnswer(limited.body).Message().empty());
  EXPECT_EQ(Send(TablesRequest(), "10.0.0.2").status, 200);

  // Submits have their own bucket; a refused one stores nothing.
  EXPECT_FALSE(Submit(GoodScore()).Failed());
  TGameScore second = GoodScore();
  second.guid = "fedcba9876543210";
  EXPECT_TRUE(Submit(second).Failed());
  EXPECT_EQ(StoredScores(), 1u);

  // Behind a trusted proxy the forwarded address counts, and only its last entry.
  TServerRequest proxied;
  proxied.method = "GET";
  proxied.path = "/go/hiscore";
  proxied.parameters = TablesRequest();
  proxied.peerAddress = "127.0.0.1";
  proxied.forwardedFor = "10.0.0.1, 10.0.0.9";
  EXPECT_EQ(handler->ClientAddress(proxied), "10.0.0.9");
  EXPECT_EQ(handler->Handle(proxied).status, 200);
  proxied.peerAddress = "10.0.0.7";  // not a trusted proxy: its header proves nothing
  EXPECT_EQ(handler->ClientAddress(proxied), "10.0.0.7");
}

TEST_P(THiscoreRefusalTest, AnUnreachableDatabaseIsAServerErrorNotACrash) {
  stores = std::make_unique<TStorePool>([](std::string* error) {
    *error = "connection refused";
    return std::unique_ptr<TScoreStore>();
  });
  service = std::make_unique<THiscoreService>(TestConfig(), *stores, [this] { return now; });
  handler = std::make_unique<THiscoreRequestHandler>(*service, nullptr);
  for (const TParameterList& request : {ScoresRequest(kAdventure, std::nullopt),
                                        SubmitRequest(Encipher(GameScoreXml(GoodScore())))}) {
    const TServerReply reply = Send(request);
    EXPECT_EQ(reply.status, 503);
    EXPECT_EQ(reply.detail, "connection refused");
    EXPECT_FALSE(ReadAnswer(reply.body).Message().empty());
  }
  EXPECT_FALSE(service->Healthy());
}

INSTANTIATE_TEST_SUITE_P(Stores, THiscoreRefusalTest, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return info.param; });
