#include "online/server/sqlite_store.h"

#include <sqlite3.h>

#include <condition_variable>
#include <cstdlib>
#include <mutex>

namespace {

constexpr int kSchemaVersion = 1;

// Tables of schema version 1. "meta" holds the version; a database written by a newer
// server (a higher version) is not opened.
constexpr const char* kSchema[] = {
    "CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE TABLE accounts (id INTEGER PRIMARY KEY, name TEXT NOT NULL, "
    "name_key TEXT NOT NULL UNIQUE, password_hash TEXT NOT NULL, created INTEGER NOT NULL)",
    "CREATE TABLE boards (id INTEGER PRIMARY KEY, game TEXT NOT NULL, "
    "category TEXT NOT NULL, revision INTEGER NOT NULL DEFAULT 0, UNIQUE (game, category))",
    "CREATE TABLE scores (id INTEGER PRIMARY KEY, board_id INTEGER NOT NULL REFERENCES boards, "
    "guid TEXT NOT NULL, account_id INTEGER REFERENCES accounts, name TEXT NOT NULL, "
    "score INTEGER NOT NULL, game_data TEXT NOT NULL, server_data TEXT NOT NULL, "
    "version TEXT NOT NULL, created INTEGER NOT NULL, UNIQUE (board_id, guid))",
    "CREATE INDEX scores_by_rank ON scores (board_id, score DESC, id)",
    "CREATE INDEX scores_by_time ON scores (board_id, created)",
    "CREATE TABLE medals (account_id INTEGER NOT NULL REFERENCES accounts, game TEXT NOT NULL, "
    "medal TEXT NOT NULL, per TEXT NOT NULL, created INTEGER NOT NULL, "
    "PRIMARY KEY (account_id, game, medal))",
};

constexpr char kSelectScoreByGuid[] =
    "SELECT id, guid, name, account_id, score, game_data, server_data, version, created "
    "FROM scores WHERE board_id = ?1 AND guid = ?2";
constexpr char kSelectTopScores[] =
    "SELECT id, guid, name, account_id, score, game_data, server_data, version, created "
    "FROM scores WHERE board_id = ?1 AND created >= ?2 ORDER BY score DESC, id LIMIT ?3";

}  // namespace

// A prepared statement of the store's cache.
class TSqliteStore::TStatement {
 public:
  explicit TStatement(sqlite3_stmt* statement) : mStatement(statement) {}
  ~TStatement() { sqlite3_finalize(mStatement); }

  void Reset() {
    sqlite3_reset(mStatement);
    sqlite3_clear_bindings(mStatement);
  }
  TStatement& Bind(int index, std::string_view text) {
    sqlite3_bind_text(mStatement, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
    return *this;
  }
  TStatement& Bind(int index, int64_t value) {
    sqlite3_bind_int64(mStatement, index, value);
    return *this;
  }
  TStatement& Bind(int index, std::optional<int64_t> value) {
    if (value) return Bind(index, *value);
    sqlite3_bind_null(mStatement, index);
    return *this;
  }
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step() { return sqlite3_step(mStatement); }

  int64_t Integer(int column) const { return sqlite3_column_int64(mStatement, column); }
  bool IsNull(int column) const { return sqlite3_column_type(mStatement, column) == SQLITE_NULL; }
  std::string Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(mStatement, column));
    return text ? std::string(text, size_t(sqlite3_column_bytes(mStatement, column))) : "";
  }

  // A row of kSelectScoreByGuid or kSelectTopScores.
  TStoredScore Score() const {
    TStoredScore score;
    score.id = Integer(0);
    score.guid = Text(1);
    score.name = Text(2);
    if (!IsNull(3)) score.accountId = Integer(3);
    score.score = static_cast<int32_t>(Integer(4));
    score.gameData = Text(5);
    score.serverData = Text(6);
    score.version = Text(7);
    score.created = Integer(8);
    return score;
  }

 private:
  sqlite3_stmt* mStatement;
};

