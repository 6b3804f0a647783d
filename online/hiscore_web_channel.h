// THiscoreWebChannel: the high-score requests as GET requests to the web service, e.g.
//   URL?lang=en&ver=1.0&action=get&game=G&type=CATEGORY&table=ID&numScores=500&username=U
// Submissions carry the score or medals XML enciphered and in Base64 ("score=", "medals=").
#pragma once

#include <string>

#include "data/prefs_cipher.h"
#include "online/hiscore_channel.h"
#include "online/simple_http.h"

class THiscoreWebChannel final : public THiscoreChannel {
 public:
  static constexpr int kScoresPerRequest = 500;

  // url: the service's full address, ".../go/hiscore".
  THiscoreWebChannel(std::string url, const TPrefsCipher& cipher);

  void RequestTables(const THiscoreGameInfo& game) override;
  void RequestScores(const THiscoreGameInfo& game, const std::string* tableId,
                     const std::string* username) override;
  void SubmitScore(const THiscoreGameInfo& game, const THiscoreRow& row,
                   const std::string& accountName, const std::string& password) override;
  void SubmitMedals(const THiscoreGameInfo& game, const std::string& medalsXml,
                    const std::string& accountName, const std::string& password) override;
  TStatus Status() override;
  std::string Response() override;

  const std::string& Url() const { return mUrl; }

 private:
  // Starts a request with the parameters every one begins with ("lang", "ver").
  void Begin(const THiscoreGameInfo& game);

  std::string mUrl;
  const TPrefsCipher& mCipher;
  TSimpleHttp mHttp;
};
