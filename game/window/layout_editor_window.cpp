#include "game/window/layout_editor_window.h"

#include <algorithm>
#include <cmath>

#include "data/string_table.h"
#include "files/file_system.h"
#include "frame/event.h"
#include "frame/log.h"
#include "frame/virtual_keys.h"
#include "game/board.h"
#include "game/level_file.h"
#include "game/level_info.h"
#include "game/player_layouts.h"
#include "game/tile_bag.h"
#include "game/window/editor_prompts.h"
#include "game/window/game_player.h"
#include "game/window/layout_picture.h"
#include "ui/text.h"
#include "ui/text_fit.h"
#include "ui/window_manager.h"
#include "ui/window_paint.h"
#include "ui/window_style.h"

namespace {

// The game's tile geometry (TileScreenPosition): a column is 20 pixels, a row 28, a face
// 40 x 56 with 7 pixels of drawn sides.
constexpr int kColumnWidth = 20;
constexpr int kRowHeight = 28;
constexpr float kFaceWidth = 40.0f;
constexpr float kFaceHeight = 56.0f;
constexpr float kSideDepth = 7.0f;
// The layers below the current one are drawn this opaque.
constexpr float kLowerLayerAlpha = 0.35f;
// How often the window looks at the solver's progress.
constexpr int kPollMs = 100;
// The board lies between the tool rails; the pointer elsewhere belongs to the rails' buttons
// and fields, which are the window's children.
constexpr int kBoardTop = 64;
constexpr int kBoardBottom = 532;
// The file box's text is drawn no smaller than this (pixels) before a long name is shortened.
constexpr float kFileTextMinSize = 9.0f;
// Tiles on the first layer before the layers are explained.
constexpr int kTilesBeforeLayerPrompt = 8;

using TFunctions = TWindowFunctions<TLayoutEditorWindow>;
constexpr TFunctions::TEntry kFunctions[] = {
    {"EditorSave", &TFunctions::Method<&TLayoutEditorWindow::Save>},
    {"EditorTestPlayFile", &TFunctions::Method<&TLayoutEditorWindow::TestPlayFile>},
    {"EditorUndo", &TFunctions::Method<&TLayoutEditorWindow::Undo>},
    {"EditorRedo", &TFunctions::Method<&TLayoutEditorWindow::Redo>},
    {"EditorLayerUp", &TFunctions::Method<&TLayoutEditorWindow::LayerUp>},
    {"EditorLayerDown", &TFunctions::Method<&TLayoutEditorWindow::LayerDown>},
    {"EditorMirrorLeftRight", &TFunctions::Method<&TLayoutEditorWindow::ToggleMirrorLeftRight>},
    {"EditorMirrorTopBottom", &TFunctions::Method<&TLayoutEditorWindow::ToggleMirrorTopBottom>},
    {"EditorMarking", &TFunctions::Method<&TLayoutEditorWindow::ToggleMarking>},
    {"EditorDuplicate", &TFunctions::Method<&TLayoutEditorWindow::Duplicate>},
    {"EditorDeleteLayout", &TFunctions::Method<&TLayoutEditorWindow::DeleteLayout>},
    {"EditorIsModified", &TFunctions::Method<&TLayoutEditorWindow::IsModified>},
    {"EditorFile", &TFunctions::Method<&TLayoutEditorWindow::File>},
    {"RunLater", &TFunctions::RunLater},
};

TText* TextChild(TWindow& root, const std::string& name) {
  return dynamic_cast<TText*>(root.FindChild(name));
}

void SetChildText(TWindow& root, const std::string& name, const std::string& text) {
  if (TText* child = TextChild(root, name)) child->SetText(text);
}

// "67%": the share, rounded.
std::string Percent(int part, int whole) {
  return std::to_string(whole > 0 ? (part * 100 + whole / 2) / whole : 0) + "%";
}

}  // namespace

TLayoutEditorWindow::TLayoutEditorWindow() = default;

TLayoutEditorWindow::~TLayoutEditorWindow() {
  mSolver.Stop();
  if (!mTestPlayBytes.empty()) RegisterMemoryFile(kTestPlayLevelFile, nullptr, 0);
}

