#include "game/window/game_player.h"

#include "frame/application.h"
#include "frame/frame_links.h"
#include "game/deal.h"

namespace {

constexpr const char* kBackgrounds[] = {"attic",      "yardsale",     "fleamarket", "antiqueshop",
                                        "estatesale", "texasauction", "sothebys",   "estatesale"};
constexpr const char* kMusic[] = {"grandmasattic", "yardsale",     "fleamarket", "antiqueshop",
                                  "estatesale",    "texasauction", "sothebys",   "endauction"};
constexpr const char* kNameKeys[] = {
    "citymap_grammasattic", "citymap_yardsale",     "citymap_fleamarket", "citymap_antiqueshop",
    "citymap_estatesale",   "citymap_texasauction", "citymap_sothebys",   "citymap_endauction"};

std::string LocationMusic(int location) {
  return std::string("audio/music/music_") + kMusic[location >= 0 && location < 8 ? location : 0] +
         ".ogg";
}

TSoundLink* SoundLink();

// A player with no record: a fresh start whose progress lasts as long as the program.
class TFreshPlayer : public TGamePlayer {
 public:
  TLevelProgress Progress() const override { return mProgress; }
  int GameMode() const override { return mGameMode; }
  void SetGameMode(int mode) override {
    if (mode == 0 || mode == 1) mGameMode = mode;
  }
  int Bankroll() const override { return mBankroll; }
  std::string Name() const override { return "Player"; }
  int CurrentLocation() const override { return 0; }
  bool TutorialSeen() const override { return mProgress.tutorialWon; }
  TFace PickTreasure(TFace excluded, uint32_t seed) override {
    return CatalogueTreasurePicker(seed)(excluded);
  }
  bool GiveTreasure(TFace) override { return true; }
  void TakeBackTreasure(TFace) override {}
  void RecordWonLevel(const std::string& levelFile, TFace, int total) override {
    if (!mProgress.tutorialWon)
      mProgress.tutorialWon = true;
    else if (LevelIndexFromName(levelFile) >= 0 && mProgress.levelsBeaten < kCampaignLevelCount)
      ++mProgress.levelsBeaten;
    mBankroll = total;
  }
  void PlayLocationMusic() override {
    if (TSoundLink* sound = SoundLink()) sound->PlayMusic(LocationMusic(0));
  }
  void StopLocationMusic() override {
    TSoundLink* sound = SoundLink();
    if (sound && sound->CurrentMusic() == LocationMusic(0)) sound->StopMusic();
  }

 private:
  TLevelProgress mProgress;
  int mGameMode = 1;
  int mBankroll = 0;
};

TGamePlayer* gPlayer = nullptr;

TSoundLink* SoundLink() {
  TApplication* app = TApplication::Get();
  return app ? app->GetSoundManager() : nullptr;
}

}  // namespace

std::string LocationBackground(int location, int gameMode, bool revealed) {
  const char* place = gameMode != 1                   ? "speedauction"
                      : location >= 0 && location < 8 ? kBackgrounds[location]
                                                      : kBackgrounds[0];
  return std::string("backgrounds/levels/") + place + (revealed ? "_color" : "_bw");
}

const char* LocationNameKey(int location) {
  return location >= 0 && location < 8 ? kNameKeys[location] : "citymap_estatesale";
}

const char* PlayedLocationNameKey(int location, int gameMode) {
  return gameMode != 1 ? "game_speedauction" : LocationNameKey(location);
}

void SetCurrentGamePlayer(TGamePlayer* player) {
  gPlayer = player;
}

TGamePlayer& CurrentGamePlayer() {
  static TFreshPlayer fresh;
  return gPlayer ? *gPlayer : fresh;
}
