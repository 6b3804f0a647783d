#include "files/file_system.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "files/file_access.h"
#include "files/file_map_handler.h"
#include "files/lower_case.h"

namespace {

std::map<std::string, std::string> gNames;
std::set<std::string> gExcluded;
std::string gUserFolder;
std::string gCommonFolder;
std::string gDesktopFolder;

constexpr size_t kMaxExclusionFileSize = 100000;
// Deeper than any real asset tree; stops a scan that follows a symbolic link in a circle.
constexpr int kMaxScanDepth = 32;

bool StartsWith(const std::string& text, std::string_view prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

std::string StripTrailingSeparator(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

void ReadExclusionFile(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size >= kMaxExclusionFileSize) return;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return;
  std::string text(size, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), file));
  std::fclose(file);
  ParseExclusionText(text);
}

}  // namespace

void SetFileSystemFolders(const std::string& user, const std::string& common,
                          const std::string& desktop) {
  gUserFolder = StripTrailingSeparator(user);
  gCommonFolder = StripTrailingSeparator(common);
  gDesktopFolder = StripTrailingSeparator(desktop);
}

const std::string& UserFolder() {
  return gUserFolder;
}
const std::string& CommonFolder() {
  return gCommonFolder;
}
const std::string& DesktopFolder() {
  return gDesktopFolder;
}

void ParseExclusionText(const std::string& text) {
  size_t position = 0;
  while (position < text.size()) {
    const size_t start = text.find_first_not_of(" \t\n\r", position);
    if (start == std::string::npos) break;
    size_t end = text.find_first_of(" \t\n\r", start);
    if (end == std::string::npos) end = text.size();
    const std::string token = LowerCaseAscii(std::string_view(text).substr(start, end - start));
    if (token == "-*") {
      gExcluded.clear();
    } else {
      gExcluded.insert(token);
    }
    position = end;
  }
}

void AddExcludedName(const std::string& name) {
  gExcluded.insert(LowerCaseAscii(name));
}

bool IsExcludedName(const std::string& name) {
  return gExcluded.count(LowerCaseAscii(name)) != 0;
}

void SetNameTableEntry(const std::string& key, const std::string& locator) {
  gNames[key] = locator;
}

const std::map<std::string, std::string>& NameTable() {
  return gNames;
}

void ResetFileSystem() {
  gNames.clear();
  gExcluded.clear();
  gUserFolder.clear();
  gCommonFolder.clear();
  gDesktopFolder.clear();
  ClearPackages();
}

static void ScanFolderAt(const std::string& folder, const std::string& prefix, int depth) {
  std::error_code error;
  // Packages first, so that loose files of the same name replace their members.
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::error_code typeError;
    if (!it->is_directory(typeError) && name.find(".tvp") != std::string::npos) {
      RegisterPackage("::assets/" + name);
    }
  }

  const std::string lowerPrefix = LowerCaseAscii(prefix);
  std::string relative;
  if (lowerPrefix.empty()) {
    relative = StartsWith(folder, "assets") ? (folder.size() > 7 ? folder.substr(7) : "") : folder;
    relative = LowerCaseAscii(relative);  // keys are lowercase whatever the folders are called
    if (!relative.empty()) relative += "/";
  }

  error.clear();
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    const std::string key = lowerPrefix + relative + LowerCaseAscii(name);
    if (gExcluded.count(key)) continue;
    const std::string path = folder + "/" + name;
    std::error_code typeError;
    if (it->is_directory(typeError)) {
      if (depth < kMaxScanDepth) {
        ScanFolderAt(path,
                     lowerPrefix.empty() ? lowerPrefix : lowerPrefix + LowerCaseAscii(name) + "/",
                     depth + 1);
      }
    } else {
      gNames[key] = path;
    }
  }
}

void ScanFolder(const std::string& folder, const std::string& prefix) {
  ScanFolderAt(folder, prefix, 0);
}

void InitFileSystem(const TFileSystemOptions& options) {
  ReadExclusionFile(options.firstPeek ? "firstpeek.txt" : "final.txt");
  ScanFolder("assets", "");
  if (options.activeX) return;
  if (!gUserFolder.empty()) ScanFolder(gUserFolder, "user:");
  if (!gCommonFolder.empty()) ScanFolder(gCommonFolder, "common:");
}

std::string ResolveFileName(const std::string& original, bool reading) {
  const std::string name = LowerCaseAscii(original);
  if (const auto found = gNames.find(name); found != gNames.end()) return found->second;

  if (StartsWith(name, "::")) {
    // The path keeps its case: on this system file names are case-sensitive.
    const std::string path = original.substr(2);
    return PlatformCanRead(path) ? path : std::string();
  }
  if (reading && gExcluded.count(name)) return {};

  struct Prefix {
    std::string_view text;
    const std::string& folder;
  };
  const Prefix prefixes[] = {
      {"user:", gUserFolder}, {"common:", gCommonFolder}, {"desktop:", gDesktopFolder}};
  for (const Prefix& prefix : prefixes) {
    if (!StartsWith(name, prefix.text)) continue;
    // An unset folder would put the file at the root of the file system.
    if (prefix.folder.empty()) return {};
    const std::string path = prefix.folder + "/" + name.substr(prefix.text.size());
    if (reading && !PlatformCanReadWrite(path)) return {};
    gNames[name] = path;
    return path;
  }

  if (StartsWith(name, "assets") && name.size() > 6 && (name[6] == '/' || name[6] == '\\')) {
    return ResolveFileName(name.substr(7), reading);
  }
  return {};
}

bool FileExists(const std::string& name) {
  return !ResolveFileName(name, true).empty();
}

void RegisterMemoryFile(const std::string& name, const void* data, size_t size) {
  const std::string key = LowerCaseAscii(name);
  if (size == 0) {
    gNames.erase(key);
    return;
  }
  char locator[64];
  std::snprintf(locator, sizeof locator, "&%" PRIuPTR ",%zu", reinterpret_cast<uintptr_t>(data),
                size);
  gNames[key] = locator;
}

bool ListNextFile(const std::string& prefix, std::string& name, bool recursive) {
  const std::string lowerPrefix = LowerCaseAscii(prefix);
  const std::string& after = name.empty() ? lowerPrefix : name;
  for (auto it = gNames.upper_bound(after); it != gNames.end(); ++it) {
    const std::string& key = it->first;
    if (!StartsWith(key, lowerPrefix)) {
      if (key > lowerPrefix) break;  // past every key that carries the prefix
      continue;
    }
    if (!recursive && key.find('/', lowerPrefix.size() + 1) != std::string::npos) continue;
    name = key;
    return true;
  }
  return false;
}
