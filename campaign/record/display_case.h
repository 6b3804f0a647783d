// TDisplayCase: where won treasures wait when they are not in the player's collection slots:
// 115 slots under "mj_displaycase", and the count of treasures ever added under
// "mj_collectionsize" (not lowered when one leaves). Changes stay in memory until Save.
#pragma once

#include <cstddef>

#include "campaign/record/face_slots.h"

class TPrefs;

class TDisplayCase {
 public:
  static constexpr size_t kSlots = 115;

  // Loads the case of that player (nothing is read for -1, no player).
  TDisplayCase(TPrefs& store, int player);

  // Into the first empty slot; false when the face is no face, already in the case, or the
  // case is full. Counts into the collection size.
  bool Add(TFace face);
  bool Contains(TFace face) const;
  // Empties the first slot holding exactly that face; false when none does.
  bool Remove(TFace face);
  // Exchanges the contents of the first slot holding `face` with `other`; false (nothing
  // changed) when no slot holds it.
  bool Exchange(TFace face, TFace& other);
  // Empties every slot; the collection size stays.
  void Clear() { mSlots.Clear(); }

  // Hands the slots and the collection size to the store, which writes its file now unless
  // the caller saves it later itself (skipped without a player).
  void Save(bool saveNow = true);

  size_t FilledCount() const;
  int CollectionSize() const { return mCollectionSize; }
  TFace Slot(size_t slot) const { return mSlots[slot]; }

 private:
  void Load();
  void Compact();

  TPrefs& mStore;
  int mPlayer;
  TFaceSlots<kSlots> mSlots;
  int mCollectionSize = 0;
};
