// TBlowfish: the published 64-bit block cipher (16 rounds, keys of 1 to 56 bytes taken
// cyclically by the key schedule). Blocks are two 32-bit words, left then right.
#pragma once

#include <cstddef>
#include <cstdint>

class TBlowfish {
 public:
  TBlowfish();
  // Runs the key schedule. An empty key leaves the initial state (pi digits) in place.
  void SetKey(const uint8_t* key, size_t length);

  void EncryptBlock(uint32_t& left, uint32_t& right) const;
  void DecryptBlock(uint32_t& left, uint32_t& right) const;

  // Eight bytes in place, read and written as two big-endian words.
  void EncryptBytes(uint8_t block[8]) const;
  void DecryptBytes(uint8_t block[8]) const;

 private:
  uint32_t F(uint32_t x) const;

  uint32_t mP[18];
  uint32_t mS[4][256];
};
