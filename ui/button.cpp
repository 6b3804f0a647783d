#include "ui/button.h"

#include <cstdio>
#include <utility>

#include "frame/log.h"
#include "gfx/file_image_source.h"
#include "gfx/pixel_image.h"
#include "gfx/texture.h"
#include "gfx/texture_loader.h"
#include "script/lua_function.h"
#include "script/lua_table.h"
#include "ui/image.h"
#include "ui/message.h"
#include "ui/modal_window.h"
#include "ui/screen.h"
#include "ui/sound_player.h"
#include "ui/text.h"
#include "ui/window_manager.h"
#include "ui/window_style.h"

namespace {

// Whether the window still hangs below the screen window (not popped with its dialog).
bool AttachedBelowScreen(const TWindow* window) {
  TWindowManager* manager = TWindowManager::Get();
  if (!manager || !window) return false;
  while (window->GetParent()) window = window->GetParent();
  return window == static_cast<const TWindow*>(manager->Screen());
}

void Post(std::unique_ptr<TMessage> message) {
  if (TWindowManager* manager = TWindowManager::Get()) manager->PostMessage(std::move(message));
}

}  // namespace

TButton::TButton() : TLayeredWindow(4) {}

TButton::~TButton() {
  // Releases a capture; the children (pictures, label) go with the base class.
  OnMouseLeave();
}

TWindow* TButton::Create() {
  return new TButton;
}

bool TButton::OnAttach() {
  SetState(kNormal);
  return true;
}

void TButton::Init(const TWindowStyle& style) {
  TWindow::Init(style);
  const std::string sound = style.GetString("sound", "");
  const std::string rollover = style.GetString("rolloversound", "");
  const std::string mask = style.GetString("mask", "");
  SetKind(style.GetInt("type", kPush));
  const float scale = static_cast<float>(style.GetNumber("scale", 1.0));
  unsigned bits = 0;
  if (style.GetBool("sendToParent", false)) bits |= kOptionSendToParent;
  if (style.GetBool("beginGroup", false)) bits |= kOptionBeginGroup;
  if (style.GetBool("close", false)) bits |= kOptionClose;
  if (style.GetBool("default", false)) bits |= kOptionDefault;
  if (style.GetBool("cancel", false)) bits |= kOptionCancel;
  // The options first: a radio button that begins a group and starts switched on must see
  // its own group start, or it would clear the group before it.
  SetOptions(bits);
  if (style.GetBool("on", false)) SetToggle(true);
  if (!sound.empty()) SetSound(1, sound);
  if (!rollover.empty()) SetSound(2, rollover);
  if (!mask.empty()) {
    TPixelImage picture;
    TImageSource& source = *TFileImageSource::Shared();
    if (DecodeImageFile(source, ResolveImageName(source, mask), &picture))
      SetHitMask(picture);
    else
      Log("Button %s: hit mask %s could not be loaded", GetName().c_str(), mask.c_str());
  }

  if (std::unique_ptr<TLuaTable> graphics{style.GetTable("graphics")}) {
    const int count = mKind == kPush ? 3 : 4;
    const unsigned drawFlags =
        (style.GetBool("hflip", false) ? 0x1u : 0u) | (style.GetBool("vflip", false) ? 0x2u : 0u);
    const bool rotate = style.GetBool("rotate", false);
    TImage* picture = nullptr;
    for (int i = 0; i < count; ++i) {
      const std::string file = graphics->GetString(i + 1, "");
      if (!file.empty()) {
        picture = new TImage(true);
        picture->SetTexture(GetTexture(file, 0), scale);
        char name[24];
        std::snprintf(name, sizeof name, "image%d", i);
        picture->SetName(name);
        picture->SetDrawFlags(drawFlags);
        picture->SetRotated(rotate);
      }
      SelectLayer(i);
      // An empty entry puts the previous picture into this layer as well.
      if (picture && !AddChild(picture, true) && !picture->GetParent()) {
        delete picture;
        picture = nullptr;
      }
    }
    FitToChildren();
  }

  if (std::unique_ptr<TLuaFunction> command{style.GetFunction("command")})
    SetAction(MakeLuaAction(std::move(command)));
  // Children made later by the description (the label) join every layer; layer 0 shows.
  SelectLayer(kAllLayers);
}

