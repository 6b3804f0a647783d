// A scratch file system with a small test animation: a 48 x 16 sheet of four frames (8 x 8
// red, 8 x 8 green, 16 x 16 blue, and an empty one) whose origin points differ, written as
// "anim/test/test.xml" and the packed "anim/test/packed.anm". Pictures need a renderer: an
// offscreen one of 64 x 64 pixels (tests skip without a GL context). The animation clock is
// a TClock on hand-driven application time; RunPasses runs the task list like the frame
// loop.
#pragma once

#include <string>

#include "frame/application_time.h"
#include "frame/clock.h"
#include "frame/task.h"
#include "frame/task_list.h"
#include "gfx/formats/animation_anm.h"
#include "gfx/formats/animation_xml.h"
#include "platform/egl/offscreen_screen.h"
#include "tests/gfx/test_support.h"
#include "tests/script/script_test_fixture.h"

class AnimationTest : public ScriptTest {
 protected:
  static constexpr uint32_t kRed = 0xFFFF0000u;
  static constexpr uint32_t kGreen = 0xFF00FF00u;
  static constexpr uint32_t kBlue = 0xFF0000FFu;

  void SetUp() override {
    ScriptTest::SetUp();
    const TPixelImage sheet = MakeImage(48, 16, [](int x, int y) -> uint32_t {
      if (x < 8 && y < 8) return kRed;
      if (x >= 8 && x < 16 && y < 8) return kGreen;
      if (x >= 16 && x < 32) return kBlue;
      return 0;
    });
    const std::vector<uint8_t> png = PngBytes(sheet);
    WriteFile("assets/anim/test/sheet.png", std::string(png.begin(), png.end()));
    const TAnimationData data = TestData("");
    WriteFile("assets/anim/test/test.xml", WriteAnimationXml(data));
    const std::vector<uint8_t> packed = WriteAnimationAnm(data);
    WriteFile("assets/anim/test/packed.anm", std::string(packed.begin(), packed.end()));
    InitFileSystem();
    clock.Start();
    screen = TOffscreenScreen::Create(64, 64);
    if (!screen) GTEST_SKIP() << "no offscreen GL context";
  }
  void TearDown() override {
    tasks.Clear();
    screen.reset();
    ScriptTest::TearDown();
  }

  // The test animation with the given script ("" for none).
  static TAnimationData TestData(const std::string& script) {
    TAnimationData data;
    data.name = "test";
    data.imageName = "sheet.png";
    data.imageWidth = 48;
    data.imageHeight = 16;
    auto frame = [](const char* name, int x, int w, int regX, int regY) {
      TAnimationFrame f;
      f.name = name;
      f.x = x, f.y = 0, f.w = w, f.h = w, f.regX = regX, f.regY = regY;
      return f;
    };
    data.frames = {frame("red", 0, 8, 2, 6), frame("green", 8, 8, 4, 4),
                   frame("blue", 16, 16, 8, 8), frame("empty", 32, 0, 0, 0)};
    data.hasScript = !script.empty();
    data.script = script;
    return data;
  }

  // Writes an animation with this script under anim/test/<name>.xml.
  void WriteAnimation(const std::string& name, const std::string& script) {
    WriteFile("assets/anim/test/" + name + ".xml", WriteAnimationXml(TestData(script)));
    InitFileSystem();
  }

  // Advances application time by ms in update passes of `step` ms.
  void RunPasses(int ms, int step = 4) {
    for (int t = 0; t < ms; t += step) {
      now += static_cast<uint32_t>(step);
      time.Set(now);
      tasks.Run(kUpdatePhase);
    }
  }

  std::unique_ptr<TOffscreenScreen> screen;
  uint32_t now = 1000;
  TManualTime time{1000};
  TClock clock;
  TTaskList tasks;
};
