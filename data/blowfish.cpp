#include "data/blowfish.h"

#include <cstring>
#include <utility>

#include "data/blowfish_tables.h"

namespace {

uint32_t LoadBigEndian(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

void StoreBigEndian(uint8_t* p, uint32_t value) {
  p[0] = uint8_t(value >> 24);
  p[1] = uint8_t(value >> 16);
  p[2] = uint8_t(value >> 8);
  p[3] = uint8_t(value);
}

}  // namespace

TBlowfish::TBlowfish() {
  std::memcpy(mP, kBlowfishInitialP, sizeof mP);
  std::memcpy(mS, kBlowfishInitialS, sizeof mS);
}

uint32_t TBlowfish::F(uint32_t x) const {
  return ((mS[0][x >> 24] + mS[1][(x >> 16) & 0xFF]) ^ mS[2][(x >> 8) & 0xFF]) + mS[3][x & 0xFF];
}

void TBlowfish::EncryptBlock(uint32_t& left, uint32_t& right) const {
  uint32_t l = left, r = right;
  for (int i = 0; i < 16; ++i) {
    l ^= mP[i];
    r ^= F(l);
    std::swap(l, r);
  }
  std::swap(l, r);
  r ^= mP[16];
  l ^= mP[17];
  left = l;
  right = r;
}

void TBlowfish::DecryptBlock(uint32_t& left, uint32_t& right) const {
  uint32_t l = left, r = right;
  for (int i = 17; i > 1; --i) {
    l ^= mP[i];
    r ^= F(l);
    std::swap(l, r);
  }
  std::swap(l, r);
  r ^= mP[1];
  l ^= mP[0];
  left = l;
  right = r;
}

void TBlowfish::SetKey(const uint8_t* key, size_t length) {
  std::memcpy(mP, kBlowfishInitialP, sizeof mP);
  std::memcpy(mS, kBlowfishInitialS, sizeof mS);
  if (length == 0) return;
  size_t at = 0;
  for (uint32_t& p : mP) {
    uint32_t word = 0;
    for (int i = 0; i < 4; ++i) {
      word = word << 8 | key[at];
      at = (at + 1) % length;
    }
    p ^= word;
  }
  uint32_t left = 0, right = 0;
  for (int i = 0; i < 18; i += 2) {
    EncryptBlock(left, right);
    mP[i] = left;
    mP[i + 1] = right;
  }
  for (auto& box : mS) {
    for (int i = 0; i < 256; i += 2) {
      EncryptBlock(left, right);
      box[i] = left;
      box[i + 1] = right;
    }
  }
}

void TBlowfish::EncryptBytes(uint8_t block[8]) const {
  uint32_t left = LoadBigEndian(block), right = LoadBigEndian(block + 4);
  EncryptBlock(left, right);
  StoreBigEndian(block, left);
  StoreBigEndian(block + 4, right);
}

void TBlowfish::DecryptBytes(uint8_t block[8]) const {
  uint32_t left = LoadBigEndian(block), right = LoadBigEndian(block + 4);
  DecryptBlock(left, right);
  StoreBigEndian(block, left);
  StoreBigEndian(block + 4, right);
}
