// TLocalServer: the in-process high-score server behind "tvservlet_stub.so". The game
// calls it instead of the web service when the library is present; it answers with the
// same XML as hiscored, from the same THiscoreService, over an SQLite file in the
// player's data folder, so all players of one machine share one set of tables without
// a network.
//
// Requests run on a worker thread: the game polls Status() while the database writes,
// as it does for a web request. One request at a time; a new one waits for the last.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "online/server/hiscore_config.h"
#include "online/server/hiscore_service.h"
#include "online/server/store_pool.h"

class TLocalServer {
 public:
  enum TStatus { kWorking = 0, kDone = 1, kFailed = 2 };

  // dataFolder holds the database "localscores.db" and the optional server definition
  // file "tvservlet.xml" (hiscored's configuration format).
  explicit TLocalServer(std::string dataFolder);
  ~TLocalServer();
  TLocalServer(const TLocalServer&) = delete;
  TLocalServer& operator=(const TLocalServer&) = delete;

  // Serves this one game: its handle, cipher key and game modes.
  void SetServerInfo(const std::string& game, const std::string& key,
                     const std::vector<std::string>& modes);
  // Serves the games of "tvservlet.xml" in the data folder, or this game's defaults.
  void LoadServerDefFile();

  void RequestTables(const std::string& game);
  void RequestScores(const TScoresQuery& query);
  void SubmitScore(const TScoreSubmission& submission);
  void SubmitMedals(const TMedalSubmission& submission);
  // Answers a request that could not be read with a protocol error.
  void Refuse(const std::string& text);

  int Status() const { return mStatus.load(); }
  // The last answer; valid until the next request.
  const char* Contents() const { return mContents.c_str(); }

  static constexpr char kDatabaseName[] = "localscores.db";
  static constexpr char kDefinitionName[] = "tvservlet.xml";

 private:
  void Configure(const THiscoreConfig& config);
  void Run(std::function<THiscoreAnswer(THiscoreService&)> work);
  void Wait();

  std::string mDataFolder;
  std::unique_ptr<TStorePool> mStores;
  std::unique_ptr<THiscoreService> mService;
  std::thread mWorker;
  std::atomic<int> mStatus{kDone};
  std::string mContents;
};
