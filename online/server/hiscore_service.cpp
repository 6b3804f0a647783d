#include "online/server/hiscore_service.h"

#include <chrono>

#include "online/server/field_rules.h"
#include "online/server/hiscore_reply.h"

namespace {

using TKind = THiscoreAnswer::TKind;

THiscoreAnswer Refusal(TKind kind, std::string body, std::string reason) {
  return {kind, std::move(body), std::move(reason), ""};
}

THiscoreAnswer ProtocolError(const std::string& text, const char* reason) {
  return Refusal(TKind::kProtocolError, ProtocolErrorReply(text), reason);
}

THiscoreAnswer WrongPassword() {
  return Refusal(TKind::kMessage,
                 MessageReply(kInvalidLoginId, "The account name or password is not correct."),
                 "wrong_password");
}

// The database failed: the player may try again, nothing was stored. The detail goes to
// the server's log only.
THiscoreAnswer Unavailable(const std::string& detail) {
  THiscoreAnswer answer =
      Refusal(TKind::kUnavailable,
              MessageReply("hiscore.error.unavailable",
                           "The high-score server is busy. Please try again later."),
              "store_failed");
  answer.detail = detail;
  return answer;
}

THiscoreAnswer Ok(std::string body) {
  return {TKind::kOk, std::move(body), "ok", ""};
}

std::string CacheKey(const TBoardKey& board, const TScoreTableSpec& table) {
  std::string key = board.game;
  key += '\n';
  key += board.category;
  key += '\n';
  key += table.id;
  return key;
}

}  // namespace

