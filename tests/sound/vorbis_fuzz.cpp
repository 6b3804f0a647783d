// Damaged Ogg data through the whole decoding path: opening the stream, decoding a short
// preloaded sound at once, and the spooler's reads from memory and from the file, plain,
// looping and after a seek. Nothing may crash or read out of bounds, and no read may run
// for ever.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "files/file_system.h"
#include "sound/mem_spooler.h"
#include "sound/sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    ResetFileSystem();
    return true;
  }();
  (void)ready;
  RegisterMemoryFile("fuzz.ogg", data, size);
  std::vector<uint8_t> chunk(8192);
  for (bool preload : {true, false}) {
    const std::shared_ptr<TSound> sound = TSound::GetSound("fuzz.ogg", preload, 0);
    if (!sound) continue;
    TMemSpooler spooler(sound->Data());
    for (int i = 0; i < 48; ++i) {
      uint32_t got = 0;
      const bool loop = i >= 24;
      if (!spooler.Read(chunk.data(), static_cast<uint32_t>(chunk.size()), got, loop) && !loop)
        i = 23;
      if (got > chunk.size()) __builtin_trap();
    }
    spooler.SetPosition(spooler.Duration() / 2);
    uint32_t got = 0;
    spooler.Read(chunk.data(), static_cast<uint32_t>(chunk.size()), got, false);
  }
  RegisterMemoryFile("fuzz.ogg", nullptr, 0);
  return 0;
}
