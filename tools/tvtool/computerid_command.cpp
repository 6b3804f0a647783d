// tvtool computerid: prints this machine's identity (the setting "computerid").
#include <cstdio>
#include <string>

#include "data/computer_id.h"
#include "tools/tvtool/command_registry.h"

namespace {

int RunComputerId(const TToolArguments& args) {
  if (!args.positional.empty()) return ToolUsage("computerid");
  std::printf("%s\n", ComputeComputerId().c_str());
  return 0;
}

const TCommandRegistration kComputerId{
    "computerid", "", "print this machine's identity (the setting computerid)", &RunComputerId};

}  // namespace
