// The machine identity, setting "computerid": 16 characters derived from the 6-byte
// hardware address of the first non-loopback network interface, or from random bytes when
// the machine has none.
#pragma once

#include <cstdint>
#include <string>

// The 16 characters for address bytes b0..b5: with b6 = b3 and b7 = b4, for i = 0..7 and
// x = b[(i + 1) mod 8] ^ b[i], the characters (x & 31) + 64 and ((x >> 5) + i + 66).
std::string ComputerIdFromAddress(const uint8_t address[6]);

// The identity of this machine.
std::string ComputeComputerId();