TWindow* TLayoutEditorWindow::Create() {
  return new TLayoutEditorWindow;
}

void TLayoutEditorWindow::PostCreate(const TWindowStyle& style) {
  TWindow::PostCreate(style);
  mFunctions = std::make_unique<TFunctions>(this, kFunctions);
  // The editor's introduction comes before the prompts that opening a layout may ask for.
  mPrompts.Ask(kEditorPromptInitial);
  Open(style.GetString("file", ""));
  StartAnimation(kPollMs, true, true, false);
  if (TWindowManager* manager = TWindowManager::Get()) {
    manager->SetKeyTarget(GetModalAncestor(), this);
    manager->SetFocus(this);
  }
}

// A player's layout is edited in place; any other (a game layout) becomes a new copy.
void TLayoutEditorWindow::Open(const std::string& file) {
  TLevelLayout layout;
  layout.creatorName = CurrentGamePlayer().Name();
  mFile.clear();
  if (file.empty()) {
    Log("Editor: a new layout");
  } else if (file.compare(0, sizeof kPlayerLayoutFolder - 1, kPlayerLayoutFolder) == 0 &&
             ReadPlayerLayout(file, layout)) {
    mFile = file;
    Log("Editor: %s opened", file.c_str());
  } else {
    TLevelInfo info;
    if (LoadLevel(file, info, layout) == TLevelSource::kNone) layout.Clear();
    layout.title = GetString("editor_copy_of", info.title.empty() ? info.fileName : info.title);
    layout.description = info.description;
    layout.creatorName = CurrentGamePlayer().Name();
    Log("Editor: a copy of %s", file.c_str());
  }
  mEditor.Reset(layout);
  mEditor.SetLayer(0);
  SetChildText(*this, "editor_name_edit", mEditor.Layout().title);
  SetChildText(*this, "editor_description_edit", mEditor.Layout().description);
  AfterChange();
}

bool TLayoutEditorWindow::Playable() const {
  const int count = mEditor.Layout().PositionCount();
  return count > 0 && count % 2 == 0 && count <= TTileBag::kCapacity && mReport.overlaps.empty();
}

void TLayoutEditorWindow::AfterChange() {
  if (mCheckedRevision != mEditor.Revision()) {
    mCheckedRevision = mEditor.Revision();
    mReport = CheckLayout(mEditor.Layout());
    TBoardSetup setup;
    setup.campaignMode = false;
    if (Playable())
      mSolver.Start(mEditor.Layout(), kSolverDeals, setup, mEditor.Revision());
    else
      mSolver.Stop();
    mShownSolver = mSolver.Progress();
    FirstTimePrompts();
  }
  ShowTexts();
  Invalidate();
}

void TLayoutEditorWindow::FirstTimePrompts() {
  const TLevelLayout& layout = mEditor.Layout();
  if (layout.PositionCount() > 0 && !mPlacedOnce) {
    mPlacedOnce = true;
    mPrompts.Ask(kEditorPromptMove);
  }
  int firstLayer = 0;
  for (const TLayoutPosition& p : layout.Positions()) firstLayer += p.layer == 0;
  if (firstLayer >= kTilesBeforeLayerPrompt) mPrompts.Ask(kEditorPromptLayer);
  if (mMovedOnce) mPrompts.Ask(kEditorPromptDelete);
  std::vector<std::string> problems;
  TLayoutRequirements requirements;
  requirements.candidatesTakePlay = false;
  if (layout.PositionCount() > 0 && LayoutPasses(mReport, requirements, problems))
    mPrompts.Ask(kEditorPromptSave);
}

