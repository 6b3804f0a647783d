#include "script/engine_file_reader.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "files/file.h"
#include "script/lua/lua_api.h"
#include "script/script_path.h"

namespace {

// The interpreter frees the buffer with free(), so it is allocated with malloc.
bool ReadThroughEngine(void* ud, const char* name, char** out, size_t* size) {
  if (name == nullptr) return false;
  const std::string* path = static_cast<const std::string*>(ud);
  const std::string found = FindScriptFile(name, path ? *path : ScriptSearchPath());
  if (found.empty()) return false;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(found, bytes, kReadBinary)) return false;
  char* buffer = static_cast<char*>(std::malloc(bytes.empty() ? 1 : bytes.size()));
  if (buffer == nullptr) return false;
  if (!bytes.empty()) std::memcpy(buffer, bytes.data(), bytes.size());
  *out = buffer;
  *size = bytes.size();
  return true;
}

}  // namespace

void InstallEngineFileReader(lua_State* L, const std::string* searchPath) {
  lua_setfilereader(L, ReadThroughEngine, const_cast<std::string*>(searchPath));
}
