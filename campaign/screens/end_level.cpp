#include "campaign/screens/end_level.h"

#include "campaign/game_app.h"
#include "campaign/screens/sprite_layer.h"
#include "campaign/screens/window_fader.h"
#include "data/string_table.h"
#include "frame/application.h"
#include "frame/frame_links.h"
#include "frame/log.h"
#include "game/appraisal.h"
#include "game/face_catalogue.h"
#include "game/score_ledger.h"
#include "game/window/game_player.h"
#include "game/window/level_result.h"
#include "gfx/animated_sprite.h"
#include "gfx/texture.h"
#include "ui/text.h"

#include <string_view>

namespace {

constexpr char kLevelEndSound[] = "audio/sfx/sets_activated.ogg";
constexpr char kSparkleAnimation[] = "anim/bling/bling.xml";
constexpr char kDiamondPicture[] = "gfx/diamond";
constexpr char kAntiqueTile[] = "endlevel/tile_antique";
constexpr char kCommonTile[] = "endlevel/tile_common";
// The won tile's centre in the sprite layer; the diamonds sit in a row above it.
constexpr float kTileX = 100, kTileY = 140;
constexpr TDiamondPlace kOne[] = {{100, 18}};
constexpr TDiamondPlace kTwo[] = {{84, 20}, {116, 16}};
constexpr TDiamondPlace kThree[] = {{68, 22}, {100, 18}, {132, 14}};
constexpr char kOutlined[] = "<outline color=\"000000\" size=\"1\">%s</outline>";

struct TLineLabel {
  const char* label;
  const char* labelChild;
  const char* valueChild;
};
constexpr TLineLabel kLines[TScorePlaque::kLines] = {
    {"endlevel_previousscore", "endlevel_scoretype_1_text", "endlevel_score_1_text"},
    {"endlevel_matches", "endlevel_scoretype_2_text", "endlevel_score_2_text"},
    {"endlevel_sets", "endlevel_scoretype_3_text", "endlevel_score_3_text"},
    {"endlevel_tilesremaining", "endlevel_scoretype_4_text", "endlevel_score_4_text"},
    {"endlevel_total", "endlevel_scoretype_5_text", "endlevel_score_5_text"},
};

void Show(TWindow& root, const char* name, bool shown) {
  if (TWindow* child = root.FindChild(name))
    child->SetFlags(shown ? child->GetFlags() | kWindowVisible
                          : child->GetFlags() & ~kWindowVisible);
}

TText* TextChild(TWindow& root, const char* name) {
  return dynamic_cast<TText*>(root.FindChild(name));
}

void SetText(TWindow& root, const char* name, const std::string& text) {
  if (TText* child = TextChild(root, name)) child->SetText(text);
}

std::string Outlined(const std::string& text) {
  const std::string_view format = kOutlined;
  const size_t at = format.find("%s");
  return std::string(format.substr(0, at)).append(text).append(format.substr(at + 2));
}

}  // namespace

const TDiamondPlace* DiamondPlaces(int rating) {
  switch (rating) {
    case 1:
      return kOne;
    case 2:
      return kTwo;
    case 3:
      return kThree;
    default:
      return nullptr;
  }
}

REndLevel::REndLevel() {
  Functions().Bind("StartScoreAnim", this, &REndLevel::StartScoreAnim);
}

REndLevel::~REndLevel() = default;

TWindow* REndLevel::Create() {
  return new REndLevel;
}

