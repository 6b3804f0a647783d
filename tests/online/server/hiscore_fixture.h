// THiscoreFixture: a high-score service over a fresh database of the backend named by the
// test parameter ("sqlite": a file in a scratch folder; "postgresql": a new database of
// the tests' throwaway cluster), with a clock the test sets, and its request handler.
// Requests go to the handler as the HTTP library would hand them over.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "online/server/hiscore_request_handler.h"
#include "online/server/hiscore_service.h"
#include "online/server/store_pool.h"
#include "tests/online/server/game_requests.h"

class THiscoreFixture : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The configuration the tests start with: this game, cheap password hashes, no rate
  // limits.
  static THiscoreConfig TestConfig();
  // A new service (and handler) over the same database.
  void Restart(const THiscoreConfig& config);

  TServerReply Send(const TParameterList& parameters, const std::string& peer = "127.0.0.1",
                    const std::string& method = "GET");
  // Sends the game's submit request for this score and reads the answer.
  TGameAnswer Submit(const TGameScore& score);
  TGameAnswer Scores(const std::string& type = kAdventure,
                     const std::optional<std::string>& table = std::nullopt,
                     const std::string& username = "");
  // How many scores the board of this mode holds in all (through the store).
  size_t StoredScores(const std::string& type = kAdventure);

  // A fresh store of the test's backend, for looking behind the service.
  std::unique_ptr<TScoreStore> OpenStore();
  // Another pool of stores over the test's database, as a second server process has.
  std::unique_ptr<TStorePool> NewPool() const;

  TStorePool::TOpener Opener() const;

  int64_t now = 1714550400;  // 2024-05-01 08:00:00 UTC, a Wednesday
  std::filesystem::path folder;
  std::string location;  // the database file or connection string
  std::unique_ptr<TStorePool> stores;
  std::unique_ptr<THiscoreService> service;
  std::unique_ptr<THiscoreRequestHandler> handler;
};
