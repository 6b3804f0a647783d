// Unpacks a Microsoft Cabinet (MSZIP or stored) into a folder with libmspack. Member names
// use "\" between folders; a name that is absolute, holds "..", "." or an empty part, or a
// drive letter is refused, and so is a path through a symbolic link, so nothing is ever
// written outside the folder. A damaged cabinet stops the extraction with false; what was
// written so far stays in the folder for its owner to remove. Files are written for the
// owner only (0600).
#pragma once

#include <string>
#include <vector>

// The relative path ("assets/assets.tvp") a cabinet member name stands for; "" when the
// name is refused.
std::string SafeMemberPath(const std::string& name);

// Extracts every member of the cabinet file into folder. names receives the members written
// (relative paths). False with a log line on the first refused name or damaged member.
bool ExtractCabinet(const std::string& cabinet, const std::string& folder,
                    std::vector<std::string>* names = nullptr);
