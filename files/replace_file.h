// Writing a whole file of the virtual file system so that a crash or a full disk never
// leaves it half written: the bytes go to a temporary file beside it, which is flushed and
// renamed over the old one. For files in the user, common or desktop folder ("user:...")
// and "::" paths of files that exist.
#pragma once

#include <string>
#include <string_view>

// False (with the reason in *error) when the name has no place on disk or writing failed;
// the old file is then unchanged.
bool ReplaceWholeFile(const std::string& name, std::string_view bytes, std::string* error);
