// The page host's bookkeeping of a page's controls: which objects become controls, what
// each control is given, and where page calls go.
#include "webcontrol/page_controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// What happened to the page's controls, in order.
using TEvents = std::vector<std::string>;

class TRecordingControl : public TPageControl {
 public:
  TRecordingControl(TEvents* events, bool windowWorks)
      : mEvents(events), mWindowWorks(windowWorks) {}
  ~TRecordingControl() override { mEvents->push_back("release"); }
  bool LoadProperty(const std::string& name, const std::string& value) override {
    mEvents->push_back("param " + name + "=" + value);
    return name != "Colour";
  }
  bool CreateWindow(const TPageRect& r) override {
    mEvents->push_back("window " + Rect(r));
    mWindow = mWindowWorks ? 0x400001 : 0;
    return mWindowWorks;
  }
  void Place(const TPageRect& r) override { mEvents->push_back("place " + Rect(r)); }
  bool Invoke(const std::string& method, const std::string& argument) override {
    mEvents->push_back("invoke " + method + "(" + argument + ")");
    return method != "Explode";
  }
  uint64_t WindowId() const override { return mWindow; }

 private:
  static std::string Rect(const TPageRect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
  }
  TEvents* mEvents;
  bool mWindowWorks;
  uint64_t mWindow = 0;
};

struct TPage {
  TPage()
      : controls(
            [this](const std::string& classId) {
              events.push_back("find " + classId);
              return classId == "clsid:ours" ? std::string("/lib/ours.so") : std::string();
            },
            [this](const std::string& module) -> std::unique_ptr<TPageControl> {
              events.push_back("load " + module);
              if (!moduleLoads) return nullptr;
              return std::make_unique<TRecordingControl>(&events, windowWorks);
            }) {}
  TEvents events;
  bool moduleLoads = true;
  bool windowWorks = true;
  TPageControls controls;
};

TPageObject Object(int key, const std::string& classId) {
  TPageObject object;
  object.key = key;
  object.classId = classId;
  object.params = {{"MSN", "1"}, {"Colour", "red"}};
  object.rect = {12, 40, 800, 600};
  return object;
}

}  // namespace

TEST(PageControls, ARegisteredObjectGetsItsParametersAndThenItsWindow) {
  TPage page;
  ASSERT_TRUE(page.controls.Create(Object(1, "clsid:ours")));
  EXPECT_EQ(page.events, (TEvents{"find clsid:ours", "load /lib/ours.so", "param MSN=1",
                                  "param Colour=red", "window 12,40 800x600"}));
  EXPECT_EQ(page.controls.WindowIds(), (std::vector<uint64_t>{0x400001}));
  // The same object again (the page reported it twice) makes no second control.
  EXPECT_FALSE(page.controls.Create(Object(1, "clsid:ours")));
  EXPECT_EQ(page.controls.Count(), 1u);

  page.events.clear();
  page.controls.Place(1, {0, 0, 0, -5});  // no size at all still gives a window of one pixel
  EXPECT_TRUE(page.controls.Invoke(1, "PauseOn", ""));
  EXPECT_TRUE(page.controls.Invoke(1, "GameContinue", "<data/>"));
  EXPECT_FALSE(page.controls.Invoke(1, "Explode", ""));
  EXPECT_FALSE(page.controls.Invoke(2, "PauseOn", ""));  // no such object: dropped
  page.controls.Place(2, {1, 1, 1, 1});
  EXPECT_EQ(page.events, (TEvents{"place 0,0 1x1", "invoke PauseOn()",
                                  "invoke GameContinue(<data/>)", "invoke Explode()"}));
}

TEST(PageControls, ObjectsThatAreNotOursOrCannotStartMakeNoControl) {
  TPage page;
  EXPECT_FALSE(page.controls.Create(Object(1, "clsid:theirs")));
  page.moduleLoads = false;
  EXPECT_FALSE(page.controls.Create(Object(2, "clsid:ours")));
  page.moduleLoads = true;
  page.windowWorks = false;
  EXPECT_FALSE(page.controls.Create(Object(3, "clsid:ours")));
  EXPECT_EQ(page.controls.Count(), 0u);
  // The control whose window failed was released at once.
  EXPECT_EQ(page.events.back(), "release");
  page.windowWorks = true;
  EXPECT_TRUE(page.controls.Create(Object(3, "clsid:ours")));  // a later try may work
}

TEST(PageControls, LeavingThePageReleasesEveryControlInOrder) {
  TPage page;
  ASSERT_TRUE(page.controls.Create(Object(7, "clsid:ours")));
  ASSERT_TRUE(page.controls.Create(Object(9, "clsid:ours")));
  page.events.clear();
  page.controls.ReleaseAll();
  EXPECT_EQ(page.events, (TEvents{"release", "release"}));
  EXPECT_EQ(page.controls.Count(), 0u);
  EXPECT_FALSE(page.controls.Invoke(7, "PauseOn", ""));
  page.controls.ReleaseAll();  // nothing left: nothing happens
  EXPECT_EQ(page.events.size(), 2u);
}
