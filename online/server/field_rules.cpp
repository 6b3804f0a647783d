#include "online/server/field_rules.h"

namespace {

bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsAsciiAlnum(char c) {
  return IsAsciiDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::optional<int64_t> ParseDecimal(std::string_view text, int64_t min, int64_t max) {
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  // 18 digits cannot overflow an int64_t.
  if (text.empty() || text.size() > 18) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (!IsAsciiDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < min || value > max) return std::nullopt;
  return value;
}

bool IsToken(std::string_view text, size_t maxLength) {
  if (text.empty() || text.size() > maxLength) return false;
  for (char c : text) {
    if (!IsAsciiAlnum(c) && c != '_' && c != '-' && c != '.') return false;
  }
  return true;
}

bool IsGuid(std::string_view text) {
  if (text.size() < 8 || text.size() > 64) return false;
  for (char c : text) {
    if (!IsAsciiAlnum(c) && c != '-') return false;
  }
  return true;
}

bool IsPlainText(std::string_view text, size_t maxLength) {
  if (text.size() > maxLength) return false;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 127) return false;
  }
  return true;
}

bool IsName(std::string_view text, size_t maxLength) {
  return IsPlainText(text, maxLength) && text.find_first_not_of(' ') != std::string_view::npos;
}

std::string NameKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | byte >> 6);
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

std::string Utf8ToLatin1(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      continue;
    }
    const bool twoBytes = (lead == 0xC2 || lead == 0xC3) && i + 1 < text.size() &&
                          (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80;
    if (twoBytes) {
      out += static_cast<char>((lead & 0x03) << 6 | (text[i + 1] & 0x3F));
      ++i;
      continue;
    }
    out += '?';
    // Skip the continuation bytes of the sequence that cannot be shown.
    while (i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) ++i;
  }
  return out;
}
