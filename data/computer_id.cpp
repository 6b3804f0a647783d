#include "data/computer_id.h"

#include <chrono>
#include <cstdint>
#include <random>

#include "data/hardware_address.h"

std::string ComputerIdFromAddress(const uint8_t address[6]) {
  const uint8_t b[8] = {address[0], address[1], address[2], address[3],
                        address[4], address[5], address[3], address[4]};
  std::string id;
  for (int i = 0; i < 8; ++i) {
    const unsigned x = b[(i + 1) % 8] ^ b[i];
    id += static_cast<char>((x & 31) + 64);
    id += static_cast<char>(((x >> 5) + i + 66) % 256);
  }
  return id;
}

std::string ComputeComputerId() {
  uint8_t address[6];
  if (!PlatformHardwareAddress(address)) {
    // No adapter: a fresh random identity for this run.
    std::seed_seq seed{unsigned(reinterpret_cast<uintptr_t>(&address)),
                       unsigned(std::chrono::steady_clock::now().time_since_epoch().count())};
    std::mt19937 fallback(seed);
    try {
      std::random_device random;
      for (uint8_t& byte : address) byte = static_cast<uint8_t>(random());
    } catch (...) {  // no system random source: still differ per run and per address
      for (uint8_t& byte : address) byte = static_cast<uint8_t>(fallback());
    }
  }
  return ComputerIdFromAddress(address);
}
