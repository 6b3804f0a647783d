#include "campaign/record/display_case.h"

#include "campaign/record/record_block.h"
#include "campaign/record/record_keys.h"
#include "data/prefs.h"

TDisplayCase::TDisplayCase(TPrefs& store, int player) : mStore(store), mPlayer(player) {
  Load();
}

void TDisplayCase::Load() {
  mSlots.Clear();
  if (mPlayer < 0) return;
  ReadRecordBlock(mStore, record_key::kDisplayCase, mPlayer, mSlots.Values());
  Compact();
  mCollectionSize = mStore.GetPrefInt(record_key::kCollectionSize, 0, mPlayer);
}

// Removals leave holes; on load the filled slots move down over them, keeping their order.
void TDisplayCase::Compact() {
  size_t next = 0;
  for (size_t slot = 0; slot < kSlots; ++slot) {
    const TFace face = mSlots[slot];
    if (face.IsNone()) continue;
    if (slot != next) {
      mSlots.Set(next, face);
      mSlots.Set(slot, kNoFace);
    }
    ++next;
  }
}

bool TDisplayCase::Add(TFace face) {
  if (face.IsNone() || Contains(face)) return false;
  for (size_t slot = 0; slot < kSlots; ++slot) {
    if (!mSlots[slot].IsNone()) continue;
    mSlots.Set(slot, face);
    ++mCollectionSize;
    return true;
  }
  return false;
}

bool TDisplayCase::Contains(TFace face) const {
  return !face.IsNone() && mSlots.Find(face) < kSlots;
}

bool TDisplayCase::Remove(TFace face) {
  TFace empty = kNoFace;
  return Exchange(face, empty);
}

bool TDisplayCase::Exchange(TFace face, TFace& other) {
  const size_t slot = face.IsNone() ? kSlots : mSlots.Find(face);
  if (slot >= kSlots) return false;
  mSlots.Set(slot, other);
  other = face;
  return true;
}

void TDisplayCase::Save(bool saveNow) {
  if (mPlayer < 0) return;
  WriteRecordBlock(mStore, record_key::kDisplayCase, mPlayer, mSlots.Values(), false);
  mStore.SetPrefInt(record_key::kCollectionSize, mCollectionSize, mPlayer, saveNow);
}

size_t TDisplayCase::FilledCount() const {
  size_t count = 0;
  for (size_t slot = 0; slot < kSlots; ++slot) count += !mSlots[slot].IsNone();
  return count;
}
