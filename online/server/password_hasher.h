// TPasswordHasher: account passwords are kept only as argon2id hashes (libsodium's
// crypto_pwhash_str: a random salt and the cost parameters are part of the stored text).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "online/server/hiscore_config.h"

class TPasswordHasher {
 public:
  explicit TPasswordHasher(const TPasswordCost& cost);

  // The stored form of a new password; none when the hash cannot be computed (out of
  // memory).
  std::optional<std::string> Hash(std::string_view password) const;
  bool Verify(std::string_view storedHash, std::string_view password) const;
  // True when a verified hash was made with other costs than the configured ones, so the
  // server should store a fresh hash.
  bool NeedsRehash(std::string_view storedHash) const;

 private:
  TPasswordCost mCost;
  bool mReady = false;
};
