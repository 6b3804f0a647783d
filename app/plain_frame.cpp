#include "app/plain_frame.h"

#include "frame/application.h"
#include "frame/log.h"
#include "gfx/render_device.h"
#include "gfx/renderer.h"

void TPlainFrame::HandleEvent(const TEvent& event) {
  switch (event.kind) {
    case kEventIdle:
    case kEventNone:
      break;
    case kEventMove:
    case kEventHover:
      break;
    case kEventRepaint:
    case kEventDisplayReset:
      mRedraw = true;
      break;
    default:
      Log("Event kind=%d param=%d x=%d y=%d modifiers=%d", event.kind, event.param, event.x,
          event.y, event.modifiers);
      break;
  }
  Draw();
}

void TPlainFrame::Draw() {
  const uint32_t now = mApp.GetTime();
  const bool foreground = mApp.IsForeground() || mApp.Data().embedded;
  const uint32_t pace = foreground ? kForegroundFrameMs : kBackgroundFrameMs;
  if (mDrawnOnce && now - mLastFrame < pace && !mRedraw) return;
  if (mDrawnOnce && now - mLastFrame < kForegroundFrameMs) return;
  mDrawnOnce = true;
  mRedraw = false;
  mLastFrame = now;
  ++mFrames;
  // A calm table green until the screens draw themselves.
  TRenderLink* link = mApp.GetRenderer();
  TRenderer* renderer = link ? link->Renderer() : nullptr;
  if (renderer && renderer->Device()) {
    mApp.GetTaskList().Run(1);
    if (renderer->BeginDraw(false)) {
      renderer->Device()->ClearColor(0xFF184830);
      renderer->EndDraw(true);
    }
  } else {
    mApp.Platform().PresentPlainFrame(24, 72, 48);
  }
  mApp.OnFrameDrawn();
}
