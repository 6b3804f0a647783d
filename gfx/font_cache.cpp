#include "gfx/font_cache.h"

#include <map>
#include <vector>

#include "files/file.h"
#include "files/file_system.h"
#include "frame/log.h"
#include "gfx/builtin_font.h"

namespace {

struct TFontCache {
  std::map<std::string, std::shared_ptr<TMvecFont>> fonts;
  std::shared_ptr<TMvecFont> builtin;
  // The package's default font, looked up once: null when the file does not exist.
  std::shared_ptr<TMvecFont> defaultFile;
  bool defaultFileTried = false;
};

TFontCache& Cache() {
  static TFontCache cache;
  return cache;
}

std::shared_ptr<TMvecFont> LoadFile(const std::string& name) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(name, bytes)) return nullptr;
  return TMvecFont::Parse(std::move(bytes), name);
}

std::shared_ptr<TMvecFont> DefaultFileFont() {
  TFontCache& cache = Cache();
  if (!cache.defaultFileTried) {
    cache.defaultFileTried = true;
    cache.defaultFile = LoadFile(kDefaultFontFile);
  }
  return cache.defaultFile;
}

}  // namespace

std::shared_ptr<TMvecFont> BuiltinFont() {
  TFontCache& cache = Cache();
  if (!cache.builtin) {
    std::vector<uint8_t> image(BuiltinFontData(), BuiltinFontData() + BuiltinFontSize());
    cache.builtin = TMvecFont::Parse(std::move(image), kBuiltinFontName);
  }
  return cache.builtin;
}

std::shared_ptr<TMvecFont> GetFont(const std::string& name) {
  TFontCache& cache = Cache();
  auto found = cache.fonts.find(name);
  if (found != cache.fonts.end()) return found->second;

  std::shared_ptr<TMvecFont> font;
  if (name == kBuiltinFontName) {
    font = BuiltinFont();
  } else {
    // The default file is loaded once, whether asked for by name or as a fallback.
    font = name == kDefaultFontFile ? DefaultFileFont() : LoadFile(name);
    if (!font) {
      Log("Font not found: %s", name.c_str());
      font = DefaultFileFont();
    }
    if (!font) font = BuiltinFont();
  }
  cache.fonts[name] = font;
  return font;
}

const TMvecGlyph* FindGlyphWithFallback(const std::shared_ptr<TMvecFont>& font, uint32_t code,
                                        std::shared_ptr<TMvecFont>* used) {
  std::shared_ptr<TMvecFont> candidates[3] = {font, BuiltinFont(), nullptr};
  for (int i = 0; i < 3; ++i) {
    if (i == 2) candidates[2] = DefaultFileFont();
    const std::shared_ptr<TMvecFont>& candidate = candidates[i];
    if (!candidate) continue;
    if (const TMvecGlyph* glyph = candidate->FindGlyph(code)) {
      if (used) *used = candidate;
      return glyph;
    }
  }
  if (used) used->reset();
  return nullptr;
}

void ClearFontCache() {
  TFontCache& cache = Cache();
  cache.fonts.clear();
  cache.defaultFile.reset();
  cache.defaultFileTried = false;
}
