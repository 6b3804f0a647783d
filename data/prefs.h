// TPrefs: the persistent per-player data of the game in one enciphered file,
// "user:prefs.dat". Values are byte strings under string keys, one map per player plus a
// global map, grouped in sections per installation key so that several installations
// sharing a user folder keep separate data (see data/prefs_records.h for the file).
//
// Players are addressed by index: -1 is the global slot, 0 the first player, and so on up
// to kMaxPlayers - 1. String values are stored with their terminating zero byte and read
// back up to the first zero byte.
//
// Loading never fails: a missing file gives an empty store, a damaged one what could be
// read before the damage (logged; the damaged file is kept beside the new one as
// ".damaged", or ".damaged.2" and on when earlier copies are there, at the first save; a
// damaged file that cannot be kept is never saved over). Saving replaces the file
// atomically; a failed save leaves the old file and is logged. Main thread only.
#pragma once

#include <string>

#include "data/prefs_cipher.h"
#include "data/prefs_records.h"

struct TPrefsOptions {
  std::string fileName = "user:prefs.dat";
  std::string keyText;                      // the cipher key ("encryptionkey")
  std::string installKey;                   // "unknown" when empty ("installkey")
  std::string installFile = "install.txt";  // "" to ignore
  bool installKeyFromFile = false;  // take the key from the file's first record, as an empty
                                    // install file asks
  bool save = true;                 // false: never write the file
};

class TPrefs {
 public:
  static constexpr int kMaxPlayers = static_cast<int>(kMaxPrefsSlot);

  // Keys and loads from the settings "encryptionkey" and "installkey".
  explicit TPrefs(bool save);
  explicit TPrefs(const TPrefsOptions& options);
  TPrefs(const TPrefs&) = delete;
  TPrefs& operator=(const TPrefs&) = delete;

  std::string GetPref(const std::string& key, const std::string& defaultValue,
                      int player = -1) const;
  void SetPref(const std::string& key, const std::string& value, int player = -1,
               bool saveNow = false);
  int GetPrefInt(const std::string& key, int defaultValue, int player = -1) const;
  void SetPrefInt(const std::string& key, int value, int player = -1, bool saveNow = false);

  // -1 when the key is absent from an existing slot, 0 when the slot does not exist, the
  // value's length when buffer is null or smaller than the value, else copies and gives 0.
  int GetPrefData(const std::string& key, void* buffer, int bufferSize, int player = -1) const;
  void SetPrefData(const std::string& key, const void* bytes, int length, int player = -1,
                   bool saveNow = false);
  // The raw stored bytes; false when the slot or key is absent.
  bool GetPrefBytes(const std::string& key, std::string* value, int player = -1) const;

  int GetUserCount() const;
  // Removes a player's slot; later players move down by one.
  void DeleteUser(int player);

  // Writes the whole store; false when it failed (logged) or saving is off.
  bool Save();

  const std::string& InstallKey() const { return mInstallKey; }
  const TPrefsSections& Sections() const { return mSections; }
  const TPrefsCipher& Cipher() const { return mCipher; }
  // Whether loading stopped at damage, and why.
  bool LoadWasDamaged() const { return mDamaged; }
  const std::string& LoadDamage() const { return mDamage; }

  // Damaged copies kept beside the file at most; beyond them the damaged file stays.
  static constexpr int kMaxKeptDamagedFiles = 9;

 private:
  void Load(const TPrefsOptions& options);
  void SelectSection();
  const TPrefsSlot* FindSlot(int player) const;
  TPrefsSlot* MakeSlot(int player, const std::string& key, size_t valueLength);
  // Writes the damaged file's bytes under the first free ".damaged" name; false (logged)
  // when it could not, and then the damaged file must not be replaced.
  bool KeepDamagedFile();

  TPrefsCipher mCipher;
  std::string mKeyText;
  std::string mFileName;
  std::string mInstallKey;
  TPrefsSections mSections;
  TPrefsSection* mCurrent = nullptr;
  bool mSave;
  bool mDamaged = false;
  std::string mDamage;
  std::string mDamagedBytes;  // the damaged file, until it is kept aside
};
