#include "online/server/postgres_store.h"

#include <libpq-fe.h>

#include <cstdlib>

namespace {

constexpr int kSchemaVersion = 1;
// Serialises schema creation between processes that start on an empty database.
constexpr char kSchemaLock[] = "SELECT pg_advisory_xact_lock(7234023)";

constexpr const char* kSchema[] = {
    "CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE TABLE accounts (id BIGSERIAL PRIMARY KEY, name TEXT NOT NULL, "
    "name_key TEXT NOT NULL UNIQUE, password_hash TEXT NOT NULL, created BIGINT NOT NULL)",
    "CREATE TABLE boards (id BIGSERIAL PRIMARY KEY, game TEXT NOT NULL, "
    "category TEXT NOT NULL, revision BIGINT NOT NULL DEFAULT 0, UNIQUE (game, category))",
    "CREATE TABLE scores (id BIGSERIAL PRIMARY KEY, board_id BIGINT NOT NULL REFERENCES boards, "
    "guid TEXT NOT NULL, account_id BIGINT REFERENCES accounts, name TEXT NOT NULL, "
    "score INTEGER NOT NULL, game_data TEXT NOT NULL, server_data TEXT NOT NULL, "
    "version TEXT NOT NULL, created BIGINT NOT NULL, UNIQUE (board_id, guid))",
    "CREATE INDEX scores_by_rank ON scores (board_id, score DESC, id)",
    "CREATE INDEX scores_by_time ON scores (board_id, created)",
    "CREATE TABLE medals (account_id BIGINT NOT NULL REFERENCES accounts, game TEXT NOT NULL, "
    "medal TEXT NOT NULL, per TEXT NOT NULL, created BIGINT NOT NULL, "
    "PRIMARY KEY (account_id, game, medal))",
};

struct TStatementText {
  const char* name;
  const char* sql;
};

constexpr TStatementText kStatements[] = {
    {"find_account", "SELECT id, name, password_hash FROM accounts WHERE name_key = $1"},
    {"add_account",
     "INSERT INTO accounts (name, name_key, password_hash, created) VALUES ($1, $2, $3, $4) "
     "ON CONFLICT (name_key) DO NOTHING"},
    {"set_hash", "UPDATE accounts SET password_hash = $2 WHERE id = $1"},
    {"add_board",
     "INSERT INTO boards (game, category) VALUES ($1, $2) ON CONFLICT (game, category) DO NOTHING"},
    {"board_id", "SELECT id FROM boards WHERE game = $1 AND category = $2"},
    // One statement, so one transaction: the score and the board's revision change
    // together, or neither does.
    {"add_score",
     "WITH inserted AS (INSERT INTO scores (board_id, guid, name, account_id, score, game_data, "
     "server_data, version, created) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9) "
     "ON CONFLICT (board_id, guid) DO NOTHING RETURNING id), "
     "bumped AS (UPDATE boards SET revision = revision + 1 "
     "WHERE id = $1 AND EXISTS (SELECT 1 FROM inserted)) "
     "SELECT id FROM inserted"},
    {"score_by_guid",
     "SELECT id, guid, name, account_id, score, game_data, server_data, version, created "
     "FROM scores WHERE board_id = $1 AND guid = $2"},
    {"revision", "SELECT revision FROM boards WHERE game = $1 AND category = $2"},
    {"top_scores",
     "SELECT id, guid, name, account_id, score, game_data, server_data, version, created "
     "FROM scores WHERE board_id = $1 AND created >= $2 ORDER BY score DESC, id LIMIT $3"},
    {"count_ahead",
     "SELECT count(*) FROM scores WHERE board_id = $1 AND created >= $2 "
     "AND (score > $3 OR (score = $3 AND id < $4))"},
    {"add_medal",
     "INSERT INTO medals (account_id, game, medal, per, created) VALUES ($1, $2, $3, $4, $5) "
     "ON CONFLICT (account_id, game, medal) DO NOTHING"},
    {"medals", "SELECT medal, per FROM medals WHERE account_id = $1 AND game = $2 ORDER BY medal"},
};

int64_t Integer(pg_result* result, int row, int column) {
  return std::strtoll(PQgetvalue(result, row, column), nullptr, 10);
}

std::string Text(pg_result* result, int row, int column) {
  return std::string(PQgetvalue(result, row, column), size_t(PQgetlength(result, row, column)));
}

// A row of "score_by_guid" or "top_scores".
TStoredScore ScoreRow(pg_result* result, int row) {
  TStoredScore score;
  score.id = Integer(result, row, 0);
  score.guid = Text(result, row, 1);
  score.name = Text(result, row, 2);
  if (!PQgetisnull(result, row, 3)) score.accountId = Integer(result, row, 3);
  score.score = static_cast<int32_t>(Integer(result, row, 4));
  score.gameData = Text(result, row, 5);
  score.serverData = Text(result, row, 6);
  score.version = Text(result, row, 7);
  score.created = Integer(result, row, 8);
  return score;
}

}  // namespace

