// The player's progress across runs of the program: a level won through the record's own
// operations is there when the program starts again; a damaged preferences file gives a
// fresh record and is kept aside; a file of the older form is read and converted.
//
// Runs that must change the record run the program's own start-up and GameMain in this
// process (as the program folder's executable, so the store's installation section is the
// real program's); the runs in between are the real program.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "campaign/game_app.h"
#include "campaign/record/record_keys.h"
#include "campaign/record/treasure_table.h"
#include "data/prefs.h"
#include "data/prefs_cipher.h"
#include "data/prefs_legacy.h"
#include "frame/application.h"
#include "tests/app/program_run.h"

namespace {

namespace fs = std::filesystem;

class RecordProgram : public TProgramRun {
 protected:
  RecordProgram() : TProgramRun("mc_record_program_") {}
};

}  // namespace

TEST_F(RecordProgram, AWonLevelIsKeptAcrossARestart) {
  const TFace treasure = TreasureTable(kGrammasAttic)[0];
  ASSERT_EQ(RunInProcess([&](TApplication&, TGameApp& game) {
              TGameState& state = game.State();
              state.RecordWonLevel({"levels/tutorial/tutorial.xml", kNoFace, 150});
              state.RecordWonLevel({"levels/level_001.xml", treasure, 480});
            }),
            0);

  // The real program finds the player and the progress, and says so.
  ASSERT_EQ(RunProgram(1500), 0);
  const std::string log = Log();
  EXPECT_NE(log.find("Player 0 \"Player\": 1 of 50 levels beaten, bankroll 480, tutorial level "
                     "done"),
            std::string::npos)
      << log;
  EXPECT_EQ(log.find("No player yet"), std::string::npos) << log;
  EXPECT_EQ(log.find("damaged"), std::string::npos) << log;
  // The game's cursor picture was found and taken by the renderer.
  EXPECT_EQ(log.find("Cursor picture"), std::string::npos) << log;
  EXPECT_EQ(log.find("cursor picture could not be used"), std::string::npos) << log;

  // Every part of the record is as it was left.
  TProgress seen;
  TFace collected = kNoFace;
  int collectionSize = 0;
  ASSERT_EQ(RunInProcess([&](TApplication&, TGameApp& game) {
              seen = game.State().Progress();
              collected = seen.collection[0];
              collectionSize = game.State().DisplayCase().CollectionSize();
            }),
            0);
  EXPECT_TRUE(seen.tutorialLevelDone);
  EXPECT_EQ(seen.levelsBeatenCount, 1);
  EXPECT_EQ(seen.levelsBeaten[0], 0);
  EXPECT_EQ(seen.locationWins[kGrammasAttic], 1);
  EXPECT_EQ(seen.bankroll, 480);
  EXPECT_EQ(collected, treasure);
  EXPECT_EQ(collectionSize, 1);
}

TEST_F(RecordProgram, ADamagedPreferencesFileStartsAFreshRecordAndIsKeptAside) {
  fs::create_directories(userFolder);
  const std::string damaged = std::string("IKEY\x08\x00\x00\x00", 8) + "not a cipher block at all";
  std::ofstream(userFolder / "prefs.dat", std::ios::binary) << damaged;
  ASSERT_EQ(RunProgram(1500), 0);
  const std::string log = Log();
  EXPECT_NE(log.find("is damaged"), std::string::npos) << log;
  EXPECT_NE(log.find("No player yet: starting with \"Player\""), std::string::npos) << log;
  EXPECT_NE(log.find("Player 0 \"Player\": 0 of 50 levels beaten, bankroll 0"), std::string::npos);
  EXPECT_EQ(ReadFile(userFolder / "prefs.dat.damaged"), damaged);
  // The new file is whole: the next start reads it without complaint.
  ASSERT_EQ(RunProgram(1000), 0);
  EXPECT_EQ(Log().find("is damaged"), std::string::npos) << Log();
  EXPECT_EQ(ReadFile(userFolder / "prefs.dat.damaged"), damaged);
}

