#include "ui/text.h"

#include <cmath>
#include <memory>

#include "data/string_table.h"
#include "frame/log.h"
#include "gfx/renderer.h"
#include "gfx/text_layout.h"
#include "script/lua/lua_api.h"
#include "script/lua_table.h"
#include "ui/modal_window.h"
#include "ui/text_origin.h"
#include "ui/window_manager.h"
#include "ui/window_paint.h"
#include "ui/window_script.h"
#include "ui/window_style.h"

namespace {

constexpr const char* kDefaultFontName = "__DEFAULT";
constexpr float kDefaultFontSize = 16;
// Green, so that a text without a colour of its own stands out while a dialog is made.
constexpr float kDefaultColour[4] = {0, 1, 0, 1};

struct TFontChoice {
  std::string name = kDefaultFontName;
  float size = kDefaultFontSize;
  uint32_t colour =
      PackArgb(kDefaultColour[0], kDefaultColour[1], kDefaultColour[2], kDefaultColour[3]);
};

// The description's "font" table: {name, size, colour {r, g, b, a}}.
TFontChoice ReadFont(const TWindowStyle& style) {
  TFontChoice font;
  std::unique_ptr<TLuaTable> table(style.GetTable("font"));
  if (!table) return font;
  font.name = table->GetString(1, kDefaultFontName);
  const double size = table->GetNumber(2, kDefaultFontSize);
  font.size = std::isfinite(size) ? static_cast<float>(size) : kDefaultFontSize;
  if (font.size == 0) font.size = 12;
  if (table->GetValue(3) && lua_istable(table->State(), -1)) {
    TLuaTable colour(table->State());  // takes the pushed table
    float c[4];
    for (int i = 0; i < 4; ++i)
      c[i] = static_cast<float>(colour.GetNumber(i + 1, kDefaultColour[i]));
    font.colour = PackArgb(c[0], c[1], c[2], c[3]);
  } else {
    lua_pop(table->State(), 1);
  }
  return font;
}

bool LocalizingLabels() {
  TWindowManager* manager = TWindowManager::Get();
  auto* script = manager ? dynamic_cast<TWindowScript*>(manager->Script()) : nullptr;
  return script && script->LocalizeLabels();
}

}  // namespace

std::string LocalizeLabel(const std::string& label, bool localize) {
  if (!localize || label.empty()) return label;
  if (label[0] == '#') return label.substr(1);
  if (label.find_first_not_of("0123456789.") == std::string::npos) return label;
  return GetString(label, "", "", "", "", "");
}

TText::TText(bool layer) {
  if (layer) SetClassFlags(kWindowLayer);
}

TText::~TText() = default;

TWindow* TText::Create() {
  return new TText(false);
}

void TText::Init(const TWindowStyle& style) {
  const TFontChoice font = ReadFont(style);
  const std::string name = style.GetString("name", "");
  const std::string label = LocalizeLabel(style.GetString("label", ""), LocalizingLabels());
  const int defflags = style.GetInt("defflags", 0);
  const unsigned flags = static_cast<unsigned>(style.GetInt("flags", defflags));
  const int padding = style.GetInt("padding", 0);
  double rotation = style.GetNumber("rotation", 0);
  if (!std::isfinite(rotation)) rotation = 0;
  const int originX = style.GetInt("rotationOriginX", 0);
  const int originY = style.GetInt("rotationOriginY", 0);
  const int rotationAlign = style.GetInt("rotationAlign", 0);

  TWindow::Init(style);
  if (Width() == 0 || Height() == 0) {
    Log("ERROR: Attempting to create text window of size(0,0): named '%s', label '%s'",
        name.c_str(), label.c_str());
    return;
  }
  mPadding = padding;
  if (!CreateLayout(label, Width(), Height(), flags, font.name, font.size, font.colour)) return;
  if (rotation != 0) {
    const int x = ResolveTextOrigin(originX, Width(), rotationAlign & 1, rotationAlign & 2);
    const int y = ResolveTextOrigin(originY, Height(), rotationAlign & 4, rotationAlign & 8);
    SetRotation(static_cast<float>(rotation), static_cast<float>(x), static_cast<float>(y));
  }
}

