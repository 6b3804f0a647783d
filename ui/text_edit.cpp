#include "ui/text_edit.h"

#include <algorithm>
#include <iterator>

#include "frame/event.h"
#include "frame/log.h"
#include "gfx/renderer.h"
#include "gfx/text_layout.h"
#include "script/lua/lua_api.h"
#include "script/lua_table.h"
#include "ui/message.h"
#include "ui/modal_window.h"
#include "ui/window_host.h"
#include "ui/window_manager.h"
#include "ui/window_paint.h"
#include "ui/window_script.h"
#include "ui/window_spiders.h"
#include "ui/window_style.h"

namespace {

constexpr int kKeyLeft = 37;
constexpr int kKeyRight = 39;
constexpr int kKeyInsert = 45;
constexpr int kKeyDelete = 46;
constexpr int kKeyV = 86;
constexpr int kKeyZ = 90;
constexpr int kBlinkPeriod = 800;
constexpr int kBlinkHidden = 401;

// Finds the first other text edit of a modal window's tree, depth first, front to back.
class TextSpider : public TWindowSpider {
 public:
  explicit TextSpider(TTextEdit* joining) : mJoining(joining) {}
  bool Visit(TWindow* window) override {
    if (found) return false;
    if (window != mJoining && window->IsKindOf(&TTextEdit::Create)) {
      found = static_cast<TTextEdit*>(window);
      return false;
    }
    window->ForEachChild(*this);
    return !found;
  }
  TTextEdit* found = nullptr;

 private:
  TTextEdit* mJoining;
};

// The layout reads "<" as markup and "\" as an escape: both are shown as typed.
void AppendLiteral(std::string& out, char c) {
  if (c == '<' || c == '\\') out += '\\';
  out += c;
}

}  // namespace

TTextEdit::TTextEdit() : TText(false) {
  SetClassFlags(kWindowFocusable);
  mClock.Stop();
  mClock.Start();
}

TTextEdit::~TTextEdit() {
  if (mGroup) mGroup->erase(std::remove(mGroup->begin(), mGroup->end(), this), mGroup->end());
}

TWindow* TTextEdit::Create() {
  return new TTextEdit;
}

void TTextEdit::Init(const TWindowStyle& style) {
  JoinGroup();
  const bool password = style.GetBool("password", false);
  const int length = style.GetInt("length", 10);
  const std::string ignore = style.GetString("ignore", "");
  mFrame = style.GetBool("frame", true);
  // An entry's content is never looked up in the string table: the text window reads the
  // label with localisation switched off for the moment.
  TWindowManager* manager = TWindowManager::Get();
  auto* script = manager ? dynamic_cast<TWindowScript*>(manager->Script()) : nullptr;
  const bool localize = script && script->LocalizeLabels();
  if (script) script->SetLocalizeLabels(false);
  if (password) SetPassword(true);
  TText::Init(style);
  if (script) script->SetLocalizeLabels(localize);
  mMaxLength = length;
  SetIgnore(ignore);
}

void TTextEdit::Draw() {
  JoinGroup();
  if (mFrame) DrawField();
  TText::Draw();
}

void TTextEdit::DrawField() {
  const TTextLayout* layout = Layout();
  if (!layout) return;
  const uint32_t argb = layout->GetColor();
  const float text[4] = {((argb >> 16) & 0xff) / 255.0f, ((argb >> 8) & 0xff) / 255.0f,
                         (argb & 0xff) / 255.0f, 0.75f};
  // Light text sits in a darker well, dark text in a lighter one.
  const float lightness = 0.3f * text[0] + 0.59f * text[1] + 0.11f * text[2];
  const float dark[4] = {0, 0, 0, 0.35f};
  const float light[4] = {1, 1, 1, 0.45f};
  const int w = Width(), h = Height();
  FillScreenRect({0, 0, w, h}, lightness > 0.5f ? dark : light);
  FillScreenRect({0, 0, w, 1}, text);
  FillScreenRect({0, h - 1, w, h}, text);
  FillScreenRect({0, 1, 1, h - 1}, text);
  FillScreenRect({w - 1, 1, w, h - 1}, text);
}

bool TTextEdit::Animate() {
  UpdateDisplay();
  return true;
}

void TTextEdit::SetText(const std::string& text) {
  mText = text;
  mCursor = static_cast<int>(mText.size());
  UpdateDisplay();
}

void TTextEdit::SetPassword(bool on) {
  mPassword = on;
  UpdateDisplay();
}

void TTextEdit::JoinGroup() {
  if (mGroup) return;
  TModalWindow* modal = GetModalAncestor();
  if (!modal) return;
  StartAnimation(200, true, true, false);
  TextSpider spider(this);
  modal->ForEachChild(spider);
  if (spider.found && spider.found->mGroup) {
    mGroup = spider.found->mGroup;
  } else {
    mGroup = std::make_shared<std::vector<TTextEdit*>>();
    // An edit found before it joined (made by code and not drawn yet) joins with this one.
    if (spider.found && spider.found->GetModalAncestor() == modal) {
      spider.found->mGroup = mGroup;
      mGroup->push_back(spider.found);
      spider.found->StartAnimation(200, true, true, false);
    }
  }
  mGroup->push_back(this);
}

