// The page host end to end on a private Xvfb: the sample page in the WebKit view, the
// control registered in a private registry and found by the class GUID the page names, the
// real game unpacked and running inside the page. A player clicks and types through XTEST;
// the page's script drives the game and hears its calls, read back by evaluating script in
// the page. Skipped only where Xvfb cannot start.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "gfx/pixel_image.h"
#include "platform/page_host/control_module.h"
#include "platform/page_host/page_host.h"
#include "platform/x11_test_host/x11_screen_probe.h"
#include "platform/x11_test_host/xvfb_server.h"
#include "tests/webcontrol/launcher_test_support.h"
#include "webcontrol/control_registration.h"

namespace {

using TClock = std::chrono::steady_clock;

const std::string kModule = std::string(MC_BIN_DIR) + "/libactivex.so";
const std::string kSamplePage =
    std::string(MC_SOURCE_DIR) + "/webcontrol/page/mahjongcuriomar.html";

// Colours equal within a few steps per channel (drawing and fades may round).
bool Near(long a, long b, int tolerance = 3) {
  if (a < 0 || b < 0) return false;
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

long StagedPixel(const std::string& name, int x, int y) {
  const std::string bytes = ReadFile(std::string(MC_BIN_DIR) + "/../content/stage/" + name);
  TPixelImage image;
  if (!DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &image)) return -1;
  return static_cast<long>(image.At(x, y) & 0xFFFFFFu);
}

// The XML argument of a recorded call ("in Name <xml>").
std::string Xml(const std::string& call) {
  const size_t name = call.find(' ');
  const size_t xml = name == std::string::npos ? name : call.find(' ', name + 1);
  return xml == std::string::npos ? "" : call.substr(xml + 1);
}

size_t Entries(const std::filesystem::path& folder) {
  size_t count = 0;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error))
    ++count;
  return count;
}

class PageHost : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = MakeTemporaryFolder("mc_page_host_");
    ASSERT_FALSE(folder.empty());
    runtime = folder / "runtime";
    std::filesystem::create_directories(runtime);
    if (!xvfb.Start(1280, 900)) GTEST_SKIP() << "Xvfb cannot start here; the page host needs it";
    setenv("DISPLAY", xvfb.Display().c_str(), 1);
    setenv("GDK_BACKEND", "x11", 1);
    setenv("NO_AT_BRIDGE", "1", 1);  // no accessibility bus on a bare X server
    setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 1);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    // The game inherits the page host's environment.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);  // SDL's and the GL driver's leaks at exit
    ASSERT_TRUE(probe.Open(xvfb.Display())) << "no XTEST on the test's Xvfb";
    ASSERT_TRUE(TPageHost::StartToolkit()) << "GTK cannot use the test's Xvfb";
  }
  void TearDown() override {
    host.reset();
    std::error_code error;
    std::filesystem::remove_all(folder, error);
  }

  // Runs the page until done() holds, at most ms; whether it held.
  bool RunUntil(const std::function<bool()>& done, int ms) {
    const auto end = TClock::now() + std::chrono::milliseconds(ms);
    while (TClock::now() < end) {
      if (done()) return true;
      host->RunFor(100);
    }
    return done();
  }

  // The page's record of its calls ("in GameReady <data>...", "out SessionStart").
  std::vector<std::string> Calls() {
    std::string text;
    if (!host->Evaluate("pageCalls.map(c => c.dir + ' ' + c.name + ' ' + c.xml).join('\\n')", &text,
                        10000))
      return {};
    std::vector<std::string> calls;
    for (size_t at = 0; at <= text.size() && !text.empty();) {
      const size_t end = text.find('\n', at);
      calls.push_back(text.substr(at, end - at));
      if (end == std::string::npos) break;
      at = end + 1;
    }
    return calls;
  }
  // The first call starting with prefix, or "".
  std::string Call(const std::string& prefix) {
    for (const std::string& call : Calls())
      if (call.rfind(prefix, 0) == 0) return call;
    return "";
  }
  bool WaitForCall(const std::string& prefix, int ms) {
    return RunUntil([&] { return !Call(prefix).empty(); }, ms);
  }
  // Whether the game draws something within ms (a busy machine may take a while to resume).
  bool Draws(int ms) {
    return RunUntil([&] { return probe.TakeDrawings() > 0; }, ms);
  }

  // Whether the game draws nothing for ms.
  bool Quiet(int ms) {
    probe.TakeDrawings();
    host->RunFor(ms);
    return probe.TakeDrawings() == 0;
  }

  // The player presses one of the page's buttons (the view fills the host's window).
  bool ClickPageButton(const std::string& label) {
    std::string centre;
    if (!host->Evaluate("(() => { const b = Array.from(document.querySelectorAll('button'))"
                        ".find(b => b.textContent === '" +
                            label +
                            "'); const r = b.getBoundingClientRect();"
                            " return Math.round(r.left + r.width / 2) + ' ' +"
                            " Math.round(r.top + r.height / 2); })()",
                        &centre, 10000))
      return false;
    const size_t blank = centre.find(' ');
    if (blank == std::string::npos) return false;
    const bool clicked = probe.Click(probe.Parent(Control()), std::atoi(centre.c_str()),
                                     std::atoi(centre.c_str() + blank + 1));
    return clicked && WaitForCall("out " + label, 10000);
  }

  uint64_t Control() {
    const std::vector<uint64_t> windows = host->ControlWindows();
    return windows.size() == 1 ? windows[0] : 0;
  }
  bool Shows(int x, int y, long colour, int tolerance = 3) {
    return Near(probe.PixelAt(Control(), x, y), colour, tolerance);
  }
  // The whole screen as a PNG in $MC_TEST_SHOTS, when a person wants to look.
  void Shot(const std::string& name) {
    const char* shots = std::getenv("MC_TEST_SHOTS");
    if (!shots || !*shots) return;
    TPixelImage image;
    image.pixels = probe.Pixels(probe.Root(), &image.width, &image.height);
    for (uint32_t& pixel : image.pixels) pixel |= 0xFF000000u;
    WritePngFile(std::string(shots) + "/" + name + ".png", image);
  }

  std::filesystem::path folder, runtime;
  TXvfbServer xvfb;
  TX11ScreenProbe probe;
  std::unique_ptr<TPageHost> host;
};

}  // namespace

