// The record form of the preferences file. A file is a sequence of records:
//   4 bytes tag ("IKEY", "USER" or "KVPR"), 4 bytes payload length L (little-endian,
//   1..4194304), L bytes payload.
// "IKEY" (enciphered): an installation key and its zero byte; it selects a section.
// "USER" (plain, L = 2): a slot index (16-bit little-endian); slot 0 is the global map,
//   slot u + 1 belongs to player u.
// "KVPR" (enciphered): key length N (16-bit, counting the key's zero byte), the key with
//   its zero byte, then the value's bytes.
// The file begins with an "IKEY" naming the current installation, then every section in
// key order: its "IKEY", and for each slot a "USER" followed by one "KVPR" per entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class TPrefsCipher;

using TPrefsSlot = std::map<std::string, std::string>;        // key -> value bytes
using TPrefsSection = std::vector<TPrefsSlot>;                // slot 0 global, u + 1 player u
using TPrefsSections = std::map<std::string, TPrefsSection>;  // by installation key

constexpr uint32_t kMaxPrefsPayload = 4194304;
constexpr size_t kMaxPrefsSlot = 1024;
constexpr size_t kMaxPrefsKey = 65534;  // bytes, without the zero byte

// Whether an entry fits one record that the loader accepts.
bool PrefsEntryFits(const std::string& key, size_t valueLength);

struct TPrefsReadReport {
  bool hasFirstKey = false;  // the file began with a usable "IKEY"
  std::string firstKey;      // its key, lowercased
  bool damaged = false;      // reading stopped before the end of the bytes
  size_t stoppedAt = 0;      // offset of the record that stopped it
  std::string reason;
};

// Reads records into sections (lowercased section keys) until the end or the first record
// that cannot be used; what was read before it stays.
TPrefsReadReport ReadPrefsRecords(std::string_view bytes, const TPrefsCipher& cipher,
                                  TPrefsSections& sections);

// The whole file for these sections, the current installation key first.
std::string WritePrefsRecords(const TPrefsSections& sections, const std::string& installKey,
                              const TPrefsCipher& cipher);
