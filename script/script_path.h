// Where script files are looked for. A search path is a ';'-separated list of templates in
// which '?' stands for the script's name ("assets/?;?;../?"); the first template that names
// an existing file (loose or package member) wins.
#pragma once

#include <string>

// The engine's search path for scripts; initially "assets/?;?;../?;../../?".
const std::string& ScriptSearchPath();
void SetScriptSearchPath(const std::string& path);

// The path the compiler uses when it is given an empty one.
extern const char* const kDefaultCompilePath;

// The virtual file name that name resolves to along path, or "" when no template finds a
// file. An empty name finds nothing.
std::string FindScriptFile(const std::string& name, const std::string& path);
