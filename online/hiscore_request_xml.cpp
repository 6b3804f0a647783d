#include "online/hiscore_request_xml.h"

#include "files/xml_entities.h"
#include "online/hiscore_table.h"
#include "online/hiscore_xml.h"

std::string ScoreSubmissionXml(const THiscoreRow& row, const std::string& accountName,
                               const std::string& password, const std::string& category,
                               const std::string& gameHandle) {
  std::string out(kHiscoreXmlHeader);
  out += "<score";
  AppendXmlAttribute(out, "guid", row.guid);
  AppendXmlAttributeIfSet(out, "name", accountName);
  AppendXmlAttributeIfSet(out, "password", password);
  AppendXmlAttribute(out, "type", category);
  AppendXmlAttributeIfSet(out, "game", gameHandle);
  AppendXmlAttribute(out, "score", row.score);
  AppendXmlAttributeIfSet(out, "data", row.gameData);
  AppendXmlAttributeIfSet(out, "ver", row.version);
  out += '>';
  AppendXmlEscaped(out, row.serverData);
  out += "</score>";
  return out;
}

std::string MedalsSubmissionXml(const std::string& medalsXml, const std::string& accountName,
                                const std::string& password, const std::string& gameHandle) {
  std::string out(kHiscoreXmlHeader);
  out += "<medals";
  AppendXmlAttribute(out, "name", accountName);
  AppendXmlAttribute(out, "password", password);
  AppendXmlAttributeIfSet(out, "game", gameHandle);
  out += '>';
  out += medalsXml;
  out += "</medals>";
  return out;
}
