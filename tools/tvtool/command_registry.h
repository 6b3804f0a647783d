// The subcommands of tvtool. Each command registers itself from its own source file:
//
//   namespace {
//   int RunList(const TToolArguments& args) { ... return 0; }
//   const TCommandRegistration kList{"list", "PKG", "list the members of a package", &RunList};
//   }
//
// Commands print results to stdout, report problems with ToolError and return 0 on
// success, 1 on bad input and 2 on a usage error.
#pragma once

#include <set>
#include <string>
#include <vector>

struct TToolArguments {
  std::vector<std::string> positional;  // everything that does not start with "--"
  std::set<std::string> flags;          // "--zxml", "--inflate", ...
  std::vector<std::string> all;         // every argument in order, for options with values

  bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
};

using TToolRun = int (*)(const TToolArguments& args);

struct TToolCommand {
  const char* name;
  const char* usage;    // arguments, e.g. "[--zxml] DIR OUT.tvp"
  const char* summary;  // one line for the help text
  TToolRun run;
  std::set<std::string> flags;  // the flags the command accepts
};

class TCommandRegistration {
 public:
  TCommandRegistration(const char* name, const char* usage, const char* summary, TToolRun run,
                       std::set<std::string> flags = {});
};

// Every registered command, sorted by name.
const std::vector<TToolCommand>& ToolCommands();
const TToolCommand* FindToolCommand(const std::string& name);

// Prints "tvtool <command>: message" to stderr and returns 1, for `return ToolError(...)`.
int ToolError(const TToolCommand& command, const std::string& message);
int ToolError(const char* command, const std::string& message);
// Prints the usage of a command to stderr and returns 2.
int ToolUsage(const char* command);
