// tvtool list PKG: one line per member in directory order: name, size and offset.
#include <cinttypes>
#include <cstdio>

#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/package_input.h"

namespace {

int RunList(const TToolArguments& args) {
  if (args.positional.size() != 1) return ToolUsage("list");
  std::vector<TPackageEntry> entries;
  size_t dropped = 0;
  std::string error;
  if (!ReadPackageAt(args.positional[0], entries, dropped, error)) return ToolError("list", error);
  for (const TPackageEntry& entry : entries) {
    std::printf("%s\t%" PRIu32 "\t%" PRIu32 "\n", entry.name.c_str(), entry.size, entry.offset);
  }
  if (dropped > 0) {
    return ToolError("list", std::to_string(dropped) +
                                 " directory entries are damaged (cut short or outside the file)");
  }
  return 0;
}

const TCommandRegistration kList{
    "list", "PKG", "list the members of a package: name, size and offset, tab-separated", &RunList};

}  // namespace
