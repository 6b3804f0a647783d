// The board's tiles as windows, without a renderer or a window manager: the view makes a
// tile window for every placed tile at its screen position, keeps the drawing order,
// detaches tiles that leave and re-attaches those undo brings back, and a press on a tile
// goes through the board's click rule.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/board.h"
#include "game/window/board_view.h"
#include "game/window/tile.h"
#include "ui/window.h"

namespace {

constexpr TFace kBook{4, 0}, kBell{3, 0}, kTreasure{101, 0};

class TileWindowTest : public ::testing::Test {
 protected:
  TileWindowTest() : view(board, parent) {
    menu = new TWindow;
    menu->SetName("game_menu_button");
    parent.AddChild(menu, false);
  }
  ~TileWindowTest() override { parent.RemoveChild(menu), delete menu; }

  std::vector<TWindow*> Children() const {
    return {parent.Children().begin(), parent.Children().end()};
  }
  int IndexOf(TWindow* window) const {
    const auto children = Children();
    return static_cast<int>(std::find(children.begin(), children.end(), window) - children.begin());
  }

  TWindow parent;
  TWindow* menu = nullptr;
  TBoard board;
  TBoardView view;
};

}  // namespace

TEST_F(TileWindowTest, PlacedTilesBecomeChildrenAtTheirScreenPositions) {
  const TTileId a = board.PlaceTile(0, 35, 6, kBook);
  const TTileId b = board.PlaceTile(1, 30, 5, kBell);
  TTile* tileA = view.TileWindow(a);
  ASSERT_NE(tileA, nullptr);
  EXPECT_EQ(tileA->GetParent(), &parent);
  EXPECT_EQ(tileA->GetRect().left, 712);
  EXPECT_EQ(tileA->GetRect().top, 240);
  EXPECT_EQ(tileA->Width(), kTileWindowWidth);
  EXPECT_EQ(tileA->Height(), kTileWindowHeight);
  EXPECT_EQ(tileA->Home(), (TPoint2{712, 240}));
  EXPECT_EQ(view.TileWindow(b)->GetRect().left, 618);
  EXPECT_STREQ(tileA->GetClassName(), "TImage") << "a tile answers as a picture window";
  EXPECT_EQ(tileA->ShortName(), "book2");
}

TEST_F(TileWindowTest, TheDrawingOrderStacksTilesInFrontOfTheAnchor) {
  const TTileId low = board.PlaceTile(0, 2, 0, kBook);
  const TTileId right = board.PlaceTile(0, 10, 0, kBell);
  const TTileId high = board.PlaceTile(1, 2, 0, kBook);
  board.RecountTiles(true);
  // Front of the list is drawn last: the higher layer in front, then the board's order,
  // and every tile in front of the anchor.
  EXPECT_LT(IndexOf(view.TileWindow(high)), IndexOf(view.TileWindow(low)));
  EXPECT_LT(IndexOf(view.TileWindow(low)), IndexOf(view.TileWindow(right)));
  EXPECT_LT(IndexOf(view.TileWindow(right)), IndexOf(menu));
}

TEST_F(TileWindowTest, MatchedTilesLeaveTheTreeAndUndoBringsThemBack) {
  const TTileId a = board.PlaceTile(0, 2, 2, kBook);
  const TTileId b = board.PlaceTile(0, 10, 2, kBook);
  board.PlaceTile(0, 20, 2, kBell);
  board.PlaceTile(0, 30, 2, kBell);
  TTile* tileA = view.TileWindow(a);
  EXPECT_TRUE(tileA->OnMouseDown({10, 10}));
  EXPECT_TRUE(tileA->IsPressed());
  EXPECT_TRUE(board.Tile(a).selected);
  EXPECT_EQ(tileA->BlankName(), tile_blank::kOn) << "a selected tile is lit";
  view.TileWindow(b)->OnMouseDown({10, 10});
  EXPECT_TRUE(board.Tile(a).removed);
  EXPECT_EQ(tileA->GetParent(), nullptr);
  EXPECT_FALSE(tileA->IsPressed()) << "a matched tile ends its press";
  EXPECT_EQ(Children().size(), 3u);
  board.UndoLastRecord();
  EXPECT_EQ(tileA->GetParent(), &parent);
  EXPECT_EQ(tileA->BlankName(), tile_blank::kOff);
  EXPECT_EQ(Children().size(), 5u);
}

