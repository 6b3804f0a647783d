#include "online/hiscore_web_channel.h"

#include "online/hiscore_request_xml.h"

namespace {
constexpr char kProtocolVersion[] = "1.0";
}  // namespace

THiscoreWebChannel::THiscoreWebChannel(std::string url, const TPrefsCipher& cipher)
    : mUrl(std::move(url)), mCipher(cipher) {}

void THiscoreWebChannel::Begin(const THiscoreGameInfo& game) {
  mHttp.SetUrl(mUrl, false);
  mHttp.AddParam("lang", game.language);
  mHttp.AddParam("ver", kProtocolVersion);
}

void THiscoreWebChannel::RequestTables(const THiscoreGameInfo& game) {
  Begin(game);
  mHttp.AddParam("action", "tables");
  mHttp.AddParam("game", game.gameHandle);
  mHttp.Start(TSimpleHttp::kNoCacheWrite);
}

void THiscoreWebChannel::RequestScores(const THiscoreGameInfo& game, const std::string* tableId,
                                       const std::string* username) {
  Begin(game);
  mHttp.AddParam("action", "get");
  mHttp.AddParam("game", game.gameHandle);
  mHttp.AddParam("type", game.category);
  if (tableId) mHttp.AddParam("table", *tableId);
  mHttp.AddParam("numScores", kScoresPerRequest);
  if (username) mHttp.AddParam("username", *username);
  mHttp.Start(TSimpleHttp::kNoCacheWrite);
}

void THiscoreWebChannel::SubmitScore(const THiscoreGameInfo& game, const THiscoreRow& row,
                                     const std::string& accountName, const std::string& password) {
  Begin(game);
  mHttp.AddParam("game", game.gameHandle);
  mHttp.AddParam("action", "submit");
  mHttp.AddParam("score", mCipher.EncryptText(ScoreSubmissionXml(row, accountName, password,
                                                                 game.category, game.gameHandle)));
  mHttp.Start(TSimpleHttp::kNoCacheWrite);
}

void THiscoreWebChannel::SubmitMedals(const THiscoreGameInfo& game, const std::string& medalsXml,
                                      const std::string& accountName, const std::string& password) {
  Begin(game);
  mHttp.AddParam("game", game.gameHandle);
  mHttp.AddParam("action", "medals");
  mHttp.AddParam("medals", mCipher.EncryptText(MedalsSubmissionXml(medalsXml, accountName, password,
                                                                   game.gameHandle)));
  mHttp.Start(TSimpleHttp::kNoCacheWrite);
}

THiscoreChannel::TStatus THiscoreWebChannel::Status() {
  switch (mHttp.GetStatus()) {
    case kHttpInProgress:
      return kWorking;
    case kHttpComplete:
      return kDone;
    default:
      return kFailed;
  }
}

std::string THiscoreWebChannel::Response() {
  const char* response = mHttp.GetResponse();
  return response ? response : "";
}
