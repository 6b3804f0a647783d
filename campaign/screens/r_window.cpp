#include "campaign/screens/r_window.h"

#include "campaign/screens/window_fader.h"
#include "ui/modal_window.h"
#include "ui/window_style.h"

RWindow::RWindow() {
  mFunctions.Bind("FadeDown", this, &RWindow::FadeDown);
  mFunctions.Bind("FadeUp", this, &RWindow::FadeUp);
}

RWindow::~RWindow() = default;

TWindow* RWindow::Create() {
  return new RWindow;
}

TWindow& RWindow::FadeTarget() {
  TModalWindow* modal = GetModalAncestor();
  return modal ? static_cast<TWindow&>(*modal) : *this;
}

void RWindow::PostCreate(const TWindowStyle& style) {
  TKeyboardScreen::PostCreate(style);
  if (style.GetBool("rfadeup", false)) StartFade(&FadeTarget(), RWindowFader::kOpening, "");
}

void RWindow::FadeDown(const std::string& script) {
  RBlankActionSpider().Apply(FadeTarget());
  StartFade(&FadeTarget(), RWindowFader::kClosing, script);
}

void RWindow::FadeUp(const std::string& script) {
  StartFade(&FadeTarget(), RWindowFader::kOpening, script);
}