class TSqliteStore::TStatementUse {
 public:
  explicit TStatementUse(TStatement* statement) : mStatement(statement) {}
  ~TStatementUse() {
    if (mStatement) mStatement->Reset();
  }
  TStatementUse(const TStatementUse&) = delete;
  TStatementUse& operator=(const TStatementUse&) = delete;

  explicit operator bool() const { return mStatement != nullptr; }
  TStatement* operator->() const { return mStatement; }

 private:
  TStatement* mStatement;
};

// One score waiting for the next group commit.
struct TSqliteStore::TPendingScore {
  const TBoardKey* board = nullptr;
  TStoredScore* score = nullptr;
  TStoredScore* existing = nullptr;
  TAddScoreResult result = TAddScoreResult::kFailed;
  std::string error;
  bool finished = false;
};

// What the stores of one database file in this process share: the lock that orders their
// writes (so that they queue here instead of in SQLite's sleeping busy handler), and the
// scores waiting to be committed together.
struct TSqliteStore::TShared {
  std::mutex writeLock;
  std::mutex queueLock;
  std::condition_variable committed;
  bool committing = false;
  std::vector<TPendingScore*> queue;

  static std::shared_ptr<TShared> ForPath(const std::string& path) {
    // Every ":memory:" connection is a database of its own.
    if (path == ":memory:") return std::make_shared<TShared>();
    static std::mutex registryLock;
    static std::map<std::string, std::weak_ptr<TShared>> registry;
    std::lock_guard lock(registryLock);
    std::shared_ptr<TShared> shared = registry[path].lock();
    if (!shared) {
      shared = std::make_shared<TShared>();
      registry[path] = shared;
    }
    return shared;
  }
};

TSqliteStore::TSqliteStore(const std::string& path) : mShared(TShared::ForPath(path)) {
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(path.c_str(), &mDb, flags, nullptr) != SQLITE_OK) {
    SetError("cannot open " + path + ": " + (mDb ? sqlite3_errmsg(mDb) : "out of memory"));
    sqlite3_close(mDb);
    mDb = nullptr;
    return;
  }
  // A writer waits for another up to this long before its request fails.
  sqlite3_busy_timeout(mDb, 10000);
  const bool ready = Execute("PRAGMA journal_mode = WAL") && Execute("PRAGMA synchronous = FULL") &&
                     Execute("PRAGMA foreign_keys = ON") && CreateSchemaLocked();
  if (!ready) {
    SetError("cannot use " + path + ": " + LastError());
    mStatements.clear();
    sqlite3_close(mDb);
    mDb = nullptr;
  }
}

TSqliteStore::~TSqliteStore() {
  mStatements.clear();
  if (mDb) sqlite3_close(mDb);
}

bool TSqliteStore::Fail(const char* what) {
  SetError(std::string(what) + ": " + sqlite3_errmsg(mDb));
  return false;
}

bool TSqliteStore::Execute(const char* sql) {
  if (sqlite3_exec(mDb, sql, nullptr, nullptr, nullptr) != SQLITE_OK) return Fail(sql);
  return true;
}

void TSqliteStore::Rollback() {
  const std::string error = LastError();
  Execute("ROLLBACK");
  SetError(error);
  // A board added in the transaction is gone again.
  mBoardIds.clear();
}

bool TSqliteStore::CreateSchemaLocked() {
  std::lock_guard write(mShared->writeLock);
  return CreateSchema();
}

bool TSqliteStore::CreateSchema() {
  // IMMEDIATE: of several processes starting on a new file, one creates the tables and
  // the others then find them.
  if (!Execute("BEGIN IMMEDIATE")) return false;
  int version = 0;
  bool hasMeta = false;
  {
    TStatementUse count =
        Prepare("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'meta'");
    hasMeta = count && count->Step() == SQLITE_ROW && count->Integer(0) > 0;
  }
  if (hasMeta) {
    TStatementUse read = Prepare("SELECT value FROM meta WHERE key = 'schema_version'");
    if (read && read->Step() == SQLITE_ROW) version = std::atoi(read->Text(0).c_str());
  }
  bool ok = true;
  if (version > kSchemaVersion) {
    SetError("the database was written by a newer server (schema version " +
             std::to_string(version) + ")");
    ok = false;
  } else if (version == 0) {
    for (const char* statement : kSchema) ok = ok && Execute(statement);
    ok = ok && Execute("INSERT INTO meta (key, value) VALUES ('schema_version', '1')");
  }
  if (!ok) {
    Rollback();
    return false;
  }
  return Execute("COMMIT");
}

