// TScoreTableCache: the rendered rows of each score table, kept until the board's
// revision or the table's period changes. Reads of popular tables then cost one small
// query (the revision) instead of ranking up to 500 rows; since the revision lives in the
// database, a score stored by another server process is seen at the next read.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct TRenderedTable {
  int64_t revision = 0;
  int64_t since = 0;                  // start of the period the rows cover
  std::vector<std::string> rows;      // ScoreRowAttributes of each row, best first
  std::vector<std::string> nameKeys;  // NameKey of each row's name; empty for anonymous rows
};

class TScoreTableCache {
 public:
  // The cached table when it was rendered at this revision for this period, else null.
  std::shared_ptr<const TRenderedTable> Find(const std::string& key, int64_t revision,
                                             int64_t since) const;
  void Store(const std::string& key, std::shared_ptr<const TRenderedTable> table);

 private:
  mutable std::mutex mMutex;
  // One entry per game, mode and table: a new period or revision replaces it.
  std::map<std::string, std::shared_ptr<const TRenderedTable>> mTables;
};
