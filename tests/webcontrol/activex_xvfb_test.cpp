// The launcher library as a page host uses it, on a private Xvfb: the control unpacks the
// game it carries, starts it inside its window, relays the page's calls and the game's host
// texts, and on release ends the game and removes its folder. Skipped where Xvfb cannot
// start.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gfx/pixel_image.h"
#include "platform/launcher/activex.h"
#include "platform/x11_test_host/x11_test_host.h"
#include "platform/x11_test_host/xvfb_server.h"
#include "tests/webcontrol/launcher_test_support.h"

namespace {

// The page's side: host texts as they arrive (on the control's event thread).
struct TPage {
  static void Run(void* user, const char* script) {
    auto* page = static_cast<TPage*>(user);
    std::lock_guard<std::mutex> hold(page->lock);
    page->scripts.emplace_back(script);
    page->arrived.notify_all();
  }
  // The index of the first script starting with prefix, waiting up to ms; -1 if none came.
  int WaitFor(const std::string& prefix, int ms) {
    std::unique_lock<std::mutex> hold(lock);
    int found = -1;
    arrived.wait_for(hold, std::chrono::milliseconds(ms), [&] {
      for (size_t i = 0; i < scripts.size(); ++i)
        if (scripts[i].rfind(prefix, 0) == 0) return (found = static_cast<int>(i)) >= 0;
      return false;
    });
    return found;
  }
  std::mutex lock;
  std::condition_variable arrived;
  std::vector<std::string> scripts;
};

// The colour (0xRRGGBB) of a pixel of a picture the content build staged, or -1.
long StagedPixel(const std::string& name, int x, int y) {
  const std::string bytes = ReadFile(std::string(MC_BIN_DIR) + "/../content/stage/" + name);
  TPixelImage image;
  if (!DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &image)) return -1;
  return static_cast<long>(image.At(x, y) & 0xFFFFFFu);
}

bool NearlyEqual(long a, long b) {
  if (a < 0 || b < 0) return false;
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) > 2) return false;
  return true;
}

std::vector<std::filesystem::path> Entries(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> entries;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    entries.push_back(entry.path());
  return entries;
}

class Activex : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = MakeTemporaryFolder("mc_activex_");
    runtime = folder / "runtime";
    std::filesystem::create_directories(runtime);
    if (!xvfb.Start(1024, 768)) GTEST_SKIP() << "Xvfb cannot start here";
    ASSERT_TRUE(host.Open(xvfb.Display(), 800, 600)) << host.Error();
    // The game inherits the page host's environment.
    setenv("DISPLAY", xvfb.Display().c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);  // SDL's and the GL driver's leaks at exit
  }
  void TearDown() override {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
  }

  std::filesystem::path folder, runtime;
  TXvfbServer xvfb;
  TX11TestHost host;
};

}  // namespace

TEST_F(Activex, TheControlRunsTheGameItCarriesInsideThePage) {
  TPage page;
  activex_control* control = activex_create(&TPage::Run, &page);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(activex_load_property(control, "MSN", "1"), 1);
  EXPECT_EQ(activex_load_property(control, "Options", "splash_ms=500"), 1);
  EXPECT_EQ(activex_load_property(control, "Colour", "red"), 0);
  EXPECT_STREQ(activex_status(control), "Loading MahjongCuriomar...");
  // Page calls before the game runs are dropped but succeed.
  EXPECT_EQ(activex_invoke_name(control, "PauseOn", nullptr), 1);
  EXPECT_EQ(activex_invoke_name(control, "Options", nullptr), 0);

  const auto start = std::chrono::steady_clock::now();
  ASSERT_NE(
      activex_create_window(control, xvfb.Display().c_str(), host.HostWindow(), 0, 0, 800, 600),
      0u);
  // Unpacking the game and starting it (a sanitizer build on a busy machine) takes a while.
  ASSERT_GE(page.WaitFor("SessionReady(", 120000), 0) << "the game never announced itself";
  EXPECT_EQ(page.scripts[0], "SessionReady(\"<data></data>\")");
  EXPECT_STREQ(activex_status(control), "");
  // The game runs from one private folder.
  const std::vector<std::filesystem::path> launches = Entries(runtime);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(launches[0] / "mahjongcuriomar"));
  EXPECT_TRUE(std::filesystem::exists(launches[0] / "assets" / "assets.tvp"));
  EXPECT_TRUE(std::filesystem::exists(launches[0] / "readme.htm"));

  // The page starts the session: the game's main menu appears in the page (its sound switch).
  EXPECT_EQ(activex_invoke(control, 9, nullptr), 1);
  const long plaque = StagedPixel("menu/plaque_off.png", 50, 12);
  bool menu = false;
  for (int i = 0; i < 300 && !menu; ++i) {
    host.Pump(100);
    menu = NearlyEqual(host.PixelAt(350, 260), plaque);
  }
  EXPECT_TRUE(menu) << std::hex << host.PixelAt(350, 260) << " " << plaque;

  for (const char* method : {"PauseOn", "PauseOff", "MuteOn", "MuteOff", "GameContinue",
                             "CustomReturn", "LoadGame", "GameStart"}) {
    EXPECT_EQ(activex_invoke_name(control, method, "<xml/>"), 1) << method;
    host.Pump(50);
  }
  host.Pump(1000);

  activex_release(control);  // asks the game to quit and waits for the end of the launch
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::minutes(4));
  EXPECT_TRUE(Entries(runtime).empty()) << "the game's folder is still there";
  // One SessionReady in the whole run, and nothing else that is not a script call.
  int sessions = 0;
  for (const std::string& script : page.scripts) {
    sessions += script.rfind("SessionReady(", 0) == 0;
    EXPECT_NE(script.find('('), std::string::npos) << script;
  }
  EXPECT_EQ(sessions, 1);
}
