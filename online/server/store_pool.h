// TStorePool: stores for the threads that answer requests. A thread leases a store for one
// request; stores are opened on demand, so the pool holds as many as requests ever ran
// at once, and reused afterwards.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "online/server/score_store.h"

class TStorePool {
 public:
  // open: a new connection to the database, or null with *error set.
  using TOpener = std::function<std::unique_ptr<TScoreStore>(std::string* error)>;

  explicit TStorePool(TOpener open) : mOpen(std::move(open)) {}

  class TLease {
   public:
    TLease(TStorePool* pool, std::unique_ptr<TScoreStore> store)
        : mPool(pool), mStore(std::move(store)) {}
    ~TLease() {
      if (mStore) mPool->Return(std::move(mStore));
    }
    TLease(TLease&&) = default;
    TLease(const TLease&) = delete;
    TLease& operator=(const TLease&) = delete;

    explicit operator bool() const { return mStore != nullptr; }
    TScoreStore* operator->() const { return mStore.get(); }
    TScoreStore& operator*() const { return *mStore; }

   private:
    TStorePool* mPool;
    std::unique_ptr<TScoreStore> mStore;
  };

  // An idle store or a newly opened one; empty (and *error set) when none can be opened.
  TLease Acquire(std::string* error);

 private:
  void Return(std::unique_ptr<TScoreStore> store);

  TOpener mOpen;
  std::mutex mMutex;
  std::vector<std::unique_ptr<TScoreStore>> mIdle;
};

// An opener of TStore(location) for stores that tell success by Opened().
template <class TStore>
TStorePool::TOpener StoreOpener(std::string location) {
  return [location = std::move(location)](std::string* error) -> std::unique_ptr<TScoreStore> {
    auto store = std::make_unique<TStore>(location);
    if (store->Opened()) return store;
    if (error) *error = store->LastError();
    return nullptr;
  };
}