void TButton::PostCreate(const TWindowStyle& style) {
  TWindow::PostCreate(style);
  SetState(kNormal);
}

void TButton::SetKind(int kind) {
  mKind = kind & 0xF;
  Invalidate();
}

void TButton::SetToggle(bool on) {
  if (on && mKind == kRadio && GetParent()) ClearRestOfGroup();
  mOn = on;
  SetState(mState);
}

void TButton::SetOptions(unsigned bits) {
  if (bits & kOptionBeginGroup) SetClassFlags(kBeginGroupFlag);
  if (bits & kOptionSendToParent) mSendToParent = true;
  if (bits & kOptionClose) mClose = true;
  if (bits & kOptionDefault) mDefault = true;
  if (bits & kOptionCancel) mCancel = true;
}

void TButton::SetAction(std::unique_ptr<Action> action) {
  mAction = std::move(action);
}

void TButton::SetScriptAction(std::unique_ptr<TLuaFunction> function) {
  SetAction(MakeLuaAction(std::move(function)));
}

void TButton::SetSound(int index, const std::string& file) {
  if (index < 0 || index > 2) return;
  mSounds[index] = GetWidgetSound(file);
}

void TButton::SetHitMask(const TPixelImage& mask) {
  mHitMask = mask.pixels;
  mMaskWidth = mask.width;
  mMaskHeight = mask.height;
  // A buffer that does not match its size is no mask at all.
  if (static_cast<size_t>(mMaskWidth) * static_cast<size_t>(mMaskHeight) != mHitMask.size() ||
      mMaskWidth <= 0 || mMaskHeight <= 0)
    ClearHitMask();
}

void TButton::ClearHitMask() {
  mHitMask.clear();
  mMaskWidth = mMaskHeight = 0;
}

void TButton::SetState(int state) {
  const int previous = mState;
  mState = state & 0x7;
  OnStateChange(mState, previous);
}

void TButton::OnStateChange(int newState, int oldState) {
  // Entering mouse-over plays the roll-over sound; the click sound is played on release.
  if (newState != oldState && newState != kPressed && newState >= 0 && newState < 3 &&
      mSounds[newState] && (GetFlags() & kWindowVisible))
    mSounds[newState]->Play();
  if (mKind == kPush) {
    SelectLayer(newState);
    return;
  }
  switch (newState) {
    case kNormal:
      SelectLayer(mOn ? 1 : 0);
      break;
    case kPressed:
      SelectLayer(mOn ? 0 : 1);
      break;
    case kMouseOver:
      SelectLayer(mOn ? 3 : 2);
      break;
    default:
      break;
  }
}

bool TButton::Outside(TPoint2 p) {
  if (p.x < 0 || p.y < 0 || p.x >= Width() || p.y >= Height()) {
    OnMouseLeave();
    return true;
  }
  if (mHitMask.empty()) return false;
  const int mx = static_cast<int>(static_cast<int64_t>(p.x) * mMaskWidth / Width());
  const int my = static_cast<int>(static_cast<int64_t>(p.y) * mMaskHeight / Height());
  bool miss = mx < 0 || my < 0 || mx >= mMaskWidth || my >= mMaskHeight;
  if (!miss) {
    const uint32_t pixel = mHitMask[static_cast<size_t>(my) * mMaskWidth + mx];
    miss = ((pixel >> 16) & 0xFF) <= 19 && ((pixel >> 8) & 0xFF) <= 19 && (pixel & 0xFF) <= 19;
  }
  if (miss) OnMouseLeave();
  return miss;
}

bool TButton::OnMouseMove(TPoint2 point) {
  if (Outside(point)) return false;
  if (mState == kNormal) {
    SetState(kMouseOver);
    if (TWindowManager* manager = TWindowManager::Get()) manager->AddCapture(this);
  }
  return true;
}