bool TText::CreateLayout(const std::string& text, int width, int height, unsigned layoutFlags,
                         const std::string& fontName, float fontSize, uint32_t colour) {
  // A negative box is as unusable as an empty one.
  if (width <= 0 || height <= 0) return false;
  mLayout = std::make_unique<TTextLayout>(fontName, fontSize, colour, layoutFlags,
                                          static_cast<float>(width), static_cast<float>(height));
  mLayout->SetPadding(static_cast<float>(mPadding));
  mLayout->SetWholeLines(!mScrolls);
  SetSize(width, height);
  SetText(text);
  return true;
}

void TText::SetText(const std::string& text) {
  if (!mLayout || text == mLayout->GetText()) return;
  if (!mLayout->GetText().empty()) Invalidate();
  mLayout->SetText(text);
}

void TText::SetScale(float scale) {
  if (scale == mScale) return;
  mScale = scale;
  Invalidate();
}

std::string TText::GetText() const {
  return mLayout ? mLayout->GetText() : std::string();
}

void TText::SetRotation(float degrees, float originX, float originY) {
  if (!mLayout) return;
  mLayout->SetRotation(degrees, originX, originY);
  Invalidate();
}

void TText::SetPadding(int padding) {
  mPadding = padding;
  if (mLayout) mLayout->SetPadding(static_cast<float>(padding));
}

void TText::Draw() {
  if (!mLayout) return;
  TScoped2d batch;
  if (TRenderer* renderer = batch.Renderer()) mLayout->Draw(*renderer, 0, 0, mScale, mOpacity);
}

int TText::MaxScroll() const {
  if (!mLayout) return 0;
  const auto& lines = mLayout->Lines();
  float sum = 0;
  for (size_t i = lines.size(); i-- > 0;) {
    // The same advance the layout places its lines with (a "br pad" included).
    sum += (lines[i].height + lines[i].padAfter + static_cast<float>(mPadding)) * mScale;
    if (sum > static_cast<float>(Height())) return static_cast<int>(i) + 1;
  }
  return 0;
}

void TText::SetScroll(float fraction, int /*ignored*/) {
  if (!mLayout) return;
  if (!(fraction >= 0)) fraction = 0;  // NaN too
  if (fraction > 1) fraction = 1;
  if (!mScrolls) {
    mScrolls = true;
    mLayout->SetWholeLines(false);
    Invalidate();
  }
  const float position = (mScrollBias + static_cast<float>(MaxScroll())) * fraction;
  // Unchanged positions would only redraw the same picture.
  if (position == mLayout->Scroll()) return;
  mLayout->SetScroll(position);
  Invalidate();
}

bool TText::OnMouseDown(TPoint2 point) {
  if (!mLayout) return false;
  mPendingCommand = mLayout->LinkAt(static_cast<float>(point.x), static_cast<float>(point.y));
  return !mPendingCommand.empty();
}

bool TText::OnMouseMove(TPoint2 point) {
  if (!mLayout) return false;
  const std::string link =
      mLayout->LinkAt(static_cast<float>(point.x), static_cast<float>(point.y));
  if (!mLayout->SetHoverLink(link)) return false;
  Invalidate();
  // Capturing the pointer makes the manager tell this window when it leaves.
  if (TWindowManager* manager = TWindowManager::Get()) manager->AddCapture(this);
  return true;
}

bool TText::OnMouseLeave() {
  if (mLayout) mLayout->SetHoverLink("");
  Invalidate();
  if (TWindowManager* manager = TWindowManager::Get()) manager->RemoveCapture(this);
  return true;
}

bool TText::OnMouseUp(TPoint2 point) {
  if (mPendingCommand.empty()) return false;
  const std::string command = std::move(mPendingCommand);
  mPendingCommand.clear();
  if (!mLayout ||
      mLayout->LinkAt(static_cast<float>(point.x), static_cast<float>(point.y)) != command) {
    return true;
  }
  TWindow* root = GetModalAncestor();
  if (!root) {
    root = this;
    while (root->GetParent()) root = root->GetParent();
  }
  TWindow* target = root->FindChild(command, -1);
  if (!target) {
    Log("ERROR: Command window %s not found", command.c_str());
  } else if (auto* button = dynamic_cast<TButtonWindow*>(target)) {
    button->Press();
  } else {
    Log("ERROR: Command window %s not a derived class of TButton", command.c_str());
  }
  return true;
}
