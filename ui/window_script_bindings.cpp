// The native script functions of the window script: argument conversion and lookup scope
// only; the work is done by TWindowScript, the window tree and the widgets.
#include <algorithm>

#include "data/settings.h"
#include "data/string_table.h"
#include "frame/application_time.h"
#include "script/lua/lua_api.h"
#include "script/native_binding.h"
#include "script/value_conversion.h"
#include "ui/layout.h"
#include "ui/lua_message_value.h"
#include "ui/lua_window_style.h"
#include "ui/modal_window.h"
#include "ui/widget_hooks.h"
#include "ui/window_canvas.h"
#include "ui/window_host.h"
#include "ui/window_paint.h"
#include "ui/window_script.h"

namespace {

TWindowScript* Self(lua_State* L) {
  return dynamic_cast<TWindowScript*>(TScript::FromState(L));
}

uint32_t NowMs(TWindowManager* manager) {
  return manager && manager->Host() ? manager->Host()->Now() : ApplicationTime();
}

// Reads t[i] (1-based) as a number, 0 when missing.
double Field(lua_State* L, int table, int i) {
  if (!lua_istable(L, table)) return 0;
  lua_rawgeti(L, table, i);
  double v = LuaValueToNumber(L, -1);
  lua_pop(L, 1);
  return v;
}

}  // namespace

