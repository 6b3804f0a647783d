// THiscoreService: what the high-score server does, apart from how requests arrive. The
// HTTP front (THiscoreRequestHandler) and the in-process local server both decode their
// requests into the structures below and call this class, which checks every value
// again, talks to the store and writes the XML answer.
//
// Accounts are made by the first submission that names them with a password; later
// submissions under that name must bring the same password. A submission without a
// password is stored as an anonymous score under the given name. A guid is stored once
// per game mode: sending the same score again is answered as the first time and counted
// once.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "online/server/hiscore_config.h"
#include "online/server/password_hasher.h"
#include "online/server/score_store.h"
#include "online/server/score_table_cache.h"
#include "online/server/store_pool.h"

struct TScoresQuery {
  std::string game;
  std::string category;                // "type"
  std::optional<std::string> tableId;  // none: the first table
  std::optional<int64_t> numScores;    // none: a whole table
  std::string username;                // marks that account's row; may be empty
};

struct TScoreSubmission {
  std::string game;
  std::string category;
  std::string guid;
  std::string name;
  std::optional<std::string> password;  // none: an anonymous score
  int64_t score = 0;
  std::string gameData;
  std::string serverData;
  std::string version;
};

struct TMedalSubmission {
  std::string game;
  std::string name;
  std::string password;
  std::vector<TMedal> medals;
};

struct THiscoreAnswer {
  enum class TKind {
    kOk,             // the request did what it asked
    kMessage,        // refused with a message for the player
    kProtocolError,  // the request itself was wrong
    kUnavailable,    // the database failed; nothing was changed
  };
  TKind kind = TKind::kOk;
  std::string body;    // the XML answer
  std::string reason;  // short word for the access log and the refusal counters
  std::string detail;  // for the server's log only (a database error)
};

class THiscoreService {
 public:
  using TClock = std::function<int64_t()>;  // seconds since the epoch

  // Texts of the store are UTF-8; the texts handed to the service and its answers are
  // the game's 8-bit characters.
  THiscoreService(THiscoreConfig config, TStorePool& stores, TClock clock = SystemSeconds);

  THiscoreAnswer Tables(const std::string& game);
  THiscoreAnswer Scores(const TScoresQuery& query);
  THiscoreAnswer SubmitScore(const TScoreSubmission& submission);
  THiscoreAnswer SubmitMedals(const TMedalSubmission& submission);

  // The database answers.
  bool Healthy();

  const THiscoreConfig& Config() const { return mConfig; }
  static int64_t SystemSeconds();

 private:
  // The account of name in *account, created with this password when there is none yet;
  // the refusal when the password is wrong or the database fails.
  std::optional<THiscoreAnswer> LogIn(TScoreStore& store, const std::string& name,
                                      const std::string& password,
                                      std::optional<TStoredAccount>& account);
  // The answer to a stored score: where it placed.
  THiscoreAnswer Placement(TScoreStore& store, const TBoardKey& board, const TStoredScore& score);
  // Rows of a table, from the cache or the store.
  std::shared_ptr<const TRenderedTable> Table(TScoreStore& store, const TBoardKey& board,
                                              const TScoreTableSpec& table, std::string& error);
  std::optional<THiscoreAnswer> CheckSubmission(const TScoreSubmission& submission) const;

  THiscoreConfig mConfig;
  TStorePool& mStores;
  TClock mClock;
  TPasswordHasher mHasher;
  TScoreTableCache mCache;
};
