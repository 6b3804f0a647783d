// tvtool zxml IN OUT: packs a file into a ZXML container.
#include "files/zxml.h"
#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/tool_io.h"

namespace {

int RunZxml(const TToolArguments& args) {
  if (args.positional.size() != 2) return ToolUsage("zxml");
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadDiskFile(args.positional[0], bytes, error)) return ToolError("zxml", error);
  if (bytes.size() > UINT32_MAX) return ToolError("zxml", args.positional[0] + " is too large");
  if (!WriteDiskFile(args.positional[1], PackZxml(bytes.data(), bytes.size()), error)) {
    return ToolError("zxml", error);
  }
  return 0;
}

const TCommandRegistration kZxml{"zxml", "IN OUT", "pack a file into a ZXML container", &RunZxml};

}  // namespace
