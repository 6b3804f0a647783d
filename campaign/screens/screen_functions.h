// TScreenFunctions: the script functions a screen offers while it lives. The most recently
// bound owner of a name answers; when it goes, the name falls back to the owner before it
// (a dialog closed over another one hands FadeDown back to the one below), and with no
// owner left the name is removed, so a script can never call into a destroyed window.
// Functions that must stay whatever screen is open answer from the application object
// instead and are bound as plain functions (BindLasting).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "script/native_binding.h"

class TWindowManager;

// The dialog scripts' Lua state (of the given manager, else the running one), or null when
// there is no window script.
lua_State* DialogScriptState(TWindowManager* manager = nullptr);

class TScreenFunctions {
 public:
  TScreenFunctions() = default;
  ~TScreenFunctions();
  TScreenFunctions(const TScreenFunctions&) = delete;
  TScreenFunctions& operator=(const TScreenFunctions&) = delete;

  template <class T, class Method>
  void Bind(const char* name, T* object, Method method) {
    Claim(name, [name = std::string(name), object, method](lua_State* L) {
      RegisterMethod(L, name.c_str(), object, method);
    });
  }

  // A plain function that stays registered after every screen is gone.
  template <class Function>
  static void BindLasting(const char* name, Function function, TWindowManager* manager = nullptr) {
    lua_State* L = DialogScriptState(manager);
    if (!L) return;
    RegisterFunction(L, name, function);
  }

  // The names this object answers for now.
  std::vector<std::string> Owned() const;

 private:
  using TBinder = std::function<void(lua_State*)>;
  void Claim(const char* name, TBinder binder);

  std::vector<std::string> mNames;
};
