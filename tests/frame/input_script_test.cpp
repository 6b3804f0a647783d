#include "frame/input_script.h"

#include <gtest/gtest.h>

#include "frame/event.h"
#include "frame/virtual_keys.h"

TEST(InputScript, ParsesEveryVerbInTimeOrder) {
  std::vector<std::string> errors;
  TInputScript script = TInputScript::Parse(
      "# a comment\n"
      "200 click 5 6 right shift\n"
      "100 move 5 6   # trailing comment\n"
      "300 key return alt\n"
      "300 char x\n"
      "310 char 0xe9\n"
      "400 wheel 5 6 -3\n"
      "500 text ab c\n"
      "600 focus 0\n"
      "700 frame\n"
      "800 close\n"
      "900 quit\n",
      &errors);
  EXPECT_TRUE(errors.empty());
  const auto& steps = script.Steps();
  ASSERT_EQ(steps.size(), 16u);
  EXPECT_EQ(steps[0].message.type, kMsgMouseMove);
  EXPECT_EQ(steps[0].timeMs, 100u);
  EXPECT_EQ(steps[1].message.type, kMsgButtonDown);
  EXPECT_EQ(steps[1].message.button, kButtonRight);
  EXPECT_EQ(steps[1].message.keyState, kModShift);
  EXPECT_EQ(steps[2].message.type, kMsgButtonUp);
  EXPECT_EQ(steps[3].message.type, kMsgSysKeyDown);
  EXPECT_TRUE(steps[3].message.alt);
  EXPECT_EQ(steps[3].message.key, VK_RETURN);
  EXPECT_EQ(steps[4].message.type, kMsgKeyUp);
  EXPECT_EQ(steps[5].message.key, 'x');
  EXPECT_EQ(steps[6].message.key, 0xe9);
  EXPECT_EQ(steps[7].message.wheel, -1);
  EXPECT_EQ(steps[8].message.key, 'a');
  EXPECT_EQ(steps[10].message.key, ' ');
  EXPECT_EQ(steps[12].message.type, kMsgActivateApp);
  EXPECT_EQ(steps[12].message.wparam, 0);
  EXPECT_EQ(steps[13].action, TInputStep::kFrame);
  EXPECT_EQ(steps[14].message.type, kMsgClose);
  EXPECT_EQ(steps[15].action, TInputStep::kQuit);
}

TEST(InputScript, BadLinesAreReportedAndSkipped) {
  std::vector<std::string> errors;
  TInputScript script = TInputScript::Parse(
      "abc move 1 2\n"
      "10 jump\n"
      "20 move 1\n"
      "30 key nosuchkey\n"
      "40 click 1 2 sideways\n"
      "50 wheel 1 2 0\n"
      "60 char toolong\n"
      "70 move 99999 1\n"
      "-5 close\n"
      "80 focus 2\n"
      "90 quit now\n"
      "100 move 1 2\n",
      &errors);
  ASSERT_EQ(errors.size(), 11u);
  EXPECT_EQ(errors[0].rfind("line 1:", 0), 0u);
  EXPECT_EQ(errors[10].rfind("line 11:", 0), 0u);
  ASSERT_EQ(script.Steps().size(), 1u);
  EXPECT_EQ(script.Steps()[0].line, 12);
}

