// The saved score file. The first byte picks the reading: even, the rest is read as the
// enciphered file itself; odd, the rest is read as the file's XML, which is then written,
// enciphered and read back and must come back the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/prefs_cipher.h"
#include "online/hiscore_file.h"
#include "online/hiscore_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const TPrefsCipher cipher("FuzzKey00AAA");
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  THiscoreStore store;
  if ((data[0] & 1) == 0) {
    DecodeHiscoreFile(rest, cipher, store);
    return 0;
  }
  store.ReadXml(rest);
  THiscoreStore again;
  if (DecodeHiscoreFile(EncodeHiscoreFile(store, cipher), cipher, again) !=
          THiscoreFileState::kRead ||
      again != store)
    __builtin_trap();
  return 0;
}
