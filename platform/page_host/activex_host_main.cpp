// activex_host: shows a web page that embeds the launcher control, with the game running
// inside the page.
//   activex_host [--width=N] [--height=N] [PAGE.html]
//   activex_host --register [MODULE]      (writes the control's keys to the user's registry)
//   activex_host --unregister [MODULE]
// MODULE defaults to libactivex.so beside this program, which also serves pages naming its
// class when the registry names no module for it. Without a page the host opens the sample
// page (webcontrol/sample_page.h says where it finds it).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/page_host/control_module.h"
#include "platform/page_host/page_host.h"
#include "webcontrol/sample_page.h"

namespace {

constexpr char kUsage[] =
    "usage: activex_host [--width=N] [--height=N] [PAGE.html]\n"
    "       activex_host --register [MODULE] | --unregister [MODULE]\n";

// The folder of this program's own file (a link to it, as in <prefix>/bin, is followed).
std::filesystem::path ProgramFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : self.parent_path();
}

std::string ModuleBesideProgram() {
  const std::filesystem::path folder = ProgramFolder();
  if (folder.empty()) return "";
  std::error_code error;
  const std::filesystem::path module = folder / "libactivex.so";
  return std::filesystem::exists(module, error) ? module.string() : "";
}

// "--name=N" with N from 100 to 10000; false for anything else.
bool Size(const std::string& argument, const std::string& name, int* value) {
  const std::string prefix = "--" + name + "=";
  if (argument.rfind(prefix, 0) != 0) return false;
  char* end = nullptr;
  const long number = std::strtol(argument.c_str() + prefix.size(), &end, 10);
  if (*end || number < 100 || number > 10000) return false;
  *value = static_cast<int>(number);
  return true;
}

int Registration(bool add, const std::string& path) {
  if (path.empty()) {
    std::fprintf(stderr, "activex_host: no control library given or found beside the host\n");
    return 2;
  }
  std::shared_ptr<TControlModule> module = TControlModule::Load(path);
  if (!module) return 2;
  if (!(add ? module->Register() : module->Unregister())) {
    std::fprintf(stderr, "activex_host: the registry could not be updated\n");
    return 2;
  }
  std::printf("activex_host: %s %s\n", path.c_str(), add ? "registered" : "unregistered");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  TPageHost::TOptions options;
  options.fallbackModule = ModuleBesideProgram();
  std::string page;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--register" || argument == "--unregister") {
      const std::string module = i + 1 < argc ? argv[i + 1] : options.fallbackModule;
      return Registration(argument == "--register", module);
    }
    if (Size(argument, "width", &options.width) || Size(argument, "height", &options.height))
      continue;
    if (argument.rfind("--", 0) == 0 || !page.empty()) {
      std::fputs(kUsage, stderr);
      return 1;
    }
    page = argument;
  }
  if (page.empty()) {
    page = SamplePageFor(ProgramFolder().string(), MC_INSTALL_NAME);
    if (page.empty()) {
      std::fprintf(stderr, "activex_host: no page given and the sample page %s is not installed\n",
                   kSamplePageName);
      std::fputs(kUsage, stderr);
      return 1;
    }
  }
  if (!TPageHost::StartToolkit()) {
    std::fprintf(stderr, "activex_host: cannot open the display (is DISPLAY set?)\n");
    return 1;
  }
  TPageHost host(options);
  host.Open(page);
  host.Run();
  return 0;
}
