// TWindow: the base of everything on screen. Windows form one tree: each owns its children
// (front of the list = topmost, drawn last and hit first) and keeps its rectangle in its
// parent's coordinates. Layout reads the encoded values of window descriptions, drawing
// clips each window to its rectangle, and input climbs from the deepest window under the
// pointer towards the root (and to siblings behind) until a handler takes it. A tree kept
// by the window manager reaches it through its host interface (ui/window_tree_host.h).
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "frame/animated_window.h"
#include "gfx/render_types.h"

class TClock;
class TModalWindow;
class TTaskList;
class TWindow;
class TWindowAnim;
class TWindowSpider;
class TWindowStyle;
class TWindowTreeHost;
struct TEvent;
struct TWindowTreeHandle;

struct TPoint2 {
  int x = 0;
  int y = 0;
  bool operator==(const TPoint2&) const = default;
};

// A window class's identity is its creation function.
using TWindowCreator = TWindow* (*)();

// Window flags.
enum : uint32_t {
  kWindowModal = 0x1,
  kWindowFocusable = 0x2,
  kWindowLayer = 0x4,
  // The pointer goes through the window to what lies behind it (a layer that only shows).
  kWindowPassThrough = 0x8,
  kWindowVisible = 0x100,
  kWindowDrawn = 0x400,
  kWindowOpaque = 0x800,
};

// Drawing modes of TWindow::DrawTree.
enum : int {
  kDrawAll = 0,
  kDrawLayers = 1,
  kDrawUnmarked = 2,
};

class TWindow : public TAnimatedWindow {
 public:
  TWindow();
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  static TWindow* Create();
  virtual const char* GetClassName() const { return "TWindow"; }
  virtual bool IsKindOf(TWindowCreator type) const { return type == &TWindow::Create; }

  virtual bool OnAttach() { return true; }
  virtual void Init(const TWindowStyle& style);
  virtual void PostCreate(const TWindowStyle& style);
  virtual void Draw() {}
  virtual void PostDraw() {}
  virtual bool AddChild(TWindow* child, bool attach);
  virtual void RemoveChild(TWindow* child);
  virtual void OnModalPopped() {}
  virtual void SetScroll(float /*fraction*/, int /*ignored*/) {}
  virtual bool OnMessage(class TMessage& /*message*/) { return false; }
  bool Animate() override { return false; }
  virtual bool OnMouseDown(TPoint2) { return false; }
  virtual bool OnMouseButton(TPoint2, int /*code*/) { return false; }
  virtual bool OnMouseUp(TPoint2) { return false; }
  virtual bool OnMouseMove(TPoint2) { return false; }
  virtual bool OnMouseLeave() { return false; }
  virtual bool OnChar(int /*character*/) { return false; }
  virtual bool OnKeyDown(int /*key*/, int /*modifiers*/) { return false; }
  virtual bool OnKeyUp(int /*key*/) { return false; }
  virtual bool OnMouseHover(TPoint2 point);
  virtual void OnFocus(TWindow* /*previous*/) {}

  // Geometry.
  TWindow* GetParent() const { return mParent; }
  TWindow* SetParent(TWindow* parent);
  TRect GetRect() const { return {mLeft, mTop, mRight, mBottom}; }
  TRect GetAbsoluteRect() const;
  TRect GetLocalRect() const { return {0, 0, Width(), Height()}; }
  int Width() const { return mRight - mLeft; }
  int Height() const { return mBottom - mTop; }
  TPoint2 ScreenToLocal(TPoint2 p) const;
  TPoint2 LocalToScreen(TPoint2 p) const;
  TPoint2 ParentToLocal(TPoint2 p) const { return {p.x - mLeft, p.y - mTop}; }
  TPoint2 LocalToParent(TPoint2 p) const { return {p.x + mLeft, p.y + mTop}; }
  void SetPosition(int x, int y);
  void SetSize(int w, int h);
  bool Contains(TPoint2 parentPoint) const;

