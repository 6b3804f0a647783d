// The medals a score submission sends for the player's progress: one medal per campaign
// location (ids 1 to 7) the player has unlocked, in id order, one line each, e.g.
//   <medal name="mahjongcuriomar_yardsale" per="game"/>\r\n
#pragma once

#include <functional>
#include <string>

// The medals text; empty when no location from 1 to 7 is unlocked.
std::string MedalsXml(const std::function<bool(int locationId)>& isUnlocked);
