// Which texts the program hands to a browser: web addresses only.
#pragma once

#include <string_view>

// An http or https address (scheme in any case) with something after the scheme and no
// control characters. Anything else (files, other schemes, options for the browser program)
// is not opened.
bool IsWebAddress(std::string_view text);
