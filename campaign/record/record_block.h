// Blocks of the progress record: fixed arrays of 32-bit signed integers, stored in the
// preferences store as their little-endian bytes (4 bytes per value, always the whole array).
#pragma once

#include <cstdint>
#include <span>

class TPrefs;

// Reads the block stored under key for that player into values. A missing key leaves the
// values as they are; a stored block shorter than the array fills its front, a longer one
// (never written by this program) is cut to the array and logged.
void ReadRecordBlock(const TPrefs& store, const char* key, int player, std::span<int32_t> values);
void WriteRecordBlock(TPrefs& store, const char* key, int player, std::span<const int32_t> values,
                      bool saveNow);
