// A fixed row of face slots as the record stores it: per slot the suit, then the variant,
// as one block of 2 x N integers. (-1, -1) is an empty slot.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "game/face.h"

template <size_t N>
class TFaceSlots {
 public:
  static constexpr size_t kSize = N;

  TFaceSlots() { Clear(); }

  TFace operator[](size_t slot) const { return {mValues[2 * slot], mValues[2 * slot + 1]}; }
  void Set(size_t slot, TFace face) {
    mValues[2 * slot] = face.suit;
    mValues[2 * slot + 1] = face.variant;
  }
  void Clear() { mValues.fill(-1); }

  // The first slot before `end` holding exactly that face; N when none.
  size_t Find(TFace face, size_t end = N) const {
    for (size_t slot = 0; slot < std::min(end, N); ++slot)
      if ((*this)[slot] == face) return slot;
    return N;
  }

  std::span<int32_t> Values() { return mValues; }
  std::span<const int32_t> Values() const { return mValues; }

 private:
  std::array<int32_t, 2 * N> mValues;
};
