#include "campaign/screens/help.h"

#include <initializer_list>
#include <string>

#include "ui/text.h"

namespace {

// The children of each page, in the order they are switched.
const std::initializer_list<const char*> kPageChildren[Help::kPageCount] = {
    {"help_page1_title1", "help_page1_body1", "help_page1_image1", "help_page1_title2_1",
     "help_page1_body2", "help_page1_title2_2", "help_page1_image2", "help_page1_body3",
     "help_page1_image3", "help_page1_body4"},
    {"help_page2_title1", "help_page2_body1", "help_page2_image1", "help_page2_title2",
     "help_page2_body2", "help_page2_image2"},
    {"help_page3_title1", "help_page3_body1", "help_page3_image1", "help_page3_title2",
     "help_page3_body2", "help_page3_image2"},
    {"help_page4_title1_1", "help_page4_body1", "help_page4_image1", "help_page4_title1_2",
     "help_page4_title2", "help_page4_body2", "help_page4_body3"},
};

void Show(TWindow& root, const char* name, bool shown) {
  TWindow* child = root.FindChild(name);
  if (!child) return;
  child->SetFlags(shown ? child->GetFlags() | kWindowVisible : child->GetFlags() & ~kWindowVisible);
}

}  // namespace

Help::Help() {
  Functions().Bind("Next", this, &Help::Next);
  Functions().Bind("Previous", this, &Help::Previous);
}

TWindow* Help::Create() {
  return new Help;
}

void Help::PostCreate(const TWindowStyle& style) {
  ShowPage();
  if (auto* hint = dynamic_cast<TText*>(FindChild("game_hint_button_text_up"))) {
    hint->SetPadding(-4);
    hint->SetRotation(-7, 0, 0);
  }
  if (auto* shuffle = dynamic_cast<TText*>(FindChild("game_shuffle_button_text_up")))
    shuffle->SetRotation(3.5f, 0, 0);
  RWindow::PostCreate(style);
}

void Help::Next() {
  if (mPage >= kPageCount) return;
  ++mPage;
  ShowPage();
}

void Help::Previous() {
  if (mPage <= 1) return;
  --mPage;
  ShowPage();
}

void Help::ShowPage() {
  Show(*this, "help_prev_button", mPage > 1);
  Show(*this, "help_next_button", mPage < kPageCount);
  for (int page = 1; page <= kPageCount; ++page) {
    for (const char* name : kPageChildren[page - 1]) Show(*this, name, page == mPage);
  }
  if (auto* number = dynamic_cast<TText*>(FindChild("help_pagenumber_text")))
    number->SetText(std::to_string(mPage));
}
