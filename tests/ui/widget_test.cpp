// The widgets driven through a test dialog: a dialog script builds push, toggle and radio
// buttons, text edits and a slider; the tests move, click, drag and type through the window
// manager as the event loop would, and check the window tree, the messages the script
// receives and the pixels of the drawn frames (EGL offscreen).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "files/file_system.h"
#include "frame/application_time.h"
#include "frame/event.h"
#include "gfx/text_layout.h"
#include "gfx/texture.h"
#include "platform/egl/offscreen_screen.h"
#include "script/lua/lua_api.h"
#include "tests/gfx/test_support.h"
#include "tests/script/script_test_fixture.h"
#include "ui/button.h"
#include "ui/image.h"
#include "ui/modal_window.h"
#include "ui/screen.h"
#include "ui/slider.h"
#include "ui/sound_player.h"
#include "ui/text.h"
#include "ui/text_edit.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"
#include "ui_test_support.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu;
constexpr uint32_t kWhite = 0xFFFFFFFFu, kYellow = 0xFFFFFF00u, kGrey = 0xFF808080u;

// Records the scroll fractions it is given, as a text window would use them.
class TScrolledWindow : public TWindow {
 public:
  static TWindow* Create() { return new TScrolledWindow; }
  void SetScroll(float fraction, int) override { fractions.push_back(fraction); }
  std::vector<float> fractions;
};

// Counts what the buttons play.
class TRecordingSounds : public TSoundPlayer {
 public:
  class TSound : public TPlayableSound {
   public:
    TSound(std::string file, std::vector<std::string>* played)
        : file(std::move(file)), played(played) {}
    void Play() override { played->push_back(file); }
    std::string file;
    std::vector<std::string>* played;
  };
  std::shared_ptr<TPlayableSound> GetSound(const std::string& file) override {
    return std::make_shared<TSound>(file, &played);
  }
  std::vector<std::string> played;
};

// The dialog of most tests. Buttons are 40 x 30 pictures: normal red, pressed green, mouse
// over blue, (toggles) mouse over while on white.
const char* kDialog = R"(
  local pics = { 'gfx/red', 'gfx/green', 'gfx/blue', 'gfx/white' }
  MakeDialog{
    Button{ name = 'push', x = 10, y = 10, graphics = pics, sound = 'click.ogg',
            rolloversound = 'over.ogg', command = function() pushed = (pushed or 0) + 1 end },
    Button{ name = 'toggle', type = kToggle, x = 100, y = 10, graphics = pics },
    BeginGroup(),
    Button{ name = 'r1', type = kRadio, x = 200, y = 10, graphics = pics, on = true },
    Button{ name = 'r2', type = kRadio, x = 250, y = 10, graphics = pics },
    BeginGroup(),
    Button{ name = 'r3', type = kRadio, x = 300, y = 10, graphics = pics, on = true },
    Button{ name = 'masked', x = 400, y = 10, graphics = pics, mask = 'gfx/halfmask' },
    TextEdit{ name = 'field', x = 10, y = 100, w = 200, h = 30, length = 5, ignore = 'x' },
    TextEdit{ name = 'pass', x = 10, y = 150, w = 200, h = 30, password = true,
              label = 'abc' },
    TextEdit{ name = 'third', x = 10, y = 200, w = 200, h = 30 },
    Slider{ name = 'slide', x = 10, y = 300, w = 210, h = 20, sliderimage = 'gfx/knob',
            railmid = 'gfx/rail' },
  }
)";

class WidgetTest : public ScriptTest, protected TWindowSystemHarness {
 protected:
  // testing::Test has a Run of its own.
  using TWindowSystemHarness::Run;

