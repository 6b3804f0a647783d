#include "data/prefs.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "data/prefs_legacy.h"
#include "data/settings.h"
#include "files/file.h"
#include "files/file_system.h"
#include "files/lower_case.h"
#include "files/replace_file.h"
#include "frame/log.h"

namespace {

TPrefsOptions OptionsFromSettings(bool save) {
  TPrefsOptions options;
  options.keyText = GetSetting("encryptionkey");
  options.installKey = GetSetting("installkey");
  options.save = save;
  return options;
}

std::string Trimmed(const std::string& text) {
  const char* const kSpace = " \t\r\n\v\f";
  const size_t first = text.find_first_not_of(kSpace);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

// Whether a file of that name is on disk now (the name table remembers names that were
// found once, so it cannot tell whether one was removed since).
bool IsOnDisk(const std::string& name) {
  const std::string path = ResolveFileName(name, false);
  std::error_code error;
  return !path.empty() && std::filesystem::exists(path, error);
}

}  // namespace

TPrefs::TPrefs(bool save) : TPrefs(OptionsFromSettings(save)) {}

TPrefs::TPrefs(const TPrefsOptions& options)
    : mCipher(options.keyText),
      mKeyText(options.keyText),
      mFileName(options.fileName),
      mSave(options.save) {
  if (mKeyText.empty()) Log("ERROR: No encryption key set before TPrefs construction!");
  Load(options);
}

void TPrefs::SelectSection() {
  mInstallKey = LowerCaseAscii(mInstallKey.substr(0, mInstallKey.find('\0')));
  mCurrent = &mSections[mInstallKey];
}

void TPrefs::Load(const TPrefsOptions& options) {
  mInstallKey = options.installKey.empty() ? "unknown" : options.installKey;
  bool keyFromFile = options.installKeyFromFile;
  std::string installText;
  if (!options.installFile.empty() && FileExists(options.installFile) &&
      ReadWholeFile(options.installFile, installText, kReadText)) {
    installText = Trimmed(installText);
    if (installText.empty())
      keyFromFile = true;
    else
      mInstallKey = installText;
  }
  // The current section is selected once the file has had its say, so that a key that the
  // file replaces does not leave an empty section behind.
  std::string bytes;
  if (!ReadWholeFile(mFileName, bytes, kReadBinary)) {
    SelectSection();
    return;
  }
  if (IsLegacyPrefs(bytes)) {
    const TPrefsLegacyReport report = ReadLegacyPrefs(bytes, mCipher, !mKeyText.empty(), mSections);
    if (!report.readable) {
      // Converting would overwrite the file with nothing: leave it alone.
      mDamaged = true;
      mDamage = "older preferences file does not decipher or fails its checksum";
      mDamagedBytes = bytes;
      Log("Preferences: %s is damaged (%s); starting empty", mFileName.c_str(), mDamage.c_str());
      SelectSection();
      return;
    }
    if (keyFromFile && report.hasFirstKey) mInstallKey = report.firstKey;
    SelectSection();
    Log("Preferences: converting the older form of %s", mFileName.c_str());
    Save();
    return;
  }
  const TPrefsReadReport report = ReadPrefsRecords(bytes, mCipher, mSections);
  if (keyFromFile && report.hasFirstKey) mInstallKey = report.firstKey;
  SelectSection();
  if (report.damaged) {
    mDamaged = true;
    mDamage = report.reason + " at offset " + std::to_string(report.stoppedAt);
    mDamagedBytes = bytes;
    Log("Preferences: %s is damaged (%s); kept what was read before it", mFileName.c_str(),
        mDamage.c_str());
  }
}

const TPrefsSlot* TPrefs::FindSlot(int player) const {
  if (player < -1 || static_cast<size_t>(player + 1) >= mCurrent->size()) return nullptr;
  return &(*mCurrent)[static_cast<size_t>(player + 1)];
}

TPrefsSlot* TPrefs::MakeSlot(int player, const std::string& key, size_t valueLength) {
  if (player < -1 || player >= kMaxPlayers) {
    Log("Preferences: player %d out of range; '%s' not stored", player, key.c_str());
    return nullptr;
  }
  if (!PrefsEntryFits(key, valueLength)) {
    Log("Preferences: key or value too long for '%s'; not stored", key.c_str());
    return nullptr;
  }
  const size_t slot = static_cast<size_t>(player + 1);
  if (mCurrent->size() <= slot) mCurrent->resize(slot + 1);
  return &(*mCurrent)[slot];
}

bool TPrefs::GetPrefBytes(const std::string& key, std::string* value, int player) const {
  const TPrefsSlot* slot = FindSlot(player);
  if (!slot) return false;
  auto it = slot->find(key);
  if (it == slot->end()) return false;
  if (value) *value = it->second;
  return true;
}

std::string TPrefs::GetPref(const std::string& key, const std::string& defaultValue,
                            int player) const {
  std::string value;
  if (!GetPrefBytes(key, &value, player)) return defaultValue;
  return value.substr(0, value.find('\0'));
}

void TPrefs::SetPref(const std::string& key, const std::string& value, int player, bool saveNow) {
  TPrefsSlot* slot = MakeSlot(player, key, value.size() + 1);
  if (!slot) return;
  (*slot)[key] = value + '\0';
  if (saveNow) Save();
}

int TPrefs::GetPrefInt(const std::string& key, int defaultValue, int player) const {
  char text[16];
  std::snprintf(text, sizeof text, "%d", defaultValue);
  const long long parsed = std::strtoll(GetPref(key, text, player).c_str(), nullptr, 10);
  if (parsed > 2147483647LL) return 2147483647;
  if (parsed < -2147483648LL) return -2147483647 - 1;
  return static_cast<int>(parsed);
}

void TPrefs::SetPrefInt(const std::string& key, int value, int player, bool saveNow) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  SetPref(key, text, player, saveNow);
}

