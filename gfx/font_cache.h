// The fonts in use, by name, for the whole run. "__DEFAULT" is the built-in font; any other
// name is a font file of the virtual file system, falling back to "fonts/default.mvec" and
// then to the built-in font when it does not exist.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gfx/mvec_font.h"

constexpr const char* kBuiltinFontName = "__DEFAULT";
constexpr const char* kDefaultFontFile = "fonts/default.mvec";

// Never null: a font that cannot be found at all is the built-in one.
std::shared_ptr<TMvecFont> GetFont(const std::string& name);

// The built-in font.
std::shared_ptr<TMvecFont> BuiltinFont();

// A glyph of `font`, or, when it lacks the character, of the fallback fonts (the built-in
// font, then "fonts/default.mvec"). `used` receives the font the glyph comes from.
const TMvecGlyph* FindGlyphWithFallback(const std::shared_ptr<TMvecFont>& font, uint32_t code,
                                        std::shared_ptr<TMvecFont>* used);

// Forgets every cached font (tests, and after the file system changes).
void ClearFontCache();
