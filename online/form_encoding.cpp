#include "online/form_encoding.h"

#include <cstring>

bool IsEncodedFormByte(unsigned char byte) {
  static constexpr char kReserved[] = " \"#$%&+,/:;<=>?@[\\]^`{|}";
  if (byte < 0x20 || byte == 0x7F) return true;
  return std::memchr(kReserved, byte, sizeof kReserved - 1) != nullptr;
}

std::string EncodeFormValue(std::string_view value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(value.size());
  for (const char c : value) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (IsEncodedFormByte(byte)) {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += c;
    }
  }
  return out;
}
