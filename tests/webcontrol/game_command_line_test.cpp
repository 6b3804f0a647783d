#include "webcontrol/game_command_line.h"

#include <gtest/gtest.h>

#include <vector>

#include "frame/command_line.h"

namespace {

// The line the game itself sees when started with the launch's arguments.
std::string LineTheGameSees(const TGameLaunch& launch) {
  std::vector<const char*> argv = {kGameProgramName};
  for (const std::string& argument : launch.arguments) argv.push_back(argument.c_str());
  return TCommandLine::FromArguments(static_cast<int>(argv.size()), argv.data()).Text();
}

}  // namespace

TEST(GameCommandLine, WithoutPropertiesTheGameGetsItsWindowAndItsHost) {
  const TGameLaunch launch = BuildGameLaunch({}, 0x1A02B4, "/usr/bin/activex_host", false);
  EXPECT_EQ(launch.text, "mahjongcuriomar -wnd=1a02b4 -host=/usr/bin/activex_host");
  EXPECT_EQ(launch.arguments,
            (std::vector<std::string>{"-wnd=1a02b4", "-host=/usr/bin/activex_host"}));
  EXPECT_EQ(LineTheGameSees(launch), launch.options);
}

TEST(GameCommandLine, AnMsnPageGetsMsnAndNoHost) {
  TControlProperties properties;
  properties.msn = u"1";
  properties.options = u"a=1&b=2";
  const TGameLaunch launch = BuildGameLaunch(properties, 0x400001, "/usr/bin/activex_host", false);
  EXPECT_EQ(launch.text, "mahjongcuriomar -wnd=400001 -options=a=1&b=2 -msn");
}

TEST(GameCommandLine, EveryPropertyInItsPlace) {
  TControlProperties properties;
  properties.downloadUrl = u"http://example.org/x";
  properties.options = u"splash_ms=500";
  properties.anonymousScores = u"2";
  properties.hideLogos = u"1";
  properties.gameData = u"-zylom  --cheat";  // as it is, two blanks included
  const TGameLaunch launch = BuildGameLaunch(properties, 0xabc, "/opt/host", true);
  EXPECT_EQ(launch.options,
            "-wnd=abc -url=http://example.org/x -options=splash_ms=500 -anon 2 -hidelogo 1 "
            "-zylom  --cheat -host=/opt/host -aol");
  // The game finds its options in the line it joins from the arguments.
  EXPECT_EQ(LineTheGameSees(launch), launch.options);
  const TGameOptions parsed = ParseGameOptions(LineTheGameSees(launch));
  EXPECT_EQ(parsed.anon, 2);
  EXPECT_TRUE(parsed.aol);
  EXPECT_EQ(TCommandLine(LineTheGameSees(launch)).HostProgram(), "/opt/host");
  EXPECT_EQ(TCommandLine(LineTheGameSees(launch)).WindowHandle(), 0xabcu);
}

TEST(GameCommandLine, AHostPathWithABlankIsLeftOut) {
  // The game would read "-host=" only up to the blank and start the wrong program.
  const TGameLaunch launch = BuildGameLaunch({}, 1, "/home/a b/activex_host", false);
  EXPECT_EQ(launch.text, "mahjongcuriomar -wnd=1");
  EXPECT_EQ(BuildGameLaunch({}, 1, "", false).text, "mahjongcuriomar -wnd=1");
}

TEST(GameCommandLine, ValuesAreInsertedUnquoted) {
  TControlProperties properties;
  properties.options = u"a=\"1\";$(id)";
  const TGameLaunch launch = BuildGameLaunch(properties, 2, "", false);
  EXPECT_EQ(launch.options, "-wnd=2 -options=a=\"1\";$(id)");
  EXPECT_EQ(launch.arguments.size(), 2u);
}
