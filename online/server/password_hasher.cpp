#include "online/server/password_hasher.h"

#include <sodium.h>

TPasswordHasher::TPasswordHasher(const TPasswordCost& cost) : mCost(cost) {
  // Idempotent and thread-safe; it fails only when the system offers no randomness, and
  // then every hash and check fails rather than the process.
  mReady = sodium_init() >= 0;
}

std::optional<std::string> TPasswordHasher::Hash(std::string_view password) const {
  if (!mReady) return std::nullopt;
  char stored[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str_alg(stored, password.data(), password.size(), mCost.opsLimit,
                            mCost.memLimit, crypto_pwhash_ALG_ARGON2ID13) != 0) {
    return std::nullopt;
  }
  return std::string(stored);
}

bool TPasswordHasher::Verify(std::string_view storedHash, std::string_view password) const {
  // crypto_pwhash_str_verify reads a zero-terminated text of at most STRBYTES bytes.
  if (!mReady || storedHash.size() >= crypto_pwhash_STRBYTES) return false;
  const std::string stored(storedHash);
  return crypto_pwhash_str_verify(stored.c_str(), password.data(), password.size()) == 0;
}

bool TPasswordHasher::NeedsRehash(std::string_view storedHash) const {
  if (storedHash.size() >= crypto_pwhash_STRBYTES) return true;
  const std::string stored(storedHash);
  return crypto_pwhash_str_needs_rehash(stored.c_str(), mCost.opsLimit, mCost.memLimit) != 0;
}
