#include "gfx/texture_name.h"

#include <cstdio>

#include "gfx/texture_data.h"

uint8_t TextureFlagsForOptions(int options) {
  uint8_t flags = 0;
  if (options & 1) flags |= TTextureData::kMipmap;
  if (options & 2)
    flags |= TTextureData::kHasAlpha;
  else if (!(options & 4))
    flags |= TTextureData::kAutoAlpha;
  return flags;
}

std::string SplitTextureOptions(const std::string& name, uint8_t* flags) {
  size_t mark = name.size() > 4 ? name.find('?', 4) : std::string::npos;
  if (mark == std::string::npos) return name;
  std::string options = name.substr(mark + 1);
  if (flags) {
    if (options.find("slow") != std::string::npos)
      *flags |= TTextureData::kSlow | TTextureData::kSimple;
    if (options.find("simple") != std::string::npos) *flags |= TTextureData::kSimple;
    if (options.find("alpha") != std::string::npos) {
      *flags |= TTextureData::kHasAlpha;
      *flags &= static_cast<uint8_t>(~TTextureData::kAutoAlpha);
    }
    if (options.find("mipmap") != std::string::npos) *flags |= TTextureData::kMipmap;
  }
  return name.substr(0, mark);
}

std::string TextureAssetKey(const std::string& name, const std::string& mask, uint8_t flags) {
  std::string key = name;
  if (!mask.empty()) key += ":" + mask;
  for (char& c : key)
    if (c == '/') c = '\\';
  if (flags & TTextureData::kHasAlpha) key += ":a";
  if (flags & TTextureData::kMipmap) key += ":m";
  if (flags & TTextureData::kSimple) key += ":s";
  return key + ":tex";
}

std::string BlankTextureKey(const void* object) {
  char text[40];
  std::snprintf(text, sizeof text, "%llx:tex:r",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(object)));
  return text;
}

int NextPowerOfTwo(int value) {
  int side = 1;
  while (side < value && side < (1 << 30)) side <<= 1;
  return side;
}
