// tvtool pack [--zxml] DIR OUT.tvp: packs every file under DIR, named by its lowercase
// relative path, sorted by name, bytes in directory order. The output depends only on the
// files' names and contents. With --zxml, members ending in ".xml" are stored as ZXML
// containers (files that already are one are stored as they are).
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "files/lower_case.h"
#include "files/package_writer.h"
#include "files/zxml.h"
#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/tool_io.h"

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

int RunPack(const TToolArguments& args) {
  if (args.positional.size() != 2) return ToolUsage("pack");
  const std::filesystem::path folder = args.positional[0];
  const std::string& out = args.positional[1];
  std::error_code code;
  if (!std::filesystem::is_directory(folder, code)) {
    return ToolError("pack", folder.string() + " is not a folder");
  }

  std::vector<TPackageMember> members;
  std::string error;
  auto it = std::filesystem::recursive_directory_iterator(
      folder, std::filesystem::directory_options::none, code);
  for (; !code && it != std::filesystem::recursive_directory_iterator(); it.increment(code)) {
    std::error_code typeCode;
    if (!it->is_regular_file(typeCode)) continue;
    TPackageMember member;
    member.name = LowerCaseAscii(it->path().lexically_relative(folder).generic_string());
    if (!ReadDiskFile(it->path().string(), member.bytes, error)) return ToolError("pack", error);
    members.push_back(std::move(member));
  }
  if (code) return ToolError("pack", "cannot walk " + folder.string() + ": " + code.message());

  std::sort(members.begin(), members.end(),
            [](const TPackageMember& a, const TPackageMember& b) { return a.name < b.name; });
  for (size_t i = 1; i < members.size(); ++i) {
    if (members[i].name == members[i - 1].name) {
      return ToolError("pack",
                       "two files are both named \"" + members[i].name + "\" once lowercased");
    }
  }
  if (args.Has("--zxml")) {
    for (TPackageMember& member : members) {
      if (EndsWith(member.name, ".xml") && !IsZxml(member.bytes.data(), member.bytes.size())) {
        member.bytes = PackZxml(member.bytes.data(), member.bytes.size());
      }
    }
  }

  std::vector<uint8_t> package;
  if (!BuildPackage(members, package, error)) return ToolError("pack", error);
  if (!WriteDiskFile(out, package, error)) return ToolError("pack", error);
  return 0;
}

const TCommandRegistration kPack{
    "pack",
    "[--zxml] DIR OUT.tvp",
    "pack a folder into a package (--zxml: store .xml members as ZXML)",
    &RunPack,
    {"--zxml"}};

}  // namespace
