// TScoreStore: the storage of the high-score server, one connection to one database.
// The server keeps one store per worker thread (TStorePool), so a store is used by one
// thread at a time. Two implementations: TSqliteStore (the embedded default) and
// TPostgresStore (several server processes sharing one database); both keep the same
// tables, and the same tests run against both.
//
// Texts are UTF-8. A call that fails (the database is unreachable, the disk is full)
// answers false or nothing and leaves its reason in LastError(); it never half-applies a
// change: every write is one transaction, confirmed only once it is durable.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A score table of one game mode: the "game" and "type" of the requests.
struct TBoardKey {
  std::string game;
  std::string category;
};

struct TStoredAccount {
  int64_t id = 0;
  std::string name;  // as first given
  std::string passwordHash;
};

struct TStoredScore {
  int64_t id = 0;  // set by the store; later ids were stored later
  std::string guid;
  std::string name;
  std::optional<int64_t> accountId;  // none: an anonymous score
  int32_t score = 0;
  std::string gameData;
  std::string serverData;
  std::string version;
  int64_t created = 0;  // seconds since the epoch

  // The same score as far as its submitter is concerned (ids and times aside).
  bool SameSubmission(const TStoredScore& other) const {
    return guid == other.guid && name == other.name && accountId == other.accountId &&
           score == other.score && gameData == other.gameData && serverData == other.serverData &&
           version == other.version;
  }
};

struct TMedal {
  std::string name;
  std::string per;
};

enum class TAddScoreResult { kStored, kDuplicate, kFailed };

class TScoreStore {
 public:
  virtual ~TScoreStore() = default;

  // nameKey: the account name folded by NameKey. *account is empty when there is no such
  // account; false only when the database could not be read.
  virtual bool FindAccount(std::string_view nameKey, std::optional<TStoredAccount>& account) = 0;
  // Creates the account unless one with this key exists (perhaps created a moment ago by
  // another server process) and answers the account stored under the key either way.
  virtual std::optional<TStoredAccount> CreateAccount(std::string_view name,
                                                      std::string_view nameKey,
                                                      std::string_view passwordHash,
                                                      int64_t now) = 0;
  virtual bool SetPasswordHash(int64_t accountId, std::string_view passwordHash) = 0;

  // Stores the score unless its guid is on the board already; then *existing receives the
  // stored one and nothing changes. score.id is set when stored.
  virtual TAddScoreResult AddScore(const TBoardKey& board, TStoredScore& score,
                                   TStoredScore* existing) = 0;
  // Counts every change of the board's scores; cached tables compare it.
  virtual std::optional<int64_t> Revision(const TBoardKey& board) = 0;
  // The best `limit` scores stored at or after `since`, best first; equal scores in the
  // order they were stored.
  virtual bool TopScores(const TBoardKey& board, int64_t since, int limit,
                         std::vector<TStoredScore>& out) = 0;
  // How many scores stored at or after `since` are placed before this one in that order.
  virtual std::optional<int64_t> CountAhead(const TBoardKey& board, int64_t since,
                                            const TStoredScore& score) = 0;

  // Adds the medals the account does not have yet; answers how many were new.
  virtual std::optional<int> AddMedals(int64_t accountId, std::string_view game,
                                       const std::vector<TMedal>& medals, int64_t now) = 0;
  virtual std::optional<std::vector<TMedal>> Medals(int64_t accountId, std::string_view game) = 0;

  // A cheap query that proves the database answers.
  virtual bool Ping() = 0;

  const std::string& LastError() const { return mLastError; }

 protected:
  void SetError(std::string error) { mLastError = std::move(error); }

 private:
  std::string mLastError;
};
