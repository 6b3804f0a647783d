// The web host link against a recording stand-in for the program: the texts that reach the
// host window (joined the way a host joins them), the pauses, the volume and the clocks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/application_time.h"
#include "online/host_link.h"
#include "online/host_protocol.h"

namespace {

class TFakeHost : public THostLinkSystem {
 public:
  explicit TFakeHost(TManualTime& time) : mTime(time) {}

  uint32_t TickMs() override { return ApplicationTime() + tickBase; }
  bool PostToHost(uint32_t wparam, uint32_t lparam) override {
    ++posts;
    std::string text;
    if (assembler.Add(wparam, lparam, &text)) texts.push_back(text);
    return hostAlive;
  }
  float MasterVolume() override { return volume; }
  void SetMasterVolume(float v) override { volume = v; }
  void ShowGameCursor(bool shown) override { cursorShown = shown; }
  void ReleaseMouseCapture() override { ++captureReleases; }

  void Advance(uint32_t ms) { mTime.Advance(ms); }

  // Ticks do not start at 0 on a real machine; the link must not rely on either.
  uint32_t tickBase = 123456;
  THostTextAssembler assembler;
  std::vector<std::string> texts;
  int posts = 0;
  bool hostAlive = true;
  float volume = 0.8f;
  bool cursorShown = true;
  int captureReleases = 0;

 private:
  TManualTime& mTime;
};

class HostLink : public ::testing::Test {
 protected:
  TManualTime time{1000};
  TFakeHost host{time};
  THostLink link{host};

  void Msn() { link.SetMsnMode(true); }
  void Zylom() { link.SetZylomMode(true); }
  // The usual opening of an MSN page: the session, then a game.
  void StartSession() {
    link.SendSessionReady();
    link.HandleHostCommand(kHostSessionStart);
    link.HandleHostCommand(kHostGameStart);
  }
};

}  // namespace

TEST(HostProtocol, TextsTravelInGroupsOfEightBytesWithTheirTerminator) {
  EXPECT_EQ(SplitHostText("").size(), 1u);
  EXPECT_EQ(SplitHostText("1234567").size(), 1u);  // the terminator is its eighth byte
  EXPECT_EQ(SplitHostText("12345678").size(), 2u);
  EXPECT_EQ(SplitHostText("123456789012345").size(), 2u);
  EXPECT_EQ(SplitHostText("1234567890123456").size(), 3u);

  // Bytes 0..3 as a little-endian wParam, 4..7 as lParam.
  const std::vector<THostTextChunk> chunks = SplitHostText("ABCDEFGH");
  EXPECT_EQ(chunks[0].wparam, 0x44434241u);
  EXPECT_EQ(chunks[0].lparam, 0x48474645u);
  EXPECT_EQ(chunks[1].wparam, 0u);

  // Rejoined on the host's side, whatever the leftover bytes after the terminator hold.
  THostTextAssembler assembler;
  std::string text;
  EXPECT_FALSE(assembler.Add(chunks[0].wparam, chunks[0].lparam, &text));
  EXPECT_TRUE(assembler.Add(0xAB00u, 0xFFFFFFFFu, &text));
  EXPECT_EQ(text, "ABCDEFGH");
  EXPECT_EQ(assembler.Pending(), 0u);
  // A terminator in wParam leaves lParam unread: a short text, then a fresh start.
  EXPECT_TRUE(assembler.Add(0x00004241u, 0x44434241u, &text));
  EXPECT_EQ(text, "AB");
  // Sign-extended longs from Xlib are read as their low 32 bits.
  EXPECT_TRUE(assembler.Add(0xFFFFFFFF00434241ull, 0, &text));
  EXPECT_EQ(text, "ABC");
}

TEST(HostProtocol, ATextLongerThanTheHostsBufferIsCutNotOverrun) {
  const std::string longText(3000, 'x');
  THostTextAssembler assembler;
  std::string text;
  int complete = 0;
  for (const THostTextChunk& chunk : SplitHostText(longText)) {
    complete += assembler.Add(chunk.wparam, chunk.lparam, &text) ? 1 : 0;
  }
  EXPECT_EQ(complete, 1);
  EXPECT_EQ(text, std::string(kHostTextBufferBytes - 1, 'x'));
  EXPECT_EQ(HostCommandName(kHostGameStart), "GameStart");
  EXPECT_EQ(HostCommandName(0), "");
  EXPECT_EQ(HostCommandName(11), "");
}

TEST_F(HostLink, WithNeitherModeNothingIsSentAndCommandsAreIgnored) {
  link.SendSessionReady();
  link.SendGameReady("mahjongcuriomar_web");
  link.SendGameBreak();
  link.SendScoreSubmit(100);
  link.HandleHostCommand(kHostGameStart);
  link.SendScoreBroadcast(100);
  link.HandleHostCommand(kHostPauseOn);
  link.HandleHostCommand(kHostMuteOn);
  link.EvaluateMute();
  EXPECT_EQ(host.posts, 0);
  EXPECT_FALSE(link.IsHostPaused());
  EXPECT_FALSE(link.IsScoreBroadcasting());
  EXPECT_FLOAT_EQ(host.volume, 0.8f);
  EXPECT_FALSE(link.ConsumeRestartRequest());
  EXPECT_EQ(link.TimePaused(), 0u);
}

