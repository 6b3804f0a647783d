// tvtool COMMAND [ARGS]: the developer's tool for packages, compressed XML and the other
// data formats of the engine. Without a command it lists the commands.
#include <cstdio>
#include <string>

#include "tools/tvtool/command_registry.h"

namespace {

void PrintHelp(FILE* out) {
  std::fprintf(out, "usage: tvtool COMMAND [ARGS]\n\ncommands:\n");
  for (const TToolCommand& command : ToolCommands()) {
    std::fprintf(out, "  %s %s\n      %s\n", command.name, command.usage, command.summary);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::string(argv[1]) == "help" || std::string(argv[1]) == "--help") {
    PrintHelp(stdout);
    return 0;
  }
  const TToolCommand* command = FindToolCommand(argv[1]);
  if (!command) {
    std::fprintf(stderr, "tvtool: unknown command \"%s\"\n\n", argv[1]);
    PrintHelp(stderr);
    return 2;
  }
  TToolArguments args;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    args.all.push_back(arg);
    if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
      if (!command->flags.count(arg)) {
        std::fprintf(stderr, "tvtool %s: unknown option %s\n", command->name, arg.c_str());
        return ToolUsage(command->name);
      }
      args.flags.insert(arg);
    } else {
      args.positional.push_back(arg);
    }
  }
  return command->run(args);
}
