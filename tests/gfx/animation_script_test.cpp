// Animated sprites running their frame scripts as tasks on a hand-driven clock.
#include <gtest/gtest.h>

#include "data/asset_manager.h"
#include "gfx/animated_sprite.h"
#include "gfx/animation_script.h"
#include "tests/gfx/animation_test_fixture.h"

namespace {

class AnimationScriptTest : public AnimationTest {
 protected:
  std::shared_ptr<TAnimatedSprite> Sprite(const std::string& name) {
    auto sprite = std::make_shared<TAnimatedSprite>();
    sprite->SetTasks(&tasks, &clock);
    EXPECT_TRUE(sprite->Load(name)) << name;
    return sprite;
  }
  // The frame shown at each of the times (ms after the start, in passes of 4 ms).
  std::vector<int> FramesAt(TAnimatedSprite& sprite, const std::vector<int>& times) {
    std::vector<int> frames;
    int elapsed = 0;
    for (int t : times) {
      RunPasses(t - elapsed);
      elapsed = t;
      frames.push_back(sprite.CurrentFrame());
    }
    return frames;
  }
};

}  // namespace

TEST_F(AnimationScriptTest, FramesStepAtTheScriptsPace) {
  WriteAnimation("paced", "function DoAnim()\n delay( 50 );\n frames{ 2, 3, 1, 4 };\n end\n");
  auto sprite = Sprite("anim/test/paced");
  ASSERT_TRUE(sprite->Play());
  EXPECT_TRUE(sprite->IsPlaying());
  EXPECT_EQ(sprite->CurrentFrame(), 1);  // the first frame shows at once
  // Each frame holds 50 ms; a pass at 48 ms still shows the previous one.
  EXPECT_EQ(FramesAt(*sprite, {48, 52, 96, 100, 148, 152, 196}),
            (std::vector<int>{1, 2, 2, 0, 0, 3, 3}));
  RunPasses(8);
  EXPECT_FALSE(sprite->IsPlaying());  // DoAnim returned after the last wait
  EXPECT_EQ(sprite->CurrentFrame(), 3);
}

TEST_F(AnimationScriptTest, PaceDoesNotDriftWithUnevenPasses) {
  WriteAnimation("steady", "function DoAnim() delay( 30 ); loop( 20, { 1, 2 } ) end");
  auto sprite = Sprite("anim/test/steady");
  ASSERT_TRUE(sprite->Play());
  // Passes every 7 ms: each frame change lands on the first pass at or after k * 30 ms.
  int changes = 0, last = sprite->CurrentFrame();
  for (int t = 7; t <= 602; t += 7) {
    RunPasses(7, 7);
    if (sprite->CurrentFrame() != last) {
      ++changes;
      last = sprite->CurrentFrame();
      EXPECT_LT(t % 30, 7) << "frame changed late at " << t;
    }
  }
  EXPECT_EQ(changes, 20);
}

TEST_F(AnimationScriptTest, FileWithoutScriptPlaysEveryFrameOnceAt60Ms) {
  auto sprite = Sprite("anim/test/test");  // ".xml" found without being named
  EXPECT_EQ(sprite->Animation()->Script(),
            "function DoAnim()\n    delay(60);\n    frames{1,2,3,4};\nend\n");
  ASSERT_TRUE(sprite->Play());
  EXPECT_EQ(FramesAt(*sprite, {56, 60, 120, 180, 240, 260}), (std::vector<int>{0, 1, 2, 3, 3, 3}));
  EXPECT_FALSE(sprite->IsPlaying());
}

TEST_F(AnimationScriptTest, FadeOutReachesZeroOnTheFourthFrame) {
  WriteAnimation("fade", "function DoAnim() delay( 10 ); fadeout( 4 ); frames{ 1, 2, 3, 4 } end");
  auto sprite = Sprite("anim/test/fade");
  ASSERT_TRUE(sprite->Play());
  std::vector<float> alphas{sprite->GetAlpha()};
  for (int i = 0; i < 3; ++i) {
    RunPasses(10, 10);
    alphas.push_back(sprite->GetAlpha());
  }
  EXPECT_EQ(alphas, (std::vector<float>{0.75f, 0.5f, 0.25f, 0.0f}));
}

TEST_F(AnimationScriptTest, ScriptFunctionsActOnTheSprite) {
  WriteAnimation("calls",
                 "function DoAnim()\n"
                 "  SetLayer( 3 ); setAlpha( 0.5 ); SetCurrentFrame( 4 ); SetCurrentFrame( -2 )\n"
                 "  gBefore = tostring( GetScript() ~= '' )\n"
                 "  gRandom = random( 5, 6 )\n"
                 "  pause( 20 )\n"
                 "  SetCurrentFrame( -1 )\n"
                 "  die()\n"
                 "  SetCurrentFrame( 1 )\n"
                 "end\n");
  auto parent = std::make_shared<TSprite>();
  auto sprite = Sprite("anim/test/calls");
  parent->AddChild(sprite);
  ASSERT_TRUE(sprite->Play());
  EXPECT_EQ(sprite->GetLayer(), 3);
  EXPECT_EQ(sprite->GetAlpha(), 0.5f);
  EXPECT_EQ(sprite->CurrentFrame(), 0);  // 4 and -2 are not frames of a 4-frame animation
  lua_State* L = sprite->Task()->GetState();
  EXPECT_EQ(Global(L, "gBefore"), "true");
  EXPECT_EQ(GlobalNumber(L, "gRandom"), 5);
  RunPasses(20);
  EXPECT_EQ(sprite->CurrentFrame(), -1);  // hidden; die() ended the script before frame 1
  RunPasses(20);
  EXPECT_EQ(sprite->CurrentFrame(), -1);
  EXPECT_FALSE(sprite->IsPlaying());
}