TEST_F(HostLink, SessionReadyGoesOnceAndPausesUntilThePageAnswers) {
  Msn();
  link.SendSessionReady();
  link.SendSessionReady();
  ASSERT_EQ(host.texts.size(), 1u);
  EXPECT_EQ(host.texts[0], "SessionReady(\"<data></data>\")");
  EXPECT_TRUE(link.IsHostPaused());
  EXPECT_FALSE(host.cursorShown);
  // Silent: paused, and in MSN mode no game is under way yet.
  EXPECT_FLOAT_EQ(host.volume, 0.0f);

  host.Advance(700);
  EXPECT_EQ(link.TimePaused(), 700u);  // a pause under way counts already
  link.HandleHostCommand(kHostSessionStart);
  EXPECT_FALSE(link.IsHostPaused());
  EXPECT_TRUE(host.cursorShown);
  EXPECT_EQ(link.PausedTotal(), 700u);
  EXPECT_FLOAT_EQ(host.volume, 0.0f);  // still no game for the page

  link.SendGameReady("mahjongcuriomar_web");
  EXPECT_EQ(host.texts.back(), "GameReady(\"<data><mode>mahjongcuriomar_web</mode></data>\")");
  EXPECT_TRUE(link.IsHostPaused());
  link.HandleHostCommand(kHostGameStart);
  EXPECT_FALSE(link.IsHostPaused());
  EXPECT_FLOAT_EQ(host.volume, 0.8f);  // the volume the link took away comes back
  EXPECT_FALSE(link.HasMutedSound());
}

TEST_F(HostLink, ZylomModeNeverPausesItselfOnlyPauseOnDoes) {
  Zylom();
  link.SendSessionReady();
  link.SendGameReady("mahjongcuriomar_web");
  link.SendGameBreak();
  EXPECT_EQ(host.texts.size(), 3u);
  EXPECT_FALSE(link.IsHostPaused());
  EXPECT_FLOAT_EQ(host.volume, 0.8f);  // Zylom pages decide about sound themselves
  link.HandleHostCommand(kHostPauseOn);
  EXPECT_TRUE(link.IsHostPaused());
  EXPECT_FLOAT_EQ(host.volume, 0.0f);
  link.HandleHostCommand(kHostPauseOff);
  EXPECT_FALSE(link.IsHostPaused());
  EXPECT_FLOAT_EQ(host.volume, 0.8f);
}

TEST_F(HostLink, ScoreBroadcastsAreSpacedByFiveSecondsAndDroppedInBetween) {
  Msn();
  link.SendScoreBroadcast(10);  // no game under way yet
  EXPECT_TRUE(host.texts.empty());
  StartSession();
  host.texts.clear();

  link.SendScoreBroadcast(10);  // the first of a game goes at once
  host.Advance(3000);
  link.SendScoreBroadcast(20);  // 3 s later: dropped
  host.Advance(1999);
  link.SendScoreBroadcast(30);  // 4.999 s: dropped
  host.Advance(1);
  link.SendScoreBroadcast(40);  // 5 s: sent
  ASSERT_EQ(host.texts.size(), 2u);
  EXPECT_EQ(host.texts[0], "ScoreBroadcast(\"<game><score>10</score><time>0</time></game>\")");
  EXPECT_EQ(host.texts[1], "ScoreBroadcast(\"<game><score>40</score><time>5</time></game>\")");
  EXPECT_FALSE(link.IsHostPaused());  // broadcasts never pause

  // A new start lets the next broadcast out at once again.
  link.HandleHostCommand(kHostGameStart);
  link.SendScoreBroadcast(50);
  EXPECT_EQ(host.texts.size(), 3u);
  // Back at the menu, broadcasts stop.
  link.HandleHostCommand(kHostGameMenu);
  EXPECT_TRUE(link.ConsumeMenuRequest());
  host.Advance(6000);
  link.SendScoreBroadcast(60);
  EXPECT_EQ(host.texts.size(), 3u);
}

TEST_F(HostLink, HostPausesAreLeftOutOfThePlayTime) {
  Msn();
  StartSession();
  host.Advance(2400);
  link.HandleHostCommand(kHostPauseOn);
  host.Advance(10000);
  link.HandleHostCommand(kHostPauseOn);  // a second PauseOn changes nothing
  host.Advance(5000);
  link.HandleHostCommand(kHostPauseOff);
  EXPECT_EQ(link.PausedTotal(), 15000u);
  host.Advance(1000);
  link.SendScoreSubmit(1234);
  EXPECT_EQ(host.texts.back(), "ScoreSubmit(\"<game><score>1234</score><time>3</time></game>\")");
  // A start command counts from 0 again.
  link.HandleHostCommand(kHostGameStart);
  host.Advance(999);
  link.SendScoreSubmit(5);
  EXPECT_EQ(host.texts.back(), "ScoreSubmit(\"<game><score>5</score><time>0</time></game>\")");
}

