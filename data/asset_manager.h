// TAssetManager: the cache of live assets by key. A second request for a key returns the
// same object while someone holds it; an asset nobody holds is freed and loaded again on
// the next request. It is also the list through which video-memory contents are released
// before a display change and restored afterwards. Main thread only.
//
// A factory typically does:
//   std::shared_ptr<TAsset> asset = manager.GetAsset(key);
//   if (!asset) { asset = std::make_shared<TTexture>(...); manager.AddAsset(key, asset);
//                 if (!Load(...)) asset.reset(); }   // a failed load lets the entry expire
#pragma once

#include <map>
#include <memory>
#include <string>

#include "data/asset.h"

class TAssetManager {
 public:
  // The program's manager is the one most recently constructed that still exists.
  TAssetManager();
  ~TAssetManager();
  TAssetManager(const TAssetManager&) = delete;
  TAssetManager& operator=(const TAssetManager&) = delete;
  static TAssetManager* Get();

  // The live asset registered under key, or null when there is none or it has expired.
  std::shared_ptr<TAsset> GetAsset(const std::string& key) const;
  // The same, null also when the asset is not of type T.
  template <class T>
  std::shared_ptr<T> GetAssetAs(const std::string& key) const {
    std::shared_ptr<TAsset> asset = GetAsset(key);
    if (!asset || !asset->IsKindOf(T::kType)) return nullptr;
    return std::static_pointer_cast<T>(asset);
  }

  // Registers (or replaces) a weak reference under key.
  void AddAsset(const std::string& key, const std::shared_ptr<TAsset>& asset);
  void RemoveAsset(const std::string& key);

  // In key order: expired entries are removed, live assets get Release.
  void ReleaseAll();
  // Every live asset gets Restore.
  void RestoreAll();
  // RestoreAll on the program's manager; false when there is none (the renderer's texture
  // restorer).
  static bool RestoreAllOfCurrent();

  size_t EntryCount() const { return mAssets.size(); }
  // Requests so far, and how many of them found the asset alive and shared it.
  size_t Requests() const { return mRequests; }
  size_t SharedAnswers() const { return mSharedAnswers; }

 private:
  std::map<std::string, std::weak_ptr<TAsset>> mAssets;
  mutable size_t mRequests = 0;
  mutable size_t mSharedAnswers = 0;
  TAssetManager* mPrevious;
};
