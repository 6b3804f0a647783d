// TLayoutEditor: the model of the layout editor. It edits a TLevelLayout one layer at a
// time: positions are placed, moved and removed so that the footprints of one layer never
// overlap and never leave the grid, optionally with their mirror images (left-right,
// top-bottom), and every edit (texts included) can be undone and redone.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "game/level_layout.h"

class TLayoutEditor {
 public:
  // The last cell a position may stand on: its 2 x 2 footprint must stay inside the grid.
  static constexpr int kLastX = TLevelLayout::kColumns - 2;  // 36
  static constexpr int kLastY = TLevelLayout::kRows - 2;     // 14
  // Undo steps kept; the oldest go first.
  static constexpr size_t kUndoLimit = 1000;

  struct TCell {
    int x = 0;
    int y = 0;
    bool operator==(const TCell&) const = default;
  };

  explicit TLayoutEditor(const TLevelLayout& layout = TLevelLayout());

  const TLevelLayout& Layout() const { return mLayout; }
  // Starts over with another layout; the undo history is forgotten.
  void Reset(const TLevelLayout& layout);

  int Layer() const { return mLayer; }
  void SetLayer(int layer);

  bool MirrorLeftRight() const { return mMirrorLeftRight; }
  bool MirrorTopBottom() const { return mMirrorTopBottom; }
  void SetMirror(bool leftRight, bool topBottom) {
    mMirrorLeftRight = leftRight;
    mMirrorTopBottom = topBottom;
  }

  // The cell and its mirror images under the current mirror switches (no repeats).
  std::vector<TCell> Images(TCell cell) const;

  // The position of the current layer whose footprint covers the cell, if any.
  std::optional<TCell> PositionCovering(int layer, TCell cell) const;
  // Whether a position fits at cell on layer: inside the grid and overlapping no position
  // of that layer other than the one at ignore (when given).
  bool Fits(int layer, TCell cell, std::optional<TCell> ignore = std::nullopt) const;

  // Places a position (and its mirror images) on the current layer. The images that do not
  // fit are left out; false when none fits. One undo step.
  bool Place(TCell cell);
  // Removes the position covering the cell on the current layer and the positions at its
  // mirror images. False when nothing was there.
  bool Remove(TCell cell);
  // Moves the position covering from to the cell to (mirror images are not moved); keeps its
  // type. False when there is none or it does not fit there.
  bool Move(TCell from, TCell to);
  // Makes the position covering the cell (and those at its mirror images) a treasure
  // candidate, or all of them ordinary positions again when it is one.
  bool ToggleCandidate(TCell cell);

  void SetTitle(const std::string& title);
  void SetDescription(const std::string& description);
  void SetCreator(const std::string& creator);

  bool CanUndo() const { return !mUndo.empty(); }
  bool CanRedo() const { return !mRedo.empty(); }
  bool Undo();
  bool Redo();

  // Whether the layout changed since the last MarkSaved (or the start).
  bool Modified() const { return mRevision != mSavedRevision; }
  void MarkSaved() { mSavedRevision = mRevision; }
  // Counts every change, undo and redo included: the live checks run again when it moves.
  unsigned Revision() const { return mRevision; }

 private:
  struct TSnapshot {
    TLevelLayout layout;
    unsigned revision;
  };
  void BeginEdit();
  void Changed();

  TLevelLayout mLayout;
  int mLayer = 0;
  bool mMirrorLeftRight = false;
  bool mMirrorTopBottom = false;
  std::vector<TSnapshot> mUndo;
  std::vector<TSnapshot> mRedo;
  unsigned mRevision = 0;
  unsigned mSavedRevision = 0;
  unsigned mNextRevision = 1;
};