TSqliteStore::TStatementUse TSqliteStore::Prepare(const char* sql) {
  auto found = mStatements.find(sql);
  if (found != mStatements.end()) return TStatementUse(found->second.get());
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(mDb, sql, -1, &statement, nullptr) != SQLITE_OK) {
    Fail(sql);
    return TStatementUse(nullptr);
  }
  return TStatementUse(
      mStatements.emplace(sql, std::make_unique<TStatement>(statement)).first->second.get());
}

std::optional<int64_t> TSqliteStore::BoardId(const TBoardKey& board, bool create) {
  auto key = std::make_pair(board.game, board.category);
  if (auto found = mBoardIds.find(key); found != mBoardIds.end()) return found->second;
  if (create) {
    TStatementUse insert = Prepare(
        "INSERT INTO boards (game, category) VALUES (?1, ?2) "
        "ON CONFLICT (game, category) DO NOTHING");
    if (!insert) return std::nullopt;
    insert->Bind(1, board.game).Bind(2, board.category);
    if (insert->Step() != SQLITE_DONE) return Fail("adding a board"), std::nullopt;
  }
  TStatementUse select = Prepare("SELECT id FROM boards WHERE game = ?1 AND category = ?2");
  if (!select) return std::nullopt;
  select->Bind(1, board.game).Bind(2, board.category);
  const int step = select->Step();
  if (step == SQLITE_ROW) {
    const int64_t id = select->Integer(0);
    mBoardIds.emplace(std::move(key), id);
    return id;
  }
  if (step != SQLITE_DONE) return Fail("reading a board"), std::nullopt;
  return 0;  // no such board yet: it has no scores
}

bool TSqliteStore::FindAccount(std::string_view nameKey, std::optional<TStoredAccount>& account) {
  account.reset();
  TStatementUse select =
      Prepare("SELECT id, name, password_hash FROM accounts WHERE name_key = ?1");
  if (!select) return false;
  select->Bind(1, nameKey);
  const int step = select->Step();
  if (step == SQLITE_ROW) account = {select->Integer(0), select->Text(1), select->Text(2)};
  return step == SQLITE_ROW || step == SQLITE_DONE || Fail("reading an account");
}

std::optional<TStoredAccount> TSqliteStore::CreateAccount(std::string_view name,
                                                          std::string_view nameKey,
                                                          std::string_view passwordHash,
                                                          int64_t now) {
  {
    std::lock_guard write(mShared->writeLock);
    TStatementUse insert = Prepare(
        "INSERT INTO accounts (name, name_key, password_hash, created) VALUES (?1, ?2, ?3, ?4) "
        "ON CONFLICT (name_key) DO NOTHING");
    if (!insert) return std::nullopt;
    insert->Bind(1, name).Bind(2, nameKey).Bind(3, passwordHash).Bind(4, now);
    if (insert->Step() != SQLITE_DONE) return Fail("adding an account"), std::nullopt;
  }
  std::optional<TStoredAccount> account;
  if (!FindAccount(nameKey, account)) return std::nullopt;
  if (!account) SetError("a new account vanished");
  return account;
}

bool TSqliteStore::SetPasswordHash(int64_t accountId, std::string_view passwordHash) {
  std::lock_guard write(mShared->writeLock);
  TStatementUse update = Prepare("UPDATE accounts SET password_hash = ?2 WHERE id = ?1");
  if (!update) return false;
  update->Bind(1, accountId).Bind(2, passwordHash);
  return update->Step() == SQLITE_DONE || Fail("changing a password hash");
}

