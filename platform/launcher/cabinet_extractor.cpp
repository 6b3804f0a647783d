#include "platform/launcher/cabinet_extractor.h"

#include <mspack.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "webcontrol/launcher_log.h"

namespace {

// Creates the folders of path below folder (mode 0700); false when a part exists as
// anything but a folder (a link, a file).
bool MakeParents(const std::string& folder, const std::string& relative) {
  std::string path = folder;
  size_t start = 0;
  for (size_t slash = relative.find('/'); slash != std::string::npos;
       slash = relative.find('/', start)) {
    path += '/';
    path.append(relative, start, slash - start);
    start = slash + 1;
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0) {
      if (!S_ISDIR(info.st_mode)) return false;
      continue;
    }
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

struct TDecompressorDeleter {
  void operator()(mscab_decompressor* cab) const { mspack_destroy_cab_decompressor(cab); }
};

}  // namespace

std::string SafeMemberPath(const std::string& name) {
  if (name.empty() || name.size() > 255) return {};
  std::string path;
  size_t start = 0;
  for (;;) {
    const size_t end = name.find_first_of("\\/", start);
    const std::string part = name.substr(start, end == std::string::npos ? end : end - start);
    if (part.empty() || part == "." || part == ".." || part.find(':') != std::string::npos ||
        part.find('\0') != std::string::npos)
      return {};
    path += (path.empty() ? "" : "/") + part;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return path;
}

bool ExtractCabinet(const std::string& cabinet, const std::string& folder,
                    std::vector<std::string>* names) {
  std::unique_ptr<mscab_decompressor, TDecompressorDeleter> cab(
      mspack_create_cab_decompressor(nullptr));
  if (!cab) {
    LauncherLog("the cabinet reader cannot start");
    return false;
  }
  mscabd_cabinet* opened = cab->open(cab.get(), cabinet.c_str());
  if (!opened) {
    LauncherLog("%s is not a readable cabinet (error %d)", cabinet.c_str(),
                cab->last_error(cab.get()));
    return false;
  }
  bool ok = opened->files != nullptr;
  if (!ok) LauncherLog("%s holds no files", cabinet.c_str());
  for (mscabd_file* file = opened->files; ok && file; file = file->next) {
    const std::string relative = SafeMemberPath(file->filename ? file->filename : "");
    if (relative.empty()) {
      LauncherLog("cabinet member '%s' refused: not a plain relative name",
                  file->filename ? file->filename : "");
      ok = false;
      break;
    }
    const std::string target = folder + "/" + relative;
    struct stat info {};
    if (!MakeParents(folder, relative) ||
        (lstat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode))) {
      LauncherLog("cabinet member '%s' refused: its path is taken", relative.c_str());
      ok = false;
      break;
    }
    if (cab->extract(cab.get(), file, target.c_str()) != MSPACK_ERR_OK) {
      LauncherLog("cabinet member '%s' is damaged (error %d)", relative.c_str(),
                  cab->last_error(cab.get()));
      ok = false;
      break;
    }
    chmod(target.c_str(), 0600);  // only the owner reads the unpacked game
    if (names) names->push_back(relative);
  }
  cab->close(cab.get(), opened);
  return ok;
}
