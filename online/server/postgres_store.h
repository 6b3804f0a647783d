// TPostgresStore: the store for deployments where several hiscored processes (behind a
// load balancer) share one PostgreSQL database. The same tables as TSqliteStore; every
// change is one statement or one transaction, committed (and so durable, with the
// server's default synchronous_commit) before the answer. The schema is created by the
// first process that finds the database empty, under an advisory lock.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "online/server/score_store.h"

struct pg_conn;
struct pg_result;

class TPostgresStore : public TScoreStore {
 public:
  // conninfo: a libpq connection string or URI ("postgresql://user@host/db"). Check
  // Opened() afterwards; on failure LastError() says why.
  explicit TPostgresStore(const std::string& conninfo);
  ~TPostgresStore() override;
  TPostgresStore(const TPostgresStore&) = delete;
  TPostgresStore& operator=(const TPostgresStore&) = delete;

  bool Opened() const { return mReady; }

  bool FindAccount(std::string_view nameKey, std::optional<TStoredAccount>& account) override;
  std::optional<TStoredAccount> CreateAccount(std::string_view name, std::string_view nameKey,
                                              std::string_view passwordHash, int64_t now) override;
  bool SetPasswordHash(int64_t accountId, std::string_view passwordHash) override;
  TAddScoreResult AddScore(const TBoardKey& board, TStoredScore& score,
                           TStoredScore* existing) override;
  std::optional<int64_t> Revision(const TBoardKey& board) override;
  bool TopScores(const TBoardKey& board, int64_t since, int limit,
                 std::vector<TStoredScore>& out) override;
  std::optional<int64_t> CountAhead(const TBoardKey& board, int64_t since,
                                    const TStoredScore& score) override;
  std::optional<int> AddMedals(int64_t accountId, std::string_view game,
                               const std::vector<TMedal>& medals, int64_t now) override;
  std::optional<std::vector<TMedal>> Medals(int64_t accountId, std::string_view game) override;
  bool Ping() override;

 private:
  struct TResultFree {
    void operator()(pg_result* result) const;
  };
  using TResult = std::unique_ptr<pg_result, TResultFree>;
  // A parameter: text, or SQL NULL.
  using TParam = std::optional<std::string>;

  // Runs a statement prepared at connection time; null (with LastError set) unless it
  // succeeded.
  TResult Run(const char* name, const std::vector<TParam>& params);
  // Runs plain SQL without parameters.
  bool Execute(const char* sql);
  bool Connect();
  bool EnsureConnected();
  bool CreateSchema();
  bool PrepareStatements();
  std::optional<int64_t> BoardId(const TBoardKey& board, bool create);

  std::string mConninfo;
  pg_conn* mConnection = nullptr;
  bool mReady = false;
  std::map<std::pair<std::string, std::string>, int64_t> mBoardIds;
};
