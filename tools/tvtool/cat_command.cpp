// tvtool cat [--inflate] PKG MEMBER: writes a member's bytes to stdout, read through the
// engine's file system; with --inflate a ZXML member comes out unpacked.
#include <string>
#include <vector>

#include "files/file.h"
#include "files/file_map_handler.h"
#include "files/zxml.h"
#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/package_input.h"
#include "tools/tvtool/tool_io.h"

namespace {

int RunCat(const TToolArguments& args) {
  if (args.positional.size() != 2) return ToolUsage("cat");
  const std::string& path = args.positional[0];
  const std::string& member = args.positional[1];
  std::vector<TPackageEntry> entries;
  size_t dropped = 0;
  std::string error;
  if (!ReadPackageAt(path, entries, dropped, error)) return ToolError("cat", error);

  RegisterPackage(LiteralName(path));
  if (PackageList().empty() || !PackageList().back().data) {
    return ToolError("cat", "cannot map " + path);
  }
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(member, bytes, kReadBinary)) {
    return ToolError("cat", "no member \"" + member + "\" in " + path);
  }
  if (args.Has("--inflate") && IsZxml(bytes.data(), bytes.size())) {
    std::string text;
    if (!UnpackZxml(bytes.data(), bytes.size(), text)) {
      return ToolError("cat", "member \"" + member + "\" is a damaged ZXML container");
    }
    bytes.assign(text.begin(), text.end());
  }
  if (!WriteStdout(bytes.data(), bytes.size())) return ToolError("cat", "cannot write to stdout");
  return 0;
}

const TCommandRegistration kCat{"cat",
                                "[--inflate] PKG MEMBER",
                                "write a member's bytes to stdout (--inflate: unpack ZXML)",
                                &RunCat,
                                {"--inflate"}};

}  // namespace