  void SetUp() override {
    ScriptTest::SetUp();
    screen = TOffscreenScreen::Create(800, 600);
    ASSERT_NE(screen, nullptr) << "no offscreen OpenGL context";
    InitFileSystem();
    AddPicture("gfx/red.png", 40, 30, kRed);
    AddPicture("gfx/green.png", 40, 30, kGreen);
    AddPicture("gfx/blue.png", 40, 30, kBlue);
    AddPicture("gfx/white.png", 40, 30, kWhite);
    AddPicture("gfx/knob.png", 10, 20, kYellow);
    AddPicture("gfx/rail.png", 6, 10, kGrey);
    // Left half black (no hit), right half white.
    AddImage("gfx/halfmask.png",
             MakeImage(40, 30, [](int x, int) { return x < 20 ? 0xFF131313u : 0xFFFFFFFFu; }));
    SetSoundPlayer(&sounds);
    StartWindowSystem();
    manager->AddWindowType("Slider", &TSlider::Create);
    manager->AddWindowType("Scrolled", &TScrolledWindow::Create);
  }
  void TearDown() override {
    if (HasFailure()) std::printf("log:\n%s\n", LogText().c_str());
    StopWindowSystem();
    SetSoundPlayer(nullptr);
    ScriptTest::TearDown();
  }
  void AddImage(const std::string& name, const TPixelImage& image) {
    files[name] = PngBytes(image);
    RegisterMemoryFile(name, files[name].data(), files[name].size());
  }
  void AddPicture(const std::string& name, int w, int h, uint32_t colour) {
    AddImage(name, MakeImage(w, h, [colour](int, int) { return colour; }));
  }
  // Opens the test dialog and leaves the script logging every message it receives.
  void OpenDialog(const std::string& body = kDialog) {
    Run("return function() dialog = PushModal('test')\n" + body +
        "\n while true do local m = WaitForMessage()"
        "   if m then got = (got or '') .. m.type .. ':' .. m.name .. ';' end end end");
    Pass();
  }
  void Move(int x, int y) { Event(kEventMove, x, y); }
  void Click(int x, int y) {
    Move(x, y);
    Event(kEventLeftDown, x, y);
    Event(kEventLeftUp, x, y);
  }
  void Type(const std::string& text) {
    for (char c : text) Event(kEventChar, 0, 0, static_cast<unsigned char>(c));
  }
  // Messages the script got since the last call.
  std::string Got() {
    Pass();
    std::string got = Global(L, "got");
    Run("got = nil");
    return got;
  }
  template <typename T>
  T* Find(const std::string& name) {
    TWindow* w = manager->TopModal()->FindChild(name, -1);
    return w && w->IsKindOf(&T::Create) ? static_cast<T*>(w) : nullptr;
  }
  uint32_t PixelAt(int x, int y) {
    manager->Invalidate();
    Pass();
    TPixelImage frame;
    EXPECT_TRUE(screen->ReadFrame(&frame));
    if (x < 0 || y < 0 || x >= frame.width || y >= frame.height) return 0;
    return frame.pixels[static_cast<size_t>(y) * frame.width + x];
  }
  std::string G(const char* name) { return Global(L, name); }

  std::unique_ptr<TOffscreenScreen> screen;
  std::map<std::string, std::vector<uint8_t>> files;
  TRecordingSounds sounds;
};

TEST_F(WidgetTest, PushButtonFollowsThePointerAndAClickRunsItsCommand) {
  OpenDialog();
  TButton* push = Find<TButton>("push");
  ASSERT_NE(push, nullptr);
  EXPECT_EQ(push->Width(), 40);
  EXPECT_EQ(push->Height(), 30);
  EXPECT_TRUE(ColorNear(PixelAt(30, 25), kRed));

  Move(30, 25);
  EXPECT_EQ(push->State(), TButton::kMouseOver);
  EXPECT_TRUE(manager->IsCapturing(push));
  EXPECT_TRUE(ColorNear(PixelAt(30, 25), kBlue));
  EXPECT_EQ(sounds.played, std::vector<std::string>{"over.ogg"});

  Event(kEventLeftDown, 30, 25);
  EXPECT_EQ(push->State(), TButton::kPressed);
  EXPECT_TRUE(ColorNear(PixelAt(30, 25), kGreen));

  Event(kEventLeftUp, 30, 25);
  EXPECT_EQ(G("pushed"), "1");
  // The action reaches the waiting script as a call (type 8), then the press message.
  EXPECT_EQ(Got(), "8:LuaAction:push;3:push;");
  EXPECT_EQ(push->State(), TButton::kMouseOver);
  // The click sound on release, then the roll-over sound of entering mouse-over again.
  EXPECT_EQ(sounds.played, (std::vector<std::string>{"over.ogg", "click.ogg", "over.ogg"}));

  Move(300, 300);
  EXPECT_EQ(push->State(), TButton::kNormal);
  EXPECT_FALSE(manager->IsCapturing(push));
  EXPECT_TRUE(ColorNear(PixelAt(30, 25), kRed));
}

TEST_F(WidgetTest, DraggingAPressedButtonOutCancelsTheClick) {
  OpenDialog();
  TButton* push = Find<TButton>("push");
  Move(30, 25);
  Event(kEventLeftDown, 30, 25);
  Move(200, 200);
  EXPECT_EQ(push->State(), TButton::kNormal);
  Event(kEventLeftUp, 30, 25);  // back over it: no longer pressed
  EXPECT_EQ(G("pushed"), "");
  EXPECT_EQ(Got(), "");
}

