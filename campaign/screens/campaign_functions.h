// Script functions of the campaign that answer from the application object (TGameApp) and
// so stay registered whatever screen is open: the players list, the tutorial flags and the
// solvable-deals choice.
#pragma once

#include <string>

class TWindowManager;

void BindCampaignFunctions(TWindowManager& manager);

// The player's name by index ("" for no such player).
std::string GetUserName(int index);
// The current player's index, -1 when there is none.
int GetCurrentUser();
bool HasTutorialLevelBeenSeen();
// The player's music switch (the music group muted).
bool IsMusicOff();
// Marks the tutorial level as done and saves that at once (the intro's and the tutorial
// prompt's skip buttons).
void SkipTutorial();
// The player's choice of deals that can always be cleared, applied to the game's setting.
bool IsSolvableDealsOn();
void ToggleSolvableDeals();
// Makes the game's "solvable_deals" setting follow the current player's choice.
void ApplySolvableDealsChoice();
// Runs a script text on the next frame in the dialog coroutine, where it may open dialogs
// and wait (a dialog's own file may not: it is read by a C call).
void RunNextFrame(const std::string& text);
