#include "tests/online/server/game_requests.h"

#include "data/prefs_cipher.h"
#include "files/xml_entities.h"

namespace {

constexpr char kXmlHeader[] = "<?xml version=\"1.0\"?>\n";

void Attribute(std::string& out, const char* name, const std::string& value) {
  out += ' ';
  out += name;
  out += "=\"";
  AppendXmlEscaped(out, value);
  out += '"';
}

TParameterList Common() {
  return {{"lang", "en"}, {"ver", "1.0"}};
}

}  // namespace

std::string GameScoreXml(const TGameScore& score) {
  std::string xml = kXmlHeader;
  xml += "<score";
  Attribute(xml, "guid", score.guid);
  if (!score.name.empty()) Attribute(xml, "name", score.name);
  if (score.password) Attribute(xml, "password", *score.password);
  Attribute(xml, "type", score.type);
  if (!score.game.empty()) Attribute(xml, "game", score.game);
  Attribute(xml, "score", std::to_string(score.score));
  if (!score.data.empty()) Attribute(xml, "data", score.data);
  if (!score.version.empty()) Attribute(xml, "ver", score.version);
  xml += '>';
  AppendXmlEscaped(xml, score.serverData);
  xml += "</score>";
  return xml;
}

std::string GameMedalsXml(const std::string& name, const std::string& password,
                          const std::string& medalLines) {
  std::string xml = kXmlHeader;
  xml += "<medals";
  Attribute(xml, "name", name);
  Attribute(xml, "password", password);
  Attribute(xml, "game", kGame);
  xml += '>';
  xml += medalLines;
  xml += "</medals>";
  return xml;
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
