// The names under which the player's data lives in the preferences store. Global keys use
// player index -1; option keys and the progress record ("mj_" keys) the current player's.
#pragma once

// The game's key of the store's cipher (and of the high-score files).
inline constexpr char kGameEncryptionKey[] = "KPlaxRD7wAAA";

namespace record_key {

// Global.
inline constexpr char kCurrentUser[] = "curuser";    // integer, -1 when there is no player
inline constexpr char kFullscreen[] = "fullscreen";  // flag: start in full screen

// Options of a player.
inline constexpr char kName[] = "name";
inline constexpr char kSoundLevel[] = "soundlevel";  // effects volume in thousandths
inline constexpr char kMusicLevel[] = "musiclevel";  // music volume in thousandths
inline constexpr char kSoundOff[] = "soundoff";      // 1: all sound muted
inline constexpr char kSfxOff[] = "sfxoff";          // flag: effects muted
inline constexpr char kMusicOff[] = "musicoff";      // flag: music muted
inline constexpr char kTutorialsOn[] = "tutorialson";

// The progress record.
inline constexpr char kGameStarted[] = "mj_gamestarted";
inline constexpr char kGameEnded[] = "mj_gameended";
inline constexpr char kIntroSeen[] = "mj_introseen";
inline constexpr char kGallerySeen[] = "mj_galleryseen";
inline constexpr char kTutorialLevelDone[] = "mj_tutorialseen";
inline constexpr char kLevelsBeatenCount[] = "mj_numberbeaten";
inline constexpr char kSpeedLevelsPlayed[] = "mj_speedlevelsplayed";
inline constexpr char kBankroll[] = "mj_totalscore";
inline constexpr char kSlotsPurchased[] = "mj_slotspurchased";
inline constexpr char kCurrentRanking[] = "mj_currentranking";
inline constexpr char kHighestRanking[] = "mj_highestranking";
inline constexpr char kLevelsBeaten[] = "mj_levelsbeaten";
inline constexpr char kKennyTiles[] = "mj_kennytiles";
inline constexpr char kRecentBlurbs[] = "mj_recentblurbs";
inline constexpr char kTutorials[] = "mj_tutorials";
inline constexpr char kLocationWins[] = "mj_locationwins";
inline constexpr char kCollectionSlots[] = "mj_collectionslots";
inline constexpr char kNoShow[] = "mj_noshow";
inline constexpr char kNoDownload[] = "mj_nodownload";
inline constexpr char kDisplayCase[] = "mj_displaycase";
inline constexpr char kCollectionSize[] = "mj_collectionsize";

}  // namespace record_key
