// Any text as an input script: parsing reports errors and never crashes; every step it
// keeps is in time order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "frame/command_line.h"
#include "frame/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> errors;
  TInputScript script = TInputScript::Parse(text, &errors);
  uint32_t last = 0;
  for (const TInputStep& step : script.Steps()) {
    if (step.timeMs < last) std::abort();
    last = step.timeMs;
  }
  // The same text as a command line.
  const TCommandLine line(text);
  (void)line.OptionPairs();
  (void)line.WorkingDirectory();
  (void)line.CheatCode();
  (void)line.WindowHandle();
  (void)ParseGameOptions(text);
  return 0;
}
