// The game installation the launcher library carries: a cabinet built with the library
// (the program, its assets, the licence and the read-me), linked in as data.
#pragma once

#include <string_view>

std::string_view GamePayload();
