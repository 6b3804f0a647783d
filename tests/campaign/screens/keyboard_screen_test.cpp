// The keyboard on the campaign's screens: Tab and Shift+Tab in reading order over the shown
// buttons and sliders, Enter and Space press the focused button (a switch changes its
// state), arrows move a focused slider, Escape presses the dialog's way back, and a dialog
// with a text field types into it.
#include "campaign/screens/keyboard_screen.h"

#include "frame/event.h"
#include "tests/campaign/screens/screen_test.h"
#include "ui/button.h"
#include "ui/text_edit.h"

namespace {

// Placed out of reading order on purpose; "hidden" is not shown.
constexpr char kButtons[] =
    "RWindow{ name = 'keys', x = 0, y = 0, w = 400, h = 300, escapebutton = 'back',"
    "  Button{ name = 'second', x = 200, y = 10, w = 50, h = 20,"
    "          command = function() gLast = 'second' end },"
    "  Button{ name = 'first', x = 10, y = 12, w = 50, h = 20,"
    "          command = function() gLast = 'first' end },"
    "  Button{ name = 'hidden', x = 100, y = 60, w = 50, h = 20 },"
    "  Button{ name = 'switch', type = kToggle, x = 10, y = 100, w = 50, h = 20 },"
    "  Slider{ name = 'level', x = 10, y = 150, w = 200, h = 20 },"
    "  Button{ name = 'back', x = 10, y = 200, w = 50, h = 20,"
    "          command = function() gLast = 'back' end },"
    "}";

constexpr int kTab = 0x09;
constexpr int kEscape = 0x1B;
constexpr int kRight = 0x27;

class KeyboardTest : public ScreenTest {
 protected:
  void Key(int key, int modifiers = 0) {
    Event(kEventKeyDown, 0, 0, key, modifiers);
    Event(kEventKeyUp, 0, 0, key, modifiers);
  }
  void Char(int character) { Event(kEventChar, 0, 0, character); }
  TKeyboardScreen* Screen() { return Find<TKeyboardScreen>("keys"); }
  void Open() {
    OpenDialog("keydialog", kButtons);
    Run("EnableWindow( 'hidden', false )");
  }
  std::string Focused() {
    TWindow* w = Screen()->Focus().Focused(*Screen());
    return w ? w->GetName() : "";
  }
};

TEST_F(KeyboardTest, TabWalksTheShownControlsInReadingOrderBothWays) {
  Open();
  ASSERT_NE(Screen(), nullptr);
  EXPECT_EQ(Focused(), "");
  std::vector<std::string> order;
  for (int i = 0; i < 6; ++i) {
    Key(kTab);
    order.push_back(Focused());
  }
  EXPECT_EQ(order,
            (std::vector<std::string>{"first", "second", "switch", "level", "back", "first"}));
  Key(kTab, kModShift);
  EXPECT_EQ(Focused(), "back");
  Key(kTab, kModShift);
  EXPECT_EQ(Focused(), "level");
}

TEST_F(KeyboardTest, EnterAndSpacePressTheFocusedButtonAndFlipASwitch) {
  Open();
  Key(kTab);
  Key(kTab);
  Char(13);
  Pass();
  EXPECT_EQ(Global(L, "gLast"), "second");
  Key(kTab, kModShift);
  Char(' ');
  Pass();
  EXPECT_EQ(Global(L, "gLast"), "first");
  auto* toggle = Find<TButton>("switch");
  Key(kTab);
  Key(kTab);
  EXPECT_FALSE(toggle->IsOn());
  Char(' ');
  EXPECT_TRUE(toggle->IsOn());
  Char(13);
  EXPECT_FALSE(toggle->IsOn());
}

TEST_F(KeyboardTest, ArrowsMoveAFocusedSliderAndEscapePressesTheWayBack) {
  Open();
  auto* slider = Find<TSlider>("level");
  for (int i = 0; i < 4; ++i) Key(kTab);  // first, second, switch, level
  ASSERT_EQ(Focused(), "level");
  Key(kRight);
  Key(kRight);
  EXPECT_NEAR(slider->GetValue(), 0.1f, 1e-5f);
  Key(kEscape);
  Pass();
  EXPECT_EQ(Global(L, "gLast"), "back");
}

TEST_F(KeyboardTest, ADialogWithATextFieldTypesIntoItAndLetsEscapeThrough) {
  OpenDialog("named",
             "RWindow{ name = 'keys', x = 0, y = 0, w = 400, h = 300,"
             "  escapebutton = 'cancel',"
             "  Bitmap{ name = 'panel', x = 0, y = 0, w = 400, h = 300,"
             "    TextEdit{ name = 'field', x = 10, y = 10, w = 200, h = 30 } },"
             "  Button{ name = 'cancel', x = 10, y = 200, w = 50, h = 20,"
             "          command = function() gLast = 'cancel' end } }");
  for (char c : std::string("Ada")) Char(c);
  EXPECT_EQ(Find<TTextEdit>("field")->GetText(), "Ada");
  Key(kEscape);
  Pass();
  EXPECT_EQ(Global(L, "gLast"), "cancel");
}

}  // namespace
