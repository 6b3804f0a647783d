#include "ui/engine_vocabulary.h"

#include "ui/button.h"
#include "ui/image.h"
#include "ui/layered_window.h"
#include "ui/layout.h"
#include "ui/message.h"
#include "ui/text.h"
#include "ui/text_edit.h"

namespace {

using C = TScriptConstant;

constexpr TWindowType kWindowTypes[] = {
    {"Bitmap", &TImage::Create},      {"Button", &TButton::Create}, {"Text", &TText::Create},
    {"TextEdit", &TTextEdit::Create}, {"Window", &TWindow::Create},
};

constexpr int kAlignLeft = 0;
constexpr int kAlignTop = 0;

constexpr TScriptConstant kConstants[] = {
    // The "align" key of descriptions.
    C::Number("kHAlignLeft", kAlignLeft),
    C::Number("kHAlignCenter", kAlignHCenter),
    C::Number("kHAlignRight", kAlignRight),
    C::Number("kVAlignTop", kAlignTop),
    C::Number("kVAlignCenter", kAlignVCenter),
    C::Number("kVAlignBottom", kAlignBottom),
    C::Number("kPushButtonAlignment", kAlignHCenter + kAlignVCenter),
    C::Number("kToggleButtonAlignment", kAlignHCenter + kAlignVCenter),
    C::Number("kRadioButtonAlignment", kAlignLeft + kAlignVCenter),
    // Button kinds (the "type" key of Button descriptions) and layers.
    C::Number("kPush", TButton::kPush),
    C::Number("kToggle", TButton::kToggle),
    C::Number("kRadio", TButton::kRadio),
    C::Number("kAllLayers", TLayeredWindow::kAllLayers),
    // Layout codes of positions and sizes.
    C::Number("kCenter", kLayoutCenter),
    C::Number("kMax", kLayoutMax),
    C::Number("kDefault", 128),
    // Message types.
    C::Message("kCloseWindow", kCloseWindow),
    C::Message("kDefaultAction", kDefaultAction),
    C::Message("kButtonPress", kButtonPress),
    C::Message("kPressAnyKey", kPressAnyKey),
    C::Message("kQuitNow", kQuitNow),
    C::Message("kModalClosed", kModalClosed),
    C::Message("kTextChanged", kTextChanged),
    C::Message("kScriptCall", kScriptCall),
    C::Message("kSliderChanged", kSliderChanged),
    C::Message("kSliderReleased", kSliderReleased),
    C::Message("kSliderRailBefore", kSliderRailBefore),
    C::Message("kSliderRailAfter", kSliderRailAfter),
    // Setting names scripts read with GetConfig and IsEnabled.
    C::Text("kCheatMode", "cheatmode"),
    C::Text("kComputerId", "computerid"),
    C::Text("kInstallKey", "installkey"),
    C::Text("kGameName", "gamename"),
    C::Text("kGameVersion", "version"),
    C::Text("kEncryptionKey", "encryptionkey"),
    C::Text("kHiscoreLocalOnly", "hiscorelocal"),
    C::Text("kHiscoreAnonymous", "hiscoreanon"),
};

// Every engine message type has its script name: a type added to TMessageType without a
// line above fails the build here.
constexpr bool NamesEveryMessageType() {
  for (int type = 1; type <= kLastEngineMessageType; ++type) {
    bool named = false;
    for (const TScriptConstant& c : kConstants) {
      if (c.kind == TScriptConstant::kMessageType && c.number == type) named = true;
    }
    if (!named) return false;
  }
  return true;
}
static_assert(NamesEveryMessageType(), "an engine message type has no script constant");

const TDialogVocabulary kVocabulary{kWindowTypes, kConstants};

}  // namespace

const TDialogVocabulary& EngineVocabulary() {
  return kVocabulary;
}
