// The event pump: GetEvent turns the application's flags and one platform message at a
// time into TEvent records, by the fixed order of checks below and the message table of
// TranslateMessage; WindowProc is the window's own handling of the same messages.
#include "frame/application.h"
#include "frame/log.h"
#include "frame/virtual_keys.h"

bool TApplication::GetEvent(TEvent& event) {
  TApplicationData& d = *mData;
  event = TEvent{};

  // A host page that went away ends the game in the portal and container modes.
  if ((d.zylomMode || d.containerMode) && d.mExternalWindowParent &&
      !mPlatform.IsWindow(d.mExternalWindowParent)) {
    event.kind = kEventQuit;
    return true;
  }
  if (d.hostLink) {
    d.hostLink->SendSessionReady();
    if (WaitWhileHostPaused(event)) return true;
  }
  if (d.activeChanged) {
    d.activeChanged = false;
    if (!d.active && d.renderer) d.renderer->OnInactive();
    event.kind = kEventFocus;
    event.param = d.active ? 1 : 0;
    return true;
  }
  if (d.renderer && !d.renderer->IsDisplayValid()) {
    // A lost display must not keep a quit waiting behind its restore.
    if (mPlatform.TakePostedQuit()) {
      event.kind = kEventQuit;
      return true;
    }
    if (!d.minimized && d.active && !d.activeChanged) {
      d.renderer->RestoreDisplay();
      event.kind = kEventNone;
      return true;
    }
  }
  if (d.redrawRequested) {
    d.redrawRequested = false;
    event.kind = kEventDisplayReset;
    return true;
  }
  if (d.repaintPending) {
    d.repaintPending = false;
    if (d.renderer && !d.renderer->IsDisplayValid() && !d.minimized) {
      d.renderer->RestoreDisplay();
    }
    event.kind = kEventRepaint;
    return true;
  }
  if (d.appActiveChanged) {
    d.appActiveChanged = false;
    event.kind = kEventFocus;
    event.param = d.appActive ? 1 : 0;
    return true;
  }
  if (d.closeRequested) {
    d.closeRequested = false;
    event.kind = kEventClose;
    return true;
  }
  if (d.leavePending) {
    d.leavePending = false;
    event.kind = kEventLeave;
    event.x = d.lastPointer.x;
    event.y = d.lastPointer.y;
    return true;
  }

  RunDrivers();

  TPlatformMessage message;
  if (mPlatform.PollMessage(message)) {
    if (TranslateMessage(message, event)) WindowProc(message);
    return true;
  }

  if (mPlatform.IsFullscreenMode() && d.active && !d.activeChanged) KeepOnTop();
  if (d.soundManager) d.soundManager->Update();
  mTasks.Run(0);
  event.kind = kEventIdle;
  mPlatform.WaitMessage(1);
  return true;
}

// While the page keeps the game paused nothing runs and nothing is drawn: platform messages
// are still dispatched, so the page's command to go on can arrive. True with a quit event
// when a quit message ended the wait.
bool TApplication::WaitWhileHostPaused(TEvent& event) {
  THostLinkPort& link = *mData->hostLink;
  const TWindowHandle host = mData->mExternalWindowParent;
  uint32_t lastHostCheck = DriverTime();
  while (link.IsHostPaused()) {
    RunDrivers();
    // A page that went away while it kept the game paused can never let it go on.
    if (host && DriverTime() - lastHostCheck >= kHostCheckMs) {
      lastHostCheck = DriverTime();
      if (!mPlatform.IsWindow(host)) {
        Log("The host window is gone while it kept the game paused");
        event.kind = kEventQuit;
        return true;
      }
    }
    TPlatformMessage message;
    if (!mPlatform.PollMessage(message)) {
      mPlatform.SleepMs(1);
      continue;
    }
    if (message.type == kMsgQuit) {
      event.kind = kEventQuit;
      return true;
    }
    TEvent ignored;
    if (TranslateMessage(message, ignored)) WindowProc(message);
  }
  return false;
}

void TApplication::RunDrivers() {
  RunInputScript();
  if (mExitAfterMs >= 0 && !mExitPosted && DriverTime() >= static_cast<uint32_t>(mExitAfterMs)) {
    mExitPosted = true;
    Log("Exit time of %ld ms reached, posting quit", mExitAfterMs);
    PostQuit();
  }
}