TEST_F(AnimationScriptTest, PauseFreezesAndResumes) {
  WriteAnimation("long", "function DoAnim() delay( 10 ); frames{ 1, 2, 3, 1, 2, 3 } end");
  auto sprite = Sprite("anim/test/long");
  ASSERT_TRUE(sprite->Play());
  RunPasses(12);
  EXPECT_EQ(sprite->CurrentFrame(), 1);
  sprite->Pause(true);
  EXPECT_FALSE(sprite->IsPlaying());
  RunPasses(100);
  EXPECT_EQ(sprite->CurrentFrame(), 1);
  sprite->Pause(false);
  EXPECT_TRUE(sprite->IsPlaying());
  RunPasses(4);
  EXPECT_EQ(sprite->CurrentFrame(), 2);  // a whole wait behind: picks up from now
  // halt() from the script pauses its own sprite.
  WriteAnimation(
      "halts",
      "function DoAnim() SetCurrentFrame( 2 ); halt(); pause( 1 ); SetCurrentFrame( 0 ) end");
  auto halting = Sprite("anim/test/halts");
  ASSERT_TRUE(halting->Play());
  RunPasses(40);
  EXPECT_TRUE(halting->IsPaused());
  EXPECT_EQ(halting->CurrentFrame(), 2);
}

TEST_F(AnimationScriptTest, ClockPauseFreezesTheAnimation) {
  WriteAnimation("clocked", "function DoAnim() delay( 10 ); frames{ 1, 2, 3 } end");
  auto sprite = Sprite("anim/test/clocked");
  ASSERT_TRUE(sprite->Play());
  clock.Pause();
  RunPasses(200);
  EXPECT_EQ(sprite->CurrentFrame(), 0);
  clock.Start();
  RunPasses(12);
  EXPECT_EQ(sprite->CurrentFrame(), 1);
}

TEST_F(AnimationScriptTest, RunSwitchesToAnotherAnimation) {
  WriteAnimation("second", "function Spin() delay( 10 ); frames{ 3, 2 } end");
  WriteAnimation("first", "function DoAnim() run{ 'anim/test/second', anim = 'Spin' } end");
  auto sprite = Sprite("anim/test/first");
  ASSERT_TRUE(sprite->Play());
  EXPECT_EQ(sprite->Animation()->Data().script, "function Spin() delay( 10 ); frames{ 3, 2 } end");
  EXPECT_EQ(sprite->CurrentFrame(), 2);
  RunPasses(12);
  EXPECT_EQ(sprite->CurrentFrame(), 1);
}

TEST_F(AnimationScriptTest, SpriteRemovedByItsScriptOrDestroyedEndsTheTask) {
  WriteAnimation("leaves",
                 "function DoAnim() pause( 10 ); RemoveSprite(); SetCurrentFrame( 2 ) end");
  auto parent = std::make_shared<TSprite>();
  {
    auto sprite = Sprite("anim/test/leaves");
    parent->AddChild(sprite);
    ASSERT_TRUE(sprite->Play());
  }
  EXPECT_EQ(tasks.Size(), 1u);
  RunPasses(12);  // the script removes the sprite, which held the last reference
  EXPECT_TRUE(parent->Children().empty());
  RunPasses(4);
  EXPECT_EQ(tasks.Size(), 0u);

  WriteAnimation("forever", "function DoAnim() while true do frames{ 1, 2 } end end");
  {
    auto sprite = Sprite("anim/test/forever");
    ASSERT_TRUE(sprite->Play());
    RunPasses(40);
    ASSERT_TRUE(sprite->Play());  // a second start replaces the first task
    RunPasses(4);
    EXPECT_EQ(tasks.Size(), 1u);
  }
  RunPasses(4);
  EXPECT_EQ(tasks.Size(), 0u);
}

TEST_F(AnimationScriptTest, BrokenScriptsAreLoggedAndDoNotPlay) {
  WriteAnimation("broken", "function DoAnim( frames{ 1 } end");
  auto sprite = Sprite("anim/test/broken");
  EXPECT_FALSE(sprite->Play());
  EXPECT_FALSE(sprite->IsPlaying());
  EXPECT_TRUE(LogHas("Animation script failed"));
  WriteAnimation("noanim", "function Other() end");
  auto other = Sprite("anim/test/noanim");
  EXPECT_FALSE(other->Play());
  EXPECT_TRUE(LogHas("Animation script has no function DoAnim"));
  WriteAnimation("fails", "function DoAnim() pause( 5 ); error( 'boom' ) end");
  auto failing = Sprite("anim/test/fails");
  ASSERT_TRUE(failing->Play());
  RunPasses(8);
  EXPECT_FALSE(failing->IsPlaying());
  EXPECT_TRUE(LogHas("boom"));
  RunPasses(8);
  EXPECT_EQ(tasks.Size(), 1u);  // the failed one idles until its sprite goes
}
