// TRegistryFile: a per-user registry of keys and named text values, kept as a text file in
// the REGEDIT4 layout ("[KEY\SUB]" lines, then '@="..."' for the default value and
// '"Name"="..."' for named ones, with \\ and \" escaped). Key names compare without regard
// to letter case, as registry keys do. A file that cannot be read as such is damaged: it
// yields no keys, and the registry refuses to save over it, so nothing stored is lost.
#pragma once

#include <map>
#include <string>
#include <vector>

class TRegistryFile {
 public:
  // The empty name is the key's default value.
  using TValues = std::map<std::string, std::string>;

  // Reads path; a missing file is an empty registry. False (with the reason in Error()) when
  // the file exists but is damaged; the registry then stays empty and cannot be saved.
  bool Load(const std::string& path);
  // The registry as text, and read from text (false, with the reason, when damaged).
  std::string Text() const;
  bool Parse(const std::string& text);
  // Writes the registry to the path it was loaded from (a new file replaces the old one
  // whole). False when it was damaged, never loaded, or cannot be written.
  bool Save();
  const std::string& Error() const { return mError; }

  // Creates the key (and every key above it) if missing, and sets one value.
  void SetValue(const std::string& key, const std::string& name, const std::string& value);
  void CreateKey(const std::string& key);
  // A value, or "" with false when the key or value is missing.
  bool GetValue(const std::string& key, const std::string& name, std::string* value) const;
  bool HasKey(const std::string& key) const;
  // Removes a key with every key below it; false when it was not there.
  bool RemoveTree(const std::string& key);
  // The names of the keys, in order.
  std::vector<std::string> Keys() const;

 private:
  struct TLess {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  std::map<std::string, TValues, TLess> mKeys;
  std::string mPath;
  std::string mError;
  bool mDamaged = false;
};
