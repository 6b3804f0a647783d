// TLuaTable: a handle on a Lua table with typed reads. Reads are raw (no metamethods), so
// they never raise.
#pragma once

#include <string>

#include "script/lua_object_wrapper.h"

class TLuaTable : public TLuaObjectWrapper {
 public:
  using TLuaObjectWrapper::TLuaObjectWrapper;

  // Pushes table[key] onto State()'s stack (nil when the handle holds no table) and
  // answers whether it is non-nil. The caller pops it.
  bool GetValue(const char* key) const;
  bool GetValue(int index) const;

  // After the state was closed the typed reads answer their defaults.
  // table[key] as a string (numbers become text), or def when it is neither.
  std::string GetString(const char* key, const std::string& def = "") const;
  std::string GetString(int index, const std::string& def = "") const;
  // table[key] as a number (numeric strings convert), or def.
  double GetNumber(const char* key, double def = 0) const;
  double GetNumber(int index, double def = 0) const;

  // Hands the handle to the running script, which deletes it at its next call or resume.
  // Answers false (and keeps it with the caller) when no script owns the state, and for a
  // handle the native binding made for one call (take std::unique_ptr<TLuaTable> to keep one).
  bool RegisterTemp();

 private:
  bool PushField(int index) const;
  std::string StringOnTop(const std::string& def) const;
  double NumberOnTop(double def) const;
};
