// The virtual file system: one namespace of lowercase, "/"-separated names over loose files
// in the asset folder, asset package members, registered memory buffers and the user,
// common and desktop folders ("user:", "common:", "desktop:"). "::" names a literal path
// relative to the working directory.
//
// The name table maps each known name to a locator: "@index:offset,size" for a package
// member, "&address,size" for a memory buffer, anything else a disk path. It is ordered by
// plain byte comparison, which ListNextFile relies on. Main thread only.
#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>

struct TFileSystemOptions {
  bool firstPeek = false;  // setting "firstpeek": read "firstpeek.txt" instead of "final.txt"
  bool activeX = false;    // setting "activex" == "1": do not scan the user and common folders
};

// The three folders, without trailing separators. Set them before InitFileSystem; an empty
// folder makes its prefix resolve to nothing.
void SetFileSystemFolders(const std::string& user, const std::string& common,
                          const std::string& desktop);
const std::string& UserFolder();
const std::string& CommonFolder();
const std::string& DesktopFolder();

// Reads the exclusion file from the working directory and scans "assets" (packages first,
// then loose files) and, unless options.activeX, the user and common folders.
void InitFileSystem(const TFileSystemOptions& options = {});

// The locator for name, or "" when there is none. With reading set, excluded names and
// prefixed files that are missing or not both readable and writable give "".
std::string ResolveFileName(const std::string& name, bool reading);
bool FileExists(const std::string& name);

// Enters name (lowercased) as a memory file over data..data+size; size 0 removes it. The
// caller keeps the buffer alive while the name may be opened.
void RegisterMemoryFile(const std::string& name, const void* data, size_t size);

// Sets name to the next key after it (after prefix when name is empty) that begins with
// prefix; false when there is none. Without recursive, keys with a "/" after the first
// character that follows the prefix are passed over.
bool ListNextFile(const std::string& prefix, std::string& name, bool recursive);

// Registers the packages and files of folder under prefix (see InitFileSystem).
void ScanFolder(const std::string& folder, const std::string& prefix);

// The exclusion list: lowercase names whose loose files are not registered and which
// reading refuses unless a package provides them.
void AddExcludedName(const std::string& name);
bool IsExcludedName(const std::string& name);
// Fills the exclusion list from whitespace-separated text; the token "-*" empties it.
void ParseExclusionText(const std::string& text);

// Direct access to the name table, for the package reader and for tools and tests.
void SetNameTableEntry(const std::string& key, const std::string& locator);
const std::map<std::string, std::string>& NameTable();

// Forgets the name table, the exclusion list, the folders and the packages.
void ResetFileSystem();