void TPostgresStore::TResultFree::operator()(pg_result* result) const {
  PQclear(result);
}

TPostgresStore::TPostgresStore(const std::string& conninfo) : mConninfo(conninfo) {
  mReady = Connect() && CreateSchema() && PrepareStatements();
}

TPostgresStore::~TPostgresStore() {
  if (mConnection) PQfinish(mConnection);
}

bool TPostgresStore::Connect() {
  if (mConnection) PQfinish(mConnection);
  mBoardIds.clear();
  mConnection = PQconnectdb(mConninfo.c_str());
  if (PQstatus(mConnection) != CONNECTION_OK) {
    SetError(std::string("cannot connect to PostgreSQL: ") + PQerrorMessage(mConnection));
    return false;
  }
  if (PQsetClientEncoding(mConnection, "UTF8") != 0) {
    SetError("the database does not take UTF-8 text");
    return false;
  }
  return true;
}

bool TPostgresStore::Execute(const char* sql) {
  TResult result(PQexec(mConnection, sql));
  const ExecStatusType status = PQresultStatus(result.get());
  if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return true;
  SetError(std::string(sql) + ": " + PQerrorMessage(mConnection));
  return false;
}

bool TPostgresStore::CreateSchema() {
  if (!Execute("BEGIN") || !Execute(kSchemaLock)) return Execute("ROLLBACK"), false;
  int version = 0;
  TResult exists(PQexec(mConnection, "SELECT to_regclass('meta') IS NOT NULL"));
  bool ok = PQresultStatus(exists.get()) == PGRES_TUPLES_OK;
  if (ok && Text(exists.get(), 0, 0) == "t") {
    TResult read(PQexec(mConnection, "SELECT value FROM meta WHERE key = 'schema_version'"));
    ok = PQresultStatus(read.get()) == PGRES_TUPLES_OK;
    if (ok && PQntuples(read.get()) > 0) version = std::atoi(PQgetvalue(read.get(), 0, 0));
  }
  if (!ok) SetError(std::string("reading the schema version: ") + PQerrorMessage(mConnection));
  if (ok && version > kSchemaVersion) {
    SetError("the database was written by a newer server (schema version " +
             std::to_string(version) + ")");
    ok = false;
  }
  if (ok && version == 0) {
    for (const char* statement : kSchema) ok = ok && Execute(statement);
    ok = ok && Execute("INSERT INTO meta (key, value) VALUES ('schema_version', '1')");
  }
  if (!ok) {
    const std::string error = LastError();
    Execute("ROLLBACK");
    SetError(error);
    return false;
  }
  return Execute("COMMIT");
}

bool TPostgresStore::PrepareStatements() {
  for (const TStatementText& statement : kStatements) {
    TResult result(PQprepare(mConnection, statement.name, statement.sql, 0, nullptr));
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
      SetError(std::string("preparing ") + statement.name + ": " + PQerrorMessage(mConnection));
      return false;
    }
  }
  return true;
}

bool TPostgresStore::EnsureConnected() {
  // A connection lost since the last request (the database restarted) is opened anew.
  if (!mReady || PQstatus(mConnection) != CONNECTION_OK) {
    mReady = Connect() && PrepareStatements();
  }
  return mReady;
}

TPostgresStore::TResult TPostgresStore::Run(const char* name, const std::vector<TParam>& params) {
  if (!EnsureConnected()) return nullptr;
  std::vector<const char*> values;
  std::vector<int> lengths;
  for (const TParam& param : params) {
    values.push_back(param ? param->c_str() : nullptr);
    lengths.push_back(param ? int(param->size()) : 0);
  }
  TResult result(PQexecPrepared(mConnection, name, int(params.size()), values.data(),
                                lengths.data(), nullptr, 0));
  const ExecStatusType status = PQresultStatus(result.get());
  if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return result;
  SetError(std::string(name) + ": " + PQerrorMessage(mConnection));
  return nullptr;
}

std::optional<int64_t> TPostgresStore::BoardId(const TBoardKey& board, bool create) {
  auto key = std::make_pair(board.game, board.category);
  if (auto found = mBoardIds.find(key); found != mBoardIds.end()) return found->second;
  if (create && !Run("add_board", {board.game, board.category})) return std::nullopt;
  TResult result = Run("board_id", {board.game, board.category});
  if (!result) return std::nullopt;
  if (PQntuples(result.get()) == 0) return 0;  // no such board yet: it has no scores
  const int64_t id = Integer(result.get(), 0, 0);
  mBoardIds.emplace(std::move(key), id);
  return id;
}

