// The location the campaign plays at now: chosen on the city map (Continue, a click on the
// current day, SetCurrentLocation) and read by the play screen for its treasures and its
// background. With none chosen the pictures are those of the first location; outside the
// campaign (game mode 0) every level is played at the speed auction.
#pragma once

#include <string>

// -1 when none is chosen.
int CurrentLocationId();
// Ids outside 0..7 change nothing.
void SetCurrentLocationId(int id);
// "backgrounds/levels/<place>_color" or "_bw" for the current location and game mode.
std::string LevelBackground(bool colour, int gameMode);
// The map sign's label of a location: "citymap_" + its key name ("citymap_estatesale" for an
// unknown id).
std::string LocationSignLabel(int id);
