// TLuaWindowStyle: a window description table read with the current default style chain
// ("gCurrentDefaultStyle" and its "parent" tables) behind it.
#pragma once

#include <memory>

#include "ui/window_style.h"

class TLuaObjectWrapper;
struct lua_State;

class TLuaWindowStyle : public TWindowStyle {
 public:
  // The description is the table at index of L's stack (anything else reads as empty).
  TLuaWindowStyle(lua_State* L, int index);
  ~TLuaWindowStyle() override;

  bool Has(const std::string& key) const override;
  double GetNumber(const std::string& key, double fallback) const override;
  std::string GetString(const std::string& key, const std::string& fallback) const override;
  bool GetBool(const std::string& key, bool fallback) const override;
  TLuaTable* GetTable(const std::string& key) const override;
  TLuaFunction* GetFunction(const std::string& key) const override;

 private:
  // Pushes the value of key (nil when absent everywhere).
  void Lookup(const std::string& key) const;

  lua_State* mL;
  std::unique_ptr<TLuaObjectWrapper> mTable;
};
