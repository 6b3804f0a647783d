#include "data/settings.h"

#include <cstdlib>
#include <cstring>

#include "data/base64.h"
#include "data/prefs_cipher.h"
#include "files/xml_node.h"

namespace {

std::map<std::string, std::string> gSettings;
bool gLegacyLineWrap = false;
TSettingHook gHook;

// atoi's reading (leading blanks, a sign, digits, the rest ignored), clamped to int.
int ParseInt(const std::string& text) {
  const long long parsed = std::strtoll(text.c_str(), nullptr, 10);
  if (parsed > 2147483647LL) return 2147483647;
  if (parsed < -2147483648LL) return -2147483647 - 1;
  return static_cast<int>(parsed);
}

const std::string* Find(const std::string& key) {
  auto it = gSettings.find(key);
  return it == gSettings.end() ? nullptr : &it->second;
}

// The cheat code is the computer identifier enciphered for this encryption key.
void UpdateCheatMode() {
  const std::string code = GetSetting("cheatcode");
  const std::string key = GetSetting("encryptionkey");
  if (code.empty() || key.empty()) return;
  std::string plain = TPrefsCipher(key).DecryptText(code);
  plain.resize(std::strlen(plain.c_str()));  // compared as text, up to a zero byte
  SetSetting("cheatmode", plain == GetSetting("computerid") ? "1" : "0");
}

}  // namespace

std::string GetSetting(const std::string& key, const std::string& defaultValue) {
  const std::string* value = Find(key);
  return value ? *value : defaultValue;
}

bool HasSetting(const std::string& key) {
  return Find(key) != nullptr;
}

void SetSetting(const std::string& key, const std::string& value) {
  gSettings[key] = value;
  if (key == "encryptionkey" || key == "cheatcode") UpdateCheatMode();
  if (key == "legacylinewrap") gLegacyLineWrap = true;
  if (gHook) gHook(key, value);
}

bool GetSettingBool(const std::string& key) {
  const std::string* value = Find(key);
  return value && ParseInt(*value) != 0;
}

int GetSettingInt(const std::string& key, int defaultValue) {
  const std::string* value = Find(key);
  if (!value || value->empty()) return defaultValue;
  return ParseInt(*value);
}

float GetSettingFloat(const std::string& key, float defaultValue) {
  const std::string* value = Find(key);
  if (!value || value->empty()) return defaultValue;
  return static_cast<float>(std::atof(value->c_str()));
}

void LoadSettingsFile(const std::string& fileName) {
  TXmlNode root;
  root.LoadFile(fileName);
  const TXmlNode* settings = root.FindChild("settings");
  if (!settings) return;
  for (const auto& child : settings->Children()) SetSetting(child->GetName(), child->GetText());
}

bool LegacyLineWrap() {
  return gLegacyLineWrap;
}

void SetSettingHook(TSettingHook hook) {
  gHook = std::move(hook);
}

const std::map<std::string, std::string>& AllSettings() {
  return gSettings;
}

void ResetSettings() {
  gSettings.clear();
  gLegacyLineWrap = false;
  gHook = nullptr;
}
