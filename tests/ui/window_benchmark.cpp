// The window walk of a screen-sized tree: hit testing, event routing and the draw walk
// (without a renderer, so only the tree's own cost is measured).
#include <benchmark/benchmark.h>

#include "frame/event.h"
#include "ui/modal_window.h"
#include "ui/screen.h"
#include "ui/window_canvas.h"
#include "ui/window_manager.h"
#include "ui_test_support.h"

namespace {

// A board-like tree: rows of tile-sized windows in a few panels.
struct TBoardTree {
  explicit TBoardTree(int tiles) : manager(&host) {
    manager.SetScreen(new TScreen);
    dialog = new TModalWindow;
    manager.PushModal(dialog);
    for (int p = 0; p < 4; ++p) {
      auto* panel = new TWindow;
      panel->SetPosition(p * 200, 0);
      panel->SetSize(200, 600);
      dialog->AddChild(panel, true);
      for (int i = 0; i < tiles / 4; ++i) {
        auto* tile = new TWindow;
        tile->SetPosition((i % 4) * 47, (i / 4) * 64 % 600);
        tile->SetSize(47, 64);
        panel->AddChild(tile, true);
      }
    }
  }
  TTestHost host;
  TWindowManager manager;
  TModalWindow* dialog;
};

void BM_FindWindowAt(benchmark::State& state) {
  TBoardTree tree(static_cast<int>(state.range(0)));
  int x = 0;
  for (auto _ : state) {
    x = (x + 37) % 800;
    benchmark::DoNotOptimize(tree.dialog->FindWindowAt({x, (x * 3) % 600}, -1));
  }
}
BENCHMARK(BM_FindWindowAt)->Arg(144)->Arg(576);

void BM_MouseMoveEvent(benchmark::State& state) {
  TBoardTree tree(static_cast<int>(state.range(0)));
  TEvent move;
  move.kind = kEventMove;
  for (auto _ : state) {
    move.x = (move.x + 37) % 800;
    move.y = (move.y + 53) % 600;
    tree.manager.HandleEvent(move);
  }
}
BENCHMARK(BM_MouseMoveEvent)->Arg(144)->Arg(576);

void BM_DrawWalk(benchmark::State& state) {
  TBoardTree tree(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TWindowCanvas::Reset(800, 600);
    benchmark::DoNotOptimize(tree.dialog->DrawTree(kDrawAll));
  }
}
BENCHMARK(BM_DrawWalk)->Arg(144)->Arg(576);

}  // namespace
