// TAsset: base of everything made from a file that several users share (textures,
// animated textures, sounds, compiled scripts). Assets are held by shared pointers; the
// asset manager keeps only weak references, so an asset lives exactly as long as someone
// holds it.
//
// Each class names its type with a static TAssetType whose parent is the base class's, so
// IsKindOf works without RTTI tricks:
//   class TTexture : public TAsset {
//    public:
//     static const TAssetType kType;   // {"TTexture", &TAsset::kType}
//     const TAssetType& Type() const override { return kType; }
//   };
#pragma once

#include <memory>

struct TAssetType {
  const char* name;
  const TAssetType* parent;  // null for TAsset itself
};

class TAsset : public std::enable_shared_from_this<TAsset> {
 public:
  static const TAssetType kType;

  virtual const TAssetType& Type() const { return kType; }
  bool IsKindOf(const TAssetType& type) const;
  const char* ClassName() const { return Type().name; }

  virtual ~TAsset() = default;

  // Frees what lives in video memory (before a display change or after a device loss).
  virtual void Release() {}
  // Rebuilds it from the asset's file.
  virtual void Restore() {}
};
