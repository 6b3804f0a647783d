#include "script/script_code.h"

#include "data/asset_manager.h"
#include "frame/log.h"
#include "script/engine_file_reader.h"
#include "script/lua/lua_api.h"
#include "script/lua/lua_aux.h"
#include "script/script_path.h"

const TAssetType TScriptCode::kType{"TScriptCode", &TAsset::kType};

namespace {

std::vector<std::shared_ptr<TScriptCode>>& KeptCode() {
  static std::vector<std::shared_ptr<TScriptCode>> kept;
  return kept;
}

int gCompileCount = 0;

int AppendToBuffer(lua_State*, const void* p, size_t size, void* ud) {
  std::vector<char>* out = static_cast<std::vector<char>*>(ud);
  const char* bytes = static_cast<const char*>(p);
  out->insert(out->end(), bytes, bytes + size);
  return 0;
}

// Closes the compile state on every way out.
struct TCompileState {
  lua_State* L = lua_open();
  ~TCompileState() {
    if (L) lua_close(L);
  }
};

std::string MessageOnTop(lua_State* L) {
  const char* text = lua_tostring(L, -1);
  return text ? text : "unknown error";
}

}  // namespace

int TScriptCode::LoadInto(lua_State* L, const std::string& chunkName) const {
  return luaL_loadbuffer(L, mCode.data(), mCode.size(), chunkName.c_str());
}

std::shared_ptr<TScriptCode> LoadScriptCode(const std::string& name, const std::string& path,
                                            std::string& errorText) {
  if (name.empty()) return nullptr;
  TAssetManager* manager = TAssetManager::Get();
  if (manager) {
    if (std::shared_ptr<TScriptCode> cached = manager->GetAssetAs<TScriptCode>(name)) return cached;
  }

  const std::string searchPath = path.empty() ? kDefaultCompilePath : path;
  TCompileState compile;
  if (!compile.L) {
    errorText = "not enough memory";
    return nullptr;
  }
  lua_State* L = compile.L;
  InstallEngineFileReader(L, &searchPath);
  // Scripts that look at LUA_PATH while they are compiled see the path in use.
  lua_pushstring(L, searchPath.c_str());
  lua_setglobal(L, "LUA_PATH");

  ++gCompileCount;
  if (luaL_loadfile(L, name.c_str()) != 0) {
    errorText = MessageOnTop(L);
    return nullptr;
  }
  std::vector<char> bytes;
  if (lua_dump(L, AppendToBuffer, &bytes) == 0 || bytes.empty()) {
    errorText = "cannot dump the compiled chunk of " + name;
    return nullptr;
  }
  auto code = std::make_shared<TScriptCode>(std::move(bytes));
  if (manager) manager->AddAsset(name, code);
  KeptCode().push_back(code);
  return code;
}

void ForgetCompiledScripts() {
  KeptCode().clear();
}

int ScriptCompileCount() {
  return gCompileCount;
}