void TApplication::RunInputScript() {
  TInputStep step;
  // A frame mark holds back the steps after it until the marked frame has been written, so
  // a slow start or a busy machine cannot let later input overtake the picture it marks.
  while (!mFrameMarkPending && mInputScript.NextDue(DriverTime(), step)) {
    switch (step.action) {
      case TInputStep::kQuit:
        PostQuit();
        break;
      case TInputStep::kFrame:
        if (!WritesFrames()) break;
        mFrameMarkPending = true;
        if (mData->windowManager) mData->windowManager->RequestRedraw();
        break;
      case TInputStep::kMessage:
        mPlatform.InjectMessage(step.message);
        break;
    }
  }
}

bool TApplication::ClickGuardDrops(bool isUp) {
  TApplicationData& d = *mData;
  bool drop = false;
  if (d.focusClickGuard) {
    const bool suspended = d.windowManager && d.windowManager->IsSuspended();
    if (!suspended && GetTime() - d.focusClickTime < kClickGuardMs) drop = true;
    if (isUp) d.focusClickGuard = false;
  }
  if (d.windowManager && d.windowManager->BlocksMouseInput()) drop = true;
  return drop;
}

void TApplication::ToggleFullscreenEvent(TEvent& event) {
  TApplicationData& d = *mData;
  if (d.embedded && !d.containerMode) {
    event.kind = kEventNone;  // the page decides how the game is shown
    return;
  }
  if (d.containerMode) {
    d.fullscreenRequested = !d.fullscreenRequested;
    mPlatform.PostToWindow(d.mExternalWindowParent, 0, d.fullscreenRequested ? 1 : 0, 0);
  } else {
    SetFullscreen(!mPlatform.IsFullscreenMode());
  }
  event.kind = kEventFullscreen;
  event.param = IsFullscreen() ? 1 : 0;
}

bool TApplication::TranslateMessage(const TPlatformMessage& m, TEvent& event) {
  TApplicationData& d = *mData;
  event = TEvent{};
  event.kind = kEventNone;
  const int buttonMods = m.keyState & (kModShift | kModCtrl);
  switch (m.type) {
    case kMsgQuit:
      event.kind = kEventQuit;
      return false;
    case kMsgPaint:
      d.hoverTracking = false;
      event.kind = kEventRepaint;
      return true;
    case kMsgSysKeyDown:
      if (m.alt) {
        if (m.key == VK_RETURN) {
          ToggleFullscreenEvent(event);
        } else if (m.key == VK_F1) {
          if (d.renderer) d.renderer->ToggleOverlay();
        } else {
          event.kind = kEventKeyDown;
          event.param = m.key;
          event.modifiers = kModAlt | buttonMods | (m.extended ? kModExtended : 0);
        }
        return true;
      }
      [[fallthrough]];
    case kMsgKeyDown:
      // Insert only counts with Shift alone (Shift+Insert pastes); Ctrl+Insert and a bare
      // Insert are not passed on.
      if (m.key == VK_INSERT && buttonMods != kModShift) return true;
      event.kind = kEventKeyDown;
      event.param = m.key;
      event.modifiers = buttonMods | (m.extended ? kModExtended : 0);
      // The control keys that type a character follow their key-down with it, as the
      // platform's text input gives printable characters only: Backspace 8, Tab 9, Enter 13
      // and Escape 27 (text edits and the Enter of dialogs read characters).
      if (!(m.keyState & kModCtrl) &&
          (m.key == VK_BACK || m.key == VK_TAB || m.key == VK_RETURN || m.key == VK_ESCAPE)) {
        TPlatformMessage character;
        character.type = kMsgChar;
        character.key = m.key;
        mPlatform.InjectMessage(character);
      }
      return true;
    case kMsgKeyUp:
      event.kind = kEventKeyUp;
      event.param = m.key;
      return true;
    case kMsgChar:
      event.kind = kEventChar;
      event.param = m.key;
      return true;
    case kMsgMouseMove:
      if (d.mouseMode == 1) {
        if (m.x != d.lastMouse.x || m.y != d.lastMouse.y) {
          event.kind = kEventMove;
          event.x = m.x - d.lastMouse.x;
          event.y = m.y - d.lastMouse.y;
          d.lastMouse = d.mouseAnchor;
          mPlatform.WarpPointer(d.mouseAnchor.x, d.mouseAnchor.y);
        }
      } else {
        event.kind = kEventMove;
        event.x = m.x;
        event.y = m.y;
        d.lastPointer = {m.x, m.y};
      }
      if (!d.hoverTracking) StartHoverTracking();
      d.leaveTracking = true;
      return true;
    case kMsgButtonDown: {
      if (ClickGuardDrops(false)) return true;
      int kind = kEventMouse, param = 0;
      switch (m.button) {
        case kButtonLeft:
          kind = kEventLeftDown;
          break;
        case kButtonRight:
          param = kMouseRightDown;
          break;
        case kButtonMiddle:
          param = kMouseMiddleDown;
          break;
        case kButtonX1:
          param = kMouseExtra1Down;
          break;
        case kButtonX2:
          param = kMouseExtra2Down;
          break;
        default:
          return true;
      }
      if (d.embedded) mPlatform.TakeKeyboardFocus();
      mPlatform.CaptureMouse(true);
      event.kind = kind;
      event.param = param;
      event.x = m.x;
      event.y = m.y;
      event.modifiers = buttonMods;
      // Embedded, right-button messages stay with the game: the page's own context menu
      // must not see them.
      return !(d.embedded && m.button == kButtonRight);
    }
    case kMsgButtonUp: {
      if (m.button != kButtonLeft && m.button != kButtonRight && m.button != kButtonMiddle) {
        return true;  // extra-button releases make no event
      }
      if (ClickGuardDrops(true)) return true;
      mPlatform.CaptureMouse(false);
      event.kind = m.button == kButtonLeft ? kEventLeftUp : kEventMouse;
      event.param = m.button == kButtonRight    ? kMouseRightUp
                    : m.button == kButtonMiddle ? kMouseMiddleUp
                                                : 0;
      event.x = m.x;
      event.y = m.y;
      return !(d.embedded && m.button == kButtonRight);
    }
    case kMsgWheel:
      if (ClickGuardDrops(false)) return true;
      event.kind = kEventMouse;
      event.param = m.wheel > 0 ? kMouseWheelForward : kMouseWheelBackward;
      event.x = m.x;
      event.y = m.y;
      event.modifiers = buttonMods;
      return true;
    case kMsgMouseHover:
      StartHoverTracking();
      event.kind = kEventHover;
      event.x = m.x;
      event.y = m.y;
      return true;
    case kMsgCaptureChanged:
      event.kind = m.toOwnWindow ? kEventNone : kEventLeave;
      return true;
    default:
      return true;
  }
}

