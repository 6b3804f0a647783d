#include "campaign/hiscore/r_hi_score_info.h"

#include "campaign/hiscore/dialog_script_text.h"
#include "script/native_binding.h"

namespace {

RHiScoreInfo* gOpenInfo = nullptr;
constexpr char kFunctionName[] = "FadeAndCloseInfo";
constexpr int kEnterKey = 13;

}  // namespace

RHiScoreInfo::RHiScoreInfo() {
  gOpenInfo = this;
  if (lua_State* L = DialogScriptState())
    RegisterMethod(L, kFunctionName, this, &RHiScoreInfo::FadeAndCloseInfo);
}

RHiScoreInfo::~RHiScoreInfo() {
  if (gOpenInfo != this) return;
  gOpenInfo = nullptr;
  UnbindDialogFunction(kFunctionName);
}

TWindow* RHiScoreInfo::Create() {
  return new RHiScoreInfo;
}

void RHiScoreInfo::PostCreate(const TWindowStyle& style) {
  TWindow::PostCreate(style);
  TakeDialogKeys(this);
}

bool RHiScoreInfo::OnKeyDown(int key, int /*modifiers*/) {
  if (key != hiscore_key::kEscape && key != kEnterKey) return false;
  RunDialogText("CloseHiscoreInfo()");
  return true;
}

void RHiScoreInfo::FadeAndCloseInfo(const std::string& endScript) {
  RunDialogText(endScript);
}
