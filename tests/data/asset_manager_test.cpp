#include "data/asset_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> gEvents;

// A stand-in for a texture: "loads" by counting, notes its hooks.
class TFakeTexture : public TAsset {
 public:
  static const TAssetType kType;
  const TAssetType& Type() const override { return kType; }
  explicit TFakeTexture(std::string name) : mName(std::move(name)) { ++sLoads; }
  ~TFakeTexture() override { gEvents.push_back("free " + mName); }
  void Release() override {
    mDrawable = false;
    gEvents.push_back("release " + mName);
  }
  void Restore() override {
    mDrawable = true;
    gEvents.push_back("restore " + mName);
  }
  bool mDrawable = true;
  std::string mName;
  static int sLoads;
};
const TAssetType TFakeTexture::kType{"TFakeTexture", &TAsset::kType};
int TFakeTexture::sLoads = 0;

class TFakeSound : public TAsset {
 public:
  static const TAssetType kType;
  const TAssetType& Type() const override { return kType; }
};
const TAssetType TFakeSound::kType{"TFakeSound", &TAsset::kType};

// The factory pattern the asset types use.
std::shared_ptr<TFakeTexture> GetTexture(TAssetManager& manager, const std::string& name) {
  if (auto cached = manager.GetAssetAs<TFakeTexture>(name)) return cached;
  auto texture = std::make_shared<TFakeTexture>(name);
  manager.AddAsset(name, texture);
  return texture;
}

TEST(AssetManager, SharedWhileHeldReloadedAfterwards) {
  TAssetManager manager;
  TFakeTexture::sLoads = 0;
  auto first = GetTexture(manager, "tiles/blank");
  auto second = GetTexture(manager, "tiles/blank");
  EXPECT_EQ(first, second);
  EXPECT_EQ(TFakeTexture::sLoads, 1);
  EXPECT_EQ(first->shared_from_this(), std::static_pointer_cast<TAsset>(first));
  first.reset();
  second.reset();
  EXPECT_EQ(manager.GetAsset("tiles/blank"), nullptr);  // expired
  auto third = GetTexture(manager, "tiles/blank");
  EXPECT_EQ(TFakeTexture::sLoads, 2);
  EXPECT_EQ(manager.GetAsset("missing"), nullptr);
}

TEST(AssetManager, KindsAndGlobalAccess) {
  TAssetManager outer;
  {
    TAssetManager inner;
    EXPECT_EQ(TAssetManager::Get(), &inner);
  }
  EXPECT_EQ(TAssetManager::Get(), &outer);
  auto sound = std::make_shared<TFakeSound>();
  outer.AddAsset("sound", sound);
  EXPECT_TRUE(sound->IsKindOf(TAsset::kType));
  EXPECT_FALSE(sound->IsKindOf(TFakeTexture::kType));
  EXPECT_STREQ(sound->ClassName(), "TFakeSound");
  EXPECT_EQ(outer.GetAssetAs<TFakeTexture>("sound"), nullptr);
  EXPECT_EQ(outer.GetAssetAs<TFakeSound>("sound"), sound);
  outer.RemoveAsset("sound");
  EXPECT_EQ(outer.GetAsset("sound"), nullptr);
}

TEST(AssetManager, ReleaseAllThenRestoreAll) {
  TAssetManager manager;
  gEvents.clear();
  auto b = GetTexture(manager, "b");
  auto a = GetTexture(manager, "a");
  GetTexture(manager, "c");  // dropped at once: "free c"
  EXPECT_EQ(manager.EntryCount(), 3u);
  manager.ReleaseAll();
  EXPECT_EQ(manager.EntryCount(), 2u);  // the expired entry is gone
  EXPECT_FALSE(a->mDrawable);
  EXPECT_FALSE(b->mDrawable);
  manager.RestoreAll();
  EXPECT_TRUE(a->mDrawable);
  EXPECT_TRUE(b->mDrawable);
  const std::vector<std::string> expected = {"free c", "release a", "release b", "restore a",
                                             "restore b"};
  EXPECT_EQ(gEvents, expected);
}

// A hook that drops the last reference to another asset must not disturb the walk.
TEST(AssetManager, HooksMayChangeTheManager) {
  TAssetManager manager;
  struct TDropper : TAsset {
    TAssetManager* manager;
    std::shared_ptr<TAsset> held;
    void Release() override {
      held.reset();
      manager->RemoveAsset("z");
      manager->AddAsset("new", std::make_shared<TFakeSound>());
    }
  };
  auto dropper = std::make_shared<TDropper>();
  dropper->manager = &manager;
  dropper->held = std::make_shared<TFakeSound>();
  manager.AddAsset("a", dropper);
  manager.AddAsset("z", dropper->held);
  manager.ReleaseAll();
  manager.RestoreAll();
  EXPECT_EQ(manager.GetAsset("z"), nullptr);
}

}  // namespace
