// Cost of the lookups and member reads every asset load goes through: a name-table search
// with a package the size of the shipped one (about 300 members), and opening and reading
// a member in place.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/file.h"
#include "files/file_system.h"
#include "files/package_writer.h"

namespace {

namespace fs = std::filesystem;

// Builds a scratch asset folder with one package of 300 members of 16 KB once.
void SetUpAssets() {
  static bool done = false;
  if (done) return;
  done = true;
  const fs::path root = fs::temp_directory_path() / "mc_files_benchmark";
  fs::remove_all(root);
  fs::create_directories(root / "assets");
  std::vector<TPackageMember> members;
  for (int i = 0; i < 300; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "gfx/folder%02d/member_%03d.png", i % 20, i);
    members.push_back({name, std::vector<uint8_t>(16384, static_cast<uint8_t>(i))});
  }
  std::vector<uint8_t> bytes;
  std::string error;
  BuildPackage(members, bytes, error);
  std::ofstream(root / "assets/assets.tvp", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  fs::current_path(root);
  InitFileSystem();
}

void BM_ResolveMemberName(benchmark::State& state) {
  SetUpAssets();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ResolveFileName("Assets/GFX/folder07/member_147.png", true));
  }
}
BENCHMARK(BM_ResolveMemberName);

void BM_OpenAndReadMember(benchmark::State& state) {
  SetUpAssets();
  std::vector<uint8_t> buffer(16384);
  for (auto _ : state) {
    TFile file;
    file.Open("gfx/folder07/member_147.png", kReadBinary);
    benchmark::DoNotOptimize(file.Read(buffer.data(), buffer.size()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 16384);
}
BENCHMARK(BM_OpenAndReadMember);

}  // namespace
