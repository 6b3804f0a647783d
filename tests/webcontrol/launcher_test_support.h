// Helpers of the launcher's tests: private temporary folders, whole files, and cabinets
// made with gcab the way the build makes the launcher's payload.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A new folder (mode 0700) under the temporary folder, named prefix + something unique.
std::filesystem::path MakeTemporaryFolder(const std::string& prefix);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);
// gcab -c -z cabinet names..., run in folder (names relative to it); false when it failed.
bool MakeCabinet(const std::filesystem::path& folder, const std::filesystem::path& cabinet,
                 const std::vector<std::string>& names);
