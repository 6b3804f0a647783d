// The arithmetic of the city map, apart from its window: the day shown, the line about the
// days left, which locations are open, where the next level is played, and the 50 points
// of the day trail.
#pragma once

#include <array>
#include <string>

class TGameState;

struct TMapPoint {
  int x, y;
};

inline constexpr int kTrailDays = 50;
// The day markers on the 800 x 600 map, day 1 first.
extern const std::array<TMapPoint, kTrailDays> kDayTrail;

// "Day N": levels beaten + 1, at most 50.
int MapDayNumber(int levelsBeaten);
// The line under the day: how many days are left at the current location to open the next
// one, or how far the campaign has come once the seven locations are won.
std::string UnlockText(const TGameState& state);
// Whether the location's sign is open: the first location always is (the campaign starts
// there), every other once the location before it is won.
bool IsSignOpen(const TGameState& state, int location);
// The highest open location of the seven with days (0 when none is).
int FrontierLocation(const TGameState& state);
// The location of the next level by count: the last of the seven whose first day is at or
// before the number of levels beaten.
int LocationOfNextLevel(int levelsBeaten);
