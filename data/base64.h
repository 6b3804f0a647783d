// Base64 with the standard alphabet ("A"-"Z", "a"-"z", "0"-"9", "+", "/") and "=" padding.
#pragma once

#include <string>
#include <string_view>

// 4 characters per started group of 3 bytes.
std::string Base64Encode(std::string_view bytes);

// Decodes up to the first "=" or NUL. White space is skipped; any other character outside
// the alphabet counts as "A" (value 0), so every input decodes to something and never
// fails. A trailing lone character carries fewer than 8 bits and is dropped.
std::string Base64Decode(std::string_view text);

// Value of one alphabet character, or -1.
int Base64Value(char c);
