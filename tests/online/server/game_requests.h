// The requests as the game sends them and its way of reading the answers, built with the
// game's own code: the score and medals XML of its high-score client, enciphered with its
// cipher (TPrefsCipher) and written as base64, the parameters in the game's order, and
// answers read with its XML reader (TXmlNode).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "files/xml_node.h"

using TParameterList = std::vector<std::pair<std::string, std::string>>;

constexpr char kGame[] = "mahjongcuriomar";
constexpr char kKey[] = "KPlaxRD7wAAA";
constexpr char kAdventure[] = "mahjongcuriomar_adventure";
constexpr char kWeb[] = "mahjongcuriomar_web";

struct TGameScore {
  std::string guid;
  std::string name;
  std::optional<std::string> password;
  std::string type = kAdventure;
  std::string game = kGame;
  int score = 0;
  std::string data;
  std::string version;
  std::string serverData;
};

// "<?xml version=\"1.0\"?>\n<score ...>server data</score>" (an empty password or name is
// left out, as the game does)
std::string GameScoreXml(const TGameScore& score);
// "<?xml version=\"1.0\"?>\n<medals name= password= game=>medal lines</medals>"
std::string GameMedalsXml(const std::string& name, const std::string& password,
                          const std::string& medalLines);
// The medal lines of the game's submit dialog for the given location ids (1 to 7).
std::string GameMedalLines(const std::vector<int>& locations);

// The game's EncryptText: enciphered with the key, then base64.
std::string Encipher(const std::string& xml, const std::string& key = kKey);

TParameterList TablesRequest();
TParameterList ScoresRequest(const std::string& type, const std::optional<std::string>& table,
                             const std::string& username = "");
TParameterList SubmitRequest(const std::string& cipherText);
TParameterList MedalsRequest(const std::string& cipherText);

// An answer as the game reads it: the document, and its root "hiscore" (null when the
// text has none).
struct TGameAnswer {
  std::unique_ptr<TXmlNode> document;
  TXmlNode* root = nullptr;

  // The game fails a request whose answer has one of these.
  bool Failed() const;
  std::string Message() const;
  std::string ProtocolError() const;
  // The "score" elements of a scores answer.
  std::vector<TXmlNode*> Rows() const;
};
TGameAnswer ReadAnswer(const std::string& body);
