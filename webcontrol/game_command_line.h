// The game's command line as the launcher control starts it: the control's properties become
// options in a fixed order, values inserted as they are (the game finds each option by plain
// substring search, so nothing is quoted or escaped).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "webcontrol/control_properties.h"

// The program's name in the unpacked game folder.
inline constexpr char kGameProgramName[] = "mahjongcuriomar";

struct TGameLaunch {
  std::string options;                 // the option text after the program's name
  std::string text;                    // "mahjongcuriomar " + options
  std::vector<std::string> arguments;  // the options as program arguments (argv[1..])
};

// hostProgram: the program that loaded the control, named with "-host=" unless the page is an
// MSN page; the game reads it up to the first blank, so a path with a blank is left out (the
// game then opens web addresses itself). aol: the AOL portal flag.
TGameLaunch BuildGameLaunch(const TControlProperties& properties, uint64_t window,
                            const std::string& hostProgram, bool aol);
