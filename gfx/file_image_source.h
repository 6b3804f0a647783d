// Texture files read through the virtual file system (loose files, package members and
// memory files such as "__systemcursor__.png").
#pragma once

#include "gfx/texture_loader.h"

class TFileImageSource : public TImageSource {
 public:
  bool Exists(const std::string& name) override;
  bool Read(const std::string& name, std::vector<uint8_t>* bytes) override;

  // The one shared instance textures keep for their restores.
  static std::shared_ptr<TFileImageSource> Shared();
};
