// Script functions that belong to one window: bound into the dialog script's state when the
// window is made and set to nil when it goes, but only while that window still owns them
// (the most recently made window of the class wins). The game window keeps its own, older
// table (game_bindings.h); the layout chooser and editor use this one.
#pragma once

#include <span>
#include <string>

#include "script/native_binding.h"

struct lua_State;

// The dialog script's state, or null when there is no window manager with a script.
lua_State* WindowScriptState();
// Sets each global named to nil.
void ClearScriptGlobals(lua_State* L, std::span<const char* const> names);
// Runs a Lua statement from the dialog loop's command queue, where it may open a dialog and
// wait for it (a button's own command runs where it cannot). Bound as "RunLater" by the
// windows below.
void QueueDialogCommand(const std::string& statement);

template <class C>
class TWindowFunctions {
 public:
  struct TEntry {
    const char* name;
    void (*bind)(lua_State* L, const char* name, C* object);
  };
  template <auto Bound>
  static void Method(lua_State* L, const char* name, C* object) {
    RegisterMethod(L, name, object, Bound);
  }
  static void RunLater(lua_State* L, const char* name, C*) {
    RegisterFunction(L, name, &QueueDialogCommand);
  }

  TWindowFunctions(C* object, std::span<const TEntry> entries)
      : mObject(object), mEntries(entries) {
    lua_State* L = WindowScriptState();
    if (!L) return;
    for (const TEntry& entry : mEntries) entry.bind(L, entry.name, mObject);
    sOwner = mObject;
  }
  ~TWindowFunctions() {
    if (sOwner != mObject) return;
    sOwner = nullptr;
    lua_State* L = WindowScriptState();
    if (!L) return;
    for (const TEntry& entry : mEntries) {
      // RunLater stands for no window: other windows' scripts still use it.
      if (entry.bind == &TWindowFunctions::RunLater) continue;
      const char* name[] = {entry.name};
      ClearScriptGlobals(L, name);
    }
  }
  TWindowFunctions(const TWindowFunctions&) = delete;
  TWindowFunctions& operator=(const TWindowFunctions&) = delete;

 private:
  static inline C* sOwner = nullptr;
  C* mObject;
  std::span<const TEntry> mEntries;
};
