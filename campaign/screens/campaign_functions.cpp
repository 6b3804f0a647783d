#include "campaign/screens/campaign_functions.h"

#include "campaign/game_app.h"
#include "campaign/screens/screen_functions.h"
#include "data/prefs.h"
#include "data/settings.h"
#include "ui/window_manager.h"

namespace {

// A player's option of ours beside the record's: deals that can always be cleared.
constexpr char kSolvableDealsKey[] = "solvabledeals";
constexpr char kSolvableDealsSetting[] = "solvable_deals";

}  // namespace

std::string GetUserName(int index) {
  TGameApp* game = TGameApp::Get();
  if (!game || index < 0 || index >= game->GetNumUsers()) return {};
  return game->Prefs().GetPref(record_key::kName, "", index);
}

int GetCurrentUser() {
  TGameApp* game = TGameApp::Get();
  return game ? game->CurrentUser() : -1;
}

bool HasTutorialLevelBeenSeen() {
  TGameApp* game = TGameApp::Get();
  return game && game->State().Progress().tutorialLevelDone;
}

bool IsMusicOff() {
  TGameApp* game = TGameApp::Get();
  return game && game->MusicOff();
}

void SkipTutorial() {
  TGameApp* game = TGameApp::Get();
  if (!game) return;
  game->State().Progress().tutorialLevelDone = true;
  game->State().Save(record_key::kTutorialLevelDone);
}

bool IsSolvableDealsOn() {
  TGameApp* game = TGameApp::Get();
  if (!game || game->CurrentUser() < 0) return GetSettingBool(kSolvableDealsSetting);
  // A player who never chose follows the game's settings file.
  const int fallback = GetSettingBool(kSolvableDealsSetting) ? 1 : 0;
  return game->Prefs().GetPrefInt(kSolvableDealsKey, fallback, game->CurrentUser()) == 1;
}

void ApplySolvableDealsChoice() {
  TGameApp* game = TGameApp::Get();
  if (!game || game->CurrentUser() < 0) return;
  const int stored = game->Prefs().GetPrefInt(kSolvableDealsKey, -1, game->CurrentUser());
  if (stored == 0 || stored == 1) SetSetting(kSolvableDealsSetting, stored ? "1" : "0");
}

void ToggleSolvableDeals() {
  TGameApp* game = TGameApp::Get();
  if (!game || game->CurrentUser() < 0) return;
  const bool on = !IsSolvableDealsOn();
  game->Prefs().SetPrefInt(kSolvableDealsKey, on ? 1 : 0, game->CurrentUser(), true);
  ApplySolvableDealsChoice();
}

void RunNextFrame(const std::string& text) {
  if (TWindowManager* manager = TWindowManager::Get()) manager->QueueScript(text);
}

void BindCampaignFunctions(TWindowManager& manager) {
  TScreenFunctions::BindLasting("RunNextFrame", &RunNextFrame, &manager);
  TScreenFunctions::BindLasting("GetUserName", &GetUserName, &manager);
  TScreenFunctions::BindLasting("GetCurrentUser", &GetCurrentUser, &manager);
  TScreenFunctions::BindLasting("HasTutorialLevelBeenSeen", &HasTutorialLevelBeenSeen, &manager);
  TScreenFunctions::BindLasting("IsMusicOff", &IsMusicOff, &manager);
  TScreenFunctions::BindLasting("SkipTutorial", &SkipTutorial, &manager);
  TScreenFunctions::BindLasting("SkipTutorialLevel", &SkipTutorial, &manager);
  TScreenFunctions::BindLasting("IsSolvableDealsOn", &IsSolvableDealsOn, &manager);
  TScreenFunctions::BindLasting("ToggleSolvableDeals", &ToggleSolvableDeals, &manager);
}