TEST_F(PageHost, TheSamplePageRunsTheGameAndHearsItsCalls) {
  const auto start = TClock::now();
  // The control registers itself in the user's registry; the host finds it only there.
  std::shared_ptr<TControlModule> module = TControlModule::Load(kModule);
  ASSERT_NE(module, nullptr);
  ASSERT_TRUE(module->Register());
  TRegistryFile registry;
  ASSERT_TRUE(registry.Load(UserRegistryPath()));
  EXPECT_EQ(FindControlModule(registry, module->ClassId()),
            std::filesystem::canonical(kModule).string());

  // The sample page with the game's cheat on, so the player can win a level at once.
  std::string page = ReadFile(kSamplePage);
  const std::string options = "<param name=\"Options\" value=\"\">";
  ASSERT_NE(page.find(options), std::string::npos);
  page.replace(page.find(options), options.size(),
               "<param name=\"Options\" value=\"splash_ms=500&amp;cheatmode=1\">");
  WriteFile(folder / "page.html", page);

  host = std::make_unique<TPageHost>(TPageHost::TOptions{});
  host->Open((folder / "page.html").string());
  ASSERT_TRUE(RunUntil([&] { return host->Loaded() && Control() != 0; }, 60000))
      << "the page did not load, or its object made no control";
  std::string width;
  ASSERT_TRUE(host->Evaluate("document.getElementById('game').getBoundingClientRect().width",
                             &width, 10000));
  EXPECT_EQ(width, "800");

  // The game unpacks and announces itself; the page answers with SessionStart.
  ASSERT_TRUE(WaitForCall("in SessionReady", 180000)) << "the game never announced itself";
  EXPECT_EQ(Call("in SessionReady"), "in SessionReady <data></data>");
  EXPECT_EQ(Entries(runtime), 1u) << "the game runs from one private folder";
  ASSERT_TRUE(WaitForCall("out SessionStart", 10000));

  // The main menu inside the page: its sound switch, where the page's object is.
  const long plaque = StagedPixel("menu/plaque_off.png", 50, 12);
  ASSERT_TRUE(RunUntil([&] { return Shows(350, 260, plaque); }, 90000))
      << std::hex << probe.PixelAt(Control(), 350, 260) << " " << plaque;

  Shot("1_menu");
  // The page pauses the game: it stops drawing; and it draws again after PauseOff.
  const uint64_t game = probe.FirstChild(Control());
  ASSERT_NE(game, 0u);
  ASSERT_TRUE(probe.WatchDrawing(game)) << "no XDAMAGE on the test's Xvfb";
  EXPECT_TRUE(Draws(10000)) << "the game draws nothing while it runs";
  ASSERT_TRUE(ClickPageButton("PauseOn"));
  // A frame under way when the pause came may still land (slowly, on a busy machine);
  // then nothing more is drawn.
  EXPECT_TRUE(RunUntil([&] { return Quiet(1000); }, 15000)) << "the game kept drawing";
  EXPECT_TRUE(Quiet(2000)) << "the game drew while the page paused it";
  ASSERT_TRUE(ClickPageButton("PauseOff"));
  EXPECT_TRUE(Draws(10000)) << "the game did not draw again after PauseOff";

  // The player starts an adventure; a first start asks for the player's name.
  ASSERT_TRUE(probe.Click(Control(), 645, 195));
  ASSERT_TRUE(RunUntil([&] { return Shows(400, 274, 0xfaf5e6); }, 60000))
      << "no name dialog: " << std::hex << probe.PixelAt(Control(), 400, 274);
  host->RunFor(500);
  Shot("2_name");
  ASSERT_TRUE(probe.Type("Ada"));
  ASSERT_TRUE(probe.PressKey("Return"));

  // The game is ready; the page starts it; Grandma's letter opens the first lesson.
  ASSERT_TRUE(WaitForCall("in GameReady", 60000));
  EXPECT_EQ(Call("in GameReady"), "in GameReady <data><mode>mahjongcuriomar_web</mode></data>");
  ASSERT_TRUE(WaitForCall("out GameStart", 10000));
  ASSERT_TRUE(
      RunUntil([&] { return Shows(650, 300, 0xdbd2bb) && Shows(242, 467, 0x4a2410); }, 60000))
      << "no letter: " << std::hex << probe.PixelAt(Control(), 650, 300);
  Shot("3_letter");
  ASSERT_TRUE(probe.Click(Control(), 242, 467));

  // The level with the cheat's button; it wins the level.
  ASSERT_TRUE(RunUntil([&] { return Shows(713, 69, 0x712216, 6); }, 90000))
      << "no level: " << std::hex << probe.PixelAt(Control(), 713, 69);
  host->RunFor(500);
  Shot("4_level");
  // The lesson's first prompt comes up over the board a moment after the deal and takes the
  // clicks until Return closes it: click the cheat, and close a prompt if the level stays.
  bool scored = false;
  for (int attempt = 0; attempt < 6 && !scored; ++attempt) {
    ASSERT_TRUE(probe.Click(Control(), 713, 69));
    scored = WaitForCall("in ScoreSubmit", attempt == 5 ? 60000 : 8000);
    if (!scored) {
      ASSERT_TRUE(probe.PressKey("Return"));
    }
  }

  // The end of the level: the score goes to the page, and the break it answers.
  ASSERT_TRUE(scored) << "no score after the level was won";
  const std::string score = Call("in ScoreSubmit");
  EXPECT_EQ(score.rfind("in ScoreSubmit <game><score>", 0), 0u) << score;
  EXPECT_NE(score.find("</score><time>"), std::string::npos) << score;
  EXPECT_EQ(score.find("<score>0</score>"), std::string::npos) << "a won level scored nothing";
  ASSERT_TRUE(WaitForCall("in ScoreBroadcast", 10000));
  EXPECT_EQ(Xml(Call("in ScoreBroadcast")), Xml(score)) << "the broadcast and the score differ";
  ASSERT_TRUE(WaitForCall("in GameBreak", 10000));
  EXPECT_EQ(Call("in GameBreak"), "in GameBreak <data><breakpoint>1</breakpoint></data>");
  EXPECT_TRUE(WaitForCall("out GameContinue", 10000));
  host->RunFor(1500);
  Shot("5_end");
  // The page heard each text once and in this order: no GameReady at the level's end, which
  // the page would answer with a start that restarts the game under way.
  std::vector<std::string> heard;
  int starts = 0;
  for (const std::string& call : Calls()) {
    if (call.rfind("in ", 0) == 0) heard.push_back(call.substr(3, call.find(' ', 3) - 3));
    starts += call.rfind("out GameStart", 0) == 0;
  }
  EXPECT_EQ(heard, (std::vector<std::string>{"SessionReady", "GameReady", "ScoreSubmit",
                                             "ScoreBroadcast", "GameBreak"}));
  EXPECT_EQ(starts, 1);

  // Closing the page ends the game and removes its folder.
  host->Close();
  EXPECT_TRUE(host->Closed());
  EXPECT_EQ(Entries(runtime), 0u) << "the game's folder is still there";
  EXPECT_LT(TClock::now() - start, std::chrono::minutes(8));
}