void TLayoutEditorWindow::ShowTexts() {
  const TLevelLayout& layout = mEditor.Layout();
  SetChildText(*this, "editor_layer_text",
               GetString("editor_layer", std::to_string(mEditor.Layer() + 1),
                         std::to_string(TLevelLayout::kLayers)));
  SetChildText(*this, "editor_count_text",
               GetString("editor_count", std::to_string(layout.PositionCount()),
                         std::to_string(layout.CandidateCount())));
  std::string mirror;
  if (mEditor.MirrorLeftRight() && mEditor.MirrorTopBottom())
    mirror = GetString("editor_mirror_both");
  else if (mEditor.MirrorLeftRight())
    mirror = GetString("editor_mirror_leftright");
  else if (mEditor.MirrorTopBottom())
    mirror = GetString("editor_mirror_topbottom");
  else
    mirror = GetString("editor_mirror_off");
  if (mMarking) mirror += "   " + GetString("editor_marking");
  SetChildText(*this, "editor_mode_text", mirror);
  if (mFile.empty())
    ShowFileStatus("editor_unsaved");
  else
    ShowFileStatus(mEditor.Modified() ? "editor_file_modified" : "editor_file",
                   LevelBareName(mFile));

  // The checks, most important first; one line each.
  std::vector<std::string> lines;
  const int count = layout.PositionCount();
  if (count == 0) lines.push_back(GetString("editor_check_empty"));
  if (count % 2 != 0) lines.push_back(GetString("editor_check_odd", std::to_string(count)));
  if (count > TTileBag::kCapacity)
    lines.push_back(GetString("editor_check_toomany", std::to_string(TTileBag::kCapacity)));
  if (!mReport.overlaps.empty())
    lines.push_back(GetString("editor_check_overlaps", std::to_string(mReport.overlaps.size())));
  if (!mReport.neverFreed.empty())
    lines.push_back(
        GetString("editor_check_neverfreed", std::to_string(mReport.neverFreed.size())));
  if (layout.CandidateCount() < 2)
    lines.push_back(GetString("editor_check_candidates", std::to_string(layout.CandidateCount())));
  if (!mReport.floating.empty())
    lines.push_back(GetString("editor_check_floating", std::to_string(mReport.floating.size())));
  if (lines.empty()) lines.push_back(GetString("editor_check_ok"));
  std::string checks;
  for (size_t i = 0; i < lines.size() && i < 3; ++i) checks += (i ? "\n" : "") + lines[i];
  SetChildText(*this, "editor_check_text", checks);

  std::string solver;
  const TLayoutSolverCheck::TProgress& p = mShownSolver;
  if (!Playable())
    solver = GetString("editor_solver_waiting");
  else if (p.running)
    solver = GetString("editor_solver_running", std::to_string(p.dealsDone),
                       std::to_string(p.dealsWanted), Percent(p.dealsCleared, p.dealsDone));
  else
    solver = GetString("editor_solver_done", Percent(p.dealsCleared, p.dealsDone),
                       std::to_string(p.dealsDone));
  SetChildText(*this, "editor_solver_text", solver);
}

// The solver works on its own thread; the window looks at its figures now and then, and
// shows the prompts waiting for it while no other screen (a prompt, a test play) is open.
bool TLayoutEditorWindow::Animate() {
  // A dialog asked for opens at a later frame: until then the editor still looks on top.
  TWindowManager* manager = TWindowManager::Get();
  if (manager && manager->TopModal() == GetModalAncestor() && !manager->ScriptsQueued())
    mPrompts.Drive();
  const TLayoutSolverCheck::TProgress progress = mSolver.Progress();
  if (progress.dealsDone != mShownSolver.dealsDone || progress.running != mShownSolver.running ||
      progress.generation != mShownSolver.generation) {
    mShownSolver = progress;
    if (!progress.running)
      Log("Editor: the greedy player cleared %d of %d deals", progress.dealsCleared,
          progress.dealsDone);
    ShowTexts();
  }
  return true;
}

// --- Texts ----------------------------------------------------------------------------------

// The top rail's file box is narrow: a long file name is drawn smaller, then shortened in its
// middle, rather than split or cut off at the box's edge.
void TLayoutEditorWindow::ShowFileStatus(const std::string& key, const std::string& name) {
  std::string status = key + '\n' + name;
  if (status == mShownFileStatus) return;
  TText* text = TextChild(*this, "editor_file_text");
  if (!text) return;
  mShownFileStatus = std::move(status);
  ShowNameFitted(
      *text, name, [&key](const std::string& shown) { return GetString(key, shown); },
      kFileTextMinSize);
}

