// TPrefsCipher: the cipher of the preferences file, the high-score files and the cheat-mode
// test. Blowfish in ECB mode over big-endian words, with 1 to 8 bytes of padding (each of
// the padding's length), and a Base64 text form.
//
// Key handling: the key text is padded with "A" (or cut) to 12 characters, its last three
// characters are forced to "AAA", and the 12 characters are decoded as Base64 into the 9
// key bytes. Characters outside the Base64 alphabet count as "A".
#pragma once

#include <string>
#include <string_view>

#include "data/blowfish.h"

class TPrefsCipher {
 public:
  TPrefsCipher() { SetKey(""); }
  explicit TPrefsCipher(std::string_view keyText) { SetKey(keyText); }

  void SetKey(std::string_view keyText);

  // Padded and enciphered: the result's length is the next multiple of 8 above the input's.
  std::string Encrypt(std::string_view bytes) const;
  // Deciphered with the padding removed. Input that is not a multiple of 8 is zero-filled;
  // a padding length greater than the data gives an empty result.
  std::string Decrypt(std::string_view bytes) const;

  // Encrypt, then Base64; DecryptText undoes it.
  std::string EncryptText(std::string_view bytes) const;
  std::string DecryptText(std::string_view text) const;

  // The 9 key bytes the key text gave, for diagnostics and tests.
  const std::string& KeyBytes() const { return mKeyBytes; }

 private:
  TBlowfish mCipher;
  std::string mKeyBytes;
};
