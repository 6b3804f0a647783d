// Texture names: option words written after "?" and the keys under which textures are
// shared through the asset manager.
#pragma once

#include <cstdint>
#include <string>

// Flags a GetTexture options word asks for: bit 0 mipmap, bit 1 alpha, bit 2 no alpha;
// without bit 1 or 2 the alpha channel is taken from the file (automatic alpha).
uint8_t TextureFlagsForOptions(int options);

// Applies the option words after "?" ("slow", "simple", "alpha", "mipmap", anywhere in that
// part; the "?" is searched from the fifth character on) to `flags` and returns the name
// without them.
std::string SplitTextureOptions(const std::string& name, uint8_t* flags);

// "a/b.png" with alpha and mipmap -> "a\b.png:a:m:tex"; with a mask the key is
// name + ":" + mask + the same suffixes.
std::string TextureAssetKey(const std::string& name, const std::string& mask, uint8_t flags);
// Key of a blank texture: the object's address, "%x:tex:r".
std::string BlankTextureKey(const void* object);

// The smallest power of two not smaller than value (1 for value <= 1).
int NextPowerOfTwo(int value);
