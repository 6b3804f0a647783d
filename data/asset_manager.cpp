#include "data/asset_manager.h"

#include <vector>

namespace {
TAssetManager* gCurrent = nullptr;
}

TAssetManager::TAssetManager() : mPrevious(gCurrent) {
  gCurrent = this;
}

TAssetManager::~TAssetManager() {
  if (gCurrent == this) gCurrent = mPrevious;
}

TAssetManager* TAssetManager::Get() {
  return gCurrent;
}

std::shared_ptr<TAsset> TAssetManager::GetAsset(const std::string& key) const {
  ++mRequests;
  auto it = mAssets.find(key);
  std::shared_ptr<TAsset> asset = it == mAssets.end() ? nullptr : it->second.lock();
  if (asset) ++mSharedAnswers;
  return asset;
}

void TAssetManager::AddAsset(const std::string& key, const std::shared_ptr<TAsset>& asset) {
  mAssets[key] = asset;
}

void TAssetManager::RemoveAsset(const std::string& key) {
  mAssets.erase(key);
}

// The hooks may load, add or drop assets, so they run over a snapshot of the live assets,
// each held for the duration of its call.
void TAssetManager::ReleaseAll() {
  std::vector<std::shared_ptr<TAsset>> live;
  for (auto it = mAssets.begin(); it != mAssets.end();) {
    if (std::shared_ptr<TAsset> asset = it->second.lock()) {
      live.push_back(std::move(asset));
      ++it;
    } else {
      it = mAssets.erase(it);
    }
  }
  for (const auto& asset : live) asset->Release();
}

bool TAssetManager::RestoreAllOfCurrent() {
  TAssetManager* manager = Get();
  if (!manager) return false;
  manager->RestoreAll();
  return true;
}

void TAssetManager::RestoreAll() {
  std::vector<std::shared_ptr<TAsset>> live;
  for (const auto& [key, weak] : mAssets)
    if (std::shared_ptr<TAsset> asset = weak.lock()) live.push_back(std::move(asset));
  for (const auto& asset : live) asset->Restore();
}