TEST_F(HostLink, StartAtTheMenuDoesNotRestartButStartDuringAGameDoes) {
  Msn();
  link.HandleHostCommand(kHostGameStart);  // right after launch
  EXPECT_FALSE(link.ConsumeRestartRequest());
  EXPECT_FALSE(link.IsAtMenu());
  link.HandleHostCommand(kHostGameStart);  // again, without GameMenu between
  EXPECT_TRUE(link.ConsumeRestartRequest());
  EXPECT_FALSE(link.ConsumeRestartRequest());  // once per request

  link.HandleHostCommand(kHostGameMenu);
  EXPECT_TRUE(link.ConsumeMenuRequest());
  EXPECT_FALSE(link.ConsumeMenuRequest());
  EXPECT_TRUE(link.IsAtMenu());
  EXPECT_FLOAT_EQ(host.volume, 0.0f);  // MSN: no game for the page, no sound
  link.HandleHostCommand(kHostGameStart);
  EXPECT_FALSE(link.ConsumeRestartRequest());

  link.HandleHostCommand(kHostRestartGame);
  EXPECT_TRUE(link.ConsumeRestartRequest());
  EXPECT_TRUE(link.IsScoreBroadcasting());
}

TEST_F(HostLink, GameBreaksCountFromOneAfterEachStart) {
  Msn();
  StartSession();
  link.SendGameBreak();
  EXPECT_EQ(host.texts.back(), "GameBreak(\"<data><breakpoint>1</breakpoint></data>\")");
  EXPECT_TRUE(link.IsHostPaused());
  link.HandleHostCommand(kHostGameContinue);
  link.SendGameBreak();
  EXPECT_EQ(host.texts.back(), "GameBreak(\"<data><breakpoint>2</breakpoint></data>\")");
  link.HandleHostCommand(kHostCustomReturn);
  EXPECT_FALSE(link.IsHostPaused());
  link.HandleHostCommand(kHostGameStart);
  link.SendGameBreak();
  EXPECT_EQ(host.texts.back(), "GameBreak(\"<data><breakpoint>1</breakpoint></data>\")");
}

TEST_F(HostLink, TheZylomScoreCarriesTheLastLevelGiven) {
  Zylom();
  link.SetLevel(4, 0);
  link.SetLevel(5, 0);
  link.HandleHostCommand(kHostGameStart);
  host.Advance(61500);
  link.SendScoreSubmit(9000);
  EXPECT_EQ(host.texts.back(),
            "ScoreSubmit(\"<game><score>9000</score><time>61</time><level>5</level>"
            "<sublevel>0</sublevel></game>\")");
  // With both modes on the Zylom form wins.
  link.SetMsnMode(true);
  link.SendScoreSubmit(1);
  EXPECT_NE(host.texts.back().find("<level>5</level>"), std::string::npos);
}

TEST_F(HostLink, ContainerModeSendsNothingButSwitchesBroadcastsOn) {
  Msn();
  link.SetContainerMode(true);
  link.SendSessionReady();
  EXPECT_EQ(host.posts, 0);
  EXPECT_FALSE(link.IsHostPaused());
  EXPECT_TRUE(link.IsScoreBroadcasting());
  link.SendScoreBroadcast(10);
  EXPECT_EQ(host.posts, 0);
  // PauseOn lets go of the mouse first in this mode.
  link.HandleHostCommand(kHostPauseOn);
  EXPECT_EQ(host.captureReleases, 1);
  EXPECT_TRUE(link.IsHostPaused());
}

TEST_F(HostLink, MuteCommandsAndUnknownCodesFollowTheMuteRule) {
  Zylom();
  link.HandleHostCommand(kHostMuteOn);
  EXPECT_FLOAT_EQ(host.volume, 0.0f);
  host.volume = 0.0f;
  link.HandleHostCommand(kHostMuteOn);
  link.HandleHostCommand(kHostMuteOff);
  EXPECT_FLOAT_EQ(host.volume, 0.8f);  // the saved volume, not the one seen while muted

  // An unknown code changes nothing itself but still re-evaluates the mute: a volume the
  // player's option set to 0 meanwhile is left alone.
  host.volume = 0.3f;
  link.HandleHostCommand(99);
  link.HandleHostCommand(-1);
  link.HandleHostCommand(0);
  EXPECT_FLOAT_EQ(host.volume, 0.3f);
  EXPECT_FALSE(link.IsHostPaused());
  EXPECT_FALSE(link.ConsumeMenuRequest());
  EXPECT_FALSE(link.ConsumeRestartRequest());
}

TEST_F(HostLink, AHostWindowThatIsGoneLosesTheTextButNotTheState) {
  Msn();
  host.hostAlive = false;
  link.SendSessionReady();
  EXPECT_EQ(host.texts.size(), 1u);  // posted, though nobody took it
  EXPECT_TRUE(link.IsHostPaused());
}
