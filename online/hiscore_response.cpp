#include "online/hiscore_response.h"

#include "online/hiscore_xml.h"

THiscoreResponse::THiscoreResponse(std::string_view text) {
  mDocument.Parse(text);
  mRoot = mDocument.FindChild("hiscore");
  if (!mRoot) return;
  if (const TXmlNode* message = mRoot->FindChild("message")) {
    mProblem = kUserMessage;
    mProblemText = message->GetText();
  } else if (const TXmlNode* error = mRoot->FindChild("protocolError")) {
    mProblem = kProtocolError;
    mProblemText = error->GetText();
  } else {
    mProblem = kNone;
  }
}

bool THiscoreResponse::ReadTables(std::vector<THiscoreTableInfo>& tables) const {
  const TXmlNode* list = mRoot ? mRoot->FindChild("tables") : nullptr;
  if (!list) return false;
  tables.clear();
  for (const auto& child : list->Children()) {
    if (child->GetName() != "table") continue;
    tables.push_back({child->GetAttribute("table"), child->GetAttribute("name")});
  }
  return true;
}

bool THiscoreResponse::ReadScores(std::vector<THiscoreRow>& rows, int& accountRow) const {
  const TXmlNode* list = mRoot ? mRoot->FindChild("scores") : nullptr;
  if (!list) return false;
  rows.clear();
  accountRow = -1;
  for (const auto& child : list->Children()) {
    if (child->GetName() != "score") continue;
    THiscoreRow row;
    row.name = child->GetAttribute("name");
    row.gameData = child->GetAttribute("data");
    row.serverData = child->GetAttribute("serverData");
    row.version = child->GetAttribute("ver");
    row.guid = child->GetAttribute("guid");
    row.valid = child->GetAttribute("anonymous") == "true";
    row.score = IntAttribute(*child, "score");
    row.rank = IntAttribute(*child, "rank");
    if (accountRow < 0 && child->GetAttribute("account") == "true")
      accountRow = static_cast<int>(rows.size());
    rows.push_back(std::move(row));
  }
  return true;
}

bool THiscoreResponse::Has(std::string_view child) const {
  return mRoot && mRoot->FindChild(child) != nullptr;
}