TEST_F(WidgetTest, ToggleAndRadioButtonsKeepTheirStateAndGroups) {
  OpenDialog();
  TButton* toggle = Find<TButton>("toggle");
  TButton* r1 = Find<TButton>("r1");
  TButton* r2 = Find<TButton>("r2");
  TButton* r3 = Find<TButton>("r3");
  ASSERT_TRUE(toggle && r1 && r2 && r3);
  EXPECT_TRUE(r1->IsOn());
  EXPECT_TRUE(r3->IsOn());
  // Normal while on shows layer 1 (green).
  EXPECT_TRUE(ColorNear(PixelAt(220, 25), kGreen));

  Click(120, 25);
  EXPECT_TRUE(toggle->IsOn());
  EXPECT_EQ(toggle->CurrentLayer(), 3);  // mouse over while on
  EXPECT_TRUE(ColorNear(PixelAt(120, 25), kWhite));
  Click(120, 25);
  EXPECT_FALSE(toggle->IsOn());
  EXPECT_EQ(toggle->CurrentLayer(), 2);
  EXPECT_EQ(Got(), "3:toggle;3:toggle;");

  // r2 switches r1 off but not r3, which began a group of its own.
  Click(270, 25);
  EXPECT_TRUE(r2->IsOn());
  EXPECT_FALSE(r1->IsOn());
  EXPECT_TRUE(r3->IsOn());
  Move(600, 500);
  EXPECT_TRUE(ColorNear(PixelAt(220, 25), kRed));
  EXPECT_TRUE(ColorNear(PixelAt(270, 25), kGreen));
  // Switching the first button of a group on clears the rest of the group.
  r1->SetToggle(true);
  EXPECT_FALSE(r2->IsOn());
  EXPECT_TRUE(r3->IsOn());
}

TEST_F(WidgetTest, RadioButtonsWithoutAGroupStartClearNothing) {
  OpenDialog(R"(MakeDialog{
      Button{ name = 'a', type = kRadio, x = 0, y = 0, w = 20, h = 20, on = true },
      Button{ name = 'b', type = kRadio, x = 30, y = 0, w = 20, h = 20 } })");
  Find<TButton>("b")->SetToggle(true);
  EXPECT_TRUE(Find<TButton>("a")->IsOn());
  EXPECT_TRUE(Find<TButton>("b")->IsOn());
}

TEST_F(WidgetTest, AnEmptyGraphicsEntryReusesThePreviousPicture) {
  OpenDialog("MakeDialog{ Button{ name = 'b', graphics = { 'gfx/red', '', 'gfx/blue' } } }");
  TButton* b = Find<TButton>("b");
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->Layer(1).size(), 1u);
  EXPECT_EQ(b->Layer(1)[0]->GetName(), "image0");
  EXPECT_EQ(b->Layer(2)[0]->GetName(), "image2");
  EXPECT_EQ(b->Children().size(), 2u);
  // Pressed shows the first picture.
  Move(20, 15);
  Event(kEventLeftDown, 20, 15);
  EXPECT_TRUE(ColorNear(PixelAt(20, 15), kRed));
}

TEST_F(WidgetTest, AMaskedOutPixelFallsThroughToNothing) {
  OpenDialog();
  TButton* masked = Find<TButton>("masked");
  Move(405, 25);  // left half: mask pixels at 19
  EXPECT_EQ(masked->State(), TButton::kNormal);
  Event(kEventLeftDown, 405, 25);
  EXPECT_EQ(masked->State(), TButton::kNormal);
  Event(kEventLeftUp, 405, 25);
  EXPECT_FALSE(manager->IsCapturing(masked));
  EXPECT_EQ(Got(), "");
  Click(435, 25);  // right half hits
  EXPECT_EQ(Got(), "3:masked;");
}

TEST_F(WidgetTest, CloseButtonsEndTheDialogWithTheirName) {
  Run(R"(return function()
      local id = PushModal('ask')
      MakeDialog{
        Button{ name = 'yes', x = 0, y = 0, w = 40, h = 30, close = true,
                command = function() ran = (ran or 0) + 1 end },
        Button{ name = 'no', x = 100, y = 0, w = 40, h = 30, close = true, default = true } }
      WaitForCloseMessage(id)
      result = gReturnValue
      got = ''
      while true do local m = WaitForMessage() got = got .. m.type .. ':' .. m.name .. ';' end
    end)");
  Pass();
  ASSERT_EQ(manager->TopModal()->GetName(), "ask");
  Click(20, 15);
  Pass();
  Pass();
  EXPECT_EQ(G("ran"), "1");
  EXPECT_EQ(G("result"), "yes");
  EXPECT_EQ(manager->TopModal(), manager->Screen());
  EXPECT_TRUE(manager->ModalStack().size() == 1);
}

