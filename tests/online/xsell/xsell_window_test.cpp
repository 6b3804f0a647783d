// The "more games" dialog filled by its script functions from "xsell/xsell.xml": the rows
// of the listed games, the hidden rows, the link markup, the centred buttons and the links
// it opens.
#include "online/xsell/xsell_window.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "files/file_system.h"
#include "frame/application.h"
#include "platform/headless/headless_platform.h"
#include "tests/script/script_test_fixture.h"
#include "tests/ui/ui_test_support.h"
#include "ui/modal_window.h"
#include "ui/text.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"

namespace {

// The engine's XML reader takes double-quoted attributes.
constexpr char kThreeGames[] = R"(<xsell>
  <centertext text1="Made here" text2="Open source"/>
  <gameinfo description="The layout editor." linktext="Open it" link="https://a.example/e"/>
  <sitelink link="https://a.example/"/>
  <gameinfo description="The score server." link="https://a.example/s"/>
  <gameinfo description="The read-me." linktext="Read" link="http://a.example/r"/>
</xsell>)";

class XSellWindow : public ScriptTest, protected TWindowSystemHarness {
 protected:
  using TWindowSystemHarness::Run;

  void SetUp() override {
    ScriptTest::SetUp();
    InitFileSystem();
    StartWindowSystem();
    manager->AddWindowType("XSellWindow", &TXSellWindow::Create);
  }
  void TearDown() override {
    StopWindowSystem();
    ResetFileSystem();
    ScriptTest::TearDown();
  }

  // The shipped dialog's shape: eight rows of a text and a button, the logos, the site
  // button and the two centre lines.
  TXSellWindow* Open() {
    Run("PushModal('xsell') local rows = {}"
        " for n = 1, 8 do"
        "   table.insert(rows, Text{ name = 'descrip' .. n, x = 10, y = n * 40, w = 300, h = 30 })"
        "   table.insert(rows, Window{ name = 'xsellbutton' .. n, x = 400, y = n * 40 + 15,"
        "                               w = 60, h = 20 })"
        " end"
        " table.insert(rows, Window{ name = 'sitelogo', x = 100, y = 400, w = 40, h = 40 })"
        " table.insert(rows, Window{ name = 'gamesite', x = 300, y = 400, w = 80, h = 30 })"
        " table.insert(rows, Text{ name = 'centertext1', x = 10, y = 450, w = 300, h = 20 })"
        " table.insert(rows, Text{ name = 'centertext2', x = 10, y = 470, w = 300, h = 20 })"
        " rows.name = 'xsell_dialog'"
        " MakeDialog{ XSellWindow(rows) }");
    return dynamic_cast<TXSellWindow*>(manager->TopModal()->FindChild("xsell_dialog"));
  }
  TWindow* Find(const std::string& name) { return manager->TopModal()->FindChild(name); }
  std::string TextOf(const std::string& name) {
    auto* text = dynamic_cast<TText*>(Find(name));
    return text ? text->GetText() : "<none>";
  }
};

}  // namespace

