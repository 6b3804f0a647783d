// The text and image windows as dialog descriptions make them: sizes from pictures, the
// cover flag, label localisation, font defaults, the size error, scrolling, and links that
// press buttons. Pictures are memory files; an offscreen renderer loads them.
#include <gtest/gtest.h>

#include <algorithm>

#include "data/string_table.h"
#include "frame/application_time.h"
#include "frame/event.h"
#include "gfx/font_cache.h"
#include "gfx/text_layout.h"
#include "gfx/texture.h"
#include "platform/egl/offscreen_screen.h"
#include "script/lua/lua_api.h"
#include "tests/gfx/test_support.h"
#include "tests/script/script_test_fixture.h"
#include "tests/ui/ui_test_support.h"
#include "ui/image.h"
#include "ui/modal_window.h"
#include "ui/screen.h"
#include "ui/text.h"
#include "ui/text_fit.h"
#include "ui/widget_hooks.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"

namespace {

// A button as links see it: counts its presses.
class TPressCounter : public TWindow, public TButtonWindow {
 public:
  static TWindow* Create() { return new TPressCounter; }
  bool IsDefaultButton() const override { return false; }
  bool Press() override {
    ++presses;
    return false;
  }
  bool GetToggleState() const override { return false; }
  void SetToggleState(bool) override {}
  int presses = 0;
};

class TextWindowTest : public ScriptTest, protected TWindowSystemHarness {
 protected:
  // testing::Test has a Run of its own.
  using TWindowSystemHarness::Run;

  void SetUp() override {
    ScriptTest::SetUp();
    InitFileSystem();
    offscreen = TOffscreenScreen::Create(800, 600);
    StartWindowSystem(true);  // each frame starts from black
    manager->AddWindowType("PressButton", &TPressCounter::Create);
    AddPicture("pics/box.png", 100, 40, 0xFF2040C0u);
    AddPicture("pics/mask.png", 100, 40, 0xFF000000u);
  }
  void TearDown() override {
    if (HasFailure()) std::printf("log:\n%s\n", LogText().c_str());
    StopWindowSystem();
    offscreen.reset();
    for (const auto& [name, bytes] : pictures) RegisterMemoryFile(name, bytes.data(), 0);
    StringTable().Clear();
    ScriptTest::TearDown();
  }
  void AddPicture(const std::string& name, int w, int h, uint32_t colour) {
    pictures[name] = PngBytes(MakeImage(w, h, [&](int, int) { return colour; }));
    RegisterMemoryFile(name, pictures[name].data(), pictures[name].size());
  }
  void Dialog(const std::string& items) { Run("PushModal('dlg') MakeDialog{ " + items + " }"); }
  template <typename T>
  T* Find(const std::string& name) {
    TWindow* w = manager->TopModal() ? manager->TopModal()->FindChild(name) : nullptr;
    return dynamic_cast<T*>(w);
  }
  std::string G(const char* name) { return Global(L, name); }
  void Draw() {
    manager->Invalidate();
    host.now += 20;
    time.Set(host.now);
    manager->Draw();
  }
  // The centre of the first glyph of the link, in the text window's coordinates.
  static TPoint2 LinkPoint(TText* text, const std::string& id) {
    TPoint2 point{-1, -1};
    const TTextLayout* layout = text->Layout();
    layout->ForEachGlyph(1, [&](const TPlacedGlyph& p) {
      if (point.x >= 0 || p.glyph->link < 0 || layout->Links()[p.glyph->link].id != id) return;
      point = {static_cast<int>(p.penX + p.glyph->advance / 2),
               static_cast<int>((p.lineTop + p.lineBottom) / 2)};
    });
    return point;
  }

