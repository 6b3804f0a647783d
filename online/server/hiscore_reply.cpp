#include "online/server/hiscore_reply.h"

#include "files/xml_entities.h"
#include "online/server/field_rules.h"

namespace {

constexpr char kHeader[] = "<?xml version=\"1.0\"?>\n<hiscore>\n";
constexpr char kFooter[] = "</hiscore>\n";

void Attribute(std::string& out, std::string_view name, std::string_view utf8Value) {
  out += ' ';
  out += name;
  out += "=\"";
  AppendXmlEscaped(out, Utf8ToLatin1(utf8Value));
  out += '"';
}

std::string Wrapped(std::string_view body) {
  std::string out = kHeader;
  out += body;
  out += kFooter;
  return out;
}

// <element>text</element>
std::string TextElement(std::string_view element, std::string_view attributes,
                        std::string_view text) {
  std::string out = "<";
  out += element;
  out += attributes;
  out += '>';
  AppendXmlEscaped(out, Utf8ToLatin1(text));
  out += "</";
  out += element;
  out += ">\n";
  return out;
}

}  // namespace

std::string ProtocolErrorReply(std::string_view text) {
  return Wrapped(TextElement("protocolError", "", text));
}

std::string MessageReply(std::string_view id, std::string_view text) {
  std::string attributes;
  Attribute(attributes, "id", id);
  return Wrapped(TextElement("message", attributes, text));
}

std::string TablesReply(const std::vector<TScoreTableSpec>& tables) {
  std::string out = kHeader;
  out += "<tables>\n";
  for (const TScoreTableSpec& table : tables) {
    out += "<table";
    Attribute(out, "table", table.id);
    Attribute(out, "name", table.name);
    out += " />\n";
  }
  out += "</tables>\n";
  out += kFooter;
  return out;
}

std::string ScoreRowAttributes(const TStoredScore& score, int rank) {
  std::string out;
  Attribute(out, "name", score.name);
  Attribute(out, "data", score.gameData);
  Attribute(out, "serverData", score.serverData);
  Attribute(out, "ver", score.version);
  Attribute(out, "guid", score.guid);
  Attribute(out, "anonymous", score.accountId ? "false" : "true");
  Attribute(out, "score", std::to_string(score.score));
  Attribute(out, "rank", std::to_string(rank));
  return out;
}

std::string ScoresReply(std::string_view tableId, std::string_view category,
                        const std::vector<std::string>& rows, size_t count, int accountRow) {
  std::string out;
  size_t size = 128;
  for (size_t i = 0; i < count; ++i) size += rows[i].size() + 32;
  out.reserve(size);
  out += kHeader;
  out += "<scores";
  Attribute(out, "table", tableId);
  Attribute(out, "type", category);
  out += ">\n";
  for (size_t i = 0; i < count; ++i) {
    out += "<score";
    out += rows[i];
    if (int(i) == accountRow) out += " account=\"true\"";
    out += " />\n";
  }
  out += "</scores>\n";
  out += kFooter;
  return out;
}

std::string SubmitReply(std::string_view guid, std::string_view placedTable, int64_t rank) {
  std::string body;
  if (placedTable.empty()) {
    body = "<submitted";
    Attribute(body, "guid", guid);
  } else {
    body = "<score";
    Attribute(body, "guid", guid);
    Attribute(body, "table", placedTable);
    Attribute(body, "rank", std::to_string(rank));
  }
  body += " />\n";
  return Wrapped(body);
}

std::string DuplicateReply(std::string_view guid) {
  std::string body = "<duplicate";
  Attribute(body, "guid", guid);
  body += " />\n";
  return Wrapped(body);
}

std::string MedalsReply(int added, size_t total) {
  std::string body = "<medals";
  Attribute(body, "added", std::to_string(added));
  Attribute(body, "total", std::to_string(total));
  body += " />\n";
  return Wrapped(body);
}