TEST_F(WidgetTest, EnterPressesTheDefaultButton) {
  Run(R"(return function()
      local id = PushModal('ask')
      MakeDialog{
        Button{ name = 'no', x = 100, y = 0, w = 40, h = 30, close = true, default = true,
                command = function() ran = 1 end } }
      WaitForCloseMessage(id)
      result = gReturnValue
      got = ''
      while true do local m = WaitForMessage() got = got .. m.type .. ':' .. m.name .. ';' end
    end)");
  Pass();
  Event(kEventChar, 0, 0, 13);
  Pass();
  Pass();
  EXPECT_EQ(G("ran"), "1");
  EXPECT_EQ(G("result"), "no");
  EXPECT_EQ(manager->TopModal(), manager->Screen());
  // The action closed the dialog: no default-action message follows.
  EXPECT_EQ(G("got").find("2:"), std::string::npos) << G("got");
}

TEST_F(WidgetTest, EscapePressesTheCancelButtonAndIsLeftAloneWithoutOne) {
  Run(R"(return function()
      local id = PushModal('ask')
      MakeDialog{
        Button{ name = 'yes', x = 0, y = 0, w = 40, h = 30, close = true, default = true },
        Button{ name = 'no', x = 100, y = 0, w = 40, h = 30, close = true, cancel = true,
                command = function() ran = 1 end } }
      WaitForCloseMessage(id)
      result = gReturnValue
      PushModal('plain')
      MakeDialog{ Button{ name = 'only', x = 0, y = 0, w = 40, h = 30, close = true } }
      while true do WaitForMessage() end
    end)");
  Pass();
  Event(kEventChar, 0, 0, 27);
  Pass();
  Pass();
  EXPECT_EQ(G("ran"), "1");
  EXPECT_EQ(G("result"), "no");
  ASSERT_EQ(manager->TopModal()->GetName(), "plain");
  // No cancel button: Escape is not taken, and the dialog stays.
  Event(kEventChar, 0, 0, 27);
  Pass();
  EXPECT_EQ(manager->TopModal()->GetName(), "plain");
}

TEST_F(WidgetTest, TypingEditsTheFocusedFieldWithinItsLimits) {
  OpenDialog();
  TTextEdit* field = Find<TTextEdit>("field");
  ASSERT_NE(field, nullptr);
  Click(50, 110);
  ASSERT_EQ(manager->GetFocus(), field);
  EXPECT_EQ(Got(), "4:mouse:up;");  // the edit leaves releases to the dialog
  Type("ab");
  EXPECT_EQ(Got(), "7:field;7:field;");
  Type("xcdef");  // 'x' is ignored (still handled), 'f' would be the sixth character
  EXPECT_EQ(field->GetText(), "abcde");
  EXPECT_EQ(Got(), "7:field;7:field;7:field;7:field;");

  Event(kEventKeyDown, 0, 0, 37);  // Left
  Event(kEventKeyDown, 0, 0, 37);
  Event(kEventChar, 0, 0, 8);  // Backspace removes 'c'
  EXPECT_EQ(field->GetText(), "abde");
  EXPECT_EQ(field->Cursor(), 2);
  Event(kEventKeyDown, 0, 0, 46);  // Delete removes 'd'
  EXPECT_EQ(field->GetText(), "abe");
  for (int i = 0; i < 3; ++i) Event(kEventKeyDown, 0, 0, 37);
  EXPECT_EQ(field->Cursor(), 0);
  Got();
  Event(kEventChar, 0, 0, 8);  // nothing before the cursor: not handled, no message
  EXPECT_EQ(field->GetText(), "abe");
  EXPECT_EQ(Got(), "");
  Event(kEventChar, 0, 0, 200);  // not a password field: characters above 127 refused
  Event(kEventChar, 0, 0, 7);
  EXPECT_EQ(field->GetText(), "abe");
  // Markup characters are shown as typed.
  field->SetText("<b>");
  field->SetMaxLength(10);
  EXPECT_EQ(field->GetText(), "<b>");
}

TEST_F(WidgetTest, PasteReplacesTheTextWithACleanedCopy) {
  OpenDialog();
  TTextEdit* field = Find<TTextEdit>("field");
  Click(50, 110);
  Type("zz");
  host.clipboard = "x1\t2345678901234567890";
  field->SetMaxLength(10);
  Event(kEventKeyDown, 0, 0, 86, kModCtrl);
  // Cut to 10 first, then the ignored 'x' and the tab go.
  EXPECT_EQ(field->GetText(), "12345678");
  EXPECT_EQ(field->Cursor(), 8);
  Event(kEventKeyDown, 0, 0, 86);  // V alone is no paste
  EXPECT_EQ(field->GetText(), "12345678");
  host.clipboard = "";
  Event(kEventKeyDown, 0, 0, 45);
  EXPECT_EQ(field->GetText(), "12345678");
}