void TLayoutEditorWindow::TakeTexts() {
  if (TText* name = TextChild(*this, "editor_name_edit")) mEditor.SetTitle(name->GetText());
  if (TText* description = TextChild(*this, "editor_description_edit"))
    mEditor.SetDescription(description->GetText());
}

// --- Script functions -----------------------------------------------------------------------

bool TLayoutEditorWindow::Save() {
  TakeTexts();
  if (mEditor.Layout().PositionCount() == 0) {
    Log("Editor: an empty layout is not saved");
    ShowFileStatus("editor_save_empty");
    return false;
  }
  std::string file = mFile;
  if (file.empty()) file = PlayerLayoutFileName(mEditor.Layout().title);
  std::string error;
  if (!SavePlayerLayout(file, mEditor.Layout(), &error)) {
    Log("Editor: the layout could not be saved to %s (%s)", file.c_str(), error.c_str());
    ShowFileStatus("editor_save_failed");
    return false;
  }
  mFile = file;
  mEditor.MarkSaved();
  Log("Editor: layout saved to %s, %d tiles", file.c_str(), mEditor.Layout().PositionCount());
  AfterChange();
  return true;
}

std::string TLayoutEditorWindow::TestPlayFile() {
  TakeTexts();
  AfterChange();
  if (!Playable()) {
    Log("Editor: the layout cannot be played yet (%d tiles)", mEditor.Layout().PositionCount());
    return {};
  }
  mTestPlayBytes = WriteLevelXml(mEditor.Layout());
  RegisterMemoryFile(kTestPlayLevelFile, mTestPlayBytes.data(), mTestPlayBytes.size());
  Log("Editor: test play of %d tiles", mEditor.Layout().PositionCount());
  return kTestPlayLevelFile;
}

void TLayoutEditorWindow::Undo() {
  mEditor.Undo();
  SetChildText(*this, "editor_name_edit", mEditor.Layout().title);
  SetChildText(*this, "editor_description_edit", mEditor.Layout().description);
  AfterChange();
}

void TLayoutEditorWindow::Redo() {
  mEditor.Redo();
  SetChildText(*this, "editor_name_edit", mEditor.Layout().title);
  SetChildText(*this, "editor_description_edit", mEditor.Layout().description);
  AfterChange();
}

void TLayoutEditorWindow::LayerUp() {
  mEditor.SetLayer(mEditor.Layer() + 1);
  AfterChange();
}

void TLayoutEditorWindow::LayerDown() {
  mEditor.SetLayer(mEditor.Layer() - 1);
  AfterChange();
}

bool TLayoutEditorWindow::ToggleMirrorLeftRight() {
  mEditor.SetMirror(!mEditor.MirrorLeftRight(), mEditor.MirrorTopBottom());
  AfterChange();
  return mEditor.MirrorLeftRight();
}

bool TLayoutEditorWindow::ToggleMirrorTopBottom() {
  mEditor.SetMirror(mEditor.MirrorLeftRight(), !mEditor.MirrorTopBottom());
  AfterChange();
  return mEditor.MirrorTopBottom();
}

bool TLayoutEditorWindow::ToggleMarking() {
  mMarking = !mMarking;
  AfterChange();
  return mMarking;
}

// The layout becomes a new, unsaved one with "Copy of" before its name.
void TLayoutEditorWindow::Duplicate() {
  TakeTexts();
  TLevelLayout copy = mEditor.Layout();
  copy.title = GetString("editor_copy_of", copy.title);
  mFile.clear();
  mEditor.Reset(copy);
  SetChildText(*this, "editor_name_edit", copy.title);
  Log("Editor: duplicated as \"%s\"", copy.title.c_str());
  AfterChange();
}

bool TLayoutEditorWindow::DeleteLayout() {
  if (mFile.empty() || !DeletePlayerLayout(mFile)) return false;
  mPrompts.Ask(kEditorPromptDelete);
  mFile.clear();
  AfterChange();
  return true;
}

// --- Input ----------------------------------------------------------------------------------