int TPrefs::GetPrefData(const std::string& key, void* buffer, int bufferSize, int player) const {
  const TPrefsSlot* slot = FindSlot(player);
  if (!slot) return 0;
  auto it = slot->find(key);
  if (it == slot->end()) return -1;
  const std::string& value = it->second;
  if (!buffer || bufferSize < 0 || static_cast<size_t>(bufferSize) < value.size())
    return static_cast<int>(value.size());
  std::memcpy(buffer, value.data(), value.size());
  return 0;
}

void TPrefs::SetPrefData(const std::string& key, const void* bytes, int length, int player,
                         bool saveNow) {
  if (length < 0 || (length > 0 && !bytes)) return;
  TPrefsSlot* slot = MakeSlot(player, key, static_cast<size_t>(length));
  if (!slot) return;
  (*slot)[key].assign(static_cast<const char*>(bytes), static_cast<size_t>(length));
  if (saveNow) Save();
}

int TPrefs::GetUserCount() const {
  return mCurrent->empty() ? 0 : static_cast<int>(mCurrent->size()) - 1;
}

void TPrefs::DeleteUser(int player) {
  if (player < 0 || player >= GetUserCount()) return;
  mCurrent->erase(mCurrent->begin() + player + 1);
}

bool TPrefs::KeepDamagedFile() {
  // "prefs.dat.damaged", then "prefs.dat.damaged.2" and on: an earlier kept copy is never
  // replaced.
  const std::string first = mFileName + ".damaged";
  std::string name = first;
  for (int copy = 2; IsOnDisk(name); ++copy) {
    if (copy > kMaxKeptDamagedFiles) {
      Log("Preferences: %s is damaged and %d damaged copies are kept already; it is not saved "
          "over until one of them is removed",
          mFileName.c_str(), kMaxKeptDamagedFiles);
      return false;
    }
    name = first + "." + std::to_string(copy);
  }
  std::string error;
  if (!ReplaceWholeFile(name, mDamagedBytes, &error)) {
    Log("Preferences: could not keep the damaged %s aside (%s); it is not saved over",
        mFileName.c_str(), error.c_str());
    return false;
  }
  Log("Preferences: damaged file kept as %s", name.c_str());
  mDamagedBytes.clear();
  return true;
}

bool TPrefs::Save() {
  if (!mSave) return false;
  if (!mDamagedBytes.empty() && !KeepDamagedFile()) return false;
  std::string error;
  const std::string bytes = WritePrefsRecords(mSections, mInstallKey, mCipher);
  if (!ReplaceWholeFile(mFileName, bytes, &error)) {
    Log("Preferences: saving %s failed, the old file is unchanged: %s", mFileName.c_str(),
        error.c_str());
    return false;
  }
  return true;
}
