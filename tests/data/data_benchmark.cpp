// Speed of the data layer on documents of realistic size: a level-sized XML document, the
// shipped-size string table, and a preferences file of a few players.
#include <benchmark/benchmark.h>

#include <string>

#include "data/prefs_cipher.h"
#include "data/prefs_records.h"
#include "data/string_table.h"
#include "files/xml_node.h"

namespace {

std::string LevelDocument() {
  std::string text = "<?xml version=\"1.0\"?>\n<level name=\"Attic\" width=\"38\" height=\"16\">\n";
  for (int layer = 0; layer < 7; ++layer) {
    text += "  <layer z=\"" + std::to_string(layer) + "\">\n";
    for (int tile = 0; tile < 24; ++tile)
      text +=
          "    <tile x=\"" + std::to_string(tile) + "\" y=\"" + std::to_string(layer) + "\"/>\n";
    text += "  </layer>\n";
  }
  return text + "  <text>\n    Grandma's attic holds &amp; hides treasures.\n  </text>\n</level>\n";
}

void BM_ParseLevel(benchmark::State& state) {
  const std::string text = LevelDocument();
  for (auto _ : state) {
    TXmlNode root;
    root.Parse(text);
    benchmark::DoNotOptimize(root.FindChild("level"));
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ParseLevel);

void BM_LoadStringTable(benchmark::State& state) {
  std::string sheet = "<Workbook><Worksheet><Table>\n";
  for (int row = 0; row < 333; ++row)
    sheet += "<Row><Cell><Data ss:Type=\"String\">label_" + std::to_string(row) +
             "</Data></Cell><Cell><Data ss:Type=\"String\">Text number " + std::to_string(row) +
             " with %1% and &amp; an entity</Data></Cell></Row>\n";
  sheet += "</Table></Worksheet></Workbook>\n";
  for (auto _ : state) {
    TStringTable table;
    table.AddSpreadsheetText(sheet);
    benchmark::DoNotOptimize(table.GetString("label_200", "x"));
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sheet.size()));
}
BENCHMARK(BM_LoadStringTable);

void BM_PrefsWriteAndRead(benchmark::State& state) {
  const TPrefsCipher cipher("GameKey");
  TPrefsSections sections;
  TPrefsSection& section = sections["install"];
  section.resize(6);
  for (size_t slot = 0; slot < section.size(); ++slot)
    for (int key = 0; key < 40; ++key)
      section[slot]["mj_key_" + std::to_string(key)] = std::to_string(key * 1234567) + '\0';
  for (auto _ : state) {
    const std::string bytes = WritePrefsRecords(sections, "install", cipher);
    TPrefsSections read;
    ReadPrefsRecords(bytes, cipher, read);
    benchmark::DoNotOptimize(read);
  }
}
BENCHMARK(BM_PrefsWriteAndRead);

void BM_CipherKeySchedule(benchmark::State& state) {
  for (auto _ : state) {
    TPrefsCipher cipher("GameKey");
    benchmark::DoNotOptimize(cipher.KeyBytes());
  }
}
BENCHMARK(BM_CipherKeySchedule);

}  // namespace