TEST_F(WidgetTest, PasswordsShowStarsAndTheCursorBlinksOnlyWithFocus) {
  OpenDialog();
  TTextEdit* pass = Find<TTextEdit>("pass");
  ASSERT_NE(pass, nullptr);
  EXPECT_EQ(pass->GetText(), "abc");
  EXPECT_EQ(pass->DisplayText(), "***");
  Click(50, 160);
  ASSERT_EQ(manager->GetFocus(), pass);
  Event(kEventKeyDown, 0, 0, 37);
  bool sawCursor = false, sawPlain = false;
  for (int i = 0; i < 8; ++i) {
    Pass(100);
    if (pass->DisplayText() == "**<cursor>*") sawCursor = true;
    if (pass->DisplayText() == "***") sawPlain = true;
    EXPECT_EQ(pass->CursorShown(), pass->DisplayText() != "***");
  }
  EXPECT_TRUE(sawCursor);
  EXPECT_TRUE(sawPlain);
  // Without the focus no cursor, whatever the clock says.
  Click(50, 110);
  for (int i = 0; i < 8; ++i) {
    Pass(100);
    EXPECT_EQ(pass->DisplayText(), "***");
  }
  // Text is drawn: some pixels of the password line are lit.
  manager->SetFocus(nullptr);
  Pass();
  manager->Invalidate();
  Pass();
  TPixelImage frame;
  ASSERT_TRUE(screen->ReadFrame(&frame));
  int lit = 0;
  for (int y = 150; y < 180; ++y)
    for (int x = 10; x < 210; ++x)
      lit += (frame.pixels[static_cast<size_t>(y) * 800 + x] >> 8 & 0xFF) > 100;
  EXPECT_GT(lit, 10);
}

TEST_F(WidgetTest, TextEditsShowWhereToTypeUnlessTheScreenPaintsItsOwnField) {
  OpenDialog(
      "MakeDialog{ Bitmap{ image = 'gfx/white.png', x = 300, y = 400 },"
      "  TextEdit{ name = 'framed', x = 300, y = 400, w = 40, h = 30 },"
      "  Bitmap{ image = 'gfx/white.png', x = 400, y = 400 },"
      "  TextEdit{ name = 'bare', x = 400, y = 400, w = 40, h = 30, frame = false } }");
  // A frame in the text's colour (green by default) around a darker well for light text.
  const uint32_t corner = PixelAt(300, 400);
  EXPECT_GT(corner >> 8 & 0xFF, 200u);
  EXPECT_LT(corner >> 16 & 0xFF, 120u);
  const uint32_t well = PixelAt(320, 426);
  EXPECT_LT(well >> 16 & 0xFF, 200u);
  EXPECT_GT(well >> 16 & 0xFF, 60u);
  EXPECT_TRUE(ColorNear(PixelAt(400, 400), kWhite));
  EXPECT_TRUE(ColorNear(PixelAt(420, 426), kWhite));
}

TEST_F(WidgetTest, TabWalksTheTextEditsOfTheDialog) {
  OpenDialog();
  TTextEdit* field = Find<TTextEdit>("field");
  TTextEdit* pass = Find<TTextEdit>("pass");
  TTextEdit* third = Find<TTextEdit>("third");
  ASSERT_NE(field->Group(), nullptr);
  EXPECT_EQ(field->Group(), pass->Group());
  EXPECT_EQ(field->Group()->size(), 3u);
  manager->SetFocus(third);
  Event(kEventChar, 0, 0, 9);
  EXPECT_EQ(manager->GetFocus(), field);
  Event(kEventChar, 0, 0, 9);
  EXPECT_EQ(manager->GetFocus(), pass);
}

TEST_F(WidgetTest, SliderDragsClampAndReportToTheScript) {
  OpenDialog();
  TSlider* slide = Find<TSlider>("slide");
  ASSERT_NE(slide, nullptr);
  EXPECT_TRUE(slide->IsHorizontal());
  EXPECT_EQ(slide->Width(), 210);
  EXPECT_EQ(slide->Height(), 20);
  EXPECT_TRUE(ColorNear(PixelAt(14, 310), kYellow));

  Move(14, 310);
  Event(kEventLeftDown, 14, 310);
  EXPECT_TRUE(slide->IsDragging());
  Move(115, 310);
  EXPECT_FLOAT_EQ(slide->GetValue(), 0.5f);
  // The knob's left edge trails the pointer by value x knob width.
  EXPECT_EQ(slide->Knob()->GetRect().left, 100);
  EXPECT_TRUE(ColorNear(PixelAt(112, 310), kYellow));
  EXPECT_TRUE(ColorNear(PixelAt(60, 310), kGrey));
  Move(700, 400);  // past the end, outside: still dragging
  EXPECT_EQ(slide->GetValue(), 1.0f);
  Event(kEventLeftUp, 700, 400);
  EXPECT_FALSE(slide->IsDragging());
  EXPECT_FALSE(manager->IsCapturing(slide));
  EXPECT_EQ(Got(), "9:slide;9:slide;10:slide;");
  Move(15, 310);
  Event(kEventLeftDown, 15, 300);
  Event(kEventLeftUp, 15, 300);
  Move(-50, 310);
  EXPECT_EQ(slide->GetValue(), 1.0f);  // rail clicks do not move the knob
  EXPECT_EQ(Got(), "11:slide;4:mouse:up;");
  slide->SetValue(0.25f, true);
  EXPECT_EQ(Got(), "");
  EXPECT_EQ(slide->Knob()->GetRect().left, 50);
  slide->SetValue(-3, false);
  EXPECT_EQ(slide->GetValue(), 0.0f);
  Event(kEventLeftDown, 100, 310);
  EXPECT_EQ(Got(), "9:slide;12:slide;");
  // The rail is drawn right of the knob, centred across the slider.
  EXPECT_TRUE(ColorNear(PixelAt(150, 310), kGrey));
  EXPECT_TRUE(ColorNear(PixelAt(150, 302), 0xFF000000u));
}

