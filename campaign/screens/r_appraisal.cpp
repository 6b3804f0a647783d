#include "campaign/screens/r_appraisal.h"

#include <random>

#include "data/string_table.h"
#include "game/appraisal.h"
#include "game/face_catalogue.h"
#include "game/window/appraised_face.h"
#include "ui/image.h"
#include "ui/modal_window.h"
#include "ui/text.h"

namespace {

void SetText(TWindow& root, const char* name, const std::string& text) {
  if (auto* child = dynamic_cast<TText*>(root.FindChild(name))) child->SetText(text);
}

void SetPicture(TWindow& root, const char* name, const std::string& picture) {
  if (auto* child = dynamic_cast<TImage*>(root.FindChild(name))) child->SetBitmap(picture, 1.0f);
}

}  // namespace

TWindow* RAppraisal::Create() {
  return new RAppraisal;
}

void RAppraisal::PostCreate(const TWindowStyle& style) {
  // Seeded from the dialog's clock: each appraisal draws its appraiser afresh.
  TModalWindow* modal = GetModalAncestor();
  std::minstd_rand random(modal ? static_cast<unsigned>(modal->Clock().GetTime()) + 1u : 1u);
  const int roll = static_cast<int>(random() % 100) + 1;
  ShowFace(AppraisedFace(), AppraiserFor(roll));
  RWindow::PostCreate(style);
}

void RAppraisal::ShowFace(TFace face, TAppraiser appraiser) {
  if (!face.IsNone()) {
    // The paid appraisal reads the hover set; the value comes from the valued set's amount
    // (an everyday face has none: $0).
    SetText(*this, "appraisal_title_text", AppraisalTitle(face, TAppraisalSet::kHover));
    SetText(*this, "appraisal_body_text", AppraisalBody(face, TAppraisalSet::kHover));
    SetText(*this, "appraisal_set_text", GetString("appraisal_set", SuitDisplayName(face.suit)));
    SetText(*this, "appraisal_value_text",
            GetString("appraisal_value", FormatCurrency(AppraisalAmount(face))));
    SetPicture(*this, "appraisal_picture", "tiles/" + std::string(FaceImageName(face)) + "_lg");
  }
  const bool gentleman = appraiser == TAppraiser::kGentleman;
  SetText(*this, "appraisal_nametag_text",
          GetString(gentleman ? "appraisal_gent" : "appraisal_lady"));
  SetPicture(*this, "appraisal_portrait_image",
             gentleman ? "gfx/appraiser_gent" : "gfx/appraiser_lady");
}