TEST_F(XSellWindow, ThreeGamesFillThreeRowsAndHideTheRest) {
  RegisterMemoryFile(TXSellWindow::kFileName, kThreeGames, sizeof kThreeGames - 1);
  TXSellWindow* xsell = Open();
  ASSERT_NE(xsell, nullptr);
  Run("SetupXSell()");

  EXPECT_EQ(TextOf("descrip1"),
            "The layout editor. <u><font color=\"003cff\"><a id='xsellbutton1'>Open it</a>"
            "</font></u>");
  EXPECT_EQ(TextOf("descrip2"), "The score server.");  // no link text, no link
  EXPECT_EQ(TextOf("descrip3").rfind("The read-me. <u>", 0), 0u);
  for (int n = 1; n <= 8; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(Find("descrip" + std::to_string(n))->IsVisible(), n <= 3);
    EXPECT_EQ(Find("xsellbutton" + std::to_string(n))->IsVisible(), n <= 3);
  }
  EXPECT_EQ(xsell->GameLink(1), "https://a.example/e");
  EXPECT_EQ(xsell->GameLink(3), "http://a.example/r");
  EXPECT_EQ(xsell->SiteLink(), "https://a.example/");
  EXPECT_TRUE(Find("gamesite")->IsVisible());
  EXPECT_EQ(TextOf("centertext1"), "Made here");
  EXPECT_EQ(TextOf("centertext2"), "Open source");
  // Buttons and logos sit centred on their described positions.
  EXPECT_EQ(Find("xsellbutton1")->GetRect().left, 400 - 30);
  EXPECT_EQ(Find("xsellbutton1")->GetRect().top, 55 - 10);
  EXPECT_EQ(Find("sitelogo")->GetRect().left, 100 - 20);
  EXPECT_EQ(Find("gamesite")->GetRect().top, 400 - 15);
}

TEST_F(XSellWindow, LinksOpenThroughTheApplicationAndOnlyForKnownSlots) {
  RegisterMemoryFile(TXSellWindow::kFileName, kThreeGames, sizeof kThreeGames - 1);
  ASSERT_NE(Open(), nullptr);
  Run("SetupXSell()");
  THeadlessPlatform platform;
  {
    TApplication app(std::make_unique<TApplicationData>(), platform);
    Run("LaunchGameLink(0) LaunchGameLink(3) LaunchGameLink(8) LaunchGameLink(-1)"
        " LaunchGameLink(5)");
  }
  ASSERT_EQ(platform.Opened().size(), 2u);
  EXPECT_EQ(platform.Opened()[0].target, "https://a.example/");
  EXPECT_EQ(platform.Opened()[1].target, "http://a.example/r");
}

TEST_F(XSellWindow, WithoutTheFileTheDialogShowsNoGames) {
  TXSellWindow* xsell = Open();
  ASSERT_NE(xsell, nullptr);
  Run("SetupXSell()");
  for (int n = 1; n <= 8; ++n) EXPECT_FALSE(Find("descrip" + std::to_string(n))->IsVisible());
  EXPECT_FALSE(Find("gamesite")->IsVisible());
  EXPECT_EQ(TextOf("centertext1"), "");
}

TEST_F(XSellWindow, ItsScriptFunctionsGoWithTheWindow) {
  ASSERT_NE(Open(), nullptr);
  Run("before = type(SetupXSell)");
  manager->PopTop();
  manager->ProcessDeletes();
  Run("after = type(SetupXSell) .. ',' .. type(LaunchGameLink)");
  EXPECT_EQ(Global(L, "before"), "function");
  EXPECT_EQ(Global(L, "after"), "nil,nil");
}

TEST_F(XSellWindow, TheShippedDialogBuildsItsRowsAndFillsThem) {
  std::ifstream file(std::string(MC_SOURCE_DIR) + "/content/xsell/xsell.lua");
  std::stringstream text;
  text << file.rdbuf();
  const std::string source = text.str();
  ASSERT_FALSE(source.empty());
  RegisterMemoryFile("xsell/xsell.lua", source.data(), source.size());
  RegisterMemoryFile(TXSellWindow::kFileName, kThreeGames, sizeof kThreeGames - 1);
  Run("return function() DoModal('xsell/xsell.lua') gClosed = true end");
  Pass();
  ASSERT_NE(manager->TopModal()->FindChild("xsell"), nullptr) << LogText();
  EXPECT_EQ(TextOf("descrip2"), "The score server.");
  EXPECT_TRUE(Find("xsellbutton3")->IsVisible());
  EXPECT_FALSE(Find("xsellbutton4")->IsVisible());
  EXPECT_TRUE(Find("gamesite")->IsVisible());
  EXPECT_NE(Find("xsell_close"), nullptr);
}
