// tvtool unzxml IN OUT: unpacks a ZXML container.
#include "files/zxml.h"
#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/tool_io.h"

namespace {

int RunUnzxml(const TToolArguments& args) {
  if (args.positional.size() != 2) return ToolUsage("unzxml");
  const std::string& in = args.positional[0];
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadDiskFile(in, bytes, error)) return ToolError("unzxml", error);
  if (!IsZxml(bytes.data(), bytes.size())) {
    return ToolError("unzxml", in + " is not a ZXML container");
  }
  std::string text;
  if (!UnpackZxml(bytes.data(), bytes.size(), text)) {
    return ToolError("unzxml", in + " is a damaged ZXML container");
  }
  if (!WriteDiskFile(args.positional[1], std::vector<uint8_t>(text.begin(), text.end()), error)) {
    return ToolError("unzxml", error);
  }
  return 0;
}

const TCommandRegistration kUnzxml{"unzxml", "IN OUT", "unpack a ZXML container", &RunUnzxml};

}  // namespace
