#include "campaign/screens/screen_functions.h"

#include <algorithm>
#include <map>
#include <utility>

#include "ui/window_manager.h"
#include "ui/window_script.h"

namespace {

struct TClaim {
  const TScreenFunctions* owner;
  std::function<void(lua_State*)> bind;
};

// For each name, its owners from the first to the one answering now (the last).
std::map<std::string, std::vector<TClaim>>& Claims() {
  static std::map<std::string, std::vector<TClaim>> claims;
  return claims;
}

void RemoveGlobal(lua_State* L, const std::string& name) {
  lua_pushstring(L, name.c_str());
  lua_pushnil(L);
  lua_settable(L, LUA_GLOBALSINDEX);
}

}  // namespace

lua_State* DialogScriptState(TWindowManager* manager) {
  if (!manager) manager = TWindowManager::Get();
  auto* script = manager ? dynamic_cast<TWindowScript*>(manager->Script()) : nullptr;
  return script ? script->GetState() : nullptr;
}

TScreenFunctions::~TScreenFunctions() {
  lua_State* L = DialogScriptState();
  for (const std::string& name : mNames) {
    auto found = Claims().find(name);
    if (found == Claims().end()) continue;
    std::vector<TClaim>& claims = found->second;
    const bool answering = !claims.empty() && claims.back().owner == this;
    claims.erase(std::remove_if(claims.begin(), claims.end(),
                                [this](const TClaim& claim) { return claim.owner == this; }),
                 claims.end());
    if (!answering || !L) {
      if (claims.empty()) Claims().erase(found);
      continue;
    }
    if (claims.empty()) {
      RemoveGlobal(L, name);
      Claims().erase(found);
    } else {
      claims.back().bind(L);
    }
  }
}

void TScreenFunctions::Claim(const char* name, TBinder binder) {
  lua_State* L = DialogScriptState();
  if (!L) return;
  binder(L);
  std::vector<TClaim>& claims = Claims()[name];
  claims.erase(std::remove_if(claims.begin(), claims.end(),
                              [this](const TClaim& claim) { return claim.owner == this; }),
               claims.end());
  claims.push_back({this, std::move(binder)});
  if (std::find(mNames.begin(), mNames.end(), name) == mNames.end()) mNames.emplace_back(name);
}

std::vector<std::string> TScreenFunctions::Owned() const {
  std::vector<std::string> owned;
  for (const std::string& name : mNames) {
    auto found = Claims().find(name);
    if (found != Claims().end() && !found->second.empty() && found->second.back().owner == this)
      owned.push_back(name);
  }
  return owned;
}