TEST_F(WidgetTest, SliderOrientationComesFromTheKeyOrTheSize) {
  OpenDialog(R"(MakeDialog{
      Slider{ name = 'guess', x = 0, y = 0, w = 200, h = 20, sliderimage = 'gfx/knob' },
      Slider{ name = 'told', x = 0, y = 50, w = 200, h = 20, hslider = false,
              sliderimage = 'gfx/knob' },
      Slider{ name = 'bare', x = 0, y = 100, w = 100, h = 20 } })");
  EXPECT_TRUE(Find<TSlider>("guess")->IsHorizontal());
  TSlider* told = Find<TSlider>("told");
  EXPECT_FALSE(told->IsHorizontal());
  EXPECT_EQ(told->Width(), 10);  // the knob's width across a vertical rail
  // Without knob pictures every click is a rail click.
  Click(50, 110);
  EXPECT_EQ(Got(), "12:bare;4:mouse:up;");
  EXPECT_FALSE(Find<TSlider>("bare")->IsDragging());
}

}  // namespace

TEST_F(WidgetTest, ASliderScrollsTheTextWindowItNames) {
  OpenDialog(R"(MakeDialog{
      Scrolled{ name = 'story', x = 0, y = 0, w = 100, h = 100 },
      Slider{ name = 'bar', x = 200, y = 0, w = 20, h = 110, sliderimage = 'gfx/knob',
              scrolls = 'story' } })");
  TSlider* bar = Find<TSlider>("bar");
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->IsHorizontal());
  auto* story = static_cast<TScrolledWindow*>(manager->TopModal()->FindChild("story", -1));
  story->fractions.clear();
  Move(205, 5);
  Event(kEventLeftDown, 205, 5);
  Move(205, 55);
  Move(205, 500);
  Event(kEventLeftUp, 205, 500);
  ASSERT_EQ(story->fractions.size(), 2u);
  EXPECT_FLOAT_EQ(story->fractions[0], 0.5f);
  EXPECT_FLOAT_EQ(story->fractions[1], 1.0f);
  // Vertical: the knob moves down by value x (height - knob height).
  EXPECT_EQ(bar->Knob()->GetRect().top, 90);
  bar->SetValue(0, true);
  EXPECT_FLOAT_EQ(story->fractions.back(), 0.0f);
}

TEST_F(WidgetTest, ButtonLabelsAreTheirLabelChildsTextInEveryLayer) {
  OpenDialog(R"(MakeDialog{
      Button{ name = 'b', x = 0, y = 0, graphics = { 'gfx/red', 'gfx/green', 'gfx/blue' },
        Window{ name = 'frame', w = 40, h = 30,
          Text{ name = 'label', w = 40, h = 30, label = 'Start' } } },
      Button{ name = 'plain', x = 100, y = 0, graphics = { 'gfx/red', 'gfx/green', 'gfx/blue' },
        Window{ name = 'label', w = 40, h = 30 } } }
    caption = GetLabel('b')
    SetLabel('b', 'Go')
    after = GetLabel('b')
    SetLabel('plain', 'ignored')
    plain = GetLabel('plain'))");
  TButton* b = Find<TButton>("b");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(G("caption"), "Start");
  EXPECT_EQ(G("after"), "Go");
  EXPECT_EQ(static_cast<TText*>(b->FindChild("label", -1))->GetText(), "Go");
  // A "label" that is no text window has no text to give.
  EXPECT_EQ(G("plain"), "");
  // The label's window joined every layer: it stays shown whatever the state.
  TWindow* frame = b->FindChild("frame", 1);
  for (unsigned i = 0; i < b->LayerCount(); ++i)
    EXPECT_NE(std::find(b->Layer(i).begin(), b->Layer(i).end(), frame), b->Layer(i).end());
  Move(20, 15);
  Event(kEventLeftDown, 20, 15);
  EXPECT_TRUE(frame->IsVisible());
  EXPECT_FALSE(b->FindChild("image0", 1)->IsVisible());
}

