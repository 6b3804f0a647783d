// TSqliteStore: the embedded store, one SQLite file in the server's data folder. The file
// is created with its schema on first open; it runs in WAL mode with full synchronisation,
// so a committed score is on disk before the server answers, and readers never wait for
// the writer. Several stores (one per worker thread) may share one file: their writes
// queue in the process, and scores arriving together are committed together.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "online/server/score_store.h"

struct sqlite3;
struct sqlite3_stmt;

class TSqliteStore : public TScoreStore {
 public:
  // Opens (creating when needed) the database file. Check Opened() afterwards; on failure
  // LastError() says why.
  explicit TSqliteStore(const std::string& path);
  ~TSqliteStore() override;
  TSqliteStore(const TSqliteStore&) = delete;
  TSqliteStore& operator=(const TSqliteStore&) = delete;

  bool Opened() const { return mDb != nullptr; }

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
  class TStatement;
  class TStatementUse;
  struct TPendingScore;
  struct TShared;

  bool Execute(const char* sql);
  bool CreateSchema();
  bool CreateSchemaLocked();
  // Commits the scores of several callers in one transaction.
  void CommitScores(const std::vector<TPendingScore*>& batch);
  // One score, inside the open transaction.
  TAddScoreResult InsertScore(const TBoardKey& board, TStoredScore& score, TStoredScore* existing);
  // The cached prepared statement for this SQL text, ready to bind; it is reset when the
  // use ends, so that no read stays open. Null (and LastError set) when SQLite refuses it.
  TStatementUse Prepare(const char* sql);
  // Rolls back the open transaction, keeping the error that made it necessary.
  void Rollback();
  // The board's id; with create, the board is added when it is not there yet.
  std::optional<int64_t> BoardId(const TBoardKey& board, bool create);
  bool Fail(const char* what);

  std::shared_ptr<TShared> mShared;
  sqlite3* mDb = nullptr;
  std::map<const char*, std::unique_ptr<TStatement>> mStatements;
  std::map<std::pair<std::string, std::string>, int64_t> mBoardIds;
};
