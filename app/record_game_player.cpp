#include "app/record_game_player.h"

#include "campaign/game_app.h"
#include "campaign/location_music.h"
#include "campaign/record/location_info.h"
#include "campaign/record/record_keys.h"
#include "game/player_layouts.h"
#include "game/tutorial_prompt.h"

TLevelProgress TRecordGamePlayer::Progress() const {
  const TProgress& progress = mApp.State().Progress();
  return {progress.tutorialLevelDone, progress.levelsBeatenCount};
}

int TRecordGamePlayer::GameMode() const {
  return mApp.GameMode();
}

void TRecordGamePlayer::SetGameMode(int mode) {
  mApp.SetCurrentGameMode(mode);
}

int TRecordGamePlayer::Bankroll() const {
  return mApp.State().Progress().bankroll;
}

std::string TRecordGamePlayer::Name() const {
  return mApp.CurrentUserName();
}

// Every location won: the campaign's last auction.
int TRecordGamePlayer::CurrentLocation() const {
  const int location = mApp.State().CurrentLocation();
  return location == kNoLocation ? kEndAuction : location;
}

bool TRecordGamePlayer::TutorialSeen() const {
  return mApp.State().Progress().tutorialLevelDone;
}

TFace TRecordGamePlayer::PickTreasure(TFace excluded, uint32_t seed) {
  return mApp.State().ChooseUnownedTreasure(CurrentLocation(), excluded, seed);
}

bool TRecordGamePlayer::GiveTreasure(TFace face) {
  if (!mApp.State().AddToDisplayCase(face)) return false;
  mApp.State().SaveAll();
  return true;
}

void TRecordGamePlayer::TakeBackTreasure(TFace face) {
  mApp.State().RemoveFromDisplayCase(face);
  mApp.State().RemoveFromCollection(face);
  mApp.State().SaveAll();
}

void TRecordGamePlayer::RecordWonLevel(const std::string& levelFile, TFace won, int total) {
  mApp.State().RecordWonLevel({levelFile, won, total});
}

bool TRecordGamePlayer::TutorialsOn() const {
  return mApp.TutorialsOn();
}

bool TRecordGamePlayer::PromptSeen(int id) const {
  const TTutorialPrompt* prompt = TutorialPromptById(id);
  return prompt && mApp.State().IsTutorialSeen(prompt->bodyKey);
}

// The seen list is written at once: a prompt shown once stays shown after a crash or quit.
void TRecordGamePlayer::MarkPromptSeen(int id) {
  if (mApp.State().MarkTutorialSeen(id) == kTutorialSlots) return;
  mApp.State().Save(record_key::kTutorials);
}

void TRecordGamePlayer::RecordFreePlayLevel(const std::string& levelFile, int total) {
  mApp.RecordFreePlayLevel(LayoutHiscoreCategory(levelFile), total);
}

int TRecordGamePlayer::BestLayoutScore(const std::string& levelFile) {
  const std::string category = LayoutHiscoreCategory(levelFile);
  return category.empty() ? -1 : mApp.BestLocalScore(category);
}

void TRecordGamePlayer::PlayLocationMusic() {
  mApp.LocationMusic().Play();
}

void TRecordGamePlayer::StopLocationMusic() {
  mApp.KillMusicForCurrentLocation();
}

void TRecordGamePlayer::UseNormalCursor() {
  mApp.UseNormalCursor();
}

void TRecordGamePlayer::UseMagnifyCursor() {
  mApp.UseMagnifyCursor();
}
