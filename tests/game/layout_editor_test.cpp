#include "game/layout_editor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "game/layout_solver_check.h"

namespace {

using TCell = TLayoutEditor::TCell;

}  // namespace

TEST(LayoutEditor, PlacesMovesAndRemovesWithoutOverlapsOrLeavingTheGrid) {
  TLayoutEditor editor;
  EXPECT_TRUE(editor.Place({4, 4}));
  EXPECT_EQ(editor.Layout().TypeAt(0, 4, 4), kOrdinaryPosition);
  for (TCell overlapping : {TCell{4, 4}, TCell{5, 5}, TCell{3, 3}, TCell{5, 3}, TCell{3, 5}})
    EXPECT_FALSE(editor.Place(overlapping)) << overlapping.x << "," << overlapping.y;
  EXPECT_TRUE(editor.Place({6, 4})) << "side by side";
  EXPECT_TRUE(editor.Place({5, 6})) << "half a tile across, one row down";
  EXPECT_FALSE(editor.Place({37, 0})) << "the footprint would leave the grid";
  EXPECT_FALSE(editor.Place({0, 15}));
  EXPECT_TRUE(editor.Place({36, 14}));
  EXPECT_EQ(editor.Layout().PositionCount(), 4);

  // A click on any of the four cells of a tile finds it.
  EXPECT_EQ(editor.PositionCovering(0, {7, 5}), (TCell{6, 4}));
  EXPECT_FALSE(editor.PositionCovering(1, {7, 5}));
  EXPECT_FALSE(editor.Move({7, 5}, {5, 4})) << "onto its neighbour";
  EXPECT_TRUE(editor.Move({7, 5}, {7, 4})) << "half a step into its own old place";
  EXPECT_EQ(editor.Layout().TypeAt(0, 7, 4), kOrdinaryPosition);
  EXPECT_EQ(editor.Layout().TypeAt(0, 6, 4), kNoPosition);

  editor.SetLayer(1);
  EXPECT_TRUE(editor.Place({4, 4})) << "another layer is free";
  EXPECT_FALSE(editor.Remove({10, 10}));
  EXPECT_TRUE(editor.Remove({5, 5}));
  EXPECT_EQ(editor.Layout().TypeAt(1, 4, 4), kNoPosition);
  EXPECT_EQ(editor.Layout().TypeAt(0, 4, 4), kOrdinaryPosition) << "only the current layer";
  editor.SetLayer(9);
  EXPECT_EQ(editor.Layer(), TLevelLayout::kLayers - 1);
}

TEST(LayoutEditor, MirrorsPlaceRemoveAndMarkTheImagesToo) {
  TLayoutEditor editor;
  editor.SetMirror(true, true);
  ASSERT_TRUE(editor.Place({2, 1}));
  const TLevelLayout& layout = editor.Layout();
  EXPECT_EQ(layout.PositionCount(), 4);
  for (TCell image : {TCell{2, 1}, TCell{34, 1}, TCell{2, 13}, TCell{34, 13}})
    EXPECT_EQ(layout.TypeAt(0, image.x, image.y), kOrdinaryPosition) << image.x << "," << image.y;

  // On the middle column the left-right image is the tile itself.
  ASSERT_TRUE(editor.Place({18, 4}));
  EXPECT_EQ(layout.PositionCount(), 6);
  EXPECT_EQ(layout.TypeAt(0, 18, 10), kOrdinaryPosition);
  // An image that would overlap a tile already there is left out; the others go in.
  editor.SetMirror(false, false);
  ASSERT_TRUE(editor.Place({4, 6}));
  editor.SetMirror(true, false);
  ASSERT_TRUE(editor.Place({31, 6}));
  EXPECT_EQ(layout.TypeAt(0, 31, 6), kOrdinaryPosition);
  EXPECT_EQ(layout.TypeAt(0, 5, 6), kNoPosition) << "it would overlap the tile at 4,6";
  EXPECT_EQ(layout.PositionCount(), 8);
  EXPECT_FALSE(editor.Place({5, 7})) << "neither fits";

  editor.SetMirror(true, true);
  ASSERT_TRUE(editor.ToggleCandidate({3, 2}));
  EXPECT_EQ(layout.CandidateCount(), 4);
  ASSERT_TRUE(editor.ToggleCandidate({34, 13}));
  EXPECT_EQ(layout.CandidateCount(), 0) << "a candidate's images turn back together";
  ASSERT_TRUE(editor.Remove({35, 14})) << "a cell of the tile at 34,13";
  EXPECT_EQ(layout.PositionCount(), 4) << "it and its three images";
  EXPECT_EQ(layout.TypeAt(0, 31, 6), kOrdinaryPosition);
}