void TApplication::WindowProc(const TPlatformMessage& m) {
  TApplicationData& d = *mData;
  switch (m.type) {
    case kMsgClose:
      d.closeRequested = true;  // the game decides whether to quit
      break;
    case kMsgActivateApp:
      SetAppActive(m.wparam == 1);
      break;
    case kMsgSize:
      if (m.wparam == 1) {
        SetActive(false);
        d.minimized = true;
        d.hiddenWhileMinimized = true;
        SetAppActive(false);
      } else {
        SetActive(true);
        d.minimized = false;
        if (d.hiddenWhileMinimized) {
          d.hiddenWhileMinimized = false;
          SetAppActive(true);
        }
      }
      break;
    case kMsgPaint:
      if (d.windowManager) d.windowManager->RequestRedraw();
      d.repaintPending = true;
      break;
    case kMsgMouseActivate:
      if (!d.embedded) {
        d.focusClickGuard = true;
        d.focusClickTime = GetTime();
      }
      break;
    case kMsgMouseLeave:
      if (d.mouseMode == 1) {
        // Relative mode keeps the pointer inside: put it back where the motion started.
        mPlatform.WarpPointer(d.mouseAnchor.x, d.mouseAnchor.y);
        d.lastMouse = d.mouseAnchor;
      } else {
        d.leavePending = true;
      }
      d.hoverTracking = false;
      d.leaveTracking = false;
      break;
    case kMsgRaise:
      Log("Another start of the program asked this one to come forward");
      mPlatform.RaiseWindow();
      break;
    case kMsgUser:
      if (d.hostLink) {
        d.hostLink->HandleHostCommand(m.wparam);
      } else {
        Log("Host message %ld, %ld without a host link", m.wparam, m.lparam);
      }
      break;
    case kMsgUserForward:
      if (d.mExternalWindowParent) {
        mPlatform.PostToWindow(d.mExternalWindowParent, 2, m.wparam, m.lparam);
      }
      break;
    default:
      break;
  }
}
