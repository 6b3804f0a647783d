// Fading dialogs: the opacity steps of a fade in and out, the shadow's see-through end, the
// sliders that leave at once, the buttons disarmed while a dialog fades away, the end
// script, and the fade functions handed back to the dialog below when one closes.
#include "campaign/screens/window_fader.h"

#include "campaign/screens/screen_functions.h"
#include "tests/campaign/screens/screen_test.h"
#include "ui/button.h"
#include "ui/image.h"
#include "ui/text.h"

namespace {

constexpr char kFadingDialog[] =
    "RWindow{ name = 'fading', x = 0, y = 0, w = 400, h = 300, rfadeup = true,"
    "  Bitmap{ name = 'shadow', x = 0, y = 0, w = 400, h = 300 },"
    "  Bitmap{ name = 'panel', x = 10, y = 10, w = 200, h = 100,"
    "    Text{ name = 'words', x = 5, y = 5, w = 100, h = 30, label = '#Hello' } },"
    "  Button{ name = 'ok', x = 20, y = 200, w = 80, h = 30,"
    "          command = function() gPressed = ( gPressed or 0 ) + 1 end },"
    "  Slider{ name = 'volume', x = 120, y = 200, w = 200, h = 20 },"
    "}";

class FaderTest : public ScreenTest {};

TEST(FaderSpider, StepsReachTheirEndOnTheSixthStepAndStayClamped) {
  TFaderSpider up(RWindowFader::kStep, 0.0f, true);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_TRUE(up.StepUp()) << i;
    EXPECT_NEAR(up.Opacity(), 0.17f * i, 1e-5f);
  }
  EXPECT_FALSE(up.StepUp());
  EXPECT_EQ(up.Opacity(), 1.0f);
  EXPECT_FALSE(up.StepUp());
  EXPECT_EQ(up.Opacity(), 1.0f);

  TFaderSpider down(RWindowFader::kStep, 1.0f, false);
  for (int i = 1; i <= 5; ++i) EXPECT_TRUE(down.StepDown()) << i;
  EXPECT_FALSE(down.StepDown());
  EXPECT_EQ(down.Opacity(), 0.0f);
}

TEST_F(FaderTest, ADialogFadesInOverSixStepsAndItsShadowEndsSeeThrough) {
  TModalWindow* dialog = OpenDialog("fader", kFadingDialog);
  ASSERT_NE(dialog, nullptr);
  auto* panel = Find<TImage>("panel");
  auto* words = Find<TText>("words");
  auto* shadow = Find<TImage>("shadow");
  ASSERT_TRUE(panel && words && shadow);
  EXPECT_EQ(panel->GetOpacity(), 0.0f);
  EXPECT_EQ(words->GetOpacity(), 0.0f);
  EXPECT_EQ(shadow->GetOpacity(), 0.0f);
  Pass(RWindowFader::kStepMs);
  EXPECT_NEAR(panel->GetOpacity(), 0.17f, 1e-5f);
  EXPECT_NEAR(words->GetOpacity(), 0.17f, 1e-5f);
  Passes(5, RWindowFader::kStepMs);
  EXPECT_EQ(panel->GetOpacity(), 1.0f);
  EXPECT_EQ(words->GetOpacity(), 1.0f);
  EXPECT_FLOAT_EQ(shadow->GetOpacity(), 0.99f);
  // The fade is over: its task has left the dialog's list and nothing changes any more.
  EXPECT_EQ(dialog->Tasks().Size(), 0u);
  EXPECT_TRUE(Find<TSlider>("volume")->IsVisible());
}

TEST_F(FaderTest, FadeDownDisarmsTheButtonsHidesTheSlidersAndRunsItsScriptAtTheEnd) {
  OpenDialog("fader", kFadingDialog);
  Passes(6, RWindowFader::kStepMs);
  auto* ok = Find<TButton>("ok");
  ASSERT_NE(ok, nullptr);
  ok->Click();
  Pass();
  EXPECT_EQ(Global(L, "gPressed"), "1");

  Run("FadeDown( \"gFaded = 'yes'\" )");
  Pass(RWindowFader::kStepMs);
  EXPECT_FALSE(Find<TSlider>("volume")->IsVisible());
  EXPECT_NEAR(Find<TImage>("panel")->GetOpacity(), 0.83f, 1e-5f);
  // A second click while the dialog goes does nothing.
  EXPECT_FALSE(ok->Click());
  Pass();
  EXPECT_EQ(Global(L, "gPressed"), "1");
  Passes(3, RWindowFader::kStepMs);
  EXPECT_EQ(Global(L, "gFaded"), "");
  Passes(3, RWindowFader::kStepMs);
  EXPECT_EQ(Find<TImage>("panel")->GetOpacity(), 0.0f);
  EXPECT_EQ(Global(L, "gFaded"), "yes");
}

TEST_F(FaderTest, AFadeWithoutAnEndScriptJustEndsAndADialogWithoutAShadowFadesAlike) {
  TModalWindow* dialog = OpenDialog("plain",
                                    "RWindow{ name = 'plain', x = 0, y = 0, w = 100, h = 100,"
                                    "  Bitmap{ name = 'picture', x = 0, y = 0, w = 50, h = 50 } }");
  auto* picture = Find<TImage>("picture");
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->GetOpacity(), 1.0f);  // no "rfadeup": shown at once
  ASSERT_NE(StartFade(dialog, RWindowFader::kClosing, ""), nullptr);
  EXPECT_EQ(dialog->Tasks().Size(), 1u);
  Passes(6, RWindowFader::kStepMs);
  EXPECT_EQ(picture->GetOpacity(), 0.0f);
  EXPECT_EQ(dialog->Tasks().Size(), 0u);
  EXPECT_EQ(manager->TopModal(), dialog);
}

TEST_F(FaderTest, TheFadeFunctionsGoBackToTheDialogBelowWhenTheTopOneCloses) {
  OpenDialog("below",
             "RWindow{ name = 'below', x = 0, y = 0, w = 100, h = 100,"
             "  Button{ name = 'below_ok', x = 0, y = 0, w = 20, h = 20 } }");
  OpenDialog("above", "RWindow{ name = 'above', x = 0, y = 0, w = 100, h = 100 }");
  Run("PopModal( 'above' )");
  Passes(2);
  ASSERT_EQ(manager->TopModal()->GetName(), "below");
  EXPECT_EQ(Eval("type( FadeDown )"), "function");
  Run("FadeDown( '' )");
  EXPECT_TRUE(Find<TButton>("below_ok")->IsDisarmed());
  Run("PopModal( 'below' )");
  Passes(2);
  EXPECT_EQ(Eval("type( FadeDown )"), "nil");
  EXPECT_EQ(Eval("type( FadeUp )"), "nil");
}

}  // namespace
