// The machine's network hardware address, for the machine identity. The platform layer
// implements it (platform/posix/hardware_address.cpp).
#pragma once

#include <cstdint>

// The 6-byte hardware address of the first network interface that is not a loopback
// interface and has a non-zero address of that size. False when there is none.
bool PlatformHardwareAddress(uint8_t address[6]);
