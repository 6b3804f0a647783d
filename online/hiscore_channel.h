// THiscoreChannel: where the high-score service's requests go, the web service over HTTP
// (online/hiscore_web_channel.h) or the in-process server (online/servlet_channel.h). One
// request at a time: a new one replaces the one before. Main thread only.
#pragma once

#include <string>

struct THiscoreRow;

// What every request says about the game.
struct THiscoreGameInfo {
  std::string language;
  std::string gameHandle;
  std::string category;
  std::string keyText;  // the cipher key, as text
};

class THiscoreChannel {
 public:
  enum TStatus { kWorking, kDone, kFailed };

  virtual ~THiscoreChannel() = default;

  virtual void RequestTables(const THiscoreGameInfo& game) = 0;
  // tableId and username: null when not given.
  virtual void RequestScores(const THiscoreGameInfo& game, const std::string* tableId,
                             const std::string* username) = 0;
  // The row's score under the account (password empty when none is given).
  virtual void SubmitScore(const THiscoreGameInfo& game, const THiscoreRow& row,
                           const std::string& accountName, const std::string& password) = 0;
  virtual void SubmitMedals(const THiscoreGameInfo& game, const std::string& medalsXml,
                            const std::string& accountName, const std::string& password) = 0;

  virtual TStatus Status() = 0;
  // The answer of the last request, once its status is kDone.
  virtual std::string Response() = 0;
};
