#include "online/server/store_pool.h"

TStorePool::TLease TStorePool::Acquire(std::string* error) {
  {
    std::lock_guard lock(mMutex);
    if (!mIdle.empty()) {
      std::unique_ptr<TScoreStore> store = std::move(mIdle.back());
      mIdle.pop_back();
      return TLease(this, std::move(store));
    }
  }
  // Opening may take a while (a network round trip to PostgreSQL): not under the lock.
  return TLease(this, mOpen(error));
}

void TStorePool::Return(std::unique_ptr<TScoreStore> store) {
  std::lock_guard lock(mMutex);
  mIdle.push_back(std::move(store));
}