TEST_F(TileWindowTest, LockedInputAndAppraisalModeTakeThePressFirst) {
  const TTileId a = board.PlaceTile(0, 2, 2, kBook);
  int appraised = 0;
  view.SetAppraiseHandler([&](TTile& tile) { appraised += tile.Id() == a; });
  board.inputLocked = true;
  view.TileWindow(a)->OnMouseDown({5, 5});
  EXPECT_FALSE(board.Tile(a).selected);
  EXPECT_FALSE(view.TileWindow(a)->IsPressed());
  board.inputLocked = false;
  board.appraisalMode = true;
  view.TileWindow(a)->OnMouseDown({5, 5});
  EXPECT_EQ(appraised, 1);
  EXPECT_FALSE(board.Tile(a).selected);
}

TEST_F(TileWindowTest, HoverLightsAFreeTileAndLeavingRestoresIt) {
  const TTileId free = board.PlaceTile(0, 2, 2, kBook);
  const TTileId blocked = board.PlaceTile(0, 4, 2, kBell);
  board.PlaceTile(0, 6, 2, kBell);
  std::vector<TTile*> previews;
  view.SetPreviewHandler([&](TTile* tile) { previews.push_back(tile); });
  TTile* tile = view.TileWindow(free);
  tile->OnMouseMove({20, 30});
  EXPECT_TRUE(tile->IsHovered());
  EXPECT_EQ(tile->BlankName(), tile_blank::kOn);
  view.TileWindow(blocked)->OnMouseMove({20, 30});
  EXPECT_FALSE(view.TileWindow(blocked)->IsHovered()) << "a blocked tile does not light up";
  tile->OnMouseMove({60, 30});  // outside the tile: as if the pointer left
  EXPECT_FALSE(tile->IsHovered());
  EXPECT_EQ(tile->BlankName(), tile_blank::kOff);
  EXPECT_EQ(previews.back(), nullptr);
}

TEST_F(TileWindowTest, BlanksFollowTheLookAndATutorialHintStaysLit) {
  const TTileId common = board.PlaceTile(0, 2, 2, kBook);
  const TTileId antique = board.PlaceTile(0, 10, 2, {127, 0});
  const TTileId kenny = board.PlaceTile(0, 20, 2, kKennyFace);
  const TTileId treasure = board.PlaceTile(0, 30, 2, kTreasure);
  EXPECT_EQ(view.TileWindow(common)->BlankName(), tile_blank::kOff);
  EXPECT_EQ(view.TileWindow(antique)->BlankName(), tile_blank::kAntique);
  EXPECT_EQ(view.TileWindow(kenny)->BlankName(), tile_blank::kKenny);
  EXPECT_EQ(view.TileWindow(treasure)->BlankName(), tile_blank::kAntique);
  // The hint highlight looks at the treasure suits, not at the look.
  EXPECT_STREQ(BlanksForHint({127, 0}).hint, tile_blank::kOffHint);
  EXPECT_STREQ(BlanksForHint(kTreasure).hint, tile_blank::kAntiqueHint);

  view.SetTutorialSeen(false);
  TTile* tile = view.TileWindow(common);
  tile->SetImages(tile_blank::kOffHint);
  EXPECT_TRUE(tile->IsHintMarked());
  tile->ShowSelected(true);
  EXPECT_EQ(tile->BlankName(), tile_blank::kOn);
  tile->ShowSelected(false);
  EXPECT_EQ(tile->BlankName(), tile_blank::kOffHint) << "a hint-marked tile stays green";
  // Once the tutorial is seen, hint blanks mark nothing.
  view.SetTutorialSeen(true);
  TTile* other = view.TileWindow(antique);
  other->SetImages(tile_blank::kAntiqueHint);
  other->SetNormalImage();
  EXPECT_FALSE(other->IsHintMarked());
  EXPECT_EQ(other->BlankName(), tile_blank::kAntique);
}
