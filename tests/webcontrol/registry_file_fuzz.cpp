// Random registry files: reading never crashes, and whatever reads back is written out as
// a text that reads back to the same keys and values.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "webcontrol/registry_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TRegistryFile registry;
  if (!registry.Parse(std::string(reinterpret_cast<const char*>(data), size))) return 0;
  const std::string text = registry.Text();
  TRegistryFile again;
  if (!again.Parse(text) || again.Text() != text) std::abort();
  return 0;
}
