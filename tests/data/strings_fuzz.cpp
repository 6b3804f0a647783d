// Reads arbitrary bytes as a spreadsheet string table, then expands arbitrary texts with
// arguments taken from the input and formats money with whatever formats it defined.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/string_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  TStringTable table;
  table.AddSpreadsheetText(input);
  for (const auto& [label, text] : table.Strings()) {
    table.GetString(label, "%%", "%" + label + "%", "12", "%x", "");
    if (text.size() > 4096) break;
  }
  // The input itself as a text, split into a text and five arguments at "|".
  std::string parts[6];
  size_t part = 0;
  for (char c : input) {
    if (c == '|' && part < 5)
      ++part;
    else
      parts[part] += c;
  }
  table.SetString("fuzz", parts[0]);
  table.SetString("localizer_currency_thousands_format", parts[1]);
  table.GetString("fuzz", parts[1], parts[2], parts[3], parts[4], parts[5]);
  for (int amount : {-2147483647 - 1, -1, 0, 999, 1000, 123456789, 2147483647})
    table.FormatCurrency(amount);
  return 0;
}