bool TButton::OnMouseDown(TPoint2 point) {
  if (mState == kNormal) {
    if (TWindowManager* manager = TWindowManager::Get()) manager->AddCapture(this);
  }
  SetState(kPressed);
  // A press on a masked-out pixel leaves at once.
  Outside(point);
  return true;
}

bool TButton::OnMouseLeave() {
  // The capture goes whatever the state says, so no capture outlives the button's interest.
  if (TWindowManager* manager = TWindowManager::Get()) manager->RemoveCapture(this);
  if (mState != kNormal) SetState(kNormal);
  return true;
}

bool TButton::OnMouseUp(TPoint2 point) {
  if (mState == kNormal || Outside(point)) return true;
  if (mState == kPressed && Click()) {
    OnMouseLeave();
    return true;
  }
  TWindowManager* manager = TWindowManager::Get();
  const bool sameTop = manager && GetModalAncestor() && manager->TopModal() == GetModalAncestor();
  if (IsShown() && sameTop)
    SetState(kMouseOver);
  else
    OnMouseLeave();
  return true;
}

bool TButton::Click() {
  if (mDisarmed) return false;
  if (mSounds[1] && IsShown()) mSounds[1]->Play();
  if (Press()) return true;
  if (mKind == kRadio)
    SetToggle(true);
  else if (mKind == kToggle)
    mOn = !mOn;
  return false;
}

void TButton::Disarm() {
  mDisarmed = true;
  mAction.reset();
  mClose = false;
}

bool TButton::Press() {
  if (mDisarmed) return false;
  TWindowManager* manager = TWindowManager::Get();
  if (mClose) {
    if (TModalWindow* modal = GetModalAncestor())
      Post(std::make_unique<TMessage>(kCloseWindow, modal->IdText()));
    SetScriptReturnValue(GetName());
  }
  TWindow* target = GetParent();
  if (mSendToParent) {
    TModalWindow* top = manager ? manager->TopModal() : nullptr;
    target = top ? top->GetParent() : nullptr;
  }
  auto message = std::make_unique<TMessage>(kButtonPress, GetName(), target);
  if (!mAction) {
    Post(std::move(message));
    return false;
  }
  mAction->Run(*this);
  // The action may have popped the target's dialog: a target on its way to deletion must not
  // be reached through this message.
  if (message->target && !AttachedBelowScreen(message->target)) message->target = nullptr;
  if (AttachedBelowScreen(this)) {
    Post(std::move(message));
    return false;
  }
  if (mSendToParent) Post(std::move(message));
  return true;
}

void TButton::ClearRestOfGroup() {
  TWindow* parent = GetParent();
  // Creation order is the child list read from its back.
  std::vector<TWindow*> order(parent->Children().rbegin(), parent->Children().rend());
  TWindow* start = nullptr;
  for (TWindow* window : order) {
    if (window->GetFlags() & kBeginGroupFlag) start = window;
    if (window == this) break;
  }
  if (!start) return;
  bool inGroup = false;
  for (TWindow* window : order) {
    if (window == start) {
      inGroup = true;
    } else if (inGroup && (window->GetFlags() & kBeginGroupFlag)) {
      break;
    }
    if (!inGroup || window == this || !window->IsKindOf(&TButton::Create)) continue;
    static_cast<TButton*>(window)->SetToggle(false);
  }
}

std::string TButton::GetLabel(TWindow& window) {
  for (TWindow* child : window.Children()) {
    if (auto* label = dynamic_cast<TText*>(child->FindChild("label", -1))) return label->GetText();
  }
  return "";
}

void TButton::SetLabel(TWindow& window, const std::string& text) {
  for (TWindow* child : window.Children()) {
    if (auto* label = dynamic_cast<TText*>(child->FindChild("label", -1))) {
      label->SetText(text);
      return;
    }
  }
}

std::string TButton::GetLabelText() const {
  return GetLabel(const_cast<TButton&>(*this));
}

void TButton::SetLabelText(const std::string& text) {
  SetLabel(*this, text);
}
