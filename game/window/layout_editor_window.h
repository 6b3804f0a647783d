// TLayoutEditorWindow ("LayoutEditor"): the layout editor's board. It shows the 38 x 16
// half-tile grid at the game's own tile geometry (what is drawn here is where the tiles lie
// in play), the current layer solid with the layers below it faded, a ghost tile where the
// next one would go (green when it fits, red when not) and the live checks of the layout:
// counts, the structural faults, and the greedy player's share of cleared deals, measured
// on a helper thread so that drawing never waits for it.
//
// Mouse: a click on an empty place puts a tile there (with its mirror images), a drag moves
// a tile of the current layer, the right button removes one; in marking mode a click marks
// or unmarks a treasure candidate. Keys: the arrows move the ghost by half a tile (with
// Shift they move the tile under it), Space or Insert places, Delete or Backspace removes,
// T marks, Page Up / Page Down or 1..7 change the layer, M and V switch the left-right and
// top-bottom mirrors, Ctrl+Z / Ctrl+Y undo and redo, Ctrl+S saves.
//
// The script ("scripts/layouteditor.lua") makes the texts and buttons; the window answers
// the script functions listed in the .cpp file. Opened with the style key "file" naming a
// player's layout it edits that file; a game layout is opened as a new copy.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "game/layout_checker.h"
#include "game/layout_editor.h"
#include "game/layout_solver_check.h"
#include "game/window/editor_prompts.h"
#include "game/window/window_functions.h"
#include "ui/window.h"

class TLayoutEditorWindow : public TWindow {
 public:
  // Deals the greedy player tries after each change.
  static constexpr int kSolverDeals = 200;

  TLayoutEditorWindow();
  ~TLayoutEditorWindow() override;
  static TWindow* Create();
  const char* GetClassName() const override { return "TLayoutEditorWindow"; }

  void PostCreate(const TWindowStyle& style) override;
  void Draw() override;
  bool Animate() override;
  bool OnMouseDown(TPoint2 point) override;
  bool OnMouseButton(TPoint2 point, int code) override;
  bool OnMouseMove(TPoint2 point) override;
  bool OnMouseUp(TPoint2 point) override;
  bool OnKeyDown(int key, int modifiers) override;

  // --- script functions
  bool Save();
  // Hands the layout to the game as a memory file and answers its name; "" when the layout
  // cannot be played (no tiles, or an odd count).
  std::string TestPlayFile();
  void Undo();
  void Redo();
  void LayerUp();
  void LayerDown();
  bool ToggleMirrorLeftRight();
  bool ToggleMirrorTopBottom();
  bool ToggleMarking();
  void Duplicate();
  bool DeleteLayout();
  // Changed since the last save; a layout never saved counts once it has a tile.
  bool IsModified() const {
    return mEditor.Modified() || (mFile.empty() && mEditor.Layout().PositionCount() > 0);
  }
  std::string File() const { return mFile; }

  const TLayoutEditor& Editor() const { return mEditor; }
  // The greedy player's trial of the current layout, as far as it has gone.
  TLayoutSolverCheck::TProgress SolverProgress() const { return mSolver.Progress(); }
  // Whether the layout passes the checks a layout must pass to be played.
  bool Playable() const;

 private:
  using TCell = TLayoutEditor::TCell;

  void Open(const std::string& file);
  // After every change: the checks again, the solver restarted, the texts and the picture.
  void AfterChange();
  void ShowTexts();
  void ShowFileStatus(const std::string& key, const std::string& name = {});
  void TakeTexts();
  void MoveCursor(int dx, int dy, bool carry);
  TCell CellCentredAt(TPoint2 point) const;
  TCell CellUnder(TPoint2 point) const;
  static bool OnBoard(TPoint2 point);
  void FirstTimePrompts();

  TLayoutEditor mEditor;
  std::string mFile;             // the player's layout file being edited; "" until saved
  std::string mShownFileStatus;  // the file box's string key and name as last shown
  TLayoutReport mReport;
  unsigned mCheckedRevision = ~0u;
  TLayoutSolverCheck mSolver;
  TLayoutSolverCheck::TProgress mShownSolver;
  TCell mCursor{18, 7};
  bool mCursorShown = false;
  bool mMarking = false;
  std::optional<TCell> mDragFrom;
  std::string mTestPlayBytes;  // the memory file the game reads during a test play
  bool mPlacedOnce = false;
  bool mMovedOnce = false;
  TEditorPrompts mPrompts;
  std::unique_ptr<TWindowFunctions<TLayoutEditorWindow>> mFunctions;
};
