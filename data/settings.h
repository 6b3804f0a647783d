// The settings: one global, ordered map of named text settings (keys case-sensitive),
// filled at start-up from "settings.xml", the command line and the program itself. Every
// value is text; numbers are parsed when read, in the manner of C atoi / atof.
//
// SetSetting has side effects:
//  - "encryptionkey" or "cheatcode": "cheatmode" is recomputed when both are set (the
//    cheat code, Base64 text, deciphered with the preferences cipher keyed by
//    "encryptionkey", must equal "computerid");
//  - "legacylinewrap": the legacy line-wrap flag turns on, whatever the value;
//  - every setting is handed to the platform hook, once one is installed ("vsync").
// Main thread only.
#pragma once

#include <functional>
#include <map>
#include <string>

std::string GetSetting(const std::string& key, const std::string& defaultValue = "");
void SetSetting(const std::string& key, const std::string& value);
bool HasSetting(const std::string& key);

// True when the value, read as a decimal integer, is not 0; an absent key is false.
bool GetSettingBool(const std::string& key);
// The default when the key is absent or its value empty; else atoi / atof of the value.
int GetSettingInt(const std::string& key, int defaultValue);
float GetSettingFloat(const std::string& key, float defaultValue);

// Calls SetSetting for each child element of the element "settings" of an XML file
// (plain or ZXML), with the element's name and text. A missing file changes nothing.
void LoadSettingsFile(const std::string& fileName);

// Set once by "legacylinewrap", never cleared (read by text layout).
bool LegacyLineWrap();

// Receives every setting after it is stored (the platform layer acts on "vsync").
using TSettingHook = std::function<void(const std::string& key, const std::string& value)>;
void SetSettingHook(TSettingHook hook);

const std::map<std::string, std::string>& AllSettings();
// Empties the settings and clears the flag and the hook (start of a run, tests).
void ResetSettings();