TEST_F(WidgetTest, ACaptionedButtonIsPressedThroughItsCaption) {
  AddPicture("gfx/wide.png", 120, 36, kRed);
  AddPicture("gfx/wide_down.png", 120, 36, kGreen);
  AddPicture("gfx/wide_over.png", 120, 36, kBlue);
  OpenDialog(R"(MakeDialog{
      Button{ name = 'go', x = 10, y = 10,
              graphics = { 'gfx/wide', 'gfx/wide_down', 'gfx/wide_over' },
        Text{ name = 'label', w = 120, h = 36, label = 'WWWWW',
              font = { '__DEFAULT', 28, { 1, 1, 1, 1 } },
              flags = kHAlignCenter + kVAlignCenter } } })");
  TButton* go = Find<TButton>("go");
  ASSERT_NE(go, nullptr);
  // The pictures are image windows that may be drawn over the rest (the layer flag).
  auto* face = go->FindChild("image0", 1);
  ASSERT_NE(face, nullptr);
  EXPECT_TRUE(face->IsKindOf(&TImage::Create));
  EXPECT_NE(face->GetFlags() & kWindowLayer, 0u);
  EXPECT_EQ(go->Width(), 120);
  // The caption is drawn over the face, centred: white ink in the middle, red at the edge.
  int ink = 0;
  for (int x = 40; x < 90; ++x) ink += ColorNear(PixelAt(x, 28), kWhite);
  EXPECT_GT(ink, 3);
  EXPECT_TRUE(ColorNear(PixelAt(13, 28), kRed));
  // Pointing at the caption (no link in it) is pointing at the button.
  Move(70, 28);
  EXPECT_EQ(go->State(), 2);
  EXPECT_TRUE(ColorNear(PixelAt(13, 28), kBlue));
  Event(kEventLeftDown, 70, 28);
  EXPECT_EQ(go->State(), 1);
  Event(kEventLeftUp, 70, 28);
  EXPECT_EQ(Got(), "3:go;");
}

TEST_F(WidgetTest, TextEditLabelsAreNeverLookedUp) {
  script->SetLocalizeLabels(true);
  OpenDialog("MakeDialog{ TextEdit{ name = 'e', w = 100, h = 20, label = 'menu_title' } }");
  EXPECT_EQ(Find<TTextEdit>("e")->GetText(), "menu_title");
  EXPECT_EQ(Find<TTextEdit>("e")->DisplayText(), "menu_title");
  EXPECT_TRUE(script->LocalizeLabels());
}

TEST_F(WidgetTest, TextEditsAreTextWindowsWithTheirKeys) {
  script->SetLocalizeLabels(true);
  // A black backdrop: every redraw starts from black, not from the last frame.
  AddPicture("gfx/black.png", 400, 400, 0xFF000000u);
  OpenDialog(R"(MakeDialog{
      Bitmap{ image = 'gfx/black', x = 0, y = 0 },
      TextEdit{ name = 'e', x = 10, y = 10, w = 200, h = 40, label = 'WWW', rotation = 90,
                rotationOriginX = 20, rotationOriginY = 20,
                font = { '__DEFAULT', 30, { 1, 1, 1, 1 } } },
      TextEdit{ name = 'faded', x = 10, y = 300, w = 200, h = 40, label = 'WWW',
                font = { '__DEFAULT', 30, { 1, 1, 1, 1 } } },
      Text{ name = 'after', x = 300, y = 10, w = 100, h = 20, label = '#word' } })");
  TTextEdit* e = Find<TTextEdit>("e");
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->IsKindOf(&TText::Create));
  ASSERT_NE(e->Layout(), nullptr);
  // Turned a quarter: the ink stands in a column below the origin, not along the top line.
  int below = 0, along = 0;
  for (int y = 40; y < 50; ++y)
    for (int x = 10; x < 40; ++x) below += ColorNear(PixelAt(x, y), kWhite, 60);
  for (int x = 60; x < 120; ++x) along += ColorNear(PixelAt(x, 25), kWhite, 60);
  EXPECT_GT(below, 0);
  EXPECT_EQ(along, 0);
  // Opacity and scale are the text window's.
  TTextEdit* faded = Find<TTextEdit>("faded");
  auto lit = [&] {
    manager->Invalidate();
    Pass();
    TPixelImage frame;
    EXPECT_TRUE(screen->ReadFrame(&frame));
    int n = 0;
    for (int y = 300; y < 340; ++y)
      for (int x = 10; x < 210; ++x)
        n += (frame.pixels[static_cast<size_t>(y) * 800 + x] & 0xFF) > 200;
    return n;
  };
  const int full = lit();
  EXPECT_GT(full, 20);
  faded->SetOpacity(0.3f);
  EXPECT_EQ(lit(), 0);
  faded->SetOpacity(1);
  faded->SetScale(0.5f);
  const int half = lit();
  EXPECT_GT(half, 0);
  EXPECT_LT(half, full);
  // The edit switched label localisation off only while it read its own label.
  EXPECT_EQ(Find<TText>("after")->GetText(), "word");
}

