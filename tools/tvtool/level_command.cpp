// tvtool level IN OUT: converts a level between its readable drawing (".txt") and the
// level file of the game (".xml"), in the direction the input's extension says.
#include <string>

#include "game/level_drawing.h"
#include "game/level_file.h"
#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/level_input.h"
#include "tools/tvtool/tool_io.h"

namespace {

int RunLevel(const TToolArguments& args) {
  if (args.positional.size() != 2) return ToolUsage("level");
  const std::string& in = args.positional[0];
  TLevelLayout layout;
  std::string error;
  if (!ReadLevelInput(in, layout, error)) return ToolError("level", error);
  std::string text = IsLevelXmlName(in) ? WriteLevelDrawing(layout) : WriteLevelXml(layout);
  if (!WriteDiskFile(args.positional[1], std::vector<uint8_t>(text.begin(), text.end()), error))
    return ToolError("level", error);
  return 0;
}

const TCommandRegistration kLevel{
    "level", "IN OUT", "convert a level drawing (.txt) to a level file (.xml) or back", &RunLevel};

}  // namespace