// Presses happen where the pointer is: one elsewhere (or before any move) brings the move a
// mouse would make, at the same time and from the same line; one at the pointer adds nothing.
TEST(InputScript, PressesAwayFromThePointerMoveItFirst) {
  TInputScript script = TInputScript::Parse(
      "100 click 10 20\n"
      "200 click 30 40\n"
      "300 down 30 40\n"
      "310 up 50 40\n"
      "400 move 7 8\n"
      "500 wheel 7 8 1\n"
      "600 leave\n"
      "700 click 7 8 right\n",
      nullptr);
  struct TExpected {
    int type, x, y;
    uint32_t time;
    int line;
  };
  const std::vector<TExpected> expected = {
      {kMsgMouseMove, 10, 20, 100, 1},  {kMsgButtonDown, 10, 20, 100, 1},
      {kMsgButtonUp, 10, 20, 100, 1},   {kMsgMouseMove, 30, 40, 200, 2},
      {kMsgButtonDown, 30, 40, 200, 2}, {kMsgButtonUp, 30, 40, 200, 2},
      {kMsgButtonDown, 30, 40, 300, 3}, {kMsgMouseMove, 50, 40, 310, 4},
      {kMsgButtonUp, 50, 40, 310, 4},   {kMsgMouseMove, 7, 8, 400, 5},
      {kMsgWheel, 7, 8, 500, 6},        {kMsgMouseLeave, 0, 0, 600, 7},
      {kMsgMouseMove, 7, 8, 700, 8},    {kMsgButtonDown, 7, 8, 700, 8},
      {kMsgButtonUp, 7, 8, 700, 8},
  };
  const auto& steps = script.Steps();
  ASSERT_EQ(steps.size(), expected.size());
  for (size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(steps[i].message.type, expected[i].type);
    EXPECT_EQ(steps[i].message.x, expected[i].x);
    EXPECT_EQ(steps[i].message.y, expected[i].y);
    EXPECT_EQ(steps[i].timeMs, expected[i].time);
    EXPECT_EQ(steps[i].line, expected[i].line);
  }
  EXPECT_EQ(steps[14].message.button, kButtonRight);
}

TEST(InputScript, HandsOutStepsWhenDue) {
  TInputScript script = TInputScript::Parse("10 close\n10 paint\n50 quit\n", nullptr);
  TInputStep step;
  EXPECT_FALSE(script.NextDue(9, step));
  ASSERT_TRUE(script.NextDue(10, step));
  EXPECT_EQ(step.message.type, kMsgClose);
  ASSERT_TRUE(script.NextDue(10, step));
  EXPECT_EQ(step.message.type, kMsgPaint);
  EXPECT_FALSE(script.NextDue(49, step));
  ASSERT_TRUE(script.NextDue(1000, step));
  EXPECT_EQ(step.action, TInputStep::kQuit);
  EXPECT_TRUE(script.Done());
}

TEST(InputScript, MissingFileIsAnError) {
  TInputScript script;
  std::vector<std::string> errors;
  EXPECT_FALSE(TInputScript::Load("/nonexistent/input.txt", script, &errors));
  EXPECT_EQ(errors.size(), 1u);
}

TEST(VirtualKeys, Names) {
  EXPECT_EQ(VirtualKeyFromName("Insert"), VK_INSERT);
  EXPECT_EQ(VirtualKeyFromName("f12"), VK_F1 + 11);
  EXPECT_EQ(VirtualKeyFromName("f25"), 0);
  EXPECT_EQ(VirtualKeyFromName("f1x"), 0);
  EXPECT_EQ(VirtualKeyFromName("q"), VK_A + 16);
  EXPECT_EQ(VirtualKeyFromName("7"), VK_0 + 7);
  EXPECT_EQ(VirtualKeyFromName("0x2d"), VK_INSERT);
  EXPECT_EQ(VirtualKeyFromName("300"), 0);
  EXPECT_EQ(VirtualKeyFromName(""), 0);
  EXPECT_EQ(VirtualKeyFromName(nullptr), 0);
}

TEST(InputScript, HostCommandsArriveAsThePagesMessages) {
  std::vector<std::string> errors;
  TInputScript script = TInputScript::Parse("10 host 7\n20 host\n30 host start\n", &errors);
  ASSERT_EQ(script.Steps().size(), 1u);
  EXPECT_EQ(script.Steps()[0].message.type, kMsgUser);
  EXPECT_EQ(script.Steps()[0].message.wparam, 7);
  EXPECT_EQ(script.Steps()[0].message.lparam, 0);
  EXPECT_EQ(errors.size(), 2u);
}
