#include "ui/screen.h"

#include "gfx/renderer.h"
#include "gfx/texture.h"
#include "ui/window_manager.h"
#include "ui/window_paint.h"

TScreen::TScreen() {
  mAlwaysOpaque = true;
  SetFlagsRaw(GetFlags() | kWindowOpaque | kWindowLayer);
}

TWindow* TScreen::Create() {
  return new TScreen;
}

void TScreen::Draw() {
  TWindowManager* manager = TWindowManager::Get();
  const bool isTop = manager && manager->TopModal() == this;
  if (!neverClear && (alwaysClear || isTop)) FillScreenRect(GetLocalRect(), clearColour);
  if (manager && manager->Backdrop()) DrawBackdrop(*manager->Backdrop());
}
