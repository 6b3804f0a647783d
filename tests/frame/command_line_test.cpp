#include "frame/command_line.h"

#include <gtest/gtest.h>

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(CommandLine, OptionsPairsStopAtBlankAndNeedEquals) {
  EXPECT_EQ(TCommandLine("options=a=1&b=2 -other x=3").OptionPairs(),
            (Pairs{{"a", "1"}, {"b", "2"}}));
  EXPECT_TRUE(TCommandLine("options=nothing here").OptionPairs().empty());
  EXPECT_TRUE(TCommandLine("options= a=1").OptionPairs().empty());
  EXPECT_EQ(TCommandLine("options=a=").OptionPairs(), (Pairs{{"a", ""}}));
  EXPECT_EQ(TCommandLine("x options=k=v&").OptionPairs(), (Pairs{{"k", "v"}}));
  // A value ends at a blank even when an "&" follows later in another option.
  EXPECT_EQ(TCommandLine("options=a=1 -url=x&y=2").OptionPairs(), (Pairs{{"a", "1"}}));
  EXPECT_TRUE(TCommandLine("-wnd=1").OptionPairs().empty());
}

TEST(CommandLine, WorkingDirectoryQuotedOrToBlank) {
  EXPECT_EQ(TCommandLine("-wd=\"/my games/x\" -other").WorkingDirectory(), "/my games/x");
  EXPECT_EQ(TCommandLine("-wd=/tmp/a -other").WorkingDirectory(), "/tmp/a");
  EXPECT_EQ(TCommandLine("-wd=\"/unterminated").WorkingDirectory(), "/unterminated");
  EXPECT_EQ(TCommandLine("-wd=").WorkingDirectory(), "");
  EXPECT_EQ(TCommandLine("nothing").WorkingDirectory(), "");
}

TEST(CommandLine, CheatCodeNeverReadsPastTheEnd) {
  EXPECT_EQ(TCommandLine("--cheat abc def").CheatCode(), "abc");
  EXPECT_EQ(TCommandLine("x --cheat=zz").CheatCode(), "zz");
  EXPECT_EQ(TCommandLine("--cheat").CheatCode(), "");
  EXPECT_EQ(TCommandLine("--cheat ").CheatCode(), "");
  EXPECT_EQ(TCommandLine("--cheat q").CheatCode(), "q");
}

TEST(CommandLine, WindowHandleIsHexadecimal) {
  EXPECT_EQ(TCommandLine("-wnd=1a2B -x").WindowHandle(), 0x1a2bu);
  EXPECT_EQ(TCommandLine("-wnd=0x400006").WindowHandle(), 0x400006u);
  EXPECT_EQ(TCommandLine("-wnd=zz").WindowHandle(), 0u);
  EXPECT_EQ(TCommandLine("-wnd=").WindowHandle(), 0u);
  EXPECT_EQ(TCommandLine("-wnd=11112222333344445").WindowHandle(), 0u);  // too long
  EXPECT_EQ(TCommandLine("--multiple").WindowHandle(), 0u);
}

TEST(CommandLine, SubstringSearchIsCaseSensitiveAndAnywhere) {
  const TCommandLine line("prefix--multiplesuffix -MSN");
  EXPECT_TRUE(line.Has("--multiple"));
  EXPECT_FALSE(line.Has("-msn"));
}

TEST(CommandLine, DriverOptions) {
  EXPECT_EQ(TCommandLine("--exit-after=1500 --headless").ExitAfterMs(), 1500);
  EXPECT_EQ(TCommandLine("--exit-after=x").ExitAfterMs(), -1);
  EXPECT_EQ(TCommandLine("--exit-after=-5").ExitAfterMs(), -1);
  EXPECT_EQ(TCommandLine("").ExitAfterMs(), -1);
  EXPECT_EQ(TCommandLine("--input=/a/b.txt --frames=out").PathOption("--input="), "/a/b.txt");
  EXPECT_EQ(TCommandLine("--input=/a/b.txt --frames=out").PathOption("--frames="), "out");
  EXPECT_EQ(TCommandLine("--frames=\"my frames\"").PathOption("--frames="), "my frames");
}

TEST(CommandLine, ArgumentsJoinedSoValuesWithBlanksSurvive) {
  const char* argv[] = {"prog", "-wd=/my games/x", "--multiple", "two words"};
  const TCommandLine line = TCommandLine::FromArguments(4, argv);
  EXPECT_EQ(line.Text(), "-wd=\"/my games/x\" --multiple \"two words\"");
  EXPECT_EQ(line.WorkingDirectory(), "/my games/x");
  EXPECT_EQ(TCommandLine::FromArguments(1, argv).Text(), "");
}

TEST(GameOptions, UrlAnonAndFlags) {
  const TGameOptions options = ParseGameOptions("-url=http://example.org/a b -anon 42 -msn -aol");
  EXPECT_EQ(options.url, "http://example.org/a b");
  EXPECT_TRUE(options.hasAnon);
  EXPECT_EQ(options.anon, 42);
  EXPECT_TRUE(options.msn);
  EXPECT_TRUE(options.aol);

  const TGameOptions none = ParseGameOptions("--multiple");
  EXPECT_EQ(none.url, "");
  EXPECT_FALSE(none.hasAnon);
  EXPECT_FALSE(none.msn);
  EXPECT_EQ(ParseGameOptions("-anon 99999999999999").anon, 2147483647);
  EXPECT_EQ(ParseGameOptions("-anon x").anon, 0);
  EXPECT_EQ(ParseGameOptions("-anon -7 -msn").anon, -7);  // cut at the next " -"
}
