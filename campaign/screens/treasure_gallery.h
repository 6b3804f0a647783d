// The treasure gallery and the end of the campaign, for their dialog scripts: every
// location's treasures (won or still to find) with their pictures, appraisals and values,
// the collection's total, and the closing step that marks the game as ended.
#pragma once

#include <string>

class TWindowManager;

void BindGalleryFunctions(TWindowManager& manager);

// Location index (0..6) and treasure index in its table; anything else answers nothing.
int GalleryTreasureCount(int location);
// "tiles/<image>_md" or "_lg" of the treasure.
std::string GalleryPicture(int location, int index, bool large);
// Whether the player has won it (in the collection or the display case).
bool GalleryOwned(int location, int index);
std::string GalleryTitle(int location, int index);
std::string GalleryBody(int location, int index);
// The appraised value as money text ("$1,250").
std::string GalleryValue(int location, int index);
int GalleryDiamonds(int location, int index);
// "Set: <suit>", and whether the player holds the whole set.
std::string GallerySet(int location, int index);
// The player's treasures won, of all the locations' treasures.
int GalleryOwnedCount();
int GalleryTotalCount();
// Money texts of the collection's value and the bankroll.
std::string CollectionValueText();
std::string BankrollText();
std::string FinalScoreText();
bool IsCampaignWon();
bool HasGameEnded();
// The end of the campaign has been shown: the game is over and the gallery was seen.
void EndTheGame();
