#include "online/server/score_table_cache.h"

std::shared_ptr<const TRenderedTable> TScoreTableCache::Find(const std::string& key,
                                                             int64_t revision,
                                                             int64_t since) const {
  std::lock_guard lock(mMutex);
  auto found = mTables.find(key);
  if (found == mTables.end()) return nullptr;
  const TRenderedTable& table = *found->second;
  if (table.revision != revision || table.since != since) return nullptr;
  return found->second;
}

void TScoreTableCache::Store(const std::string& key, std::shared_ptr<const TRenderedTable> table) {
  std::lock_guard lock(mMutex);
  std::shared_ptr<const TRenderedTable>& slot = mTables[key];
  // Two threads may render the same table at once; keep the newer revision.
  if (!slot || slot->revision <= table->revision || slot->since != table->since) {
    slot = std::move(table);
  }
}
