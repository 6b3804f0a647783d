#include "gfx/file_image_source.h"

#include "files/file.h"
#include "files/file_system.h"

bool TFileImageSource::Exists(const std::string& name) {
  return FileExists(name);
}

bool TFileImageSource::Read(const std::string& name, std::vector<uint8_t>* bytes) {
  return bytes && ReadWholeFile(name, *bytes, kReadBinary);
}

std::shared_ptr<TFileImageSource> TFileImageSource::Shared() {
  static const std::shared_ptr<TFileImageSource> source = std::make_shared<TFileImageSource>();
  return source;
}
