#include "game/layout_editor.h"

#include <algorithm>

TLayoutEditor::TLayoutEditor(const TLevelLayout& layout) : mLayout(layout) {}

void TLayoutEditor::Reset(const TLevelLayout& layout) {
  mLayout = layout;
  mUndo.clear();
  mRedo.clear();
  mRevision = mNextRevision++;
  mSavedRevision = mRevision;
}

void TLayoutEditor::SetLayer(int layer) {
  mLayer = std::clamp(layer, 0, TLevelLayout::kLayers - 1);
}

std::vector<TLayoutEditor::TCell> TLayoutEditor::Images(TCell cell) const {
  std::vector<TCell> images{cell};
  auto add = [&images](TCell image) {
    if (std::find(images.begin(), images.end(), image) == images.end()) images.push_back(image);
  };
  // A footprint x..x+1 mirrors onto kLastX - x..kLastX - x + 1.
  if (mMirrorLeftRight) add({kLastX - cell.x, cell.y});
  if (mMirrorTopBottom) add({cell.x, kLastY - cell.y});
  if (mMirrorLeftRight && mMirrorTopBottom) add({kLastX - cell.x, kLastY - cell.y});
  return images;
}

std::optional<TLayoutEditor::TCell> TLayoutEditor::PositionCovering(int layer, TCell cell) const {
  for (int dx = 0; dx <= 1; ++dx)
    for (int dy = 0; dy <= 1; ++dy)
      if (mLayout.TypeAt(layer, cell.x - dx, cell.y - dy) != kNoPosition)
        return TCell{cell.x - dx, cell.y - dy};
  return std::nullopt;
}

bool TLayoutEditor::Fits(int layer, TCell cell, std::optional<TCell> ignore) const {
  if (layer < 0 || layer >= TLevelLayout::kLayers || cell.x < 0 || cell.y < 0 || cell.x > kLastX ||
      cell.y > kLastY)
    return false;
  // Another position overlaps when it stands within one cell in both directions.
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) {
      const TCell other{cell.x + dx, cell.y + dy};
      if (ignore && *ignore == other) continue;
      if (mLayout.TypeAt(layer, other.x, other.y) != kNoPosition) return false;
    }
  return true;
}

bool TLayoutEditor::Place(TCell cell) {
  // On integer cells a mirror image either is the cell itself (the middle column or row,
  // dropped by Images) or stands at least two cells away, so images never overlap each other.
  std::vector<TCell> fitting;
  for (TCell image : Images(cell))
    if (Fits(mLayer, image)) fitting.push_back(image);
  if (fitting.empty()) return false;
  BeginEdit();
  for (TCell image : fitting) mLayout.SetType(mLayer, image.x, image.y, kOrdinaryPosition);
  Changed();
  return true;
}

bool TLayoutEditor::Remove(TCell cell) {
  const std::optional<TCell> position = PositionCovering(mLayer, cell);
  if (!position) return false;
  std::vector<TCell> found;
  for (TCell image : Images(*position))
    if (mLayout.TypeAt(mLayer, image.x, image.y) != kNoPosition) found.push_back(image);
  BeginEdit();
  for (TCell at : found) mLayout.SetType(mLayer, at.x, at.y, kNoPosition);
  Changed();
  return true;
}

bool TLayoutEditor::Move(TCell from, TCell to) {
  const std::optional<TCell> at = PositionCovering(mLayer, from);
  if (!at || *at == to || !Fits(mLayer, to, at)) return false;
  BeginEdit();
  const uint8_t type = mLayout.TypeAt(mLayer, at->x, at->y);
  mLayout.SetType(mLayer, at->x, at->y, kNoPosition);
  mLayout.SetType(mLayer, to.x, to.y, type);
  Changed();
  return true;
}

bool TLayoutEditor::ToggleCandidate(TCell cell) {
  const std::optional<TCell> at = PositionCovering(mLayer, cell);
  if (!at) return false;
  const uint8_t type = mLayout.TypeAt(mLayer, at->x, at->y) == kCandidatePosition
                           ? kOrdinaryPosition
                           : kCandidatePosition;
  BeginEdit();
  for (TCell image : Images(*at))
    if (mLayout.TypeAt(mLayer, image.x, image.y) != kNoPosition)
      mLayout.SetType(mLayer, image.x, image.y, type);
  Changed();
  return true;
}

void TLayoutEditor::SetTitle(const std::string& title) {
  if (title == mLayout.title) return;
  BeginEdit();
  mLayout.title = title;
  Changed();
}

void TLayoutEditor::SetDescription(const std::string& description) {
  if (description == mLayout.description) return;
  BeginEdit();
  mLayout.description = description;
  Changed();
}

void TLayoutEditor::SetCreator(const std::string& creator) {
  if (creator == mLayout.creatorName) return;
  BeginEdit();
  mLayout.creatorName = creator;
  Changed();
}

bool TLayoutEditor::Undo() {
  if (mUndo.empty()) return false;
  mRedo.push_back({mLayout, mRevision});
  mLayout = std::move(mUndo.back().layout);
  mRevision = mUndo.back().revision;
  mUndo.pop_back();
  return true;
}

bool TLayoutEditor::Redo() {
  if (mRedo.empty()) return false;
  mUndo.push_back({mLayout, mRevision});
  mLayout = std::move(mRedo.back().layout);
  mRevision = mRedo.back().revision;
  mRedo.pop_back();
  return true;
}

void TLayoutEditor::BeginEdit() {
  mUndo.push_back({mLayout, mRevision});
  if (mUndo.size() > kUndoLimit) mUndo.erase(mUndo.begin());
  mRedo.clear();
}

void TLayoutEditor::Changed() {
  mRevision = mNextRevision++;
}