TEST_F(RecordProgram, AFileOfTheOlderFormIsReadAndConverted) {
  // The section of this installation: the program folder, as the start-up names it.
  TPrefsSections sections;
  TPrefsSection& section = sections[std::string(MC_BIN_DIR) + "/"];
  section.resize(2);
  section[0][record_key::kCurrentUser] = std::string("0", 2);
  section[1][record_key::kName] = std::string("Old Timer", 10);
  section[1][record_key::kBankroll] = std::string("3250", 5);
  section[1][record_key::kLevelsBeatenCount] = std::string("2", 2);
  fs::create_directories(userFolder);
  std::ofstream(userFolder / "prefs.dat", std::ios::binary)
      << WriteLegacyPrefs(sections, TPrefsCipher(TGameApp::kEncryptionKey));
  ASSERT_EQ(RunProgram(1500), 0);
  const std::string log = Log();
  EXPECT_NE(log.find("converting the older form"), std::string::npos) << log;
  EXPECT_NE(log.find("Player 0 \"Old Timer\": 2 of 50 levels beaten, bankroll 3250"),
            std::string::npos)
      << log;
  EXPECT_FALSE(IsLegacyPrefs(ReadFile(userFolder / "prefs.dat")));
}

TEST_F(RecordProgram, ThePlayersSoundOptionsAreKeptAndAppliedAtTheNextStart) {
  // The player's levels, set as the options screen stores them.
  ASSERT_EQ(RunInProcess([](TApplication&, TGameApp& game) {
              game.Prefs().SetPrefInt(record_key::kSoundLevel, 300, game.CurrentUser());
              game.Prefs().SetPrefInt(record_key::kMusicLevel, 400, game.CurrentUser(), true);
            }),
            0);

  // The real program: the splash goes, then the main screen's sound and music switches are
  // pressed (the pointer moves onto each button first: a hovered button holds the pointer
  // until it hears it leave). Frame marks keep each step behind the picture before it.
  const fs::path frames = folder / "frames";
  const fs::path script = folder / "input.txt";
  std::ofstream(script) << "300 click 400 300\n"
                           "1200 frame\n"
                           "1300 move 400 268\n"
                           "1400 click 400 268\n"
                           "1500 move 400 318\n"
                           "1600 click 400 318\n"
                           "1800 frame\n"
                           "1900 close\n";
  ASSERT_EQ(RunProgram(20000, "--input=" + script.string() + " --frames=" + frames.string()), 0);
  EXPECT_NE(Log().find("Game loop ended"), std::string::npos) << Log();

  // At the next start both switches are off in the store and applied to the sound system;
  // sound on again brings the effects back at the stored level, music stays muted until its
  // own switch is turned.
  bool soundOff = false;
  bool musicOff = false;
  float master = -1;
  float music = -1;
  float effectsWithSoundOn = -1;
  float gameEffectsWithSoundOn = -1;
  float musicWithSoundOn = -1;
  float musicWithMusicOn = -1;
  ASSERT_EQ(RunInProcess([&](TApplication& app, TGameApp& game) {
              TSoundLink& sound = *app.GetSoundManager();
              soundOff = game.IsSoundOff();
              musicOff = game.MusicOff();
              master = sound.MasterVolume();
              music = sound.GroupVolume(TSoundLink::kMusicGroup);
              game.ToggleSoundMute();
              effectsWithSoundOn = sound.GroupVolume(TSoundLink::kEffectsGroup);
              gameEffectsWithSoundOn = sound.GroupVolume(TSoundLink::kGameEffectsGroup);
              musicWithSoundOn = sound.GroupVolume(TSoundLink::kMusicGroup);
              game.ToggleMusicMute();
              musicWithMusicOn = sound.GroupVolume(TSoundLink::kMusicGroup);
            }),
            0);
  EXPECT_TRUE(soundOff);
  EXPECT_TRUE(musicOff);
  EXPECT_EQ(master, 0.0f);
  EXPECT_EQ(music, 0.0f);
  EXPECT_FLOAT_EQ(effectsWithSoundOn, 0.3f);
  EXPECT_FLOAT_EQ(gameEffectsWithSoundOn, 0.3f);
  EXPECT_EQ(musicWithSoundOn, 0.0f);
  EXPECT_FLOAT_EQ(musicWithMusicOn, 0.4f);

  // Both switches were turned back on in that run: the next start has sound and music.
  ASSERT_EQ(RunInProcess([&](TApplication& app, TGameApp& game) {
              soundOff = game.IsSoundOff();
              master = app.GetSoundManager()->MasterVolume();
              music = app.GetSoundManager()->GroupVolume(TSoundLink::kMusicGroup);
            }),
            0);
  EXPECT_FALSE(soundOff);
  EXPECT_EQ(master, 1.0f);
  EXPECT_FLOAT_EQ(music, 0.4f);
}
