// Loads arbitrary bytes as a preferences file (record form or the older XML form, with and
// without a key), checks that what was read can be written and read back unchanged, and
// exercises the store's accessors on it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/prefs.h"
#include "data/prefs_legacy.h"
#include "data/prefs_records.h"
#include "files/file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  static const TPrefsCipher cipher("FuzzKey");
  TPrefsSections sections;
  ReadPrefsRecords(input, cipher, sections);
  const std::string written = WritePrefsRecords(sections, "fuzz", cipher);
  TPrefsSections again;
  const TPrefsReadReport report = ReadPrefsRecords(written, cipher, again);
  again.erase("fuzz");
  sections.erase("fuzz");
  if (report.damaged || again != sections) __builtin_trap();

  // The whole store, from a memory file, never saving.
  RegisterMemoryFile("fuzz_prefs.dat", data, size);
  // Without a key only the older form reads differently; skip the second key schedule.
  for (const char* key : {"FuzzKey", ""}) {
    if (!*key && !IsLegacyPrefs(input)) break;
    TPrefsOptions options;
    options.fileName = "fuzz_prefs.dat";
    options.keyText = key;
    options.installFile.clear();
    options.installKeyFromFile = size > 0 && (data[0] & 1);
    options.save = false;
    TPrefs prefs(options);
    for (int player = -1; player <= prefs.GetUserCount() && player < 4; ++player) {
      prefs.GetPref("mj_name", "", player);
      prefs.GetPrefInt("mj_totalscore", 0, player);
      char buffer[8];
      prefs.GetPrefData("mj_name", buffer, sizeof buffer, player);
    }
    prefs.SetPref("k", "v", prefs.GetUserCount());
    prefs.DeleteUser(0);
  }
  RegisterMemoryFile("fuzz_prefs.dat", nullptr, 0);
  return 0;
}
