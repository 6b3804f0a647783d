#include "webcontrol/registry_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "webcontrol/launcher_log.h"

namespace {

constexpr char kHeader[] = "REGEDIT4";
// Far above anything a few controls register; a bigger file is not ours.
constexpr std::uintmax_t kLargestFile = 1 << 20;

std::string Quote(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + '"';
}

// Reads a quoted text starting at line[*at] (the opening quote); *at ends after the
// closing quote. False when the quote is missing, unclosed, or holds a bad escape.
bool Unquote(const std::string& line, size_t* at, std::string* text) {
  if (*at >= line.size() || line[*at] != '"') return false;
  text->clear();
  for (size_t i = *at + 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') {
      *at = i + 1;
      return true;
    }
    if (c == '\\') {
      if (++i >= line.size() || (line[i] != '"' && line[i] != '\\')) return false;
      c = line[i];
    }
    text->push_back(c);
  }
  return false;
}

// A key path: parts separated by one backslash, none empty, no control characters.
bool IsKeyName(const std::string& key) {
  if (key.empty() || key.front() == '\\' || key.back() == '\\') return false;
  if (key.find("\\\\") != std::string::npos) return false;
  return std::none_of(key.begin(), key.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == ']'; });
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

bool TRegistryFile::TLess::operator()(const std::string& a, const std::string& b) const {
  return Lower(a) < Lower(b);
}

bool TRegistryFile::Load(const std::string& path) {
  mPath = path;
  mKeys.clear();
  mDamaged = false;
  mError.clear();
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return true;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  std::ifstream file(path, std::ios::binary);
  if (error || !file || size > kLargestFile) {
    mDamaged = true;
    mError = error || !file ? "cannot be read" : "is too large to be a registry";
    LauncherLog("registry %s %s; it is left as it is", path.c_str(), mError.c_str());
    return false;
  }
  std::stringstream text;
  text << file.rdbuf();
  if (Parse(text.str())) return true;
  mDamaged = true;
  LauncherLog("registry %s is damaged (%s); it is left as it is", path.c_str(), mError.c_str());
  return false;
}

bool TRegistryFile::Parse(const std::string& text) {
  mKeys.clear();
  mError.clear();
  std::istringstream lines(text);
  std::string line;
  std::string key;
  bool header = false;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    const auto fail = [&](const char* why) {
      mError = "line " + std::to_string(number) + ": " + why;
      mKeys.clear();
      return false;
    };
    if (!header) {
      if (line != kHeader) return fail("not a REGEDIT4 file");
      header = true;
    } else if (line[0] == '[') {
      if (line.back() != ']') return fail("a key line without its closing bracket");
      key = line.substr(1, line.size() - 2);
      if (!IsKeyName(key)) return fail("a malformed key name");
      CreateKey(key);
    } else {
      if (key.empty()) return fail("a value before any key");
      std::string name, value;
      size_t at = 0;
      if (line[0] == '@') {
        at = 1;
      } else if (!Unquote(line, &at, &name) || name.empty()) {
        return fail("a malformed value name");
      }
      if (at >= line.size() || line[at] != '=') return fail("a value without '='");
      ++at;
      if (!Unquote(line, &at, &value) || at != line.size())
        return fail("a value that is not one quoted text");
      mKeys[key][name] = value;
    }
  }
  return true;
}

std::string TRegistryFile::Text() const {
  std::string text = std::string(kHeader) + "\n";
  for (const auto& [key, values] : mKeys) {
    text += "\n[" + key + "]\n";
    for (const auto& [name, value] : values)
      text += (name.empty() ? std::string("@") : Quote(name)) + "=" + Quote(value) + "\n";
  }
  return text;
}

bool TRegistryFile::Save() {
  if (mDamaged || mPath.empty()) {
    LauncherLog("registry %s is not saved: %s", mPath.empty() ? "(none)" : mPath.c_str(),
                mDamaged ? "the file there is damaged and is kept" : "it was never loaded");
    return false;
  }
  // Written beside the old file and moved over it, so a failed write leaves the old one.
  const std::filesystem::path path(mPath);
  std::error_code error;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
  std::random_device random;
  const std::filesystem::path fresh =
      path.string() + ".new" + std::to_string(random()) + std::to_string(random());
  {
    std::ofstream file(fresh, std::ios::binary | std::ios::trunc);
    file << Text();
    file.close();
    if (!file) {
      std::filesystem::remove(fresh, error);
      LauncherLog("registry %s cannot be written", mPath.c_str());
      return false;
    }
  }
  std::filesystem::rename(fresh, path, error);
  if (error) {
    std::filesystem::remove(fresh, error);
    LauncherLog("registry %s cannot be replaced", mPath.c_str());
    return false;
  }
  return true;
}

void TRegistryFile::CreateKey(const std::string& key) {
  for (size_t at = key.find('\\'); at != std::string::npos; at = key.find('\\', at + 1))
    mKeys.try_emplace(key.substr(0, at));
  mKeys.try_emplace(key);
}

void TRegistryFile::SetValue(const std::string& key, const std::string& name,
                             const std::string& value) {
  CreateKey(key);
  mKeys[key][name] = value;
}

bool TRegistryFile::GetValue(const std::string& key, const std::string& name,
                             std::string* value) const {
  value->clear();
  auto found = mKeys.find(key);
  if (found == mKeys.end()) return false;
  auto named = found->second.find(name);
  if (named == found->second.end()) return false;
  *value = named->second;
  return true;
}

bool TRegistryFile::HasKey(const std::string& key) const {
  return mKeys.count(key) != 0;
}

bool TRegistryFile::RemoveTree(const std::string& key) {
  const std::string below = Lower(key) + "\\";
  bool removed = false;
  for (auto it = mKeys.begin(); it != mKeys.end();) {
    const std::string name = Lower(it->first);
    if (name == Lower(key) || name.rfind(below, 0) == 0) {
      it = mKeys.erase(it);
      removed = true;
    } else {
      ++it;
    }
  }
  return removed;
}

std::vector<std::string> TRegistryFile::Keys() const {
  std::vector<std::string> keys;
  for (const auto& entry : mKeys) keys.push_back(entry.first);
  return keys;
}