TLayoutEditorWindow::TCell TLayoutEditorWindow::CellCentredAt(TPoint2 point) const {
  const int layer = mEditor.Layer();
  const TTileScreenPosition origin = TileScreenPosition(layer, 0, 0);
  const float x = (static_cast<float>(point.x - origin.left) - kFaceWidth / 2) / kColumnWidth;
  const float y = (static_cast<float>(point.y - origin.top) - kFaceHeight / 2) / kRowHeight;
  return TCell{std::clamp(static_cast<int>(std::lround(x)), 0, TLayoutEditor::kLastX),
               std::clamp(static_cast<int>(std::lround(y)), 0, TLayoutEditor::kLastY)};
}

TLayoutEditorWindow::TCell TLayoutEditorWindow::CellUnder(TPoint2 point) const {
  const TTileScreenPosition origin = TileScreenPosition(mEditor.Layer(), 0, 0);
  const int dx = point.x - origin.left, dy = point.y - origin.top;
  return TCell{dx < 0 ? -1 : dx / kColumnWidth, dy < 0 ? -1 : dy / kRowHeight};
}

bool TLayoutEditorWindow::OnBoard(TPoint2 point) {
  return point.y >= kBoardTop && point.y < kBoardBottom;
}

bool TLayoutEditorWindow::OnMouseDown(TPoint2 point) {
  if (!OnBoard(point)) return false;
  if (TWindowManager* manager = TWindowManager::Get()) manager->SetFocus(this);
  TakeTexts();
  const std::optional<TCell> at = mEditor.PositionCovering(mEditor.Layer(), CellUnder(point));
  mCursor = at ? *at : CellCentredAt(point);
  mCursorShown = true;
  if (mMarking) {
    if (at) mEditor.ToggleCandidate(*at);
  } else if (at) {
    mDragFrom = *at;
  } else {
    mEditor.Place(mCursor);
  }
  AfterChange();
  return true;
}

bool TLayoutEditorWindow::OnMouseButton(TPoint2 point, int code) {
  if (code != kMouseRightDown || !OnBoard(point)) return false;
  mEditor.Remove(CellUnder(point));
  mDragFrom.reset();
  AfterChange();
  return true;
}

bool TLayoutEditorWindow::OnMouseMove(TPoint2 point) {
  if (!OnBoard(point) && !mDragFrom) return false;
  const TCell cell = CellCentredAt(point);
  if (cell == mCursor && mCursorShown) return true;
  mCursor = cell;
  mCursorShown = true;
  Invalidate();
  return true;
}

bool TLayoutEditorWindow::OnMouseUp(TPoint2 point) {
  if (!mDragFrom) return false;
  const TCell from = *mDragFrom;
  mDragFrom.reset();
  const TCell to = CellCentredAt(point);
  if (to != from && mEditor.Move(from, to)) mMovedOnce = true;
  mCursor = to;
  AfterChange();
  return true;
}

void TLayoutEditorWindow::MoveCursor(int dx, int dy, bool carry) {
  const TCell to{std::clamp(mCursor.x + dx, 0, TLayoutEditor::kLastX),
                 std::clamp(mCursor.y + dy, 0, TLayoutEditor::kLastY)};
  if (carry) {
    const std::optional<TCell> at = mEditor.PositionCovering(mEditor.Layer(), mCursor);
    if (!at) return;
    const TCell target{at->x + dx, at->y + dy};
    if (!mEditor.Move(*at, target)) return;
    mMovedOnce = true;
    mCursor = target;
  } else {
    mCursor = to;
  }
  mCursorShown = true;
  AfterChange();
}

