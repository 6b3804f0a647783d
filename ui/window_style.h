// The view of a window description that Init and PostCreate read: a key's value in the
// description itself, else along the current default style chain. The dialog scripts back
// it with Lua tables (TLuaWindowStyle); native code and tests may back it with anything.
#pragma once

#include <string>

class TLuaFunction;
class TLuaTable;

class TWindowStyle {
 public:
  virtual ~TWindowStyle() = default;
  virtual bool Has(const std::string& key) const = 0;
  virtual double GetNumber(const std::string& key, double fallback) const = 0;
  virtual std::string GetString(const std::string& key, const std::string& fallback) const = 0;
  virtual bool GetBool(const std::string& key, bool fallback) const = 0;
  // Handles on tables and functions; the caller owns them. Null when absent.
  virtual TLuaTable* GetTable(const std::string&) const { return nullptr; }
  virtual TLuaFunction* GetFunction(const std::string&) const { return nullptr; }

  int GetInt(const std::string& key, int fallback) const;
};
