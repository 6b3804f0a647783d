#include "online/hiscore_store.h"

#include "files/xml_node.h"
#include "online/hiscore_xml.h"

std::string THiscoreStore::ToXml() const {
  std::string out(kHiscoreXmlHeader);
  for (const auto& [player, account] : accounts) {
    out += "<user";
    AppendXmlAttribute(out, "player", account.player);
    AppendXmlAttribute(out, "name", account.name);
    AppendXmlAttribute(out, "pass", account.password);
    out += "/>\n";
  }
  for (const auto& [category, table] : tables) {
    out += "<score";
    AppendXmlAttribute(out, "name", category);
    out += ">\n";
    for (const THiscoreRow& row : table.Rows()) {
      out += "<row";
      AppendXmlAttribute(out, "rank", row.rank);
      AppendXmlAttribute(out, "score", row.score);
      AppendXmlAttribute(out, "submit", row.submitted ? 1 : 0);
      AppendXmlAttributeIfSet(out, "guid", row.guid);
      AppendXmlAttributeIfSet(out, "name", row.name);
      AppendXmlAttributeIfSet(out, "gameData", row.gameData);
      AppendXmlAttributeIfSet(out, "serverData", row.serverData);
      AppendXmlAttributeIfSet(out, "version", row.version);
      out += "/>\n";
    }
    out += "</score>\n";
  }
  return out;
}

void THiscoreStore::ReadXml(std::string_view text) {
  TXmlNode document;
  document.Parse(text);
  for (const auto& element : document.Children()) {
    if (element->GetName() == "user") {
      THiscoreAccount account;
      account.player = element->GetAttribute("player");
      account.name = element->GetAttribute("name");
      account.password = element->GetAttribute("pass");
      accounts[account.player] = std::move(account);
      continue;
    }
    if (element->GetName() != "score") continue;
    std::vector<THiscoreRow> rows;
    for (const auto& child : element->Children()) {
      if (child->GetName() != "row") continue;
      THiscoreRow row;
      row.rank = IntAttribute(*child, "rank");
      row.score = IntAttribute(*child, "score");
      row.submitted = IntAttribute(*child, "submit") >= 1;
      row.guid = child->GetAttribute("guid");
      row.name = child->GetAttribute("name");
      row.gameData = child->GetAttribute("gameData");
      row.serverData = child->GetAttribute("serverData");
      row.version = child->GetAttribute("version");
      row.valid = true;
      rows.push_back(std::move(row));
    }
    if (!rows.empty()) tables[element->GetAttribute("name")].Assign(std::move(rows));
  }
}