TAddScoreResult TSqliteStore::AddScore(const TBoardKey& board, TStoredScore& score,
                                       TStoredScore* existing) {
  // Group commit: the scores that arrive while a commit is being made to disk wait, and
  // the next store to find the queue idle commits all of them in one transaction, so one
  // disk synchronisation serves them all. Each caller returns only once its score is
  // committed (or refused).
  TPendingScore mine;
  mine.board = &board;
  mine.score = &score;
  mine.existing = existing;
  std::unique_lock lock(mShared->queueLock);
  mShared->queue.push_back(&mine);
  while (!mine.finished) {
    if (mShared->committing) {
      mShared->committed.wait(lock);
      continue;
    }
    mShared->committing = true;
    std::vector<TPendingScore*> batch;
    batch.swap(mShared->queue);
    lock.unlock();
    CommitScores(batch);
    lock.lock();
    for (TPendingScore* pending : batch) pending->finished = true;
    mShared->committing = false;
    mShared->committed.notify_all();
  }
  if (mine.result == TAddScoreResult::kFailed) SetError(mine.error);
  return mine.result;
}

void TSqliteStore::CommitScores(const std::vector<TPendingScore*>& batch) {
  std::lock_guard write(mShared->writeLock);
  auto failAll = [&](const std::string& error) {
    for (TPendingScore* pending : batch) {
      pending->result = TAddScoreResult::kFailed;
      pending->error = error;
    }
  };
  if (!Execute("BEGIN IMMEDIATE")) return failAll(LastError());
  for (TPendingScore* pending : batch) {
    // A savepoint per score: one that fails leaves the others of the batch.
    if (!Execute("SAVEPOINT score")) return Rollback(), failAll(LastError());
    pending->result = InsertScore(*pending->board, *pending->score, pending->existing);
    if (pending->result == TAddScoreResult::kFailed) {
      pending->error = LastError();
      Execute("ROLLBACK TO score");
      mBoardIds.clear();  // a board added by the failed score is gone again
    }
    if (!Execute("RELEASE score")) return Rollback(), failAll(LastError());
  }
  if (!Execute("COMMIT")) {
    Rollback();
    failAll(LastError());
  }
}

TAddScoreResult TSqliteStore::InsertScore(const TBoardKey& board, TStoredScore& score,
                                          TStoredScore* existing) {
  const std::optional<int64_t> boardId = BoardId(board, true);
  if (!boardId) return TAddScoreResult::kFailed;
  {
    TStatementUse insert = Prepare(
        "INSERT INTO scores (board_id, guid, name, account_id, score, game_data, server_data, "
        "version, created) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9) "
        "ON CONFLICT (board_id, guid) DO NOTHING");
    if (!insert) return TAddScoreResult::kFailed;
    insert->Bind(1, *boardId).Bind(2, score.guid).Bind(3, score.name).Bind(4, score.accountId);
    insert->Bind(5, int64_t(score.score)).Bind(6, score.gameData).Bind(7, score.serverData);
    insert->Bind(8, score.version).Bind(9, score.created);
    if (insert->Step() != SQLITE_DONE) return Fail("adding a score"), TAddScoreResult::kFailed;
  }
  if (sqlite3_changes(mDb) == 0) {
    TStatementUse select = Prepare(kSelectScoreByGuid);
    if (!select) return TAddScoreResult::kFailed;
    select->Bind(1, *boardId).Bind(2, score.guid);
    if (select->Step() != SQLITE_ROW) {
      return Fail("reading a stored score"), TAddScoreResult::kFailed;
    }
    if (existing) *existing = select->Score();
    return TAddScoreResult::kDuplicate;
  }
  score.id = sqlite3_last_insert_rowid(mDb);
  TStatementUse bump = Prepare("UPDATE boards SET revision = revision + 1 WHERE id = ?1");
  if (!bump) return TAddScoreResult::kFailed;
  bump->Bind(1, *boardId);
  if (bump->Step() != SQLITE_DONE) return Fail("counting a change"), TAddScoreResult::kFailed;
  return TAddScoreResult::kStored;
}

