#include "online/server/enciphered_xml.h"

#include <algorithm>
#include <set>

#include "data/base64.h"
#include "data/prefs_cipher.h"
#include "files/xml_node.h"
#include "online/server/field_rules.h"

namespace {

// The one element of the document (declarations aside), or null.
const TXmlNode* SingleElement(const TXmlNode& document, std::string_view name, std::string& error) {
  const TXmlNode* element = nullptr;
  for (const auto& child : document.Children()) {
    if (child->GetName() == "?xml") continue;
    if (element || child->GetName() != name) {
      error = "the XML is not one <" + std::string(name) + "> element";
      return nullptr;
    }
    element = child.get();
  }
  if (!element) error = "the XML has no <" + std::string(name) + "> element";
  if (element && !document.GetText().empty()) {
    error = "the XML has text outside its element";
    return nullptr;
  }
  return element;
}

// Only these attributes, each at most once.
bool HasOnlyAttributes(const TXmlNode& node, std::initializer_list<std::string_view> allowed,
                       std::string& error) {
  std::set<std::string> seen;
  for (const TXmlAttribute& attribute : node.Attributes()) {
    if (std::find(allowed.begin(), allowed.end(), attribute.name) == allowed.end()) {
      error = "<" + node.GetName() + "> has an unknown attribute \"" + attribute.name + "\"";
      return false;
    }
    if (!attribute.quoted) {
      error = "<" + node.GetName() + "> has an unquoted attribute \"" + attribute.name + "\"";
      return false;
    }
    if (!seen.insert(attribute.name).second) {
      error = "<" + node.GetName() + "> repeats the attribute \"" + attribute.name + "\"";
      return false;
    }
  }
  return true;
}

bool Require(const TXmlNode& node, std::string_view name, std::string& value, std::string& error) {
  if (!node.HasAttribute(name)) {
    error = "Missing required attribute: " + std::string(name);
    return false;
  }
  value = node.GetAttribute(name);
  return true;
}

// The request's game and the XML's own "game" attribute (when it has one) must agree.
bool SameGame(const TXmlNode& node, const std::string& game, std::string& error) {
  if (node.HasAttribute("game") && node.GetAttribute("game") != game) {
    error = "the XML names another game than the request";
    return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> DecipherParameter(std::string_view base64Text, std::string_view key,
                                             std::string& error) {
  if (base64Text.empty() || base64Text.size() % 4 != 0) {
    error = "the cipher text is not base64";
    return std::nullopt;
  }
  for (size_t i = 0; i < base64Text.size(); ++i) {
    const char c = base64Text[i];
    const bool padding = c == '=' && i + 2 >= base64Text.size() &&
                         (i + 1 == base64Text.size() || base64Text[i + 1] == '=');
    if (Base64Value(c) < 0 && !padding) {
      error = "the cipher text is not base64";
      return std::nullopt;
    }
  }
  const std::string bytes = Base64Decode(base64Text);
  // Base64 with stray bits in its last character decodes like its canonical form; only
  // the canonical one is taken.
  if (Base64Encode(bytes) != base64Text) {
    error = "the cipher text is not canonical base64";
    return std::nullopt;
  }
  if (bytes.empty() || bytes.size() % 8 != 0) {
    error = "the cipher text is not whole cipher blocks";
    return std::nullopt;
  }
  const TPrefsCipher cipher(key);
  std::string plain = cipher.Decrypt(bytes);
  // The padding is well formed exactly when enciphering the result gives the input back.
  if (cipher.Encrypt(plain) != bytes) {
    error = "the cipher text does not decipher with the game's key";
    return std::nullopt;
  }
  if (!plain.empty() && plain.back() == '\0') plain.pop_back();
  if (plain.find('\0') != std::string::npos) {
    error = "the deciphered text holds a zero byte";
    return std::nullopt;
  }
  return plain;
}

bool ReadScoreXml(std::string_view xml, TScoreSubmission& submission, std::string& error) {
  TXmlNode document;
  document.Parse(xml);
  const TXmlNode* score = SingleElement(document, "score", error);
  if (!score) return false;
  if (!HasOnlyAttributes(
          *score, {"guid", "name", "password", "type", "game", "score", "data", "ver"}, error) ||
      !SameGame(*score, submission.game, error)) {
    return false;
  }
  if (!score->Children().empty()) {
    error = "<score> has child elements";
    return false;
  }
  std::string number;
  if (!Require(*score, "guid", submission.guid, error) ||
      !Require(*score, "name", submission.name, error) ||
      !Require(*score, "type", submission.category, error) ||
      !Require(*score, "score", number, error)) {
    return false;
  }
  const std::optional<int64_t> value = ParseDecimal(number, INT32_MIN, INT32_MAX);
  if (!value) {
    error = "Invalid value of attribute: score";
    return false;
  }
  submission.score = *value;
  if (score->HasAttribute("password")) submission.password = score->GetAttribute("password");
  submission.gameData = score->GetAttribute("data");
  submission.version = score->GetAttribute("ver");
  submission.serverData = score->GetText();
  return true;
}

bool ReadMedalsXml(std::string_view xml, TMedalSubmission& submission, std::string& error) {
  TXmlNode document;
  document.Parse(xml);
  const TXmlNode* medals = SingleElement(document, "medals", error);
  if (!medals) return false;
  if (!HasOnlyAttributes(*medals, {"name", "password", "game"}, error) ||
      !SameGame(*medals, submission.game, error) ||
      !Require(*medals, "name", submission.name, error) ||
      !Require(*medals, "password", submission.password, error)) {
    return false;
  }
  if (!medals->GetText().empty()) {
    error = "<medals> holds text";
    return false;
  }
  for (const auto& child : medals->Children()) {
    if (child->GetName() != "medal" || !child->Children().empty() || !child->GetText().empty() ||
        !HasOnlyAttributes(*child, {"name", "per"}, error)) {
      if (error.empty()) error = "<medals> holds something else than <medal /> elements";
      return false;
    }
    TMedal medal;
    if (!Require(*child, "name", medal.name, error)) return false;
    medal.per = child->HasAttribute("per") ? child->GetAttribute("per") : "game";
    submission.medals.push_back(std::move(medal));
  }
  return true;
}
