#include "data/prefs_cipher.h"

#include <cstdint>
#include <iterator>

#include "data/base64.h"

namespace {

// The last few key schedules run on this thread. The game keys ciphers with the same few
// keys again and again (preferences, high scores, the cheat-mode test), and the schedule
// (521 block encryptions) costs far more than copying its result.
struct TScheduledKey {
  bool valid = false;
  std::string keyBytes;
  TBlowfish cipher;
};
struct TScheduleCache {
  TScheduledKey entries[4];
  size_t next = 0;  // the entry a new schedule replaces, round robin
};
thread_local TScheduleCache tSchedules;

}  // namespace

void TPrefsCipher::SetKey(std::string_view keyText) {
  std::string key(keyText);
  if (key.size() != 12) key = (key + "AAAAAAAAAAAA").substr(0, 12);
  if (key.compare(9, 3, "AAA") != 0) key.replace(9, 3, "AAA");
  // Exactly 9 bytes whatever the characters: each one contributes 6 bits.
  mKeyBytes.assign(9, '\0');
  for (int group = 0; group < 3; ++group) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
      const int value = Base64Value(key[group * 4 + i]);
      bits = bits << 6 | uint32_t(value < 0 ? 0 : value);
    }
    mKeyBytes[group * 3] = static_cast<char>(bits >> 16);
    mKeyBytes[group * 3 + 1] = static_cast<char>(bits >> 8);
    mKeyBytes[group * 3 + 2] = static_cast<char>(bits);
  }
  TScheduleCache& cache = tSchedules;
  for (const TScheduledKey& entry : cache.entries) {
    if (entry.valid && entry.keyBytes == mKeyBytes) {
      mCipher = entry.cipher;
      return;
    }
  }
  mCipher.SetKey(reinterpret_cast<const uint8_t*>(mKeyBytes.data()), mKeyBytes.size());
  TScheduledKey& entry = cache.entries[cache.next];
  cache.next = (cache.next + 1) % std::size(cache.entries);
  entry.valid = true;
  entry.keyBytes = mKeyBytes;
  entry.cipher = mCipher;
}

std::string TPrefsCipher::Encrypt(std::string_view bytes) const {
  const size_t padding = 8 - bytes.size() % 8;
  std::string out(bytes);
  out.append(padding, static_cast<char>(padding));
  for (size_t i = 0; i < out.size(); i += 8)
    mCipher.EncryptBytes(reinterpret_cast<uint8_t*>(out.data() + i));
  return out;
}

std::string TPrefsCipher::Decrypt(std::string_view bytes) const {
  std::string out(bytes);
  if (out.empty()) return out;
  out.resize((out.size() + 7) / 8 * 8, '\0');
  for (size_t i = 0; i < out.size(); i += 8)
    mCipher.DecryptBytes(reinterpret_cast<uint8_t*>(out.data() + i));
  const size_t padding = static_cast<uint8_t>(out.back());
  if (padding > out.size()) return std::string();
  out.resize(out.size() - padding);
  return out;
}

std::string TPrefsCipher::EncryptText(std::string_view bytes) const {
  return Base64Encode(Encrypt(bytes));
}

std::string TPrefsCipher::DecryptText(std::string_view text) const {
  return Decrypt(Base64Decode(text));
}
