#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>

#include "data/base64.h"
#include "data/blowfish.h"
#include "data/prefs_cipher.h"

namespace {

std::string FromHex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

std::string ToHex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

std::string EncryptBlock(const std::string& keyHex, const std::string& plainHex,
                         bool decrypt = false) {
  const std::string key = FromHex(keyHex);
  std::string block = FromHex(plainHex);
  TBlowfish cipher;
  cipher.SetKey(reinterpret_cast<const uint8_t*>(key.data()), key.size());
  if (decrypt)
    cipher.DecryptBytes(reinterpret_cast<uint8_t*>(block.data()));
  else
    cipher.EncryptBytes(reinterpret_cast<uint8_t*>(block.data()));
  return ToHex(block);
}

// The published test vectors of the algorithm (eight-byte keys).
TEST(Blowfish, PublishedVectors) {
  struct {
    const char *key, *plain, *cipher;
  } const kVectors[] = {
      {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
      {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
      {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
      {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
      {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
      {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
      {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
      {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
      {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
  };
  for (const auto& v : kVectors) {
    EXPECT_EQ(EncryptBlock(v.key, v.plain), v.cipher) << "key " << v.key;
    EXPECT_EQ(EncryptBlock(v.key, v.cipher, true), v.plain) << "key " << v.key;
  }
}

// The published variable-key-length vectors: prefixes of one key, one plaintext.
TEST(Blowfish, PublishedVariableKeyLengthVectors) {
  const std::string key = "F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677";
  const char* const kCiphers[] = {
      "F9AD597C49DB005E", "E91D21C1D961A6D6", "E9C2B70A1BC65CF3", "BE1E639408640F05",
      "B39E44481BDB1E6E", "9457AA83B1928C0D", "8BB77032F960629D", "E87A244E2CC85E82",
  };
  for (size_t bytes = 1; bytes <= 8; ++bytes)
    EXPECT_EQ(EncryptBlock(key.substr(0, 2 * bytes), "FEDCBA9876543210"), kCiphers[bytes - 1])
        << bytes << "-byte key";
  EXPECT_EQ(EncryptBlock(key, "FEDCBA9876543210"), "05044B62FA52D080");
}

TEST(Base64, EncodesAndDecodesWithPadding) {
  EXPECT_EQ(Base64Encode(""), "");
  EXPECT_EQ(Base64Encode("f"), "Zg==");
  EXPECT_EQ(Base64Encode("fo"), "Zm8=");
  EXPECT_EQ(Base64Encode("foo"), "Zm9v");
  EXPECT_EQ(Base64Encode("foobar"), "Zm9vYmFy");
  EXPECT_EQ(Base64Encode(std::string("\xFB\xFF\x00", 3)), "+/8A");
  EXPECT_EQ(Base64Decode("Zg=="), "f");
  EXPECT_EQ(Base64Decode("Zm8="), "fo");
  EXPECT_EQ(Base64Decode("Zm9v\nYmFy"), "foobar");
  EXPECT_EQ(Base64Decode("+/8A"), std::string("\xFB\xFF\x00", 3));
  // Damaged text never fails: unknown characters count as "A", a lone tail is dropped.
  EXPECT_EQ(Base64Decode("Z!9v"), Base64Decode("ZA9v"));
  EXPECT_EQ(Base64Decode("Zm9vY"), "foo");
}

TEST(PrefsCipher, KeyTextIsPaddedCutAndEndsInAAA) {
  // 12 characters -> 9 bytes; the last three always "AAA" (zero bits).
  EXPECT_EQ(ToHex(TPrefsCipher("ABCDEFGH").KeyBytes()), ToHex(Base64Decode("ABCDEFGHAAAA")));
  // A 14-character key: only its first 9 characters count.
  EXPECT_EQ(TPrefsCipher("abcdefghiXYZQQ").KeyBytes(), TPrefsCipher("abcdefghi").KeyBytes());
  EXPECT_EQ(TPrefsCipher("abcdefghiXYZ").KeyBytes(), TPrefsCipher("abcdefghiAAA").KeyBytes());
  EXPECT_NE(TPrefsCipher("abcdefghiXYZ").KeyBytes(), TPrefsCipher("abcdefghjAAA").KeyBytes());
  EXPECT_EQ(TPrefsCipher("").KeyBytes(), std::string(9, '\0'));
  // Characters outside the alphabet count as "A".
  EXPECT_EQ(TPrefsCipher("a b!").KeyBytes(), TPrefsCipher("aAbA").KeyBytes());
  // The 9 key bytes key the cipher.
  TPrefsCipher cipher("8CharKey");
  const std::string keyBytes = Base64Decode("8CharKeyAAAA");
  TBlowfish direct;
  direct.SetKey(reinterpret_cast<const uint8_t*>(keyBytes.data()), keyBytes.size());
  std::string block(8, '\x08');
  direct.EncryptBytes(reinterpret_cast<uint8_t*>(block.data()));
  EXPECT_EQ(ToHex(cipher.Encrypt("")), ToHex(block));
}

TEST(PrefsCipher, PaddingAndRoundTrips) {
  TPrefsCipher cipher("secretkey");
  for (size_t length = 0; length <= 17; ++length) {
    std::string data;
    for (size_t i = 0; i < length; ++i) data += static_cast<char>(i * 37);
    const std::string sealed = cipher.Encrypt(data);
    EXPECT_EQ(sealed.size(), (length / 8 + 1) * 8) << length;
    EXPECT_EQ(cipher.Decrypt(sealed), data) << length;
    const std::string text = cipher.EncryptText(data);
    EXPECT_EQ(text.size(), (sealed.size() + 2) / 3 * 4);
    EXPECT_EQ(cipher.DecryptText(text), data);
  }
  EXPECT_NE(TPrefsCipher("otherkey").Decrypt(cipher.Encrypt("hello")), "hello");
}

TEST(PrefsCipher, DamagedInputDecryptsToSomethingBounded) {
  TPrefsCipher cipher("secretkey");
  EXPECT_EQ(cipher.Decrypt(""), "");
  // A block whose last deciphered byte is 9 (more than its 8 bytes) gives nothing.
  std::string nine(8, '\x09');
  TBlowfish raw;
  const std::string key = cipher.KeyBytes();
  raw.SetKey(reinterpret_cast<const uint8_t*>(key.data()), key.size());
  raw.EncryptBytes(reinterpret_cast<uint8_t*>(nine.data()));
  EXPECT_EQ(cipher.Decrypt(nine), "");
  // A short input is zero-filled to a block, never read beyond.
  EXPECT_LE(cipher.Decrypt("abc").size(), 8u);
  EXPECT_LE(cipher.DecryptText("!!!").size(), 8u);
}

}  // namespace

// Recent key schedules of a thread are reused: a cipher re-keyed with an earlier key (kept
// or already dropped), or keyed on another thread, must encipher exactly as a directly
// scheduled Blowfish does.
TEST(PrefsCipher, ReusedKeyScheduleMatchesAFreshOne) {
  auto direct = [](const TPrefsCipher& cipher) {
    TBlowfish raw;
    const std::string key = cipher.KeyBytes();
    raw.SetKey(reinterpret_cast<const uint8_t*>(key.data()), key.size());
    std::string block = "8 bytes!";
    raw.EncryptBytes(reinterpret_cast<uint8_t*>(block.data()));
    return ToHex(block);
  };
  auto sealed = [](const TPrefsCipher& cipher) {
    return ToHex(cipher.Encrypt("8 bytes!").substr(0, 8));
  };

  TPrefsCipher cipher("firstkey");
  const std::string first = sealed(cipher);
  EXPECT_EQ(first, direct(cipher));
  cipher.SetKey("secondkey");
  EXPECT_NE(sealed(cipher), first);
  EXPECT_EQ(sealed(cipher), direct(cipher));
  cipher.SetKey("firstkey");
  EXPECT_EQ(sealed(cipher), first);
  TPrefsCipher again("firstkey");
  EXPECT_EQ(sealed(again), first);
  for (const char* other : {"k1", "k2", "k3", "k4", "k5", "k6"}) {
    cipher.SetKey(other);
    EXPECT_EQ(sealed(cipher), direct(cipher)) << other;
  }
  cipher.SetKey("firstkey");
  EXPECT_EQ(sealed(cipher), first);

  std::string onThread;
  std::thread([&onThread] {
    onThread = ToHex(TPrefsCipher("firstkey").Encrypt("8 bytes!").substr(0, 8));
  }).join();
  EXPECT_EQ(onThread, first);
}
