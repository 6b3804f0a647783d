#include "tools/tvtool/command_registry.h"

#include <algorithm>
#include <cstdio>

namespace {

std::vector<TToolCommand>& Commands() {
  static std::vector<TToolCommand> commands;  // built during static initialisation
  return commands;
}

}  // namespace

TCommandRegistration::TCommandRegistration(const char* name, const char* usage, const char* summary,
                                           TToolRun run, std::set<std::string> flags) {
  std::vector<TToolCommand>& commands = Commands();
  TToolCommand command{name, usage, summary, run, std::move(flags)};
  const auto at = std::lower_bound(
      commands.begin(), commands.end(), command,
      [](const TToolCommand& a, const TToolCommand& b) { return std::string(a.name) < b.name; });
  commands.insert(at, std::move(command));
}

const std::vector<TToolCommand>& ToolCommands() {
  return Commands();
}

const TToolCommand* FindToolCommand(const std::string& name) {
  for (const TToolCommand& command : Commands()) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

int ToolError(const char* command, const std::string& message) {
  std::fprintf(stderr, "tvtool %s: %s\n", command, message.c_str());
  return 1;
}

int ToolError(const TToolCommand& command, const std::string& message) {
  return ToolError(command.name, message);
}

int ToolUsage(const char* name) {
  const TToolCommand* command = FindToolCommand(name);
  if (command) std::fprintf(stderr, "usage: tvtool %s %s\n", command->name, command->usage);
  return 2;
}
