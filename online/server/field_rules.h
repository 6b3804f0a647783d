// Checks of the single values that reach the server from outside: numbers, identifiers,
// names and free texts. Every check is strict: a value is either exactly right or refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A decimal integer: an optional "-" and 1 to 18 digits, nothing else, within [min, max].
std::optional<int64_t> ParseDecimal(std::string_view text, int64_t min, int64_t max);

// Letters, digits, "_", "-" and "." only, 1 to maxLength bytes: game handles, modes,
// table ids, languages, versions.
bool IsToken(std::string_view text, size_t maxLength);

// A score's guid: 8 to 64 letters, digits and "-" (the game writes 32 hexadecimal digits).
bool IsGuid(std::string_view text);

// Text without control bytes (below 32, and 127), at most maxLength bytes.
bool IsPlainText(std::string_view text, size_t maxLength);

// A name: plain text that is not empty and not only blanks.
bool IsName(std::string_view text, size_t maxLength);

// The form under which names are compared: ASCII letters folded to lower case, so "Ada"
// and "ada" are one account.
std::string NameKey(std::string_view name);

// The protocol's texts are bytes of the game's 8-bit character set (ISO 8859-1); the
// databases hold UTF-8. Every byte maps to one code point, so nothing is lost either way.
std::string Latin1ToUtf8(std::string_view bytes);
// Code points above 255 (which Latin1ToUtf8 never writes) and broken sequences become "?".
std::string Utf8ToLatin1(std::string_view text);