bool TLayoutEditorWindow::OnKeyDown(int key, int modifiers) {
  const bool ctrl = (modifiers & kModCtrl) != 0;
  const bool shift = (modifiers & kModShift) != 0;
  switch (key) {
    case VK_LEFT:
      MoveCursor(-1, 0, shift);
      return true;
    case VK_RIGHT:
      MoveCursor(1, 0, shift);
      return true;
    case VK_UP:
      MoveCursor(0, -1, shift);
      return true;
    case VK_DOWN:
      MoveCursor(0, 1, shift);
      return true;
    case VK_SPACE:
    case VK_INSERT:
      mEditor.Place(mCursor);
      mCursorShown = true;
      AfterChange();
      return true;
    case VK_DELETE:
    case VK_BACK:
      mEditor.Remove(mCursor);
      AfterChange();
      return true;
    case VK_PRIOR:
      LayerUp();
      return true;
    case VK_NEXT:
      LayerDown();
      return true;
    default:
      break;
  }
  if (key >= '1' && key < '1' + TLevelLayout::kLayers) {
    mEditor.SetLayer(key - '1');
    AfterChange();
    return true;
  }
  switch (key) {
    case 'T':
      if (auto at = mEditor.PositionCovering(mEditor.Layer(), mCursor))
        mEditor.ToggleCandidate(*at);
      AfterChange();
      return true;
    case 'M':
      ToggleMirrorLeftRight();
      return true;
    case 'V':
      ToggleMirrorTopBottom();
      return true;
    case 'Z':
      if (!ctrl) return false;
      Undo();
      return true;
    case 'Y':
      if (!ctrl) return false;
      Redo();
      return true;
    case 'S':
      if (!ctrl) return false;
      Save();
      return true;
    default:
      return false;
  }
}

// --- Drawing --------------------------------------------------------------------------------

void TLayoutEditorWindow::Draw() {
  TScoped2d batch;
  if (!batch.Renderer()) return;
  const int current = mEditor.Layer();
  // The grid of the current layer: a dot at every cell a tile may stand on.
  const float dot[4] = {1.0f, 0.93f, 0.76f, 0.28f};
  for (int x = 0; x <= TLayoutEditor::kLastX + 2; x += 2)
    for (int y = 0; y <= TLayoutEditor::kLastY + 2; y += 2) {
      const TTileScreenPosition at = TileScreenPosition(current, x, y);
      FillScreenRect(TRect{at.left - 1, at.top - 1, at.left + 1, at.top + 1}, dot);
    }
  auto marked = [this](const TLayoutPosition& p) {
    auto same = [&p](const TLayoutPosition& q) {
      return q.layer == p.layer && q.x == p.x && q.y == p.y;
    };
    return std::any_of(mReport.neverFreed.begin(), mReport.neverFreed.end(), same) ||
           std::any_of(mReport.floating.begin(), mReport.floating.end(), same);
  };
  for (const TLayoutPosition& p : DrawingOrder(mEditor.Layout())) {
    if (p.layer > current) continue;
    const TTileScreenPosition at = TileScreenPosition(p.layer, p.x, p.y);
    TLayoutTileLook look;
    look.alpha = p.layer == current ? 1.0f : kLowerLayerAlpha;
    look.candidate = p.type == kCandidatePosition;
    look.marked = p.layer == current && marked(p);
    look.layer = p.layer;
    DrawLayoutTile(static_cast<float>(at.left), static_cast<float>(at.top), kFaceWidth, kFaceHeight,
                   kSideDepth, look);
  }
  if (!mCursorShown) return;
  // The ghost: where a tile would go (or which one the keys act on), with its mirror images.
  const bool onTile = mEditor.PositionCovering(current, mCursor).has_value();
  for (const TCell& image : mEditor.Images(mCursor)) {
    const bool fits = mEditor.Fits(current, image);
    const float frame[4] = {onTile ? 1.0f : (fits ? 0.35f : 0.95f),
                            onTile ? 0.82f : (fits ? 0.85f : 0.25f), onTile ? 0.35f : 0.3f,
                            image == mCursor ? 0.9f : 0.5f};
    const TTileScreenPosition at = TileScreenPosition(current, image.x, image.y);
    const int l = at.left, t = at.top, r = l + 40, b = t + 56;
    FillScreenRect(TRect{l - 2, t - 2, r + 2, t + 1}, frame);
    FillScreenRect(TRect{l - 2, b - 1, r + 2, b + 2}, frame);
    FillScreenRect(TRect{l - 2, t + 1, l + 1, b - 1}, frame);
    FillScreenRect(TRect{r - 1, t + 1, r + 2, b - 1}, frame);
  }
}
