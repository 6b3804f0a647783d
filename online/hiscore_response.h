// THiscoreResponse: an answer of the high-score server (over the web or from the
// in-process server), read. The text is XML with the root element `hiscore`; a child
// `message` (a refusal to show the player) or `protocolError` makes any request fail.
// Otherwise, by request:
//   tables: <tables><table table="ID" name="DISPLAY NAME"/>...</tables>
//   scores: <scores><score name= data= serverData= ver= guid= anonymous="true" score= rank=
//           account="true" (on the requesting account's own row)/>...</scores>
//   submit: succeeds unless it has a `medals` child; a `score` child means the score was
//           accepted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/xml_node.h"
#include "online/hiscore_table.h"

struct THiscoreTableInfo {
  std::string id;
  std::string name;

  bool operator==(const THiscoreTableInfo&) const = default;
};

class THiscoreResponse {
 public:
  enum TProblem {
    kNone,
    kNotHiscoreXml,  // not XML with the root `hiscore`
    kUserMessage,    // the server refused with a message for the player
    kProtocolError,  // the server did not understand the request
  };

  explicit THiscoreResponse(std::string_view text);
  THiscoreResponse(const THiscoreResponse&) = delete;
  THiscoreResponse& operator=(const THiscoreResponse&) = delete;

  TProblem Problem() const { return mProblem; }
  bool Valid() const { return mProblem == kNone; }
  // The text of the `message` or `protocolError` element.
  const std::string& ProblemText() const { return mProblemText; }

  // The table list; false when the response has none.
  bool ReadTables(std::vector<THiscoreTableInfo>& tables) const;
  // The score list and the index of the requesting account's row (-1 when none); false when
  // the response has no score list.
  bool ReadScores(std::vector<THiscoreRow>& rows, int& accountRow) const;
  // Whether the root has a child of this name ("medals", "score").
  bool Has(std::string_view child) const;

 private:
  TXmlNode mDocument;
  const TXmlNode* mRoot = nullptr;
  TProblem mProblem = kNotHiscoreXml;
  std::string mProblemText;
};
