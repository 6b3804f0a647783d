// Parsing of the decimal numbers inside name-table locators ("@1:200,30", "&1234,56").
#pragma once

#include <cstdint>
#include <string_view>

// Reads an unsigned decimal number starting at text[position]; false when there is no digit
// there or the value does not fit 64 bits.
bool ParseLocatorNumber(std::string_view text, size_t position, uint64_t& value);
