// Loading texture files: extension fallbacks, decoding, separate alpha masks, the size
// rules, and the upload into a new TTextureData.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gfx/pixel_image.h"
#include "gfx/texture_data.h"

// Where texture files are read from (the virtual file system in the program, a map of
// memory buffers in tests).
class TImageSource {
 public:
  virtual ~TImageSource() = default;
  virtual bool Exists(const std::string& name) = 0;
  virtual bool Read(const std::string& name, std::vector<uint8_t>* bytes) = 0;
};

// Decodes one file by its name (".png" or ".jpg" in it); false for other names and for
// files that are missing or damaged.
bool DecodeImageFile(TImageSource& source, const std::string& name, TPixelImage* out);

// Finds `name`, or name + ".png" / name + ".jpg" when it does not exist and carries neither
// extension. Returns "" when nothing is found.
std::string ResolveImageName(TImageSource& source, const std::string& name);

// Builds the square upload buffer of a picture (and applies a mask of the same square
// side: its red channel becomes the alpha channel). Returns false when the mask differs in
// side (the mask is then ignored and the buffer still built).
bool BuildPixelBuffer(const TPixelImage& image, const TPixelImage* mask, TPixelBuffer* out);

// Loads `name` (option words after "?" allowed) with an optional mask into a new texture
// data object. Null when a file is missing or undecodable, the mask is missing, or the
// surface would exceed 1024 pixels without "slow".
std::unique_ptr<TTextureData> LoadTextureData(TRenderer* renderer,
                                              std::shared_ptr<TImageSource> source,
                                              const std::string& name, const std::string& mask,
                                              uint8_t flags);

// The larger version of a picture the package may hold beside it, for an enlarged screen:
// "x_md.png" has "x_lg.png" (the tile faces), any other "x.png" has "x_hd.png"; either in
// PNG or JPEG. "" when there is none.
std::string LargerSourceName(TImageSource& source, const std::string& name);

// Reloads a texture data object from its recorded file and mask.
bool ReloadTextureData(TTextureData& data, TImageSource& source);
