// The SDL backend on SDL's dummy video driver: window, display modes and scale, injected
// input and the posted quit, without a display.
#include "platform/sdl/sdl_platform.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>

#include "frame/virtual_keys.h"

TEST(SdlPlatform, DisplayModesAndQueueOnTheDummyDriver) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  TSdlPlatform platform;
  if (!platform.Ready()) GTEST_SKIP() << "SDL video is not available";
  ASSERT_TRUE(platform.CreateWindow("Tandervel", 480, 360, 0));
  EXPECT_EQ(platform.Title(), "Tandervel");
  platform.SetTitle("Mahjong");
  EXPECT_EQ(platform.Title(), "Mahjong");

  ASSERT_TRUE(platform.SetDisplayMode(800, 600, false));
  int width = 0, height = 0;
  platform.ClientSize(width, height);
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 600);
  EXPECT_FLOAT_EQ(platform.Scale(), 1.0f);
  EXPECT_FALSE(platform.IsFullscreenMode());

  const TDisplayInfo desktop = platform.DisplayInfo();
  ASSERT_GT(desktop.desktopWidth, 0);
  ASSERT_TRUE(platform.SetDisplayMode(800, 600, true));
  EXPECT_TRUE(platform.IsFullscreenMode());
  const float fit = std::min(desktop.desktopWidth / 800.0f, desktop.desktopHeight / 600.0f);
  EXPECT_FLOAT_EQ(platform.Scale(), fit);
  ASSERT_TRUE(platform.SetDisplayMode(800, 600, false));
  EXPECT_FLOAT_EQ(platform.Scale(), 1.0f);

  // Injected messages come first, the posted quit once nothing else is pending.
  platform.PostQuit();
  TPlatformMessage key;
  key.type = kMsgKeyDown;
  key.key = VK_INSERT;
  platform.InjectMessage(key);
  TPlatformMessage message;
  ASSERT_TRUE(platform.PollMessage(message));
  EXPECT_EQ(message.type, kMsgKeyDown);
  bool quit = false;
  for (int i = 0; i < 100 && !quit; ++i) {
    if (platform.PollMessage(message)) quit = message.type == kMsgQuit;
  }
  EXPECT_TRUE(quit);
  EXPECT_FALSE(platform.PollMessage(message) && message.type == kMsgQuit);

  // Not a window: no X display behind the dummy driver.
  EXPECT_FALSE(platform.IsWindow(0x1234));
  platform.DestroyWindow();
  EXPECT_FALSE(platform.HasWindow());
}
