#include <gtest/gtest.h>

#include "frame/event.h"
#include "ui/layout.h"
#include "ui/message.h"
#include "ui/screen.h"
#include "ui/window_canvas.h"
#include "ui/window_manager.h"
#include "ui_test_support.h"

namespace {

// A parent of the given size at the origin, owning nothing else.
struct TParent {
  explicit TParent(int w = 800, int h = 600) { root.SetSize(w, h); }
  TWindow* Child(const TMapStyle& style) {
    auto* child = new TWindow;
    root.AddChild(child, true);
    child->Init(style);
    return child;
  }
  TWindow root;
};

TEST(WindowLayout, RelativePositionsAndSizes) {
  TParent p;
  EXPECT_EQ(p.Child({{"x", kLayoutCenter}, {"w", 200}, {"h", 10}})->GetRect().left, 300);
  EXPECT_EQ(p.Child({{"x", kLayoutMax - 10}, {"w", 50}, {"h", 10}})->GetRect().left, 790);
  EXPECT_EQ(p.Child({{"x", kLayoutMax - 10}, {"w", 50}, {"h", 10}, {"align", kAlignRight}})
                ->GetRect()
                .left,
            740);
  EXPECT_EQ(p.Child({{"x", -20}, {"w", 50}, {"h", 10}})->GetRect().left, 780);
  EXPECT_EQ(p.Child({{"x", -20}, {"w", 50}, {"h", 10}, {"align", 0}})->GetRect().left, -20);
  TWindow* stretched = p.Child({{"x", 10}, {"w", kLayoutMax - 20}, {"h", 10}});
  EXPECT_EQ(stretched->GetRect().left, 10);
  EXPECT_EQ(stretched->Width(), 770);
  // kCenter + 5 centres with an offset; vertical centring through the align bits.
  TWindow* offset = p.Child(
      {{"x", kLayoutCenter + 5}, {"w", 100}, {"y", 300}, {"h", 40}, {"align", kAlignVCenter}});
  EXPECT_EQ(offset->GetRect(), (TRect{355, 280, 455, 320}));
  // A negative size extends back from the position.
  TWindow* back = p.Child({{"x", 100}, {"w", -30}, {"h", 10}});
  EXPECT_EQ(back->GetRect().left, 70);
  EXPECT_EQ(back->Width(), 30);
}

TEST(WindowLayout, CentredStretchedSizeTakesTwiceTheOffset) {
  TAxis axis{kLayoutCenter + 50, kLayoutMax};
  ASSERT_TRUE(ResolveAxis(axis, true, 800, false, false, false));
  EXPECT_EQ(axis.pos, 100);
  EXPECT_EQ(axis.size, 700);
  TAxis tight{kLayoutCenter - 50, kLayoutMax};
  ASSERT_TRUE(ResolveAxis(tight, true, 800, false, false, false));
  EXPECT_EQ(tight.pos, 0);
  EXPECT_EQ(tight.size, 700);
}

TEST(WindowLayout, UnsizedParentOrMissingSizeWaits) {
  TParent unsized(0, 0);
  TWindow* waiting = unsized.Child({{"x", kLayoutCenter}, {"w", 100}, {"h", 20}});
  EXPECT_EQ(waiting->GetRect(), (TRect{0, 0, 0, 0}));
  TParent p;
  TWindow* noSize = p.Child({{"x", kLayoutCenter}, {"y", 5}});
  EXPECT_EQ(noSize->GetRect(), (TRect{0, 0, 0, 0}));
  // Without a parent only the alignment applies.
  TWindow orphan;
  orphan.Init(TMapStyle{{"x", 100}, {"w", 40}, {"h", 10}, {"align", kAlignHCenter}});
  EXPECT_EQ(orphan.GetRect(), (TRect{80, 0, 120, 10}));
}

TEST(WindowLayout, SecondInitKeepsPositionAndSize) {
  TParent p;
  TWindow* w = p.Child({{"x", 10}, {"y", 20}, {"w", 30}, {"h", 40}});
  w->Init(TMapStyle{{"x", 500}, {"y", 500}, {"w", 5}, {"h", 5}});
  EXPECT_EQ(w->GetRect(), (TRect{10, 20, 40, 60}));
}

TEST(WindowLayout, FitGrowsToChildrenButNeverShrinks) {
  TParent p;
  TWindow* box = p.Child({{"x", 5}, {"y", 5}, {"w", 50}, {"h", 300}});
  auto* inner = new TWindow;
  box->AddChild(inner, true);
  inner->Init(TMapStyle{{"x", 100}, {"y", 10}, {"w", 120}, {"h", 20}});
  TMapStyle fit{{"fit", 1}};
  box->PostCreate(fit);
  EXPECT_EQ(box->Width(), 220);
  EXPECT_EQ(box->Height(), 300);
}

TEST(WindowTree, FindChildRespectsDepthAndOrder) {
  TWindow root;
  root.SetName("root");
  auto* a = new TWindow;
  a->SetName("a");
  auto* deep = new TWindow;
  deep->SetName("deep");
  auto* front = new TWindow;
  front->SetName("deep");
  root.AddChild(a, true);
  a->AddChild(deep, true);
  root.AddChild(front, true);  // inserted at the front: searched first
  EXPECT_EQ(root.FindChild("root", 0), &root);
  EXPECT_EQ(root.FindChild("a", 0), nullptr);
  EXPECT_EQ(root.FindChild("deep", 1), front);
  front->SetName("x");
  EXPECT_EQ(root.FindChild("deep", 1), nullptr);
  EXPECT_EQ(root.FindChild("deep", 2), deep);
  EXPECT_EQ(root.FindChild("deep"), deep);
}

TEST(WindowTree, HitTestingSkipsHiddenAndConvertsPoints) {
  TWindow root;
  root.SetSize(800, 600);
  auto* back = new TWindow;
  back->SetPosition(100, 100);
  back->SetSize(200, 200);
  auto* inner = new TWindow;
  inner->SetPosition(10, 10);
  inner->SetSize(20, 20);
  back->AddChild(inner, true);
  auto* front = new TWindow;
  front->SetPosition(100, 100);
  front->SetSize(50, 50);
  root.AddChild(back, true);
  root.AddChild(front, true);
  EXPECT_EQ(root.FindWindowAt({115, 115}, -1), front);
  front->SetFlags(front->GetFlags() & ~kWindowVisible);
  EXPECT_EQ(root.FindWindowAt({115, 115}, -1), inner);
  EXPECT_EQ(root.FindWindowAt({115, 115}, 1), back);
  EXPECT_EQ(root.FindWindowAt({115, 115}, 0), nullptr);
  EXPECT_EQ(root.FindWindowAt({700, 5}, -1), &root);
  EXPECT_EQ(inner->GetAbsoluteRect(), (TRect{110, 110, 130, 130}));
  EXPECT_EQ(inner->ScreenToLocal({115, 117}), (TPoint2{5, 7}));
  EXPECT_EQ(inner->LocalToScreen({0, 0}), (TPoint2{110, 110}));
}

TEST(WindowTree, ChangeOrderMovesAmongSiblings) {
  TWindow root;
  TWindow* w[3];
  for (auto*& x : w) {
    x = new TWindow;
    root.AddChild(x, true);
  }
  auto order = [&] {
    std::vector<TWindow*> v(root.Children().begin(), root.Children().end());
    return v;
  };
  EXPECT_EQ(order(), (std::vector<TWindow*>{w[2], w[1], w[0]}));
  w[2]->MoveToBack();
  EXPECT_EQ(order(), (std::vector<TWindow*>{w[1], w[0], w[2]}));
  w[2]->ChangeOrder(TWindow::kStepFront);
  EXPECT_EQ(order(), (std::vector<TWindow*>{w[1], w[2], w[0]}));
  w[1]->ChangeOrder(TWindow::kStepBack);
  EXPECT_EQ(order(), (std::vector<TWindow*>{w[2], w[1], w[0]}));
  w[0]->MoveInFrontOf(w[2]);
  EXPECT_EQ(order(), (std::vector<TWindow*>{w[0], w[2], w[1]}));
  TWindow stranger;
  w[0]->MoveInFrontOf(&stranger);
  EXPECT_EQ(order(), (std::vector<TWindow*>{w[2], w[1], w[0]}));
  w[0]->ChangeOrder(TWindow::kToFront);
  EXPECT_EQ(order().front(), w[0]);
}

class TRefusingWindow : public TWindow {
 public:
  bool OnAttach() override { return false; }
};

TEST(WindowTree, RefusedAttachLeavesChildDetached) {
  TWindow root;
  TRefusingWindow child;
  EXPECT_FALSE(root.AddChild(&child, true));
  EXPECT_EQ(child.GetParent(), nullptr);
  EXPECT_TRUE(root.Children().empty());
  EXPECT_TRUE(root.AddChild(&child, false));
  root.RemoveChild(&child);
  EXPECT_TRUE(root.Children().empty());
}

TEST(WindowTree, SetFlagsKeepsClassBits) {
  TModalWindow modal;
  modal.SetFlags(0);
  EXPECT_EQ(modal.GetFlags() & 0xff, static_cast<uint32_t>(kWindowModal | kWindowFocusable));
  EXPECT_FALSE(modal.IsVisible());
  EXPECT_EQ(modal.IdText().size(), 8u);
}

TEST(WindowTree, OpaqueCoverFollowsSizeAndFlags) {
  TTestHost host;
  TWindowManager manager(&host);
  auto* modal = new TModalWindow;
  manager.SetScreen(new TScreen);
  manager.PushModal(modal);
  auto* cover = new TWindow;
  modal->AddChild(cover, true);
  cover->SetFlags(cover->GetFlags() | kWindowOpaque);
  EXPECT_FALSE(modal->GetFlags() & kWindowOpaque);
  cover->SetSize(800, 600);
  EXPECT_TRUE(modal->GetFlags() & kWindowOpaque);
  cover->SetFlags(cover->GetFlags() & ~kWindowOpaque);
  EXPECT_FALSE(modal->GetFlags() & kWindowOpaque);
  cover->SetFlags(cover->GetFlags() | kWindowOpaque);
  modal->RemoveChild(cover);
  EXPECT_FALSE(modal->GetFlags() & kWindowOpaque);
  delete cover;
  // The screen stays opaque whatever its children do.
  EXPECT_TRUE(manager.Screen()->GetFlags() & kWindowOpaque);
}

class TLayerProbe : public TWindow {
 public:
  TLayerProbe() { SetClassFlags(kWindowLayer); }
};

TEST(WindowDraw, ClipsAndSkipsHiddenAndModalChildren) {
  std::vector<std::string> log;
  TProbeWindow root("root", &log);
  root.SetSize(100, 100);
  auto* visible = new TProbeWindow("visible", &log);
  visible->SetPosition(10, 10);
  visible->SetSize(10, 10);
  auto* hidden = new TProbeWindow("hidden", &log);
  hidden->SetSize(10, 10);
  hidden->SetFlags(0);
  auto* outside = new TProbeWindow("outside", &log);
  outside->SetPosition(500, 500);
  outside->SetSize(10, 10);
  auto* modal = new TModalWindow;
  modal->SetSize(50, 50);
  root.AddChild(visible, true);
  root.AddChild(hidden, true);
  root.AddChild(outside, true);
  root.AddChild(modal, false);
  TWindowCanvas::Reset(800, 600);
  EXPECT_TRUE(root.DrawTree(kDrawAll));
  EXPECT_EQ(log, (std::vector<std::string>{"root:draw", "visible:draw"}));
  EXPECT_EQ(TWindowCanvas::OriginDepth(), 0);
  EXPECT_EQ(TWindowCanvas::Clip(), (TRect{0, 0, 800, 600}));
  EXPECT_FALSE(hidden->DrawTree(kDrawAll));
  // Layer mode draws only marked layers whose parent was drawn, and marks them.
  log.clear();
  auto* layer = new TLayerProbe;
  layer->SetSize(5, 5);
  root.AddChild(layer, true);
  EXPECT_FALSE(layer->DrawTree(kDrawLayers));  // parent not drawn this frame
  root.SetFlags(root.GetFlags() | kWindowDrawn);
  EXPECT_FALSE(visible->DrawTree(kDrawLayers));  // not a layer
  EXPECT_TRUE(layer->DrawTree(kDrawLayers));
  EXPECT_TRUE(layer->GetFlags() & kWindowDrawn);
  EXPECT_FALSE(layer->DrawTree(kDrawUnmarked));
  EXPECT_TRUE(visible->DrawTree(kDrawUnmarked));
}

class TClipProbe : public TWindow {
 public:
  void Draw() override { seen = TWindowCanvas::Clip(); }
  TRect seen;
};

TEST(WindowDraw, ChildClipIsIntersectedWithParent) {
  TWindow root;
  root.SetPosition(10, 10);
  root.SetSize(50, 50);
  auto* probe = new TClipProbe;
  probe->SetPosition(40, 40);
  probe->SetSize(30, 30);
  root.AddChild(probe, true);
  TWindowCanvas::Reset(800, 600);
  root.DrawTree(kDrawAll);
  EXPECT_EQ(probe->seen, (TRect{50, 50, 60, 60}));
}

}  // namespace
