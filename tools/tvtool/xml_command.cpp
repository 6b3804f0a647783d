// tvtool xml FILE: parses an XML file (plain or ZXML) with the engine's reader and prints
// the tree as the engine writes it out.
#include <cstdio>
#include <string>

#include "files/file.h"
#include "files/xml_node.h"
#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/package_input.h"
#include "tools/tvtool/tool_io.h"

namespace {

int RunXml(const TToolArguments& args) {
  if (args.positional.size() != 1) return ToolUsage("xml");
  const std::string& path = args.positional[0];
  TFile probe;
  if (!probe.Open(LiteralName(path), kReadBinary)) return ToolError("xml", "cannot open " + path);
  probe.Close();
  TXmlNode root;
  root.LoadFile(LiteralName(path));
  const std::string text = root.ToString();
  if (!WriteStdout(text.data(), text.size())) return ToolError("xml", "cannot write to stdout");
  return 0;
}

const TCommandRegistration kXml{"xml", "FILE",
                                "parse an XML file (plain or ZXML) and print the tree", &RunXml};

}  // namespace