  const std::string& GetName() const { return mName; }
  void SetName(const std::string& name) { mName = name; }
  int GetId() const { return mId; }
  // The id as scripts see it: "%8x".
  std::string IdText() const;

  uint32_t GetFlags() const { return mFlags; }
  // Replaces bits 8..31; the class bits 0..7 stay.
  void SetFlags(uint32_t flags);
  bool IsVisible() const { return (mFlags & kWindowVisible) != 0; }
  bool IsModal() const { return (mFlags & kWindowModal) != 0; }
  // Whether this window and its ancestors up to the nearest modal window are visible.
  bool IsShown() const;

  TModalWindow* GetModalAncestor() const;
  // The modal window itself, for a modal window; null for others.
  virtual TModalWindow* AsModalWindow() { return nullptr; }

  // The window manager that keeps this window's tree (null outside a managed tree).
  TWindowTreeHost* TreeHost() const;
  // Makes this window and its descendants part of the host's tree; children added later
  // join through AddChild. A window keeps its host when it is taken out of the tree, so
  // that its destruction is still heard.
  void JoinTree(const std::shared_ptr<TWindowTreeHandle>& tree);
  TWindow* FindChild(const std::string& name, int depth = -1);
  TWindow* FindChildAt(TPoint2 point);
  TWindow* FindWindowAt(TPoint2 point, int depth);
  // Visits the children front to back (or back to front) until the spider says stop.
  void ForEachChild(TWindowSpider& spider, bool backwards = false);
  const std::list<TWindow*>& Children() const { return mChildren; }
  void FitToChildren();
  void DeleteChildren();

  enum TOrder { kToBack = 0, kToFront = 1, kStepBack = 2, kStepFront = 3, kInFrontOf = 4 };
  void ChangeOrder(int mode, TWindow* other = nullptr);
  void MoveToBack() { ChangeOrder(kToBack); }
  void MoveInFrontOf(TWindow* other) { ChangeOrder(kInFrontOf, other); }

  // Layout from a description (Init and PostCreate run it).
  void Layout(const TWindowStyle& style);

  // Draws this window and its non-modal descendants; false when nothing was drawn.
  bool DrawTree(int mode);
  // Routes an event whose point is in this window's coordinates (see window.cpp).
  static void DispatchEvent(TWindow* window, const TEvent& event, bool focusHandled = false);

  TWindowAnim* GetAnimTask();
  void StartAnimation(int delay, bool periodic, bool fromNow, bool catchUp);
  void AnimTaskGone(TWindowAnim* task) override;

 protected:
  // Class bits 0..7 are set only by the class itself.
  void SetClassFlags(uint32_t bits) { mFlags |= bits & 0xff; }
  // Replaces all bits without touching the cover set.
  void SetFlagsRaw(uint32_t flags) { mFlags = flags; }
  void Invalidate() const;
  // Tells the modal ancestor that this window's size or flags changed.
  void UpdateCover();

  // Hooks of the modal window that holds a subtree (no-ops elsewhere): a descendant changed
  // its size or flags, or leaves the tree; and the clock and task list the animations of
  // the windows inside it run on.
  virtual void DescendantChanged(TWindow* /*descendant*/) {}
  virtual void DescendantLeaving(TWindow* /*descendant*/) {}
  virtual TClock* AnimationClock() { return nullptr; }
  virtual TTaskList* AnimationTasks() { return nullptr; }

 private:
  static bool HandleKind(TWindow* window, const TEvent& event, TPoint2 point);
  // The nearest modal ancestor as a plain window (for the hooks above).
  TWindow* ModalAncestorWindow() const;

  TWindow* mParent = nullptr;
  std::list<TWindow*> mChildren;
  int mLeft = 0, mTop = 0, mRight = 0, mBottom = 0;
  std::string mName;
  uint32_t mFlags = kWindowVisible;
  int mId;
  TWindowAnim* mAnimTask = nullptr;
  std::shared_ptr<TWindowTreeHandle> mTree;
};
