#include "data/prefs_records.h"

#include "data/prefs_cipher.h"
#include "files/lower_case.h"

namespace {

uint32_t Read32(std::string_view bytes, size_t at) {
  return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
         uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
}

uint16_t Read16(std::string_view bytes, size_t at) {
  return uint16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
}

void Append32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>(value >> (8 * i));
}

void Append16(std::string& out, uint16_t value) {
  out += static_cast<char>(value);
  out += static_cast<char>(value >> 8);
}

void AppendRecord(std::string& out, const char* tag, const std::string& payload) {
  out.append(tag, 4);
  Append32(out, static_cast<uint32_t>(payload.size()));
  out += payload;
}

std::string UpToZero(std::string_view bytes) {
  return std::string(bytes.substr(0, bytes.find('\0')));
}

TPrefsReadReport Stop(TPrefsReadReport report, size_t at, const char* reason) {
  report.damaged = true;
  report.stoppedAt = at;
  report.reason = reason;
  return report;
}

}  // namespace

bool PrefsEntryFits(const std::string& key, size_t valueLength) {
  if (key.size() > kMaxPrefsKey || key.find('\0') != std::string::npos) return false;
  // The enciphered payload (2 + key + zero + value, padded by 1..8) must stay in bounds.
  return 2 + key.size() + 1 + valueLength < kMaxPrefsPayload;
}

TPrefsReadReport ReadPrefsRecords(std::string_view bytes, const TPrefsCipher& cipher,
                                  TPrefsSections& sections) {
  TPrefsReadReport report;
  TPrefsSection* section = nullptr;
  size_t slot = 0;
  size_t at = 0;
  while (at < bytes.size()) {
    if (bytes.size() - at < 8) return Stop(report, at, "short record header");
    const std::string_view tag = bytes.substr(at, 4);
    const uint32_t length = Read32(bytes, at + 4);
    if (length == 0 || length > kMaxPrefsPayload) return Stop(report, at, "bad record length");
    if (bytes.size() - at - 8 < length) return Stop(report, at, "short record");
    const std::string_view payload = bytes.substr(at + 8, length);
    const bool enciphered = tag == "IKEY" || tag == "KVPR";
    if (!enciphered && tag != "USER") return Stop(report, at, "unknown record tag");
    if (!section && tag != "IKEY") return Stop(report, at, "file does not begin with IKEY");
    std::string plain;
    if (enciphered) {
      if (length % 8 != 0) return Stop(report, at, "enciphered length not a multiple of 8");
      plain = cipher.Decrypt(payload);
      if (plain.empty()) return Stop(report, at, "record does not decipher");
    }
    if (tag == "IKEY") {
      const std::string key = LowerCaseAscii(UpToZero(plain));
      if (!report.hasFirstKey) {
        report.hasFirstKey = true;
        report.firstKey = key;
      }
      section = &sections[key];
      slot = 0;
    } else if (tag == "USER") {
      if (length != 2) return Stop(report, at, "bad USER record");
      const size_t index = Read16(payload, 0);
      if (index > kMaxPrefsSlot) return Stop(report, at, "slot index out of range");
      if (section->size() <= index) section->resize(index + 1);
      slot = index;
    } else {
      if (plain.size() < 2) return Stop(report, at, "short KVPR record");
      const size_t keyLength = Read16(plain, 0);
      if (plain.size() < keyLength + 2) return Stop(report, at, "short KVPR record");
      if (section->size() <= slot) section->resize(slot + 1);
      // A key without its zero byte could be one byte too long to be written back.
      std::string key = UpToZero(std::string_view(plain).substr(2, keyLength));
      if (key.size() > kMaxPrefsKey) key.resize(kMaxPrefsKey);
      (*section)[slot][key] = plain.substr(2 + keyLength);
    }
    at += 8 + length;
  }
  return report;
}

std::string WritePrefsRecords(const TPrefsSections& sections, const std::string& installKey,
                              const TPrefsCipher& cipher) {
  std::string out;
  AppendRecord(out, "IKEY", cipher.Encrypt(installKey + '\0'));
  for (const auto& [key, slots] : sections) {
    AppendRecord(out, "IKEY", cipher.Encrypt(key + '\0'));
    for (size_t index = 0; index < slots.size(); ++index) {
      std::string user;
      Append16(user, static_cast<uint16_t>(index));
      AppendRecord(out, "USER", user);
      for (const auto& [name, value] : slots[index]) {
        std::string pair;
        Append16(pair, static_cast<uint16_t>(name.size() + 1));
        pair += name;
        pair += '\0';
        pair += value;
        AppendRecord(out, "KVPR", cipher.Encrypt(pair));
      }
    }
  }
  return out;
}
