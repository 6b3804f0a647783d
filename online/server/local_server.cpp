#include "online/server/local_server.h"

#include <fstream>
#include <iterator>

#include "online/server/field_rules.h"
#include "online/server/hiscore_reply.h"
#include "online/server/sqlite_store.h"

TLocalServer::TLocalServer(std::string dataFolder) : mDataFolder(std::move(dataFolder)) {
  Configure(THiscoreConfig::Default());
}

TLocalServer::~TLocalServer() {
  Wait();
}

void TLocalServer::Configure(const THiscoreConfig& base) {
  Wait();
  THiscoreConfig config = base;
  // One player at one machine: nothing to limit.
  config.limits.readsPerSecond = 0;
  config.limits.submitsPerSecond = 0;
  mService.reset();
  mStores =
      std::make_unique<TStorePool>(StoreOpener<TSqliteStore>(mDataFolder + "/" + kDatabaseName));
  mService = std::make_unique<THiscoreService>(config, *mStores);
}

void TLocalServer::SetServerInfo(const std::string& game, const std::string& key,
                                 const std::vector<std::string>& modes) {
  THiscoreConfig config = THiscoreConfig::Default();
  THiscoreGame served;
  served.handle = game;
  served.key = key;
  for (const std::string& mode : modes) {
    if (IsToken(mode, 64)) served.modes.push_back(mode);
  }
  config.games = {served};
  Configure(config);
}

void TLocalServer::LoadServerDefFile() {
  THiscoreConfig config = THiscoreConfig::Default();
  std::ifstream in(mDataFolder + "/" + kDefinitionName, std::ios::binary);
  if (in) {
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    // A damaged definition file leaves the defaults.
    if (!ReadHiscoreConfig(text, config, error)) config = THiscoreConfig::Default();
  }
  Configure(config);
}

void TLocalServer::Wait() {
  if (mWorker.joinable()) mWorker.join();
}

void TLocalServer::Run(std::function<THiscoreAnswer(THiscoreService&)> work) {
  Wait();
  mStatus = kWorking;
  mContents.clear();
  mWorker = std::thread([this, work = std::move(work)] {
    const THiscoreAnswer answer = work(*mService);
    mContents = answer.body;
    // Without a database there is no server: the game says it cannot connect.
    const bool noDatabase = answer.kind == THiscoreAnswer::TKind::kUnavailable;
    mStatus = noDatabase ? kFailed : kDone;
  });
}

void TLocalServer::RequestTables(const std::string& game) {
  Run([game](THiscoreService& service) { return service.Tables(game); });
}

void TLocalServer::RequestScores(const TScoresQuery& query) {
  Run([query](THiscoreService& service) { return service.Scores(query); });
}

void TLocalServer::SubmitScore(const TScoreSubmission& submission) {
  Run([submission](THiscoreService& service) { return service.SubmitScore(submission); });
}

void TLocalServer::SubmitMedals(const TMedalSubmission& submission) {
  Run([submission](THiscoreService& service) { return service.SubmitMedals(submission); });
}

void TLocalServer::Refuse(const std::string& text) {
  Wait();
  mContents = ProtocolErrorReply(text);
  mStatus = kDone;
}
