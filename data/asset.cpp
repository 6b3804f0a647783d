#include "data/asset.h"

const TAssetType TAsset::kType{"TAsset", nullptr};

bool TAsset::IsKindOf(const TAssetType& type) const {
  for (const TAssetType* t = &Type(); t; t = t->parent)
    if (t == &type) return true;
  return false;
}
