// tvtool currency N [STRINGS]: formats an amount of money as the game shows it, with the
// formats of a string table (the shipped formats when none is given or it lacks them).
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "data/string_table.h"
#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/package_input.h"

namespace {

int RunCurrency(const TToolArguments& args) {
  if (args.positional.empty() || args.positional.size() > 2) return ToolUsage("currency");
  const std::string& number = args.positional[0];
  char* end = nullptr;
  errno = 0;
  const long long amount = std::strtoll(number.c_str(), &end, 10);
  if (number.empty() || *end != '\0' || errno == ERANGE || amount < INT_MIN || amount > INT_MAX)
    return ToolError("currency", "\"" + number +
                                     "\" is not a whole number of dollars that fits "
                                     "in 32 bits");
  TStringTable table;
  table.SetString("localizer_currency_tens_format", "$%%d");
  table.SetString("localizer_currency_thousands_format", "$%%d,%%03d");
  table.SetString("localizer_currency_millions_format", "$%%d,%%03d,%%03d");
  table.SetString("localizer_currency_billions_format", "$%%d,%%03d,%%03d,%%03d");
  if (args.positional.size() == 2 && !table.AddStrings(LiteralName(args.positional[1])))
    return ToolError("currency", "cannot open " + args.positional[1]);
  std::printf("%s\n", table.FormatCurrency(static_cast<int>(amount)).c_str());
  return 0;
}

const TCommandRegistration kCurrency{
    "currency", "N [STRINGS]", "format an amount of money as the game shows it", &RunCurrency};

}  // namespace
