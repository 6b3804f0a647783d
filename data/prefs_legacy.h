// The older XML form of the preferences file, read only (files of earlier releases are
// converted on load). The file is the ToString of an unnamed root ("<>...</>") holding
// "data1" (attribute "data": the document enciphered in the Base64 text form) and "data2"
// (attribute "data": a checksum of the deciphered bytes). Without a key text the file is
// the document itself. The document's "install" elements are sections named by their
// "tvinstallkey" attribute; their child elements are slots 0, 1, ...; each attribute of a
// slot is one entry.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "data/prefs_records.h"

class TPrefsCipher;

struct TPrefsLegacyReport {
  bool readable = false;  // the document could be deciphered and checked
  std::string firstKey;   // "tvinstallkey" of the first "install" element, lowercased
  bool hasFirstKey = false;
};

bool IsLegacyPrefs(std::string_view bytes);

// XOR of each byte (as a signed 8-bit value) shifted left by 8 x (i mod 4) bits.
int32_t LegacyPrefsChecksum(std::string_view bytes);

TPrefsLegacyReport ReadLegacyPrefs(std::string_view bytes, const TPrefsCipher& cipher,
                                   bool haveKeyText, TPrefsSections& sections);

// Writes the older form (for tests and tools that make such files).
std::string WriteLegacyPrefs(const TPrefsSections& sections, const TPrefsCipher& cipher);
