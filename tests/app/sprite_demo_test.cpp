// The sprite and particle demo in the running program: "S" opens it from the main screen,
// its six animations move, a click on a tile puffs it away in dust and brings it back, a
// click on the sets box sends sparkles flying off it. Frames are read back at known places.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/sprite_demo.h"
#include "tests/app/program_fixture.h"

namespace {

uint32_t At(const TPixelImage& image, int x, int y) {
  return image.pixels[static_cast<size_t>(y) * image.width + x] & 0xFFFFFFu;
}

// How many pixels of the box differ between two frames.
int Changed(const TPixelImage& a, const TPixelImage& b, const TRect& box) {
  int changed = 0;
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) changed += At(a, x, y) != At(b, x, y);
  return changed;
}

// Pixels of the box that are much brighter in `after` than in `before` (additive sparkles).
int Brightened(const TPixelImage& before, const TPixelImage& after, const TRect& box) {
  int brighter = 0;
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) {
      const uint32_t a = At(before, x, y), b = At(after, x, y);
      brighter += ((b >> 16 & 0xFF) + (b >> 8 & 0xFF)) > ((a >> 16 & 0xFF) + (a >> 8 & 0xFF)) + 120;
    }
  return brighter;
}

}  // namespace

TEST_F(Program, SpriteDemoShowsTheAnimationsAndFiresBothEffects) {
  const std::string frames = (folder / "frames").string();
  const TRect tile = TSpriteDemo::TileRect(1);
  const TRect box = TSpriteDemo::SetsBoxRect();
  const int tileX = (tile.left + tile.right) / 2, tileY = (tile.top + tile.bottom) / 2;
  const int boxX = (box.left + box.right) / 2, boxY = (box.top + box.bottom) / 2;
  auto at = [](int x, int y) { return std::to_string(x) + " " + std::to_string(y) + "\n"; };
  std::string input =
      "100 click 400 300\n"
      "400 key s\n"
      "1000 frame\n"
      "1150 frame\n"
      "1300 frame\n"
      "1500 frame\n";
  input += "1600 click " + at(tileX, tileY);
  // Application time is wall time, and a loaded machine running the sanitizer build falls
  // seconds behind the script; the steps that are due then come at once, one marked frame
  // a drawn frame. So the tile's return is looked for in the last of several frames, late
  // and many frames after the click, and the sparkles in any of four frames after theirs
  // (the demo moves particles at most a quarter second a frame).
  input += "1750 frame\n";
  for (int t = 9000; t <= 9250; t += 50) input += std::to_string(t) + " frame\n";
  input += "9400 click " + at(boxX, boxY);
  for (int t = 9650; t <= 9800; t += 50) input += std::to_string(t) + " frame\n";
  // Return closes the demo; Escape, once the main screen is drawn again, quits from there.
  input += "10000 key return\n10300 frame\n10600 frame\n11000 key escape\n";
  const std::string script = WriteScript(input);
  EXPECT_EQ(
      Run("--headless --multiple --exit-after=120000 --frames=" + frames + " --input=" + script),
      0);
  const std::string log = Log();
  if (log.find("Frames are not written") != std::string::npos) {
    GTEST_SKIP() << "no offscreen GL on this machine";
  }
  EXPECT_NE(log.find("Game loop ended"), std::string::npos) << log;
  EXPECT_EQ(log.find("Exit time"), std::string::npos) << "Escape did not quit";
  EXPECT_EQ(log.find("Lua error"), std::string::npos) << log;
  EXPECT_EQ(log.find("Animation "), std::string::npos) << log;  // nothing missing or refused
  EXPECT_EQ(log.find("Missing string for label 'spritedemo"), std::string::npos) << log;
  constexpr int kFrames = 17, kTileBack = 10, kSparkles = 11, kClosed = 16;
  TPixelImage shot[kFrames];
  for (int i = 0; i < kFrames; ++i) {
    shot[i] = ReadFrame(frames, i);
    ASSERT_EQ(shot[i].width, 800) << i;
  }
  // Each animation moves: its box changes between some of the four early frames.
  for (const TSpriteDemo::TShelf& shelf : TSpriteDemo::kShelves) {
    const TRect area = shelf.backdrop == TSpriteDemo::kShelf
                           ? TRect{shelf.x - 100, shelf.y - 150, shelf.x + 100, shelf.y}
                           : TRect{shelf.x - 40, shelf.y - 40, shelf.x + 40, shelf.y + 40};
    int changed = 0;
    for (int i = 1; i < 4; ++i) changed += Changed(shot[i - 1], shot[i], area);
    EXPECT_GT(changed, 30) << shelf.animation;
  }
  // The animations stand on their shelves: the shelf's wood (at its end, where no
  // shadow of the rocking horse falls).
  EXPECT_EQ(At(shot[0], 48, 207), 0x5C381Cu);
  // The demo covers the main screen under it (its buttons sit in the middle there).
  EXPECT_EQ(At(shot[0], 360, 262), 0x184830u);
  // The clicked tile is gone and dust billows around where it was ...
  EXPECT_GT(Changed(shot[3], shot[4], tile), tile.Width() * tile.Height() / 2);
  const TRect around{tile.left - 30, tile.top - 40, tile.right + 30, tile.bottom + 20};
  EXPECT_GT(Changed(shot[3], shot[4], around), 1500);
  // ... and later the tile is back as it was and the dust has cleared.
  EXPECT_LT(Changed(shot[3], shot[kTileBack], around), 100);
  // Sparkles fly up off the sets box.
  const TRect above{box.left - 40, box.top - 200, box.right + 40, box.top};
  int sparkles = 0;
  for (int i = kSparkles; i < kSparkles + 4; ++i)
    sparkles = std::max(sparkles, Brightened(shot[kTileBack], shot[i], above));
  EXPECT_GT(sparkles, 150);
  // After Return the main screen is back: the demo's sets box is gone.
  EXPECT_GT(Changed(shot[kTileBack], shot[kClosed], box), box.Width() * box.Height() / 2);
}