void REndLevel::PostCreate(const TWindowStyle& style) {
  // The fade below replaces RWindow's own: the counting starts when it ends.
  TKeyboardScreen::PostCreate(style);
  mLayer = dynamic_cast<TSpriteLayer*>(FindChild("endlevel_spritelayer"));
  const TLevelResult& result = LastLevelResult();
  CurrentGamePlayer().StopLocationMusic();
  if (TApplication* app = TApplication::Get())
    if (TSoundLink* sound = app->GetSoundManager())
      sound->PlayEffect(kLevelEndSound, TSoundLink::kGameEffectsGroup);
  RecordTheLevel(result);
  ShowEarnedItem(result.won);
  for (const char* name : {"endlevel_portrait", "endlevel_mainmenu_button",
                           "endlevel_tryagain_button", "endlevel_newlevel_button"})
    Show(*this, name, false);
  if (TText* yourScore = TextChild(*this, "endlevel_yourscore_text")) {
    yourScore->SetRotation(8, 0, 0);
    const TRect at = yourScore->GetRect();
    yourScore->SetPosition(at.left, at.top - 7);
  }
  SetUpScoreLines(result);
  StartFade(&FadeTarget(), RWindowFader::kOpening, kStartScript);
  // The diamonds and the counting follow the clock, not the frame rate: a slow frame runs the
  // updates it missed, so the plaque takes the same time on every machine.
  StartAnimation(kUpdateMs, true, false, true);
}

// The record moves on once per level, however often the screen is built, through the game's
// player (the program's is the current player's progress record). A classic game is played
// beside the campaign and changes nothing in it.
void REndLevel::RecordTheLevel(const TLevelResult& result) {
  if (result.recorded || !result.ledger) return;
  TLevelResult recorded = result;
  recorded.recorded = true;
  if (result.campaign) {
    CurrentGamePlayer().RecordWonLevel(result.levelFile, result.won, result.ledger->Total());
    Log("EndLevel: %s won with %d", result.levelFile.c_str(), result.ledger->Total());
    // The campaign's score (money plus collection) joins the high scores once the record
    // holds this level's money.
    if (TGameApp* game = TGameApp::Get()) game->AddFinishedLevelScore();
  } else {
    Log("Game: classic game ended with %d; the campaign's record is unchanged",
        result.ledger->Total());
    CurrentGamePlayer().RecordFreePlayLevel(result.levelFile, result.ledger->Total());
  }
  SetLastLevelResult(std::move(recorded));
  if (TGameApp* game = TGameApp::Get()) game->ReportLevelBreak();
}

void REndLevel::ShowEarnedItem(TFace face) {
  if (face.IsNone()) {
    // A board cleared without a treasure: nothing to appraise.
    Show(*this, "endlevel_scoreplaque", false);
    Show(*this, "endlevel_subtitle_text", false);
    SetText(*this, "endlevel_title_text", GetString("endlevel_boardcleared"));
    SetText(*this, "endlevel_tiletitle_text", "");
    SetText(*this, "endlevel_tiledescription_text", GetString("endlevel_nothingfound"));
    return;
  }
  const bool antique = HasAntiqueLook(face.suit);
  const TAppraisalSet set = antique ? TAppraisalSet::kValued : TAppraisalSet::kHover;
  SetText(*this, "endlevel_tiletitle_text", AppraisalTitle(face, set));
  SetText(*this, "endlevel_tiledescription_text", AppraisalBody(face, set));
  if (antique) {
    if (TText* value = TextChild(*this, "endlevel_scoreplaque_text")) {
      value->SetText(FormatCurrency(AppraisalAmount(face)));
      value->SetRotation(kValueTilt, 0, 0);
    }
  } else {
    Show(*this, "endlevel_scoreplaque", false);
    SetText(*this, "endlevel_title_text", GetString("endlevel_didyouknow"));
    Show(*this, "endlevel_subtitle_text", false);
  }
  if (!mLayer) return;
  auto tile = std::make_shared<TSprite>();
  tile->SetDrawable(
      GetTexture(antique || IsTreasureSuit(face.suit) ? kAntiqueTile : kCommonTile, 0));
  tile->SetPosition(kTileX, kTileY);
  tile->SetScaleRotation(1, 1, kTileTilt);
  auto picture = std::make_shared<TSprite>();
  picture->SetDrawable(GetTexture("tiles/" + std::string(FaceImageName(face)) + "_lg", 0));
  picture->SetPosition(-4, -6);  // on the tile's face, clear of its back edge
  tile->AddChild(picture);
  mLayer->AddSprite(tile);
  if (const TDiamondPlace* places = antique ? DiamondPlaces(DiamondRating(face)) : nullptr) {
    const int count = DiamondRating(face);
    for (int i = 0; i < count; ++i) {
      auto diamond = std::make_shared<TSprite>();
      diamond->SetDrawable(GetTexture(kDiamondPicture, 0));
      diamond->SetPosition(places[i].x, places[i].y);
      diamond->SetScaleRotation(0, 0, 0);
      mLayer->AddSprite(diamond);
      mDiamonds[i] = diamond;
    }
  }
  mSparkle = mLayer->AddAnimation(kSparkleAnimation, 0, 0);
  if (mSparkle) mSparkle->SetVisible(false);
}

