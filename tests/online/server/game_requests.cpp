#include "tests/online/server/game_requests.h"

#include "data/prefs_cipher.h"
#include "online/hiscore_request_xml.h"
#include "online/hiscore_table.h"

namespace {

TParameterList Common() {
  return {{"lang", "en"}, {"ver", "1.0"}};
}

}  // namespace

std::string GameScoreXml(const TGameScore& score) {
  THiscoreRow row;
  row.guid = score.guid;
  row.score = score.score;
  row.gameData = score.data;
  row.version = score.version;
  row.serverData = score.serverData;
  return ScoreSubmissionXml(row, score.name, score.password.value_or(""), score.type, score.game);
}

std::string GameMedalsXml(const std::string& name, const std::string& password,
                          const std::string& medalLines) {
  return MedalsSubmissionXml(medalLines, name, password, kGame);
}

std::string GameMedalLines(const std::vector<int>& locations) {
  static const char* const kMedals[] = {"yardsale",
                                        "fleamarket",
                                        "antiqueshop",
                                        "estatesale",
                                        "texasauction",
                                        "rothchildesauctionhouse",
                                        "curiomarauctiongalleries"};
  std::string lines;
  for (int location : locations) {
    lines += "<medal name=\"mahjongcuriomar_";
    lines += kMedals[location - 1];
    lines += "\" per=\"game\"/>\r\n";
  }
  return lines;
}

std::string Encipher(const std::string& xml, const std::string& key) {
  return TPrefsCipher(key).EncryptText(xml);
}

TParameterList TablesRequest() {
  TParameterList list = Common();
  list.push_back({"action", "tables"});
  list.push_back({"game", kGame});
  return list;
}

TParameterList ScoresRequest(const std::string& type, const std::optional<std::string>& table,
                             const std::string& username) {
  TParameterList list = Common();
  list.push_back({"action", "get"});
  list.push_back({"game", kGame});
  list.push_back({"type", type});
  if (table) list.push_back({"table", *table});
  list.push_back({"numScores", "500"});
  if (!username.empty()) list.push_back({"username", username});
  return list;
}

TParameterList SubmitRequest(const std::string& cipherText) {
  TParameterList list = Common();
  list.push_back({"game", kGame});
  list.push_back({"action", "submit"});
  list.push_back({"score", cipherText});
  return list;
}

TParameterList MedalsRequest(const std::string& cipherText) {
  TParameterList list = Common();
  list.push_back({"game", kGame});
  list.push_back({"action", "medals"});
  list.push_back({"medals", cipherText});
  return list;
}

bool TGameAnswer::Failed() const {
  return !root || root->FindChild("message") || root->FindChild("protocolError");
}

std::string TGameAnswer::Message() const {
  const TXmlNode* message = root ? root->FindChild("message") : nullptr;
  return message ? message->GetText() : "";
}

std::string TGameAnswer::ProtocolError() const {
  const TXmlNode* error = root ? root->FindChild("protocolError") : nullptr;
  return error ? error->GetText() : "";
}

std::vector<TXmlNode*> TGameAnswer::Rows() const {
  std::vector<TXmlNode*> rows;
  const TXmlNode* scores = root ? root->FindChild("scores") : nullptr;
  if (!scores) return rows;
  for (const auto& child : scores->Children()) {
    if (child->GetName() == "score") rows.push_back(child.get());
  }
  return rows;
}

TGameAnswer ReadAnswer(const std::string& body) {
  TGameAnswer answer;
  answer.document = std::make_unique<TXmlNode>();
  answer.document->Parse(body);
  answer.root = answer.document->FindChild("hiscore");
  return answer;
}