void TTextEdit::UpdateDisplay() {
  TWindowManager* manager = TWindowManager::Get();
  const bool focused = manager && manager->GetFocus() == this;
  const std::string shown = mPassword ? std::string(mText.size(), '*') : mText;
  bool withCursor = false;
  if (focused) {
    const int phase = ((mClock.GetTime() % kBlinkPeriod) + kBlinkPeriod) % kBlinkPeriod;
    withCursor = phase >= kBlinkHidden;
  }
  if (withCursor != mCursorShown) {
    mCursorShown = withCursor;
    Invalidate();
  }
  std::string display;
  display.reserve(shown.size() + 10);
  for (size_t i = 0; i <= shown.size(); ++i) {
    if (withCursor && static_cast<int>(i) == mCursor) display += "<cursor>";
    if (i < shown.size()) AppendLiteral(display, shown[i]);
  }
  // The text window asks for a redraw only when it had text before; the first character
  // typed into an empty edit must show as well.
  const bool changed = display != TText::GetText();
  TText::SetText(display);
  if (changed) Invalidate();
}

bool TTextEdit::Filter(int action, int character) {
  switch (action) {
    case kFilterInsert:
      if (static_cast<int>(mText.size()) >= mMaxLength) {
        Filter(kFilterRefused, character);
        return false;
      }
      return true;
    case kFilterMove:
    case kFilterPaste:
      return true;
    default:
      return false;
  }
}

void TTextEdit::PostChanged() {
  if (TWindowManager* manager = TWindowManager::Get())
    manager->PostMessage(std::make_unique<TMessage>(kTextChanged, GetName()));
}

bool TTextEdit::OnChar(int character) {
  if (character < 0 || character > 255) return false;
  bool handled = false;
  if (character == 8) {
    if (mCursor > 0) {
      if (!Filter(kFilterMove, character)) return false;
      mText.erase(static_cast<size_t>(mCursor) - 1, 1);
      --mCursor;
      UpdateDisplay();
      handled = true;
    } else {
      handled = Filter(kFilterRefused, character);
    }
  } else if (character == 9) {
    handled = Filter(kFilterTab, character);
    if (!handled && mGroup && !mGroup->empty()) {
      auto it = std::find(mGroup->begin(), mGroup->end(), this);
      TTextEdit* next = mGroup->front();
      if (it != mGroup->end() && std::next(it) != mGroup->end()) next = *std::next(it);
      if (TWindowManager* manager = TWindowManager::Get()) manager->SetFocus(next);
    }
  } else if (character == 13) {
    handled = Filter(kFilterEnter, character);
  } else if (character < 32 || (character >= 128 && !mPassword)) {
    return false;
  } else if (mIgnore.find(static_cast<char>(character)) != std::string::npos) {
    handled = true;
  } else {
    if (!Filter(kFilterInsert, character)) return false;
    mText.insert(static_cast<size_t>(mCursor), 1, static_cast<char>(character));
    ++mCursor;
    UpdateDisplay();
    handled = true;
  }
  if (handled) PostChanged();
  return handled;
}

bool TTextEdit::OnKeyDown(int key, int modifiers) {
  JoinGroup();
  const int length = static_cast<int>(mText.size());
  switch (key) {
    case kKeyLeft:
      if (mCursor > 0) {
        if (!Filter(kFilterMove, 0)) return false;
        --mCursor;
        UpdateDisplay();
      } else {
        Filter(kFilterRefused, 0);
      }
      return true;
    case kKeyRight:
      if (mCursor < length) {
        if (!Filter(kFilterMove, 0)) return false;
        ++mCursor;
        UpdateDisplay();
      } else {
        Filter(kFilterRefused, 0);
      }
      return true;
    case kKeyDelete:
      if (mCursor >= length) {
        Filter(kFilterRefused, 0);
      } else {
        mText.erase(static_cast<size_t>(mCursor), 1);
        UpdateDisplay();
        PostChanged();
      }
      return true;
    default:
      break;
  }
  if (key > kKeyZ) return false;
  const bool paste = (key == kKeyV && (modifiers & kModCtrl)) || key == kKeyInsert;
  if (!paste || !Filter(kFilterPaste, 0)) return false;
  TWindowManager* manager = TWindowManager::Get();
  std::string clip = manager && manager->Host() ? manager->Host()->GetClipboardText() : "";
  if (clip.empty()) return false;
  clip.resize(std::min(clip.size(), static_cast<size_t>(std::max(mMaxLength, 0))));
  std::string result;
  for (char c : clip) {
    const auto code = static_cast<unsigned char>(c);
    if (mIgnore.find(c) != std::string::npos || code < 32 || code > 127) continue;
    result += c;
  }
  SetText(result);
  PostChanged();
  return true;
}
