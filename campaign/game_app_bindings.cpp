#include "campaign/game_app_bindings.h"

#include <array>

#include "campaign/game_app.h"
#include "script/native_binding.h"

namespace {

template <auto Method>
void Bind(lua_State* L, const char* name, TGameApp* app) {
  RegisterMethod(L, name, app, Method);
}

struct TBinding {
  const char* name;
  void (*bind)(lua_State* L, const char* name, TGameApp* app);
};

constexpr TBinding kBindings[] = {
    {"ToggleFullScreen", &Bind<&TGameApp::ToggleFullScreen>},
    {"ToggleSoundMute", &Bind<&TGameApp::ToggleSoundMute>},
    {"ToggleSFXMute", &Bind<&TGameApp::ToggleSFXMute>},
    {"ToggleMusicMute", &Bind<&TGameApp::ToggleMusicMute>},
    {"SetCurrentGameMode", &Bind<&TGameApp::SetCurrentGameMode>},
    {"GetNumUsers", &Bind<&TGameApp::GetNumUsers>},
    {"CreateNewUser", &Bind<&TGameApp::CreateNewUser>},
    {"SetCurrentUser", &Bind<&TGameApp::SetCurrentUser>},
    {"ChangeCurrentUserName", &Bind<&TGameApp::ChangeCurrentUserName>},
    {"ChangeUserName", &Bind<&TGameApp::ChangeUserName>},
    {"DeleteUser", &Bind<&TGameApp::DeleteUser>},
    {"IsNameInUse", &Bind<&TGameApp::IsNameInUse>},
    {"QuitToMainMenu", &Bind<&TGameApp::QuitToMainMenu>},
    {"ToggleTutorials", &Bind<&TGameApp::ToggleTutorials>},
    {"IsTandervelGame", &Bind<&TGameApp::IsTandervelGame>},
    {"OpenPrivacyPolicy", &Bind<&TGameApp::OpenPrivacyPolicy>},
    {"OpenTermsOfService", &Bind<&TGameApp::OpenTermsOfService>},
    {"IsWebAnon", &Bind<&TGameApp::IsWebAnon>},
    {"IsWebLocal", &Bind<&TGameApp::IsWebLocal>},
    {"IsSoundOff", &Bind<&TGameApp::IsSoundOff>},
    {"IsAOLGame", &Bind<&TGameApp::IsAOLGame>},
    {"IsMSNGame", &Bind<&TGameApp::IsMSNGame>},
    {"KillMusicForCurrentLocation", &Bind<&TGameApp::KillMusicForCurrentLocation>},
    {"AddFinishedLevelScore", &Bind<&TGameApp::AddFinishedLevelScore>},
};

constexpr auto kNames = [] {
  std::array<const char*, std::size(kBindings)> names{};
  for (size_t i = 0; i < names.size(); ++i) names[i] = kBindings[i].name;
  return names;
}();

}  // namespace

void BindGameAppFunctions(lua_State* L, TGameApp* app) {
  for (const TBinding& binding : kBindings) binding.bind(L, binding.name, app);
}

void UnbindGameAppFunctions(lua_State* L) {
  for (const TBinding& binding : kBindings) {
    lua_pushstring(L, binding.name);
    lua_pushnil(L);
    lua_settable(L, LUA_GLOBALSINDEX);
  }
}

std::span<const char* const> GameAppFunctionNames() {
  return kNames;
}
