// The swap interval asked of the GL driver as full screen and the "vsync" setting change,
// with a driver that accepts every interval and one that refuses some.
#include "platform/sdl_gl/swap_interval.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/gfx/test_support.h"

namespace {

struct TFakeDriver {
  std::vector<int> asked;
  std::set<int> refused;
  int current = 0;
  TSwapInterval Control() {
    return TSwapInterval(
        [this](int interval, std::string& reason) {
          asked.push_back(interval);
          if (refused.count(interval)) {
            reason = "not on this display";
            return false;
          }
          current = interval;
          return true;
        },
        [this] { return current; });
  }
};

TEST(SwapInterval, FullScreenAsksForOneAndAWindowForTheSetting) {
  TLogCapture log;
  TFakeDriver driver;
  TSwapInterval control = driver.Control();
  EXPECT_EQ(control.Asked(), -1);
  control.Apply(false, false);  // a window, vsync off
  control.Apply(false, false);
  control.Apply(false, true);  // full screen
  control.Apply(true, true);   // the setting turned on there changes nothing
  control.Apply(false, true);
  control.Apply(true, false);  // back in a window with vsync on
  control.Apply(false, false);
  EXPECT_EQ(driver.asked, (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(control.Asked(), 0);
  EXPECT_TRUE(log.Contains("Swap interval 0 (window, vsync off): the driver reports 0"));
  EXPECT_TRUE(log.Contains("Swap interval 1 (full screen, vsync off): the driver reports 1"));
  EXPECT_EQ(log.Count("Swap interval "), 3);
}

TEST(SwapInterval, ARefusedIntervalCostsOneLineAndIsAskedForAgainAfterAChange) {
  TLogCapture log;
  TFakeDriver driver;
  driver.refused = {1};
  TSwapInterval control = driver.Control();
  for (int frame = 0; frame < 5; ++frame) control.Apply(false, true);
  EXPECT_EQ(driver.asked, (std::vector<int>{1}));
  EXPECT_TRUE(control.Refused());
  EXPECT_EQ(log.Count("Swap interval 1 (full screen, vsync off): refused by the display driver "
                      "(not on this display)"),
            1);
  control.Apply(false, false);
  EXPECT_FALSE(control.Refused());
  control.Apply(false, true);
  EXPECT_EQ(driver.asked, (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(driver.current, 0);  // the driver kept what it accepted

  // No driver behind the control: refused, logged, nothing else happens.
  TSwapInterval none(nullptr, nullptr);
  none.Apply(true, false);
  EXPECT_EQ(none.Asked(), 1);
  EXPECT_TRUE(log.Contains(
      "Swap interval 1 (window, vsync on): refused by the display driver (no driver)"));
}

}  // namespace