std::optional<int64_t> TSqliteStore::Revision(const TBoardKey& board) {
  TStatementUse select = Prepare("SELECT revision FROM boards WHERE game = ?1 AND category = ?2");
  if (!select) return std::nullopt;
  select->Bind(1, board.game).Bind(2, board.category);
  const int step = select->Step();
  if (step == SQLITE_ROW) return select->Integer(0);
  if (step == SQLITE_DONE) return 0;
  return Fail("reading a revision"), std::nullopt;
}

bool TSqliteStore::TopScores(const TBoardKey& board, int64_t since, int limit,
                             std::vector<TStoredScore>& out) {
  out.clear();
  const std::optional<int64_t> boardId = BoardId(board, false);
  if (!boardId) return false;
  if (*boardId == 0) return true;
  TStatementUse select = Prepare(kSelectTopScores);
  if (!select) return false;
  select->Bind(1, *boardId).Bind(2, since).Bind(3, int64_t(limit));
  int step;
  while ((step = select->Step()) == SQLITE_ROW) out.push_back(select->Score());
  return step == SQLITE_DONE || Fail("reading scores");
}

std::optional<int64_t> TSqliteStore::CountAhead(const TBoardKey& board, int64_t since,
                                                const TStoredScore& score) {
  const std::optional<int64_t> boardId = BoardId(board, false);
  if (!boardId) return std::nullopt;
  TStatementUse count = Prepare(
      "SELECT count(*) FROM scores WHERE board_id = ?1 AND created >= ?2 "
      "AND (score > ?3 OR (score = ?3 AND id < ?4))");
  if (!count) return std::nullopt;
  count->Bind(1, *boardId).Bind(2, since).Bind(3, int64_t(score.score)).Bind(4, score.id);
  if (count->Step() != SQLITE_ROW) return Fail("counting scores"), std::nullopt;
  return count->Integer(0);
}

std::optional<int> TSqliteStore::AddMedals(int64_t accountId, std::string_view game,
                                           const std::vector<TMedal>& medals, int64_t now) {
  std::lock_guard write(mShared->writeLock);
  if (!Execute("BEGIN IMMEDIATE")) return std::nullopt;
  int added = 0;
  bool ok = true;
  for (const TMedal& medal : medals) {
    TStatementUse insert = Prepare(
        "INSERT INTO medals (account_id, game, medal, per, created) VALUES (?1, ?2, ?3, ?4, ?5) "
        "ON CONFLICT (account_id, game, medal) DO NOTHING");
    ok = bool(insert);
    if (!ok) break;
    insert->Bind(1, accountId).Bind(2, game).Bind(3, medal.name).Bind(4, medal.per).Bind(5, now);
    ok = insert->Step() == SQLITE_DONE || Fail("adding a medal");
    if (!ok) break;
    added += sqlite3_changes(mDb);
  }
  if (ok && Execute("COMMIT")) return added;
  Rollback();
  return std::nullopt;
}

std::optional<std::vector<TMedal>> TSqliteStore::Medals(int64_t accountId, std::string_view game) {
  TStatementUse select =
      Prepare("SELECT medal, per FROM medals WHERE account_id = ?1 AND game = ?2 ORDER BY medal");
  if (!select) return std::nullopt;
  select->Bind(1, accountId).Bind(2, game);
  std::vector<TMedal> medals;
  int step;
  while ((step = select->Step()) == SQLITE_ROW)
    medals.push_back({select->Text(0), select->Text(1)});
  if (step != SQLITE_DONE) return Fail("reading medals"), std::nullopt;
  return medals;
}

bool TSqliteStore::Ping() {
  TStatementUse select = Prepare("SELECT 1");
  return (select && select->Step() == SQLITE_ROW) || Fail("ping");
}