  std::unique_ptr<TOffscreenScreen> offscreen;
  std::map<std::string, std::vector<uint8_t>> pictures;
};

TEST_F(TextWindowTest, ImageSizesItselfFromItsPictureScaleAndQuarterTurn) {
  if (!offscreen) GTEST_SKIP() << "no offscreen GL context";
  Dialog(
      "Bitmap{ name = 'plain', image = 'pics/box', x = 5, y = 6, w = 1, h = 1 },"
      "Bitmap{ name = 'turned', image = 'pics/box', scale = 2, rotate = true,"
      "        hflip = true, vflip = true },"
      "Bitmap{ name = 'missing', image = 'pics/none' },"
      "Bitmap{ name = 'sized', image = 'pics/none', w = 30, h = 20 }");
  TImage* plain = Find<TImage>("plain");
  ASSERT_NE(plain, nullptr);
  // The picture's size wins over "w" and "h".
  EXPECT_EQ(plain->GetRect(), (TRect{5, 6, 105, 46}));
  EXPECT_STREQ(plain->GetClassName(), "TImage");
  EXPECT_TRUE(plain->IsKindOf(&TImage::Create));
  EXPECT_TRUE(plain->IsKindOf(&TWindow::Create));
  EXPECT_FALSE(plain->IsKindOf(&TText::Create));
  EXPECT_TRUE(plain->GetFlags() & kWindowLayer);
  EXPECT_TRUE(plain->GetFlags() & kWindowOpaque);

  TImage* turned = Find<TImage>("turned");
  ASSERT_NE(turned, nullptr);
  EXPECT_EQ(turned->Width(), 80);
  EXPECT_EQ(turned->Height(), 200);
  EXPECT_EQ(turned->GetDrawFlags(), kImageMirrorX | kImageMirrorY);
  turned->SetRotated(false);
  EXPECT_EQ(turned->Width(), 200);
  EXPECT_EQ(turned->Height(), 80);
  // Half pixels round up: 100 x 40 at 0.125 is 12.5 x 5.
  turned->SetTexture(turned->GetTexture(), 0.125f);
  EXPECT_EQ(turned->Width(), 13);
  EXPECT_EQ(turned->Height(), 5);

  // A picture that does not load leaves no picture and, without "w" and "h", no size.
  TImage* missing = Find<TImage>("missing");
  ASSERT_NE(missing, nullptr);
  EXPECT_FALSE(missing->HasTexture());
  EXPECT_EQ(missing->Width(), 0);
  EXPECT_EQ(Find<TImage>("sized")->Width(), 30);
  missing->SetRotated(true);  // no texture: nothing to resize from
  EXPECT_EQ(missing->Width(), 0);

  Run("a = tostring(ImageLoaded('plain')); b = tostring(ImageLoaded('missing'))"
      " c = GetLabel('plain'); SetBitmap('missing', 'pics/box', 0.5)"
      " d = tostring(ImageLoaded('missing'))");
  EXPECT_EQ(G("a"), "true");
  EXPECT_EQ(G("b"), "false");
  EXPECT_EQ(G("c"), "plain_is_not_a_TText_window_or_TButton");
  EXPECT_EQ(G("d"), "true");
  // Turned by then: 50 x 20 becomes 20 x 50.
  EXPECT_EQ(missing->Width(), 20);
  EXPECT_EQ(missing->Height(), 50);

  // Damaged scales give sane sizes.
  plain->SetTexture(plain->GetTexture(), -3);
  EXPECT_EQ(plain->Width(), 0);
  plain->SetTexture(plain->GetTexture(), std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(plain->Width(), 100);
}

TEST_F(TextWindowTest, TransparentImagesAreNoCoverUntilFullyOpaqueAgain) {
  if (!offscreen) GTEST_SKIP() << "no offscreen GL context";
  // 100 x 75 at scale 8 fills the 800 x 600 screen.
  AddPicture("pics/screen.png", 100, 75, 0xFF808080u);
  Dialog("Bitmap{ name = 'shade', image = 'pics/screen', scale = 8, alpha = true }");
  TModalWindow* top = manager->TopModal();
  TImage* shade = Find<TImage>("shade");
  ASSERT_NE(shade, nullptr);
  EXPECT_EQ(shade->Width(), 800);
  EXPECT_FALSE(shade->GetFlags() & kWindowOpaque);
  EXPECT_FALSE(top->GetFlags() & kWindowOpaque);
  shade->SetOpacity(1.0f);
  EXPECT_TRUE(shade->GetFlags() & kWindowOpaque);
  EXPECT_TRUE(top->GetFlags() & kWindowOpaque);
  // Faders stop at 0.99 so that the shadow stops hiding what is behind it.
  shade->SetOpacity(0.99f);
  EXPECT_FALSE(shade->GetFlags() & kWindowOpaque);
  EXPECT_FALSE(top->GetFlags() & kWindowOpaque);

  Dialog("Bitmap{ name = 'wall', image = 'pics/screen', scale = 8 }");
  EXPECT_TRUE(manager->TopModal()->GetFlags() & kWindowOpaque);
}

TEST_F(TextWindowTest, MaskedImageTakesItsAlphaFromTheMask) {
  if (!offscreen) GTEST_SKIP() << "no offscreen GL context";
  // The mask's red channel is 0 everywhere: a fully transparent picture.
  Dialog("Bitmap{ name = 'ghost', image = 'pics/box', mask = 'pics/mask', x = 10, y = 10 }");
  TImage* ghost = Find<TImage>("ghost");
  ASSERT_NE(ghost, nullptr);
  ASSERT_TRUE(ghost->HasTexture());
  Dialog("Bitmap{ name = 'solid', image = 'pics/box', x = 10, y = 100 }");
  Draw();
  TPixelImage frame;
  ASSERT_TRUE(offscreen->ReadFrame(&frame));
  EXPECT_TRUE(ColorNear(frame.At(50, 30), 0xFF000000u));
  EXPECT_TRUE(ColorNear(frame.At(50, 120), 0xFF2040C0u));
  // Half opacity over the black screen.
  Find<TImage>("solid")->SetOpacity(0.5f);
  Draw();
  ASSERT_TRUE(offscreen->ReadFrame(&frame));
  EXPECT_TRUE(ColorNear(frame.At(50, 120), 0xFF102060u, 3));
}

TEST_F(TextWindowTest, SplashShowsItsPictureInABitmap) {
  if (!offscreen) GTEST_SKIP() << "no offscreen GL context";
  Run("return function() DisplaySplash(nil, 'pics/box', 1000) done = 'yes' end");
  for (int i = 0; i < 10; ++i) Pass();
  auto* image = Find<TImage>("splashimage");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width(), 100);
  EXPECT_EQ(G("done"), "");
}

TEST_F(TextWindowTest, TextTakesFontDefaultsAndItsColourTable) {
  Dialog(
      "Text{ name = 'plain', x = 0, y = 0, w = 200, h = 40, label = 'Hi' },"
      "Text{ name = 'red', x = 0, y = 50, w = 200, h = 40, label = 'Hi',"
      "      font = { '__DEFAULT', 0, Color( 255, 0, 0 ) } },"
      "Text{ name = 'half', x = 0, y = 100, w = 200, h = 40, label = 'Hi',"
      "      font = { 'fonts/none.mvec', 20, FColor( 0, 0, 1, 0.5 ) } }");
  TText* plain = Find<TText>("plain");
  ASSERT_NE(plain, nullptr);
  ASSERT_NE(plain->Layout(), nullptr);
  EXPECT_STREQ(plain->GetClassName(), "TText");
  EXPECT_TRUE(plain->IsKindOf(&TText::Create));
  EXPECT_FALSE(plain->GetFlags() & kWindowLayer);
  const TLaidGlyph& g = plain->Layout()->Lines().at(0).glyphs.at(0);
  EXPECT_EQ(g.size, 16);
  EXPECT_EQ(g.color, 0xFF00FF00u);
  EXPECT_EQ(g.font, BuiltinFont());

  const TLaidGlyph& r = Find<TText>("red")->Layout()->Lines().at(0).glyphs.at(0);
  EXPECT_EQ(r.size, 12);
  EXPECT_EQ(r.color, 0xFFFF0000u);
  const TLaidGlyph& h = Find<TText>("half")->Layout()->Lines().at(0).glyphs.at(0);
  EXPECT_EQ(h.size, 20);
  EXPECT_EQ(h.color, 0x7F0000FFu);
  Run("l = GetLabel('red'); SetLabel('red', 'Changed'); m = GetLabel('red')");
  EXPECT_EQ(G("l"), "Hi");
  EXPECT_EQ(G("m"), "Changed");
}

TEST_F(TextWindowTest, LabelsAreLocalisedOnlyWhenTheScriptSaysSo) {
  StringTable().SetString("dlg_title", "Grandma's Attic");
  const char* items =
      "Text{ name = 'key', w = 300, h = 30, label = 'dlg_title' },"
      "Text{ name = 'hash', w = 300, h = 30, label = '#dlg_title' },"
      "Text{ name = 'number', w = 300, h = 30, label = '12.50' },"
      "Text{ name = 'unknown', w = 300, h = 30, label = 'dlg_nothing' }";
  Dialog(items);
  EXPECT_EQ(Find<TText>("key")->GetText(), "dlg_title");
  EXPECT_EQ(Find<TText>("hash")->GetText(), "#dlg_title");
  EXPECT_EQ(Find<TText>("number")->GetText(), "12.50");

  script->SetLocalizeLabels(true);
  Dialog(items);
  EXPECT_EQ(Find<TText>("key")->GetText(), "Grandma's Attic");
  EXPECT_EQ(Find<TText>("hash")->GetText(), "dlg_title");
  EXPECT_EQ(Find<TText>("number")->GetText(), "12.50");
  EXPECT_EQ(Find<TText>("unknown")->GetText(), GetString("dlg_nothing"));
  EXPECT_NE(Find<TText>("unknown")->GetText(), "dlg_nothing");
  // Texts set later are shown as given.
  Run("SetLabel('key', 'dlg_title')");
  EXPECT_EQ(Find<TText>("key")->GetText(), "dlg_title");
}

TEST_F(TextWindowTest, TextWithoutSizeLogsAndStaysEmpty) {
  Dialog("Text{ name = 'lost', label = 'Nothing' }");
  TText* lost = Find<TText>("lost");
  ASSERT_NE(lost, nullptr);
  EXPECT_TRUE(LogHas(
      "ERROR: Attempting to create text window of size(0,0): named 'lost', label 'Nothing'"));
  EXPECT_EQ(lost->Layout(), nullptr);
  lost->SetText("Still nothing");
  lost->SetRotation(45, 0, 0);
  lost->SetScroll(1, 0);
  EXPECT_EQ(lost->GetText(), "");
  EXPECT_FALSE(lost->OnMouseDown({1, 1}));
  Run("l = GetLabel('lost')");
  EXPECT_EQ(G("l"), "");
  Draw();  // draws nothing, and does not fall over
  EXPECT_FALSE(lost->CreateLayout("x", 0, 10, 0, "__DEFAULT", 16, 0xFFFFFFFFu));
  EXPECT_FALSE(lost->CreateLayout("x", -5, 10, 0, "__DEFAULT", 16, 0xFFFFFFFFu));
  EXPECT_TRUE(lost->CreateLayout("x", 50, 10, 0, "__DEFAULT", 16, 0xFFFFFFFFu));
  EXPECT_EQ(lost->Width(), 50);
  EXPECT_EQ(lost->GetText(), "x");
}

TEST_F(TextWindowTest, SameTextNeitherLaysOutNorRedraws) {
  Dialog("Text{ name = 't', w = 200, h = 40, label = 'One' }");
  TText* t = Find<TText>("t");
  ASSERT_NE(t, nullptr);
  Draw();
  ASSERT_FALSE(manager->IsDirty());
  const TTextLine* before = t->Layout()->Lines().data();
  t->SetText("One");
  EXPECT_FALSE(manager->IsDirty());
  EXPECT_EQ(t->Layout()->Lines().data(), before);
  t->SetText("Two");
  EXPECT_TRUE(manager->IsDirty());
  EXPECT_EQ(t->GetText(), "Two");
}

TEST_F(TextWindowTest, FlagsComeFromTheStyleAndPaddingNarrowsTheLines) {
  Dialog(
      "SetStyle{ defflags = kHAlignRight },"
      "Text{ name = 'right', w = 300, h = 30, label = 'Right' },"
      "Text{ name = 'centre', w = 300, h = 30, label = 'Centre', flags = kHAlignCenter },"
      "Text{ name = 'wide', w = 120, h = 100, label = 'aaa bbb ccc' },"
      "Text{ name = 'narrow', w = 120, h = 100, label = 'aaa bbb ccc', padding = 20 }");
  EXPECT_EQ(Find<TText>("right")->Layout()->Lines().at(0).align, kAlignRight);
  EXPECT_EQ(Find<TText>("centre")->Layout()->Lines().at(0).align, kAlignCenter);
  TText* wide = Find<TText>("wide");
  TText* narrow = Find<TText>("narrow");
  EXPECT_EQ(narrow->GetPadding(), 20);
  EXPECT_LT(wide->Layout()->Lines().size(), narrow->Layout()->Lines().size());
}

TEST_F(TextWindowTest, ScrollReachesExactlyTheLastPageAtOne) {
  // Ten lines of 16 pixels in a 50 pixel box: the last three fit, seven are skipped.
  Dialog(
      "Text{ name = 'log', w = 200, h = 50,"
      "      label = '1<br>2<br>3<br>4<br>5<br>6<br>7<br>8<br>9<br>10' },"
      "Text{ name = 'short', w = 200, h = 50, label = 'one line' }");
  TText* log = Find<TText>("log");
  ASSERT_NE(log, nullptr);
  ASSERT_EQ(log->Layout()->Lines().size(), 10u);
  EXPECT_EQ(log->MaxScroll(), 7);
  // Until something scrolls it, the window shows whole lines only: the fourth line starts
  // at 48 and would be cut by the bottom edge at 50.
  auto shownLines = [&] {
    int count = 0;
    log->Layout()->ForEachLine(1, [&](const TTextLine&, float, float) { ++count; });
    return count;
  };
  EXPECT_EQ(shownLines(), 3);
  log->SetScroll(0, 0);
  EXPECT_EQ(shownLines(), 4);
  log->SetScroll(1, 0);
  EXPECT_EQ(static_cast<int>(log->Layout()->Scroll()), 7);
  log->SetScroll(0.5f, 0);
  EXPECT_EQ(static_cast<int>(log->Layout()->Scroll()), 3);
  Draw();
  log->SetScroll(0.5f, 0);  // unchanged: no redraw
  EXPECT_FALSE(manager->IsDirty());
  log->SetScroll(std::numeric_limits<float>::quiet_NaN(), 0);
  EXPECT_EQ(log->Layout()->Scroll(), 0);
  // Padding counts into every line: (16 + 4) per line, two fit in 50.
  log->SetPadding(4);
  EXPECT_EQ(log->MaxScroll(), 8);
  // Negative padding pulls the lines together in the layout as in the scroll rule: 12 per
  // line, four fit in 50.
  log->SetPadding(-4);
  EXPECT_EQ(log->MaxScroll(), 6);
  EXPECT_FLOAT_EQ(log->Layout()->ContentHeight(), 10 * 12);
  EXPECT_EQ(Find<TText>("short")->MaxScroll(), 0);
}

TEST_F(TextWindowTest, LinksPressTheButtonTheyName) {
  Dialog(
      "PressButton{ name = 'ok_button', x = 0, y = 0, w = 1, h = 1 },"
      "Window{ name = 'plain_window', x = 0, y = 0, w = 1, h = 1 },"
      "Text{ name = 't', x = 10, y = 10, w = 400, h = 60,"
      "      label = 'Go <a id=ok_button>there</a> or <a id=plain_window>here</a>"
      " or <a id=nowhere>away</a>' }");
  TText* t = Find<TText>("t");
  auto* button = Find<TPressCounter>("ok_button");
  ASSERT_NE(t, nullptr);
  ASSERT_NE(button, nullptr);
  const TPoint2 there = LinkPoint(t, "ok_button");
  const TPoint2 here = LinkPoint(t, "plain_window");
  const TPoint2 away = LinkPoint(t, "nowhere");
  ASSERT_GE(there.x, 0);
  ASSERT_GE(here.x, 0);

  // Plain text is no link: the click goes on to the parent.
  EXPECT_FALSE(t->OnMouseDown({2, there.y}));
  EXPECT_FALSE(t->OnMouseUp({2, there.y}));
  EXPECT_TRUE(t->OnMouseDown(there));
  EXPECT_TRUE(t->OnMouseUp(there));
  EXPECT_EQ(button->presses, 1);
  // Released over another link or plain text: nothing pressed, the release still consumed.
  EXPECT_TRUE(t->OnMouseDown(there));
  EXPECT_TRUE(t->OnMouseUp(here));
  EXPECT_TRUE(t->OnMouseDown(there));
  EXPECT_TRUE(t->OnMouseUp({2, there.y}));
  EXPECT_EQ(button->presses, 1);
  EXPECT_FALSE(t->OnMouseUp(there));  // nothing pending any more

  EXPECT_TRUE(t->OnMouseDown(here));
  EXPECT_TRUE(t->OnMouseUp(here));
  EXPECT_TRUE(LogHas("ERROR: Command window plain_window not a derived class of TButton"));
  EXPECT_TRUE(t->OnMouseDown(away));
  EXPECT_TRUE(t->OnMouseUp(away));
  EXPECT_TRUE(LogHas("ERROR: Command window nowhere not found"));
  EXPECT_EQ(button->presses, 1);

  // The same through the window manager's events, in screen coordinates.
  for (int kind : {kEventLeftDown, kEventLeftUp}) Event(kind, there.x + 10, there.y + 10);
  EXPECT_EQ(button->presses, 2);
}

TEST_F(TextWindowTest, HoverUnderlinesTheLinkAndTracksTheLeave) {
  Dialog(
      "Text{ name = 't', x = 0, y = 0, w = 300, h = 40,"
      "      label = 'See <a id=more>more</a>' }");
  TText* t = Find<TText>("t");
  ASSERT_NE(t, nullptr);
  const TPoint2 more = LinkPoint(t, "more");
  Draw();
  EXPECT_TRUE(t->OnMouseMove(more));
  EXPECT_EQ(t->Layout()->HoverLink(), "more");
  EXPECT_TRUE(manager->IsCapturing(t));
  EXPECT_TRUE(manager->IsDirty());
  Draw();
  EXPECT_FALSE(t->OnMouseMove(more));  // unchanged
  EXPECT_FALSE(manager->IsDirty());
  EXPECT_TRUE(t->OnMouseMove({1, more.y}));  // off the link, still inside
  EXPECT_EQ(t->Layout()->HoverLink(), "");
  EXPECT_TRUE(t->OnMouseMove(more));
  // The manager tells the capturing window when the pointer leaves it.
  Event(kEventMove, 500, 500);
  EXPECT_EQ(t->Layout()->HoverLink(), "");
  EXPECT_FALSE(manager->IsCapturing(t));
}

TEST_F(TextWindowTest, RotatedTextHitsItsLinksWhereTheyAreDrawn) {
  Dialog(
      "Text{ name = 't', x = 0, y = 0, w = 300, h = 300, label = '<a id=go>Go</a>',"
      "      rotation = 90, rotationOriginX = 0, rotationOriginY = 0 }");
  TText* t = Find<TText>("t");
  ASSERT_NE(t, nullptr);
  const TPoint2 flat = LinkPoint(t, "go");
  EXPECT_EQ(t->Layout()->LinkAt(flat.x, flat.y), "");
  // A quarter turn clockwise about (0, 0) takes (x, y) to (-y, x).
  EXPECT_EQ(t->Layout()->LinkAt(-flat.y, flat.x), "go");
  EXPECT_TRUE(t->OnMouseDown({-flat.y, flat.x}));
}

TEST(TextFit, ElidingKeepsBothEndsOfTheStemAndTheExtension) {
  EXPECT_EQ(ElideMiddle("copy_of_garden_walk.xml", 0), "copy_of_garden_walk.xml");
  EXPECT_EQ(ElideMiddle("copy_of_garden_walk.xml", 5), "copy_of\u2026en_walk.xml");
  EXPECT_EQ(ElideMiddle("copy_of_garden_walk.xml", 18), "c\u2026.xml");
  EXPECT_EQ(ElideMiddle("copy_of_garden_walk.xml", 19), "\u2026.xml");
  EXPECT_EQ(ElideMiddle("copy_of_garden_walk.xml", 500), "\u2026.xml");
  EXPECT_EQ(ElideMiddle("abcdef", 2), "ab\u2026ef");
  EXPECT_EQ(ElideMiddle("abcdef", 3), "ab\u2026f");
  EXPECT_EQ(ElideMiddle(".profile", 2), ".pr\u2026ile");  // a leading dot starts no extension
  EXPECT_EQ(ElideMiddle("a.b.xml", 1), "a\u2026b.xml");
  // Characters are cut whole, never a byte of one.
  EXPECT_EQ(ElideMiddle("\u00e4\u00f6\u00fc\u00df.xml", 1), "\u00e4\u00f6\u2026\u00df.xml");
  EXPECT_EQ(ElideMiddle("", 3), "");
}

// A status box of 100 x 30 at 11 pixels, like the layout editor's file box.
TEST_F(TextWindowTest, ANameTooWideForItsBoxIsDrawnSmallerThenShortenedButNeverSplit) {
  Dialog(
      "Text{ name = 't', w = 100, h = 30, label = '#',"
      "      font = { '__DEFAULT', 11, Color( 255, 255, 255 ) } }");
  TText* t = Find<TText>("t");
  ASSERT_NE(t, nullptr);
  TTextLayout* layout = t->Layout();
  ASSERT_NE(layout, nullptr);
  auto saved = [](const std::string& name) { return "Saved as " + name; };
  // The width of a text on one line at the window's own size.
  auto oneLine = [&](const std::string& text) {
    const std::string shown = layout->GetText();
    const float width = layout->Width(), height = layout->Height();
    layout->SetBox(4000, 4000);
    layout->SetText(text);
    float widest = 0;
    for (const TTextLine& line : layout->Lines()) widest = std::max(widest, line.width);
    layout->SetBox(width, height);
    layout->SetText(shown);
    return widest;
  };
  // Everything shown fits the box, and the name stands whole on its line.
  auto expectFitted = [&](const std::string& name) {
    EXPECT_EQ(t->GetText().rfind("Saved as ", 0), 0u) << t->GetText();
    const std::string shownName = t->GetText().substr(9);
    EXPECT_LE(oneLine(shownName) * t->GetScale(), 100.0f) << shownName;
    EXPECT_LE(layout->ContentHeight() * t->GetScale(), 30.0f);
    EXPECT_EQ(layout->Lines().size(), 2u) << t->GetText() << " at " << t->GetScale();
    EXPECT_GE(t->GetScale(), 9.0f / 11.0f - 1e-4f);
    return shownName == name;
  };

  ShowNameFitted(*t, "walk.xml", saved, 9);
  EXPECT_EQ(t->GetText(), "Saved as walk.xml");
  EXPECT_EQ(t->GetScale(), 1.0f);

  // A name a little too wide: the whole name, drawn smaller.
  std::string name = "garden_walk_";
  while (oneLine(name + ".xml") <= 100) name += "w";
  ASSERT_LT(oneLine(name + ".xml"), 115) << "the test's name should fit at 10 pixels";
  ShowNameFitted(*t, name + ".xml", saved, 9);
  EXPECT_LT(t->GetScale(), 1.0f);
  EXPECT_TRUE(expectFitted(name + ".xml"));

  // A long one: shortened in the middle, at the smallest size, by no more than needed.
  const std::string longName = "copy_of_copy_of_garden_walk_by_the_old_mill.xml";
  ShowNameFitted(*t, longName, saved, 9);
  EXPECT_FALSE(expectFitted(longName));
  const std::string shortened = t->GetText().substr(9);
  EXPECT_EQ(shortened.rfind("copy_", 0), 0u) << shortened;
  EXPECT_NE(shortened.find("\u2026"), std::string::npos) << shortened;
  EXPECT_EQ(shortened.substr(shortened.size() - 8), "mill.xml") << shortened;
  EXPECT_GT(oneLine(shortened) * t->GetScale(), 85.0f) << shortened;

  // Back to a short name: full size again.
  ShowNameFitted(*t, "walk.xml", saved, 9);
  EXPECT_EQ(t->GetText(), "Saved as walk.xml");
  EXPECT_EQ(t->GetScale(), 1.0f);
  EXPECT_LE(layout->Width(), 100.0f);
}

}  // namespace
