#include "campaign/hiscore/hiscore_vocabulary.h"

#include "campaign/hiscore/hiscore.h"
#include "campaign/hiscore/hiscore_submit.h"
#include "campaign/hiscore/r_hi_score_info.h"
#include "ui/dialog_vocabulary.h"
#include "ui/window_manager.h"

namespace {

constexpr TWindowType kHiscoreWindowTypes[] = {
    {"HiscoreWindow", &THiscore::Create},
    {"HiscoreSubmit", &THiscoreSubmit::Create},
    {"RHiScoreInfo", &RHiScoreInfo::Create},
};

}  // namespace

void RegisterHiscoreVocabulary(TWindowManager& manager) {
  manager.AddVocabulary({kHiscoreWindowTypes, {}});
}
