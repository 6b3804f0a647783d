// The running play screen with the largest layout (level 50, 200 tiles): the CPU of one
// frame of our code (the game's update, the window walk, the sprite batching and the
// driver's front end on this thread), one frame with the software rasteriser's pixel work
// added (process CPU, its threads included), and the cost of a hover and of a click. Runs
// headless on an offscreen context with the shipped package. The frames are drawn for an
// 800 x 600 output (the picture's own size) and for a 1920 x 1080 full screen (a frame of
// 1440 x 1080 from the larger pictures).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "data/asset_manager.h"
#include "data/settings.h"
#include "data/string_table.h"
#include "files/file_system.h"
#include "frame/application_time.h"
#include "frame/event.h"
#include "frame/log.h"
#include "game/face.h"
#include "game/window/animation_layer.h"
#include "game/window/board_view.h"
#include "game/window/game.h"
#include "game/window/game_player.h"
#include "game/window/game_window_vocabulary.h"
#include "game/window/tile.h"
#include "gfx/renderer.h"
#include "platform/egl/offscreen_screen.h"
#include "platform/gl/gl_device.h"
#include "tests/ui/ui_test_support.h"
#include "ui/modal_window.h"
#include "ui/screen.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"

namespace {

class TBenchHost : public TTestHost {
 public:
  bool IsFlipDone() const override { return drawing; }
  bool drawing = true;
};

// The play screen of level 50 in a scratch folder that sees the shipped package.
class TPlayScreen {
 public:
  explicit TPlayScreen(int outputWidth = 800, int outputHeight = 600) {
    // A folder of its own (mkdtemp): two runs at once never share or delete each other's.
    std::string pattern =
        (std::filesystem::temp_directory_path() / "mc_game_window_benchmark_XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return;
    folder = pattern;
    previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    std::error_code error;
    std::filesystem::create_directory_symlink(std::filesystem::path(MC_BIN_DIR) / "assets",
                                              folder / "assets", error);
    SetLogFolder((folder / "log").string());
    ResetFileSystem();
    InitFileSystem();
    LoadSettingsFile("::assets/settings.xml");
    StringTable().LoadAll();
    SetSetting("game_level", "levels/level_050.xml");
    SetSetting("game_seed", "7");
    offscreen = TOffscreenScreen::Create(800, 600);
    if (!offscreen) return;
    // As in the program: pictures loaded once and shared by every window that shows them.
    assets = std::make_unique<TAssetManager>();
    offscreen->SetOutputSize(outputWidth, outputHeight);
    manager = std::make_unique<TWindowManager>(&host);
    auto* script = new TWindowScript(manager.get());
    script->SetLocalizeLabels(true);
    manager->SetScript(script);
    manager->SetScreen(new TScreen);
    RegisterGameWindowVocabulary(*manager);
    script->DoLuaString(
        "return function() DoModal( 'scripts/game.lua' ) while true do WaitForMessage() end end");
    Frame();
    game = dynamic_cast<TGame*>(manager->TopModal()->FindChild("game_window", -1));
  }
  ~TPlayScreen() {
    if (folder.empty()) return;
    manager.reset();
    host.tasks.Clear();
    assets.reset();
    offscreen.reset();
    StringTable().Clear();
    ResetSettings();
    ResetFileSystem();
    SetLogFolder("");
    std::filesystem::current_path(previous);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
  }

  // One frame: 16 ms later, the tasks (the game's update), then the idle pass that draws.
  void Frame() {
    host.now += 16;
    time.Set(host.now);
    host.tasks.Run(kUpdatePhase);
    manager->Invalidate();
    Event(kEventIdle, 0, 0);
  }
  void Event(int kind, int x, int y, int param = 0) {
    TEvent e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.param = param;
    manager->HandleEvent(e);
  }
  TPoint2 TopFace(TTileId id) {
    const TRect r = game->View().TileWindow(id)->GetAbsoluteRect();
    return {r.left + 20, r.top + 28};
  }

  std::filesystem::path folder, previous;
  TManualTime time{1000};
  TBenchHost host;
  std::unique_ptr<TOffscreenScreen> offscreen;
  std::unique_ptr<TAssetManager> assets;
  std::unique_ptr<TWindowManager> manager;
  TGame* game = nullptr;
};

bool Ready(benchmark::State& state, TPlayScreen& screen) {
  if (screen.game && screen.game->Board().TilesOnBoard() == 200) {
    // The first frame at a new size loads the pictures it needs and fills the atlas.
    screen.Frame();
    state.counters["frame_width"] = screen.offscreen->Device().FrameWidth();
    return true;
  }
  state.SkipWithError("no offscreen context or no level 50 in the package");
  return false;
}

// Waits for the rasteriser: reading a pixel back ends the frame's pixel work.
void FinishPixels(TPlayScreen& screen) {
  uint32_t pixel = 0;
  screen.offscreen->Device().ReadPixels(kBackBuffer, TRect{0, 0, 1, 1}, &pixel);
}

// Our code per frame: update, window walk and batching; the rasteriser's threads are not
// this thread's CPU time.
void BM_GameFrame(benchmark::State& state) {
  TPlayScreen screen(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  if (!Ready(state, screen)) return;
  const int calls = GetRenderer()->DrawCalls();
  const int64_t triangles = GetRenderer()->BatchedTriangles();
  for (auto _ : state) screen.Frame();
  const double frames =
      static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
  state.counters["draw_calls_per_frame"] =
      static_cast<double>(GetRenderer()->DrawCalls() - calls) / frames;
  state.counters["triangles_per_frame"] =
      static_cast<double>(GetRenderer()->BatchedTriangles() - triangles) / frames;
}
BENCHMARK(BM_GameFrame)
    ->Args({800, 600})
    ->Args({1920, 1080})
    ->ArgNames({"output_w", "output_h"})
    ->Unit(benchmark::kMicrosecond);

// The same frame with the pixels filled: the software driver's threads counted too.
void BM_GameFrameWithPixelFill(benchmark::State& state) {
  TPlayScreen screen(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  if (!Ready(state, screen)) return;
  for (auto _ : state) {
    screen.Frame();
    FinishPixels(screen);
  }
}
BENCHMARK(BM_GameFrameWithPixelFill)
    ->Args({800, 600})
    ->Args({1920, 1080})
    ->ArgNames({"output_w", "output_h"})
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();

// The update alone (score roll, timer, tasks), no drawing.
void BM_GameUpdateOnly(benchmark::State& state) {
  TPlayScreen screen;
  if (!Ready(state, screen)) return;
  screen.host.drawing = false;
  for (auto _ : state) screen.Frame();
}
BENCHMARK(BM_GameUpdateOnly)->Unit(benchmark::kMicrosecond);

// The pointer moving from one free tile to another: hit test, the lit blank, the preview.
void BM_HoverTile(benchmark::State& state) {
  TPlayScreen screen;
  if (!Ready(state, screen)) return;
  const std::vector<TTileId> free = screen.game->Board().FreeTiles();
  const TPoint2 a = screen.TopFace(free.front()), b = screen.TopFace(free.back());
  bool flip = false;
  for (auto _ : state) {
    const TPoint2 p = (flip = !flip) ? a : b;
    screen.Event(kEventMove, p.x, p.y);
  }
}
BENCHMARK(BM_HoverTile)->Unit(benchmark::kMicrosecond);

// A click on a free tile (it is selected, the next click deselects it).
void BM_ClickTile(benchmark::State& state) {
  TPlayScreen screen;
  if (!Ready(state, screen)) return;
  const TPoint2 p = screen.TopFace(screen.game->Board().FreeTiles().front());
  screen.Event(kEventMove, p.x, p.y);
  for (auto _ : state) {
    screen.Event(kEventLeftDown, p.x, p.y);
    screen.Event(kEventLeftUp, p.x, p.y);
  }
}
BENCHMARK(BM_ClickTile)->Unit(benchmark::kMicrosecond);

}  // namespace

// The treasure ending on the largest layout: every tile left fading, its popups rising, and
// the dust of two pairs matched just before. One iteration is one frame (update and
// drawing, this thread's CPU); when an ending finishes, a new screen starts another,
// outside the timing.
class TTreasureEnding {
 public:
  bool Start() {
    screen = std::make_unique<TPlayScreen>();
    if (!screen->game || screen->game->Board().TilesOnBoard() != 200) return false;
    TGame& game = *screen->game;
    for (int pair = 0; pair < 2; ++pair) {
      const std::vector<TTileId> free = game.Board().FreeTiles();
      for (size_t i = 0; i < free.size(); ++i)
        for (size_t j = i + 1; j < free.size(); ++j)
          if (game.Board().Tile(free[i]).face == game.Board().Tile(free[j]).face &&
              IsCommonSuit(game.Board().Tile(free[i]).face.suit)) {
            game.ClickTile(free[i]);
            game.ClickTile(free[j]);
            i = j = free.size();
          }
    }
    return game.Play().AutoWin();
  }
  TAnimationLayer* Layer() const {
    return dynamic_cast<TAnimationLayer*>(screen->game->FindChild("animationlayer"));
  }
  // The ending is over once the level has been handed to the end-of-level screen.
  bool Over() const { return screen->game->Board().WonFace().suit >= 0; }

  std::unique_ptr<TPlayScreen> screen;
};

void RunTreasureEnding(benchmark::State& state, bool fillPixels) {
  TTreasureEnding ending;
  if (!ending.Start()) {
    state.SkipWithError("no offscreen context, no level 50 or no treasure to win");
    return;
  }
  TPixelImage frame;
  int64_t frames = 0, particles = 0, calls = 0, triangles = 0;
  for (auto _ : state) {
    const int callsBefore = GetRenderer()->DrawCalls();
    const int64_t trianglesBefore = GetRenderer()->BatchedTriangles();
    ending.screen->Frame();
    calls += GetRenderer()->DrawCalls() - callsBefore;
    triangles += GetRenderer()->BatchedTriangles() - trianglesBefore;
    if (fillPixels) ending.screen->offscreen->ReadFrame(&frame);
    ++frames;
    particles += ending.Layer()->LiveParticles();
    if (ending.Over()) {
      state.PauseTiming();
      ending.screen.reset();
      if (!ending.Start()) state.SkipWithError("the next ending did not start");
      state.ResumeTiming();
    }
  }
  const double perFrame = static_cast<double>(std::max<int64_t>(frames, 1));
  state.counters["particles"] = benchmark::Counter(static_cast<double>(particles) / perFrame);
  state.counters["draw_calls_per_frame"] = static_cast<double>(calls) / perFrame;
  state.counters["triangles_per_frame"] = static_cast<double>(triangles) / perFrame;
}

void BM_TreasureEndingFrame(benchmark::State& state) {
  RunTreasureEnding(state, false);
}
BENCHMARK(BM_TreasureEndingFrame)->Unit(benchmark::kMicrosecond);

void BM_TreasureEndingFrameWithPixelFill(benchmark::State& state) {
  RunTreasureEnding(state, true);
}
BENCHMARK(BM_TreasureEndingFrameWithPixelFill)
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();