namespace wsf {

std::string Str(lua_State* L, int i) {
  return LuaValueToString(L, i);
}
int Int(lua_State* L, int i) {
  return TruncateToInteger<int>(LuaValueToNumber(L, i));
}
bool Bool(lua_State* L, int i) {
  return LuaValueToBool(L, i);
}
int PushString(lua_State* L, const std::string& text) {
  lua_pushlstring(L, text.data(), text.size());
  return 1;
}
int PushBool(lua_State* L, bool on) {
  lua_pushboolean(L, on);
  return 1;
}

// Each function: the window script of the state, or nothing happens.
#define MC_SELF(L)            \
  TWindowScript* s = Self(L); \
  if (!s) return 0

int PostCreate(lua_State* L) {
  MC_SELF(L);
  if (lua_istable(L, 1)) s->PostCreateWindow(TLuaWindowStyle(L, 1));
  return 0;
}

int GetLabel(lua_State* L) {
  TWindowScript* s = Self(L);
  const std::string name = Str(L, 1);
  if (!s || !s->Manager() || !s->Manager()->TopModal()) return PushString(L, "");
  TWindow* w = s->FindInTop(name);
  if (!w) return PushString(L, name + "_is_not_found");
  if (auto* labelled = dynamic_cast<TLabelledWindow*>(w))
    return PushString(L, labelled->GetLabelText());
  return PushString(L, name + "_is_not_a_TText_window_or_TButton");
}

int SetLabel(lua_State* L) {
  MC_SELF(L);
  if (auto* labelled = dynamic_cast<TLabelledWindow*>(s->FindInTop(Str(L, 1))))
    labelled->SetLabelText(Str(L, 2));
  return 0;
}

int SetBitmapFunction(lua_State* L) {
  MC_SELF(L);
  if (auto* image = dynamic_cast<TBitmapWindow*>(s->FindInTop(Str(L, 1))))
    image->SetBitmap(Str(L, 2), static_cast<float>(LuaValueToNumber(L, 3)));
  return 0;
}

int SetPositionFunction(lua_State* L) {
  MC_SELF(L);
  TWindow* w = s->FindInTop(Str(L, 1));
  if (!w) return 0;
  TWindow* parent = w->GetParent();
  TAxis h{Int(L, 2), w->Width()};
  TAxis v{Int(L, 3), w->Height()};
  ResolveAxis(h, parent != nullptr, parent ? parent->Width() : 0, false, false, false);
  ResolveAxis(v, parent != nullptr, parent ? parent->Height() : 0, false, false, false);
  w->SetPosition(h.pos, v.pos);
  return 0;
}

int SetCommand(lua_State* L) {
  MC_SELF(L);
  auto* button = dynamic_cast<TScriptActionTarget*>(s->FindInTop(Str(L, 1)));
  if (!button) return 0;
  if (lua_isnoneornil(L, 2)) {
    button->SetScriptAction(nullptr);  // the button does nothing of its own any more
  } else if (lua_isfunction(L, 2)) {
    lua_pushvalue(L, 2);
    button->SetScriptAction(std::make_unique<TLuaFunction>(L));
  }
  return 0;
}

int SetWindowName(lua_State* L) {
  MC_SELF(L);
  if (TWindow* parent = s->CurrentParent()) parent->SetName(Str(L, 1));
  return 0;
}

int FillRect(lua_State* L) {
  MC_SELF(L);
  TRect r{static_cast<int>(Field(L, 1, 1)), static_cast<int>(Field(L, 1, 2)),
          static_cast<int>(Field(L, 1, 3)), static_cast<int>(Field(L, 1, 4))};
  const float colour[4] = {static_cast<float>(Field(L, 2, 1)), static_cast<float>(Field(L, 2, 2)),
                           static_cast<float>(Field(L, 2, 3)), static_cast<float>(Field(L, 2, 4))};
  TWindowHost* host = s->Manager() ? s->Manager()->Host() : nullptr;
  const TRect screen{0, 0, host ? host->ScreenWidth() : 800, host ? host->ScreenHeight() : 600};
  const TRect saved = TWindowCanvas::Clip();
  TWindowCanvas::SetClip(screen);
  FillScreenRect(Intersect(r, screen), colour);
  TWindowCanvas::SetClip(saved);
  return 0;
}

int GetTimer(lua_State* L) {
  TWindowScript* s = Self(L);
  lua_pushnumber(L, NowMs(s ? s->Manager() : nullptr));
  return 1;
}

int GetConfig(lua_State* L) {
  const std::string key = Str(L, 1);
  return PushString(L, HasSetting(key) ? GetSetting(key) : Str(L, 2));
}

int IsEnabled(lua_State* L) {
  const std::string value = GetSetting(Str(L, 1), "");
  // A decimal integer that is not 0; letters or nothing read as 0.
  char* end = nullptr;
  const long number = std::strtol(value.c_str(), &end, 10);
  return PushBool(L, end != value.c_str() && number != 0);
}

int DoSelectLayer(lua_State* L) {
  MC_SELF(L);
  if (auto* layered = dynamic_cast<TLayeredWindowHook*>(s->CurrentParent()))
    layered->SelectLayer(Int(L, 1));
  return 0;
}

int EnableWindow(lua_State* L) {
  TWindowScript* s = Self(L);
  TWindow* w = s ? s->FindInStack(Str(L, 1)) : nullptr;
  if (!w) return PushBool(L, false);
  const bool show = Bool(L, 2);
  w->SetFlags(show ? w->GetFlags() | kWindowVisible : w->GetFlags() & ~kWindowVisible);
  if (!show && dynamic_cast<TButtonWindow*>(w)) w->OnMouseLeave();
  if (s->Manager()) s->Manager()->Invalidate();
  return PushBool(L, true);
}

int GetButtonToggleState(lua_State* L) {
  TWindowScript* s = Self(L);
  auto* button = s ? dynamic_cast<TButtonWindow*>(s->FindInStack(Str(L, 1))) : nullptr;
  return PushBool(L, button && button->GetToggleState());
}

int SetButtonToggleState(lua_State* L) {
  MC_SELF(L);
  if (!s->Manager()) return 0;
  const std::string name = Str(L, 1);
  const bool on = Bool(L, 2);
  // Every level: the stack may change under a toggle's action, so walk a copy.
  std::vector<TModalWindow*> stack(s->Manager()->ModalStack().begin(),
                                   s->Manager()->ModalStack().end());
  for (TModalWindow* modal : stack) {
    if (auto* button = dynamic_cast<TButtonWindow*>(TWindowScript::FindOwnChild(modal, name)))
      button->SetToggleState(on);
  }
  return 0;
}

int PopWindowFunction(lua_State* L) {
  MC_SELF(L);
  s->PopWindow();
  return 0;
}

int RealSetFocus(lua_State* L) {
  MC_SELF(L);
  if (s->Manager()) s->Manager()->SetFocus(s->FindInParent(Str(L, 1)));
  return 0;
}

int StringToClipboard(lua_State* L) {
  TWindowScript* s = Self(L);
  TWindowHost* host = s && s->Manager() ? s->Manager()->Host() : nullptr;
  return PushBool(L, host && host->SetClipboardText(Str(L, 1)));
}

int UpdateWindow(lua_State* L) {
  MC_SELF(L);
  if (s->Manager()) s->Manager()->Invalidate();
  return 0;
}

int PushModalFunction(lua_State* L) {
  TWindowScript* s = Self(L);
  return PushString(L, s ? s->PushModal(Str(L, 1)) : "");
}

int ClearModalChildren(lua_State* L) {
  MC_SELF(L);
  s->ClearModalChildren();
  return 0;
}

int GetWindowDepth(lua_State* L) {
  TWindowScript* s = Self(L);
  lua_pushnumber(L, s ? s->GetWindowDepth() : 0);
  return 1;
}

int DoPopModal(lua_State* L) {
  MC_SELF(L);
  if (s->Manager()) s->Manager()->PopModal(Str(L, 1));
  return 0;
}

int HandleGetMessage(lua_State* L) {
  MC_SELF(L);
  const int timeout = lua_isnumber(L, 1) ? std::max(0, Int(L, 1)) : -1;
  return s->HandleGetMessage(L, timeout);
}

int GenericCreate(lua_State* L) {
  MC_SELF(L);
  if (lua_istable(L, 1)) s->GenericCreate(L, 1);
  return 0;
}

int CreateNamedMessage(lua_State* L) {
  PushMessageValue(L, std::make_unique<TMessage>(Int(L, 1), Str(L, 2)));
  return 1;
}

int CreateCloseMessage(lua_State* L) {
  TWindowScript* s = Self(L);
  TWindow* parent = s ? s->CurrentParent() : nullptr;
  PushMessageValue(L, std::make_unique<TMessage>(kCloseWindow, parent ? parent->IdText() : ""));
  return 1;
}

int PostMessageFunction(lua_State* L) {
  MC_SELF(L);
  s->PostMessageValue(L, 1, nullptr);
  return 0;
}

int PostMessageToParent(lua_State* L) {
  MC_SELF(L);
  TModalWindow* top = s->Manager() ? s->Manager()->TopModal() : nullptr;
  s->PostMessageValue(L, 1, top ? top->GetParent() : nullptr);
  return 0;
}

int GetStringFunction(lua_State* L) {
  return PushString(L, GetString(Str(L, 1), Str(L, 2), Str(L, 3), Str(L, 4), Str(L, 5), Str(L, 6)));
}

// No movie player on this platform: splash screens show their pictures.
int StartMovie(lua_State* L) {
  return PushBool(L, false);
}
int IsMoviePlaying(lua_State* L) {
  return PushBool(L, false);
}
int StopMovie(lua_State*) {
  return 0;
}

int ImageLoaded(lua_State* L) {
  TWindowScript* s = Self(L);
  auto* image = s ? dynamic_cast<TBitmapWindow*>(s->FindInTop(Str(L, 1))) : nullptr;
  return PushBool(L, image && image->HasTexture());
}

int DestroyWindow(lua_State* L) {
  MC_SELF(L);
  TWindow* w = s->FindInParent(Str(L, 1));
  // The current parent itself is no child to destroy.
  if (!w || w == s->CurrentParent() || !w->GetParent() || w->IsModal()) return 0;
  w->GetParent()->RemoveChild(w);
  if (s->Manager()) s->Manager()->DeleteLater(w);
  return 0;
}

int DoFitToChildren(lua_State* L) {
  MC_SELF(L);
  if (TWindow* parent = s->CurrentParent()) parent->FitToChildren();
  return 0;
}

// Lets Yield() continue on the next update pass.
int ScheduleNextPass(lua_State* L) {
  MC_SELF(L);
  s->Schedule(0, true, true, false);
  s->MarkYielding();
  return 0;
}

#undef MC_SELF

}  // namespace wsf