TEST(LayoutEditor, EveryEditUndoesAndRedoesAndTheSavedStateIsKnown) {
  TLayoutEditor editor;
  EXPECT_FALSE(editor.Modified());
  EXPECT_FALSE(editor.Undo());
  editor.Place({0, 0});
  editor.Place({2, 0});
  editor.ToggleCandidate({2, 0});
  editor.SetTitle("Row");
  editor.MarkSaved();
  editor.Move({0, 0}, {0, 2});
  editor.SetDescription("two");
  EXPECT_TRUE(editor.Modified());

  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(editor.Layout().description, "");
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(editor.Layout().TypeAt(0, 0, 0), kOrdinaryPosition);
  EXPECT_FALSE(editor.Modified()) << "back where it was saved";
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(editor.Layout().title, "");
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(editor.Layout().CandidateCount(), 0);
  ASSERT_TRUE(editor.Redo());
  ASSERT_TRUE(editor.Redo());
  EXPECT_EQ(editor.Layout().title, "Row");
  EXPECT_FALSE(editor.Modified());

  // A new edit forgets what could be redone.
  editor.Remove({0, 0});
  EXPECT_FALSE(editor.CanRedo());
  EXPECT_FALSE(editor.Redo());
  EXPECT_TRUE(editor.Modified());
  // A refused edit is no step.
  const unsigned revision = editor.Revision();
  EXPECT_FALSE(editor.Place({40, 0}));
  EXPECT_FALSE(editor.Move({20, 20}, {0, 0}));
  editor.SetTitle("Row");
  EXPECT_EQ(editor.Revision(), revision);

  TLevelLayout other;
  other.SetType(2, 5, 5, kCandidatePosition);
  editor.Reset(other);
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_FALSE(editor.Modified());
  EXPECT_EQ(editor.Layout().CandidateCount(), 1);
}

TEST(LayoutEditor, TheUndoHistoryIsBounded) {
  TLayoutEditor editor;
  for (size_t i = 0; i < TLayoutEditor::kUndoLimit + 20; ++i) editor.SetTitle(std::to_string(i));
  size_t undone = 0;
  while (editor.Undo()) ++undone;
  EXPECT_EQ(undone, TLayoutEditor::kUndoLimit);
  EXPECT_EQ(editor.Layout().title, "19");
}

namespace {

// 2 n positions with a gap between any two, so that every tile is free from the start and
// every deal is cleared.
TLevelLayout Spread(int n) {
  TLevelLayout layout;
  for (int i = 0; i < 2 * n; ++i) layout.SetType(0, 4 * (i % 9), 2 * (i / 9), kOrdinaryPosition);
  return layout;
}

TLayoutSolverCheck::TProgress WaitForEnd(const TLayoutSolverCheck& check) {
  for (int i = 0; i < 6000; ++i) {
    const TLayoutSolverCheck::TProgress progress = check.Progress();
    if (!progress.running) return progress;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return check.Progress();
}

}  // namespace

TEST(LayoutSolverCheck, CountsTheDealsTheGreedyPlayerClearsOffTheCallersThread) {
  TBoardSetup setup;
  setup.score = TScoreSettings{};
  TLayoutSolverCheck check;
  const unsigned first = check.Start(Spread(4), 20, setup);
  TLayoutSolverCheck::TProgress progress = WaitForEnd(check);
  EXPECT_EQ(progress.generation, first);
  EXPECT_FALSE(progress.running);
  EXPECT_EQ(progress.dealsDone, 20);
  EXPECT_EQ(progress.dealsCleared, 20) << "every tile is free at once";

  // Three tiles: the last one never finds a partner.
  TLevelLayout three;
  for (int x : {0, 2, 4}) three.SetType(0, x, 0, kOrdinaryPosition);
  check.Start(three, 10, setup);
  progress = WaitForEnd(check);
  EXPECT_EQ(progress.dealsDone, 10);
  EXPECT_EQ(progress.dealsCleared, 0);

  // A new start while one runs stops the old one; its figures never mix in.
  const unsigned long_run = check.Start(Spread(30), 100000, setup);
  const unsigned short_run = check.Start(Spread(2), 5, setup);
  EXPECT_EQ(short_run, long_run + 1);
  progress = WaitForEnd(check);
  EXPECT_EQ(progress.generation, short_run);
  EXPECT_EQ(progress.dealsDone, 5);
  EXPECT_EQ(progress.dealsWanted, 5);

  // Start hands the work over and returns at once: the caller (the editor's drawing) never
  // waits for the deals. Stopping and destroying while running return at the next deal.
  check.Start(Spread(30), 100000, setup);
  progress = check.Progress();
  EXPECT_TRUE(progress.running);
  EXPECT_LT(progress.dealsDone, 100000);
  check.Stop();
  EXPECT_FALSE(check.Progress().running);
  EXPECT_LT(check.Progress().dealsDone, 100000);
}
