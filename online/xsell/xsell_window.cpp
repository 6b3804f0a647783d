#include "online/xsell/xsell_window.h"

#include <memory>

#include "files/xml_node.h"
#include "frame/application.h"
#include "frame/log.h"
#include "script/native_binding.h"
#include "ui/text.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"

namespace {

constexpr const char* kFunctions[] = {"SetupXSell", "LaunchGameLink"};

lua_State* RunningScriptState() {
  TWindowManager* manager = TWindowManager::Get();
  auto* script = manager ? dynamic_cast<TWindowScript*>(manager->Script()) : nullptr;
  return script ? script->GetState() : nullptr;
}

std::string Numbered(const char* name, int n) {
  return name + std::to_string(n);
}

}  // namespace

TXSellWindow::TXSellWindow() {
  if (lua_State* L = RunningScriptState()) {
    RegisterMethod(L, "SetupXSell", this, &TXSellWindow::SetupXSell);
    RegisterMethod(L, "LaunchGameLink", this, &TXSellWindow::LaunchGameLink);
  }
}

TXSellWindow::~TXSellWindow() {
  // The functions call into this window: they go with it.
  if (lua_State* L = RunningScriptState()) {
    for (const char* name : kFunctions) {
      lua_pushstring(L, name);
      lua_pushnil(L);
      lua_settable(L, LUA_GLOBALSINDEX);
    }
  }
}

TWindow* TXSellWindow::Create() {
  return new TXSellWindow();
}

void TXSellWindow::SetupXSell() {
  TXmlNode root;
  root.LoadFile(kFileName);
  const TXmlNode* xsell = root.FindChild("xsell");
  if (!xsell) Log("No games to show: %s is missing or has no xsell element", kFileName);

  int games = 0;
  bool hasSiteLink = false;
  if (xsell) {
    for (const auto& child : xsell->Children()) {
      const std::string& name = child->GetName();
      if (name == "gameinfo" && games < kGameSlots) {
        ++games;
        mGameLinks[games - 1] = child->GetAttribute("link");
        if (auto* text = dynamic_cast<TText*>(FindChild(Numbered("descrip", games)))) {
          std::string shown = child->GetAttribute("description");
          const std::string linkText = child->GetAttribute("linktext");
          if (!linkText.empty()) {
            // A link of the text markup that presses the row's button.
            shown += " <u><font color=\"003cff\"><a id='" + Numbered("xsellbutton", games) + "'>" +
                     linkText + "</a></font></u>";
          }
          text->SetText(shown);
        }
      } else if (name == "sitelink") {
        mSiteLink = child->GetAttribute("link");
        hasSiteLink = true;
      } else if (name == "centertext") {
        auto* first = dynamic_cast<TText*>(FindChild("centertext1"));
        auto* second = dynamic_cast<TText*>(FindChild("centertext2"));
        if (first && second) {
          first->SetText(child->GetAttribute("text1"));
          second->SetText(child->GetAttribute("text2"));
        }
      }
    }
  }
  if (!hasSiteLink) Hide("gamesite");
  for (int n = games + 1; n <= kGameSlots + 1; ++n) {
    Hide(Numbered("descrip", n));
    Hide(Numbered("xsellbutton", n));
  }
  for (int n = 1; n <= kGameSlots; ++n) CentreOnPosition(Numbered("xsellbutton", n));
  for (const char* name : {"sitelogo", "tandervellogo", "gamesite"}) CentreOnPosition(name);
}

void TXSellWindow::LaunchGameLink(int index) {
  if (index < 0 || index > kGameSlots) return;
  const std::string& link = index == 0 ? mSiteLink : mGameLinks[index - 1];
  if (link.empty()) {
    Log("The more-games link %d has no address", index);
    return;
  }
  if (TApplication* app = TApplication::Get()) app->OpenURL(link);
}

void TXSellWindow::Hide(const std::string& name) {
  if (TWindow* window = FindChild(name)) window->SetFlags(window->GetFlags() & ~kWindowVisible);
}

void TXSellWindow::CentreOnPosition(const std::string& name) {
  TWindow* window = FindChild(name);
  if (!window) return;
  const TRect rect = window->GetRect();
  window->SetPosition(rect.left - rect.Width() / 2, rect.top - rect.Height() / 2);
}