void TWindowScript::RegisterFunctions() {
  lua_State* L = GetState();
  const std::pair<const char*, int (*)(lua_State*)> functions[] = {
      {"PostCreate", &wsf::PostCreate},
      {"GetLabel", &wsf::GetLabel},
      {"SetLabel", &wsf::SetLabel},
      {"_SetBitmap", &wsf::SetBitmapFunction},
      {"SetPosition", &wsf::SetPositionFunction},
      {"SetCommand", &wsf::SetCommand},
      {"SetWindowName", &wsf::SetWindowName},
      {"FillRect", &wsf::FillRect},
      {"GetTimer", &wsf::GetTimer},
      {"GetConfig", &wsf::GetConfig},
      {"IsEnabled", &wsf::IsEnabled},
      {"DoSelectLayer", &wsf::DoSelectLayer},
      {"EnableWindow", &wsf::EnableWindow},
      {"GetButtonToggleState", &wsf::GetButtonToggleState},
      {"SetButtonToggleState", &wsf::SetButtonToggleState},
      {"PopWindow", &wsf::PopWindowFunction},
      {"RealSetFocus", &wsf::RealSetFocus},
      {"StringToClipboard", &wsf::StringToClipboard},
      {"UpdateWindow", &wsf::UpdateWindow},
      {"PushModal", &wsf::PushModalFunction},
      {"ClearModalChildren", &wsf::ClearModalChildren},
      {"GetWindowDepth", &wsf::GetWindowDepth},
      {"DoPopModal", &wsf::DoPopModal},
      {"HandleGetMessage", &wsf::HandleGetMessage},
      {"GenericCreate", &wsf::GenericCreate},
      {"CreateNamedMessage", &wsf::CreateNamedMessage},
      {"CreateCloseMessage", &wsf::CreateCloseMessage},
      {"PostMessage", &wsf::PostMessageFunction},
      {"PostMessageToParent", &wsf::PostMessageToParent},
      {"_GetString", &wsf::GetStringFunction},
      {"StartMovie", &wsf::StartMovie},
      {"IsMoviePlaying", &wsf::IsMoviePlaying},
      {"StopMovie", &wsf::StopMovie},
      {"ImageLoaded", &wsf::ImageLoaded},
      {"DestroyWindow", &wsf::DestroyWindow},
      {"DoFitToChildren", &wsf::DoFitToChildren},
      {"ScheduleNextPass", &wsf::ScheduleNextPass},
  };
  for (const auto& [name, fn] : functions) RegisterStateFunction(L, name, fn);
}
