// What the compiled-chunk cache saves, and what a call through the native binding costs.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "data/asset_manager.h"
#include "files/file_system.h"
#include "script/lua/lua_api.h"
#include "script/native_binding.h"
#include "script/script.h"
#include "script/script_code.h"

namespace {

// A dialog-sized script: a description table and a few functions.
std::string DialogScript() {
  std::string text = "gDialog = {\n";
  for (int i = 0; i < 150; ++i) {
    text += "  { type = 'Button', name = 'button_" + std::to_string(i) +
            "', x = " + std::to_string(i * 3) + ", y = " + std::to_string(i * 2) +
            ", label = 'label_" + std::to_string(i) + "' },\n";
  }
  text +=
      "}\nfunction Count() local n = 0 for i, v in ipairs( gDialog ) do n = n + v.x end "
      "return n end\n";
  return text;
}

struct TScratch {
  TScratch() {
    root = std::filesystem::temp_directory_path() / "mc_script_benchmark";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "assets" / "scripts");
    std::ofstream(root / "assets" / "scripts" / "dialog.lua") << DialogScript();
    previous = std::filesystem::current_path();
    std::filesystem::current_path(root);
    ResetFileSystem();
    InitFileSystem();
  }
  ~TScratch() {
    ResetFileSystem();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(root);
  }
  std::filesystem::path root, previous;
  TAssetManager assets;
};

void BM_RunScriptCompiledEachTime(benchmark::State& state) {
  TScratch scratch;
  TScript script;
  for (auto _ : state) {
    ForgetCompiledScripts();
    scratch.assets.RemoveAsset("scripts/dialog.lua");
    benchmark::DoNotOptimize(script.RunScript("scripts/dialog.lua"));
  }
}
BENCHMARK(BM_RunScriptCompiledEachTime);

void BM_RunScriptFromCache(benchmark::State& state) {
  TScratch scratch;
  TScript script;
  script.RunScript("scripts/dialog.lua");
  for (auto _ : state) benchmark::DoNotOptimize(script.RunScript("scripts/dialog.lua"));
  ForgetCompiledScripts();
}
BENCHMARK(BM_RunScriptFromCache);

int gSink = 0;
void Consume(int a, const std::string& b, bool c) {
  gSink += a + static_cast<int>(b.size()) + (c ? 1 : 0);
}

// 1000 calls of a bound native function with an integer, a string and a boolean.
void BM_NativeCalls1000(benchmark::State& state) {
  TScript script;
  RegisterFunction(script.GetState(), "Consume", &Consume);
  script.DoLuaString("function Loop() for i = 1, 1000 do Consume( i, 'text', true ) end end");
  lua_State* L = script.GetState();
  for (auto _ : state) {
    lua_getglobal(L, "Loop");
    script.RunFunction(0, 0);
  }
  benchmark::DoNotOptimize(gSink);
}
BENCHMARK(BM_NativeCalls1000);

}  // namespace
