// Visitors that walk a window's children (TWindow::ForEachChild).
#pragma once

#include <cstdint>

class TWindow;
class TWindowTreeHost;

class TWindowSpider {
 public:
  virtual ~TWindowSpider() = default;
  // false stops the walk.
  virtual bool Visit(TWindow* window) = 0;
};

// Detaches each child and hands it to the tree's host for deletion between events.
class ChildrenDelete : public TWindowSpider {
 public:
  ChildrenDelete(TWindow* parent, TWindowTreeHost* host) : mParent(parent), mHost(host) {}
  bool Visit(TWindow* window) override;

 private:
  TWindow* mParent;
  TWindowTreeHost* mHost;
};

// The far corner of the children, starting from the visiting window's own size.
class GetLargest : public TWindowSpider {
 public:
  GetLargest(int width, int height) : maxRight(width), maxBottom(height) {}
  bool Visit(TWindow* window) override;
  int maxRight;
  int maxBottom;
};

// The first shown button marked "default" (or "cancel"), depth first.
class FindDefault : public TWindowSpider {
 public:
  explicit FindDefault(bool cancel = false) : mCancel(cancel) {}
  bool Visit(TWindow* window) override;
  TWindow* result = nullptr;

 private:
  bool mCancel;
};

class TWindowClearFlags : public TWindowSpider {
 public:
  TWindowClearFlags(uint32_t mask, bool recursive) : mMask(mask), mRecursive(recursive) {}
  bool Visit(TWindow* window) override;

 private:
  uint32_t mMask;
  bool mRecursive;
};

// Tells every descendant (children first) that its modal window is being popped.
class TModalPoppedSpider : public TWindowSpider {
 public:
  bool Visit(TWindow* window) override;
};