void REndLevel::SetUpScoreLines(const TLevelResult& result) {
  if (result.ledger) {
    const TScoreLedger& ledger = *result.ledger;
    mPlaque.SetTarget(0, ledger.TotalOfKind(TScoreKind::kBankroll));
    mPlaque.SetTarget(1, ledger.TotalOfKind(TScoreKind::kPair));
    mPlaque.SetTarget(
        2, ledger.TotalOfKind(TScoreKind::kSetOf3) + ledger.TotalOfKind(TScoreKind::kSetOf4) +
               ledger.TotalOfKind(TScoreKind::kRunOf3) + ledger.TotalOfKind(TScoreKind::kRunOf4));
    mPlaque.SetTarget(3, ledger.TotalOfKind(TScoreKind::kTilesLeft));
    mPlaque.SetTarget(4, ledger.Total());
  }
  for (int i = 0; i < TScorePlaque::kLines; ++i) {
    SetText(*this, kLines[i].labelChild, GetString(kLines[i].label));
    ShowLine(i);
  }
}

void REndLevel::ShowLine(int line) {
  const std::string money = FormatCurrency(mPlaque.Line(line).shown);
  SetText(*this, kLines[line].valueChild,
          line == TScorePlaque::kLines - 1 ? Outlined(money) : money);
}

void REndLevel::StartScoreAnim() {
  mCounting = true;
}

int REndLevel::DiamondCount() const {
  int count = 0;
  for (const auto& diamond : mDiamonds) count += diamond ? 1 : 0;
  return count;
}

float REndLevel::DiamondScale(int slot) const {
  if (slot < 0 || slot >= kDiamondSlots) return 0;
  return mDiamondScale[slot];
}

bool REndLevel::PopDiamonds() {
  for (int i = 0; i < kDiamondSlots; ++i) {
    if (mPoppedIn[i]) continue;
    if (!mDiamonds[i]) {
      mPoppedIn[i] = true;
      continue;
    }
    if (!mSparkleStarted[i]) {
      mSparkleStarted[i] = true;
      if (mSparkle) {
        mSparkle->SetPosition(mDiamonds[i]->GetX(), mDiamonds[i]->GetY());
        TSpriteLayer::StartAnimation(*mSparkle);
      }
    }
    float& scale = mDiamondScale[i];
    scale += kDiamondGrowth;
    if (scale > 1) {
      scale = 1;
      mPoppedIn[i] = true;
    }
    mDiamonds[i]->SetScaleRotation(scale, scale, 0);
    return true;
  }
  return false;
}

bool REndLevel::Animate() {
  if (!mCounting) return true;
  if (mSparkle && !mSparkle->IsPlaying()) mSparkle->SetVisible(false);
  if (PopDiamonds()) return true;
  const int line = mPlaque.Advance();
  if (line >= 0) ShowLine(line);
  return true;
}

bool REndLevel::OnMouseDown(TPoint2 point) {
  if (mCounting && mPlaque.FinishCurrentLine()) return true;
  return RWindow::OnMouseDown(point);
}
