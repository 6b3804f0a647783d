// A printf-style formatter for integers only, for format strings that come from data (the
// currency formats of the string table). It understands "%%" and the conversions d, i, u,
// x and X with flags, width and precision; arguments are taken in order and missing ones
// count as 0. Anything else after a "%" is written out as it stands, so no format text can
// read memory it was not given.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

std::string FormatIntegers(std::string_view format, std::initializer_list<int> arguments);
