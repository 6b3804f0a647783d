// Builds ".tvp" package bytes: the directory in the given order, then the members' bytes in
// the same order without gaps. Used by the package tool and by tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TPackageMember {
  std::string name;
  std::vector<uint8_t> bytes;
};

// False (with a reason in error) when a name is empty or longer than 255 bytes, or the
// package would not fit the 32-bit offsets.
bool BuildPackage(const std::vector<TPackageMember>& members, std::vector<uint8_t>& out,
                  std::string& error);