bool TPostgresStore::FindAccount(std::string_view nameKey, std::optional<TStoredAccount>& account) {
  account.reset();
  TResult result = Run("find_account", {std::string(nameKey)});
  if (!result) return false;
  if (PQntuples(result.get()) > 0) {
    account = {Integer(result.get(), 0, 0), Text(result.get(), 0, 1), Text(result.get(), 0, 2)};
  }
  return true;
}

std::optional<TStoredAccount> TPostgresStore::CreateAccount(std::string_view name,
                                                            std::string_view nameKey,
                                                            std::string_view passwordHash,
                                                            int64_t now) {
  if (!Run("add_account", {std::string(name), std::string(nameKey), std::string(passwordHash),
                           std::to_string(now)})) {
    return std::nullopt;
  }
  std::optional<TStoredAccount> account;
  if (!FindAccount(nameKey, account)) return std::nullopt;
  if (!account) SetError("a new account vanished");
  return account;
}

bool TPostgresStore::SetPasswordHash(int64_t accountId, std::string_view passwordHash) {
  return bool(Run("set_hash", {std::to_string(accountId), std::string(passwordHash)}));
}

TAddScoreResult TPostgresStore::AddScore(const TBoardKey& board, TStoredScore& score,
                                         TStoredScore* existing) {
  const std::optional<int64_t> boardId = BoardId(board, true);
  if (!boardId) return TAddScoreResult::kFailed;
  const std::string boardText = std::to_string(*boardId);
  TResult inserted =
      Run("add_score", {boardText, score.guid, score.name,
                        score.accountId ? TParam(std::to_string(*score.accountId)) : std::nullopt,
                        std::to_string(score.score), score.gameData, score.serverData,
                        score.version, std::to_string(score.created)});
  if (!inserted) return TAddScoreResult::kFailed;
  if (PQntuples(inserted.get()) > 0) {
    score.id = Integer(inserted.get(), 0, 0);
    return TAddScoreResult::kStored;
  }
  TResult stored = Run("score_by_guid", {boardText, score.guid});
  if (!stored) return TAddScoreResult::kFailed;
  if (PQntuples(stored.get()) == 0) {
    SetError("a score's guid was taken, but no score has it");
    return TAddScoreResult::kFailed;
  }
  if (existing) *existing = ScoreRow(stored.get(), 0);
  return TAddScoreResult::kDuplicate;
}

std::optional<int64_t> TPostgresStore::Revision(const TBoardKey& board) {
  TResult result = Run("revision", {board.game, board.category});
  if (!result) return std::nullopt;
  return PQntuples(result.get()) > 0 ? Integer(result.get(), 0, 0) : 0;
}

bool TPostgresStore::TopScores(const TBoardKey& board, int64_t since, int limit,
                               std::vector<TStoredScore>& out) {
  out.clear();
  const std::optional<int64_t> boardId = BoardId(board, false);
  if (!boardId) return false;
  if (*boardId == 0) return true;
  TResult result =
      Run("top_scores", {std::to_string(*boardId), std::to_string(since), std::to_string(limit)});
  if (!result) return false;
  const int rows = PQntuples(result.get());
  out.reserve(size_t(rows));
  for (int row = 0; row < rows; ++row) out.push_back(ScoreRow(result.get(), row));
  return true;
}

std::optional<int64_t> TPostgresStore::CountAhead(const TBoardKey& board, int64_t since,
                                                  const TStoredScore& score) {
  const std::optional<int64_t> boardId = BoardId(board, false);
  if (!boardId) return std::nullopt;
  TResult result = Run("count_ahead", {std::to_string(*boardId), std::to_string(since),
                                       std::to_string(score.score), std::to_string(score.id)});
  if (!result) return std::nullopt;
  return Integer(result.get(), 0, 0);
}

std::optional<int> TPostgresStore::AddMedals(int64_t accountId, std::string_view game,
                                             const std::vector<TMedal>& medals, int64_t now) {
  if (!EnsureConnected() || !Execute("BEGIN")) return std::nullopt;
  int added = 0;
  for (const TMedal& medal : medals) {
    TResult result = Run("add_medal", {std::to_string(accountId), std::string(game), medal.name,
                                       medal.per, std::to_string(now)});
    if (!result) {
      const std::string error = LastError();
      Execute("ROLLBACK");
      SetError(error);
      return std::nullopt;
    }
    added += std::atoi(PQcmdTuples(result.get()));
  }
  if (!Execute("COMMIT")) return std::nullopt;
  return added;
}

std::optional<std::vector<TMedal>> TPostgresStore::Medals(int64_t accountId,
                                                          std::string_view game) {
  TResult result = Run("medals", {std::to_string(accountId), std::string(game)});
  if (!result) return std::nullopt;
  std::vector<TMedal> medals;
  for (int row = 0; row < PQntuples(result.get()); ++row) {
    medals.push_back({Text(result.get(), row, 0), Text(result.get(), row, 1)});
  }
  return medals;
}

bool TPostgresStore::Ping() {
  return EnsureConnected() && Execute("SELECT 1");
}
