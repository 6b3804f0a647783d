// tvtool strings FILE LABEL [ARGS...]: looks a label up in a SpreadsheetML string table and
// prints its expanded text.
#include <cstdio>
#include <string>

#include "data/string_table.h"
#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/package_input.h"

namespace {

int RunStrings(const TToolArguments& args) {
  if (args.positional.size() < 2 || args.positional.size() > 7) return ToolUsage("strings");
  const std::string& path = args.positional[0];
  const std::string& label = args.positional[1];
  std::string arguments[5];
  for (size_t i = 2; i < args.positional.size(); ++i) arguments[i - 2] = args.positional[i];
  TStringTable table;
  if (!table.AddStrings(LiteralName(path))) return ToolError("strings", "cannot open " + path);
  if (!table.Find(label)) return ToolError("strings", "no label \"" + label + "\" in " + path);
  const std::string text =
      table.GetString(label, arguments[0], arguments[1], arguments[2], arguments[3], arguments[4]);
  std::printf("%s\n", text.c_str());
  if (text == "#####")
    return ToolError("strings", "\"" + label + "\" refers to a missing label or argument");
  return 0;
}

const TCommandRegistration kStrings{"strings", "FILE LABEL [ARGS...]",
                                    "print a label's text from a string table, with up to five "
                                    "arguments",
                                    &RunStrings};

}  // namespace