TEST_F(WidgetTest, ASliderScrollsARealTextWindow) {
  OpenDialog(R"(MakeDialog{
      Text{ name = 'story', x = 0, y = 0, w = 150, h = 50,
            font = { '__DEFAULT', 16, { 1, 1, 1, 1 } },
            label = 'one<br>two<br>three<br>four<br>five<br>six<br>seven<br>eight' },
      Slider{ name = 'bar', x = 200, y = 0, w = 20, h = 110, sliderimage = 'gfx/knob',
              scrolls = 'story' } })");
  TText* story = Find<TText>("story");
  ASSERT_NE(story, nullptr);
  ASSERT_NE(story->Layout(), nullptr);
  const int most = story->MaxScroll();
  ASSERT_GT(most, 2);
  EXPECT_EQ(story->Layout()->Scroll(), 0);
  Move(205, 5);
  Event(kEventLeftDown, 205, 5);
  Move(205, 500);
  Event(kEventLeftUp, 205, 500);
  // At the end the last line is the one the box can just show.
  EXPECT_EQ(static_cast<int>(story->Layout()->Scroll()), most);
  Find<TSlider>("bar")->SetValue(0, true);
  EXPECT_EQ(story->Layout()->Scroll(), 0);
}

TEST_F(WidgetTest, MalformedDescriptionsGiveQuietWidgets) {
  OpenDialog(R"(MakeDialog{
      Button{ name = 'b', type = 99, graphics = 5, scale = 'x', mask = 'gfx/none',
              sound = 7, command = 'not a function', x = 0, y = 0, w = 30, h = 30 },
      Button{ name = 'c', x = 100, y = 0, graphics = { {}, 'gfx/none', 3 } },
      TextEdit{ name = 'e', x = 0, y = 100, w = 100, h = 20, length = -3,
                font = { {}, 'big', 7 } },
      TextEdit{ name = 'nosize' },
      Slider{ name = 's', x = 0, y = 200, scale = 0, sliderimage = 'gfx/none' } })");
  TButton* b = Find<TButton>("b");
  ASSERT_NE(b, nullptr);
  EXPECT_FALSE(b->HasAction());
  Click(15, 15);  // a missing mask leaves the button without one: the click counts
  EXPECT_EQ(Got(), "3:b;");
  EXPECT_TRUE(LogHas("hit mask gfx/none could not be loaded"));
  TTextEdit* e = Find<TTextEdit>("e");
  manager->SetFocus(e);
  Type("abc");
  EXPECT_EQ(e->GetText(), "");
  host.clipboard = "pasted";
  Event(kEventKeyDown, 0, 0, 45);
  EXPECT_EQ(e->GetText(), "");
  TTextEdit* nosize = Find<TTextEdit>("nosize");
  EXPECT_TRUE(LogHas("ERROR: Attempting to create text window of size(0,0): named 'nosize'"));
  manager->SetFocus(nosize);
  Type("x");
  EXPECT_EQ(nosize->GetText(), "x");
  EXPECT_EQ(nosize->DisplayText(), "");
  TSlider* s = Find<TSlider>("s");
  s->SetValue(0.5f, false);
  Click(0, 200);
  Pass();
  EXPECT_EQ(s->GetValue(), 0.5f);
}

TEST_F(WidgetTest, ASliderWhoseKnobWasTakenAwayOnlyReportsRailClicks) {
  OpenDialog(R"(MakeDialog{ Slider{ name = 's', x = 0, y = 0, w = 200, h = 20,
                                     sliderimage = 'gfx/knob' } })");
  TSlider* s = Find<TSlider>("s");
  ASSERT_NE(s->Knob(), nullptr);
  s->DeleteChildren();
  manager->ProcessDeletes();
  EXPECT_EQ(s->Knob(), nullptr);
  s->SetValue(0.5f, true);
  Move(5, 10);
  Event(kEventLeftDown, 5, 10);
  Event(kEventLeftUp, 5, 10);
  // Without a knob the slider takes no clicks: they reach the dialog as plain releases.
  EXPECT_EQ(Got(), "4:mouse:up;");
  EXPECT_EQ(s->GetValue(), 0.5f);
  s->SetKnobTextures(nullptr, nullptr);
  PixelAt(5, 10);  // draws without the knob
}