int64_t THiscoreService::SystemSeconds() {
  using namespace std::chrono;
  return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

THiscoreService::THiscoreService(THiscoreConfig config, TStorePool& stores, TClock clock)
    : mConfig(std::move(config)),
      mStores(stores),
      mClock(std::move(clock)),
      mHasher(mConfig.passwordCost) {}

bool THiscoreService::Healthy() {
  std::string error;
  TStorePool::TLease store = mStores.Acquire(&error);
  return store && store->Ping();
}

THiscoreAnswer THiscoreService::Tables(const std::string& game) {
  if (!mConfig.FindGame(game)) return ProtocolError("Unknown game: " + game, "unknown_game");
  return Ok(TablesReply(mConfig.tables));
}

std::shared_ptr<const TRenderedTable> THiscoreService::Table(TScoreStore& store,
                                                             const TBoardKey& board,
                                                             const TScoreTableSpec& table,
                                                             std::string& error) {
  const int64_t since = PeriodStart(table.period, mClock());
  const std::optional<int64_t> revision = store.Revision(board);
  if (!revision) {
    error = store.LastError();
    return nullptr;
  }
  const std::string key = CacheKey(board, table);
  if (auto cached = mCache.Find(key, *revision, since)) return cached;

  std::vector<TStoredScore> scores;
  if (!store.TopScores(board, since, mConfig.limits.tableRows, scores)) {
    error = store.LastError();
    return nullptr;
  }
  auto rendered = std::make_shared<TRenderedTable>();
  rendered->revision = *revision;
  rendered->since = since;
  rendered->rows.reserve(scores.size());
  int rank = 0;
  for (size_t i = 0; i < scores.size(); ++i) {
    // Equal scores share a rank; the next score's rank counts every row before it.
    if (i == 0 || scores[i].score != scores[i - 1].score) rank = int(i) + 1;
    rendered->rows.push_back(ScoreRowAttributes(scores[i], rank));
    rendered->nameKeys.push_back(scores[i].accountId ? NameKey(scores[i].name) : "");
  }
  mCache.Store(key, rendered);
  return rendered;
}

THiscoreAnswer THiscoreService::Scores(const TScoresQuery& query) {
  const THiscoreGame* game = mConfig.FindGame(query.game);
  if (!game) return ProtocolError("Unknown game: " + query.game, "unknown_game");
  if (query.category.empty()) {
    // The game recognises this text and tells the player the game mode is not valid.
    return ProtocolError("Missing required parameter: type", "missing_type");
  }
  if (!game->HasMode(query.category)) {
    return ProtocolError("Unknown value of parameter: type", "unknown_type");
  }
  const TScoreTableSpec* table = &mConfig.tables.front();
  if (query.tableId) {
    table = mConfig.FindTable(*query.tableId);
    if (!table) return ProtocolError("Unknown value of parameter: table", "unknown_table");
  }
  // The game always asks for 500; a server keeping shorter tables sends what it has.
  const int64_t rows = mConfig.limits.tableRows;
  if (query.numScores && *query.numScores < 1) {
    return ProtocolError("Invalid value of parameter: numScores", "bad_count");
  }
  if (!IsPlainText(query.username, mConfig.limits.maxNameLength)) {
    return ProtocolError("Invalid value of parameter: username", "bad_username");
  }

  std::string error;
  TStorePool::TLease store = mStores.Acquire(&error);
  if (!store) return Unavailable(error);
  const TBoardKey board{query.game, query.category};
  std::shared_ptr<const TRenderedTable> rendered = Table(*store, board, *table, error);
  if (!rendered) return Unavailable(error);

  const size_t count = std::min<size_t>(rendered->rows.size(), query.numScores.value_or(rows));
  int accountRow = -1;
  if (!query.username.empty()) {
    const std::string key = Latin1ToUtf8(NameKey(query.username));
    for (size_t i = 0; i < count && accountRow < 0; ++i) {
      if (rendered->nameKeys[i] == key) accountRow = int(i);
    }
  }
  return Ok(ScoresReply(table->id, query.category, rendered->rows, count, accountRow));
}

std::optional<THiscoreAnswer> THiscoreService::CheckSubmission(
    const TScoreSubmission& submission) const {
  const THiscoreLimits& limits = mConfig.limits;
  const THiscoreGame* game = mConfig.FindGame(submission.game);
  if (!game) return ProtocolError("Unknown game: " + submission.game, "unknown_game");
  if (!game->HasMode(submission.category)) {
    return ProtocolError("Unknown value of attribute: type", "unknown_type");
  }
  if (!IsGuid(submission.guid))
    return ProtocolError("Invalid value of attribute: guid", "bad_guid");
  if (!IsName(submission.name, limits.maxNameLength)) {
    return ProtocolError("Invalid value of attribute: name", "bad_name");
  }
  if (submission.password && (submission.password->empty() ||
                              !IsPlainText(*submission.password, limits.maxPasswordLength))) {
    return ProtocolError("Invalid value of attribute: password", "bad_password");
  }
  if (submission.score < game->minScore || submission.score > game->maxScore) {
    return ProtocolError("Invalid value of attribute: score", "bad_score");
  }
  if (!IsPlainText(submission.gameData, limits.maxDataLength) ||
      !IsPlainText(submission.serverData, limits.maxDataLength) ||
      !IsPlainText(submission.version, 32)) {
    return ProtocolError("Invalid value of attribute: data, ver or the server data", "bad_data");
  }
  return std::nullopt;
}

std::optional<THiscoreAnswer> THiscoreService::LogIn(TScoreStore& store, const std::string& name,
                                                     const std::string& password,
                                                     std::optional<TStoredAccount>& account) {
  const std::string nameKey = Latin1ToUtf8(NameKey(name));
  if (!store.FindAccount(nameKey, account)) return Unavailable(store.LastError());
  if (!account) {
    const std::optional<std::string> hash = mHasher.Hash(password);
    if (!hash) return Unavailable("cannot hash a password (out of memory?)");
    account = store.CreateAccount(Latin1ToUtf8(name), nameKey, *hash, mClock());
    if (!account) return Unavailable(store.LastError());
    // Another request may have created the account a moment earlier: then its password
    // holds, and this one is checked against it below.
    if (account->passwordHash == *hash) return std::nullopt;
  }
  if (!mHasher.Verify(account->passwordHash, password)) return WrongPassword();
  if (mHasher.NeedsRehash(account->passwordHash)) {
    // New cost settings reach old accounts at their next login; a failure here only
    // leaves the old, still valid hash.
    if (const std::optional<std::string> hash = mHasher.Hash(password)) {
      if (store.SetPasswordHash(account->id, *hash)) account->passwordHash = *hash;
    }
  }
  return std::nullopt;
}

THiscoreAnswer THiscoreService::Placement(TScoreStore& store, const TBoardKey& board,
                                          const TStoredScore& score) {
  const int64_t now = mClock();
  for (const TScoreTableSpec& table : mConfig.tables) {
    const int64_t since = PeriodStart(table.period, now);
    if (score.created < since) continue;
    const std::optional<int64_t> ahead = store.CountAhead(board, since, score);
    if (!ahead) return Unavailable(store.LastError());
    if (*ahead < mConfig.limits.tableRows) {
      return Ok(SubmitReply(score.guid, table.id, *ahead + 1));
    }
  }
  return Ok(SubmitReply(score.guid, "", 0));
}

THiscoreAnswer THiscoreService::SubmitScore(const TScoreSubmission& submission) {
  if (std::optional<THiscoreAnswer> refusal = CheckSubmission(submission)) return *refusal;

  std::string error;
  TStorePool::TLease store = mStores.Acquire(&error);
  if (!store) return Unavailable(error);
  std::optional<TStoredAccount> account;
  if (submission.password) {
    if (auto refusal = LogIn(*store, submission.name, *submission.password, account)) {
      return *refusal;
    }
  }

  TStoredScore score;
  score.guid = submission.guid;
  score.name = Latin1ToUtf8(submission.name);
  if (account) score.accountId = account->id;
  score.score = static_cast<int32_t>(submission.score);
  score.gameData = Latin1ToUtf8(submission.gameData);
  score.serverData = Latin1ToUtf8(submission.serverData);
  score.version = Latin1ToUtf8(submission.version);
  score.created = mClock();

  const TBoardKey board{submission.game, submission.category};
  TStoredScore existing;
  switch (store->AddScore(board, score, &existing)) {
    case TAddScoreResult::kStored:
      return Placement(*store, board, score);
    case TAddScoreResult::kDuplicate:
      // A resubmission (the first answer was lost) gets the first answer again; another
      // score under a used guid is counted no more.
      if (existing.SameSubmission(score)) return Placement(*store, board, existing);
      return Refusal(TKind::kOk, DuplicateReply(submission.guid), "duplicate_guid");
    case TAddScoreResult::kFailed:
      break;
  }
  return Unavailable(store->LastError());
}

THiscoreAnswer THiscoreService::SubmitMedals(const TMedalSubmission& submission) {
  const THiscoreLimits& limits = mConfig.limits;
  if (!mConfig.FindGame(submission.game)) {
    return ProtocolError("Unknown game: " + submission.game, "unknown_game");
  }
  if (!IsName(submission.name, limits.maxNameLength)) {
    return ProtocolError("Invalid value of attribute: name", "bad_name");
  }
  if (submission.password.empty() || !IsPlainText(submission.password, limits.maxPasswordLength)) {
    return ProtocolError("Invalid value of attribute: password", "bad_password");
  }
  if (submission.medals.size() > limits.maxMedals) {
    return ProtocolError("Too many medals", "too_many_medals");
  }
  for (const TMedal& medal : submission.medals) {
    if (!IsToken(medal.name, 64) || !IsToken(medal.per, 16)) {
      return ProtocolError("Invalid medal", "bad_medal");
    }
  }

  std::string error;
  TStorePool::TLease store = mStores.Acquire(&error);
  if (!store) return Unavailable(error);
  std::optional<TStoredAccount> account;
  if (auto refusal = LogIn(*store, submission.name, submission.password, account)) {
    return *refusal;
  }
  const std::optional<int> added =
      store->AddMedals(account->id, submission.game, submission.medals, mClock());
  if (!added) return Unavailable(store->LastError());
  const auto all = store->Medals(account->id, submission.game);
  if (!all) return Unavailable(store->LastError());
  return Ok(MedalsReply(*added, all->size()));
}
