#include "campaign/record/record_block.h"

#include <string>

#include "data/prefs.h"
#include "frame/log.h"

void ReadRecordBlock(const TPrefs& store, const char* key, int player, std::span<int32_t> values) {
  std::string bytes;
  if (!store.GetPrefBytes(key, &bytes, player)) return;
  if (bytes.size() > values.size() * 4) {
    Log("Progress record: '%s' holds %zu bytes, more than its %zu; the rest is ignored", key,
        bytes.size(), values.size() * 4);
  }
  const size_t count = std::min(values.size(), bytes.size() / 4);
  for (size_t i = 0; i < count; ++i) {
    const auto byte = [&](size_t k) {
      return static_cast<uint32_t>(static_cast<uint8_t>(bytes[i * 4 + k]));
    };
    values[i] = static_cast<int32_t>(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24);
  }
}

void WriteRecordBlock(TPrefs& store, const char* key, int player, std::span<const int32_t> values,
                      bool saveNow) {
  std::string bytes(values.size() * 4, '\0');
  for (size_t i = 0; i < values.size(); ++i) {
    const uint32_t value = static_cast<uint32_t>(values[i]);
    for (size_t k = 0; k < 4; ++k) bytes[i * 4 + k] = static_cast<char>(value >> (8 * k) & 0xFF);
  }
  store.SetPrefData(key, bytes.data(), static_cast<int>(bytes.size()), player, saveNow);
}
