// The game program itself, started headless: input scripts drive it, its log tells what
// happened. Runs one program at a time (they share the program folder's log file).
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "gfx/pixel_image.h"
#include "tests/app/program_fixture.h"

namespace {

// The pictures as the content build staged them.
const std::string kStageFolder = std::string(MC_BIN_DIR) + "/../content/stage";
const std::string kSplashPicture = kStageFolder + "/menu/splash.png";

// Colours equal within a step or two per channel (drawing may round).
bool NearlyEqual(uint32_t a, uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int ca = static_cast<int>((a >> shift) & 0xFF),
              cb = static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(ca - cb) > 2) return false;
  }
  return true;
}

}  // namespace

TEST_F(Program, InputScriptDrivesTheHeadlessProgram) {
  const std::string script = WriteScript(
      "50 click 100 200\n"
      "60 key insert\n"
      "70 key insert shift\n"
      "80 key return alt\n"
      "90 char Z\n"
      "100 bogus line\n"
      "120 close\n");
  EXPECT_EQ(Run("--headless --multiple --exit-after=10000 --input=" + script), 0);
  const std::string log = Log();
  EXPECT_NE(log.find("Platform: headless"), std::string::npos);
  EXPECT_NE(log.find("line 6: unknown event 'bogus'"), std::string::npos);
  EXPECT_NE(log.find("Event kind=5 param=0 x=100 y=200"), std::string::npos);
  EXPECT_NE(log.find("Event kind=7 param=0 x=100 y=200"), std::string::npos);
  // Insert alone makes no key-down; with Shift it does.
  EXPECT_NE(log.find("Event kind=11 param=45 x=0 y=0 modifiers=1"), std::string::npos);
  EXPECT_EQ(log.find("Event kind=11 param=45 x=0 y=0 modifiers=0"), std::string::npos);
  EXPECT_NE(log.find("Event kind=18 param=1"), std::string::npos);
  EXPECT_NE(log.find("Event kind=13 param=90"), std::string::npos);
  // The close request ends the run long before the exit time.
  EXPECT_NE(log.find("Event kind=3"), std::string::npos);
  EXPECT_EQ(log.find("Exit time of"), std::string::npos);
  EXPECT_NE(log.find("Game loop ended"), std::string::npos);
}

TEST_F(Program, TheMainScreensQuitButtonEndsTheProgram) {
  // A click dismisses the splash; the second presses the main menu's quit sign (250 x 50 at
  // (520, 480)), whose press the main loop turns into the quit path.
  const std::string script = WriteScript(
      "100 click 400 300\n"
      "600 move 645 505\n"
      "700 click 645 505\n");
  EXPECT_EQ(Run("--headless --multiple --exit-after=8000 --input=" + script), 0);
  const std::string log = Log();
  EXPECT_NE(log.find("Game loop ended"), std::string::npos) << log;
  EXPECT_EQ(log.find("Exit time of"), std::string::npos) << log;
}

TEST_F(Program, TheWidgetDemoDialogWorksWithMouseAndKeyboard) {
  const std::string frames = (folder / "frames").string();
  // Splash away; "W" opens the demo; hover the push button; type into the name field (the
  // pointer moves there first: the hovered button holds the mouse until it hears the pointer
  // leave); Enter presses the default (close) button; Escape on the main screen quits.
  const std::string script = WriteScript(
      "100 click 400 300\n"
      "400 key w\n"
      "700 frame\n"
      "800 move 100 58\n"
      "1000 frame\n"
      "1050 move 100 175\n"
      "1100 click 100 175\n"
      "1200 text abcd\n"
      "1400 frame\n"
      "1500 key return\n"
      "1800 frame\n"
      "1900 key escape\n");
  // Escape ends the run; the exit time only stops a run that went wrong (frames of the
  // sanitizer build on a busy machine take their time).
  EXPECT_EQ(
      Run("--headless --multiple --exit-after=30000 --frames=" + frames + " --input=" + script), 0);
  const std::string log = Log();
  if (log.find("Frames are not written") != std::string::npos) {
    GTEST_SKIP() << "no offscreen GL on this machine";
  }
  EXPECT_NE(log.find("Game loop ended"), std::string::npos) << log;
  EXPECT_EQ(log.find("Exit time of"), std::string::npos) << log;
  TPixelImage shot[4];
  for (int i = 0; i < 4; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06d.png", i);
    ASSERT_TRUE(ReadFrame(frames + name, &shot[i])) << name;
    ASSERT_EQ(shot[i].width, 800);
  }
  auto at = [](const TPixelImage& image, int x, int y) {
    return image.pixels[static_cast<size_t>(y) * 800 + x] & 0xFFFFFFu;
  };
  // The push button (120 x 36 at 40, 40): its face left of the caption, normal and under the
  // pointer (which rests on the caption), and the caption's dark ink in its middle.
  EXPECT_EQ(at(shot[0], 45, 58), 0xD9B06Cu);
  EXPECT_EQ(at(shot[1], 45, 58), 0xF2D08Au);
  int ink = 0;
  for (int y = 44; y < 72; ++y)
    for (int x = 70; x < 130; ++x) ink += (at(shot[0], x, y) >> 16 & 0xFF) < 0x80;
  EXPECT_GT(ink, 10);
  int changed = 0;  // the typed letters appear in the name field
  for (int y = 160; y < 190; ++y)
    for (int x = 40; x < 300; ++x) changed += at(shot[1], x, y) != at(shot[2], x, y);
  EXPECT_GT(changed, 20);
  EXPECT_NE(at(shot[3], 45, 58), 0xD9B06Cu);  // Enter closed the dialog
  EXPECT_NE(at(shot[3], 45, 58), 0xF2D08Au);
}

// A clicked button keeps the pointer in mouse-over until it hears the pointer leave; script
// clicks on other buttons with no move between must still land, as a mouse's would.
TEST_F(Program, ScriptClicksOnOneButtonAfterAnotherAllLand) {
  const std::string frames = (folder / "frames").string();
  const std::string script = WriteScript(
      "100 click 400 300\n"
      "400 key w\n"
      "700 frame\n"
      "800 click 240 58\n"   // the toggle
      "900 click 240 118\n"  // the second radio button, "Hard"
      "1000 frame\n"
      "1100 click 100 318\n"  // the close button
      "1400 frame\n"
      "1500 key escape\n");
  EXPECT_EQ(
      Run("--headless --multiple --exit-after=30000 --frames=" + frames + " --input=" + script), 0);
  const std::string log = Log();
  if (log.find("Frames are not written") != std::string::npos) {
    GTEST_SKIP() << "no offscreen GL on this machine";
  }
  EXPECT_EQ(log.find("Exit time of"), std::string::npos) << log;
  TPixelImage shot[3];
  ASSERT_TRUE(ReadFrames(frames, 3, shot));
  auto at = [](const TPixelImage& image, int x, int y) {
    return image.pixels[static_cast<size_t>(y) * image.width + x] & 0xFFFFFFu;
  };
  // The buttons' faces: off 0xD9B06C, on 0xA88048, on under the pointer 0xA0E090.
  EXPECT_EQ(at(shot[0], 185, 45), 0xD9B06Cu);   // toggle off
  EXPECT_EQ(at(shot[0], 45, 105), 0xA88048u);   // "Easy" chosen
  EXPECT_EQ(at(shot[1], 185, 45), 0xA88048u);   // toggle on
  EXPECT_EQ(at(shot[1], 45, 105), 0xD9B06Cu);   // "Easy" let go
  EXPECT_EQ(at(shot[1], 185, 105), 0xA0E090u);  // "Hard" chosen, the pointer on it
  // The close button's click closed the dialog: the main screen shows where it stood.
  EXPECT_NE(at(shot[2], 45, 305), 0xD9B06Cu);
  EXPECT_NE(at(shot[2], 45, 58), 0xD9B06Cu);
}

TEST_F(Program, ExitAfterEndsTheRun) {
  EXPECT_EQ(Run("--headless --multiple --exit-after=200"), 0);
  EXPECT_NE(Log().find("Exit time of 200 ms reached"), std::string::npos);
}

TEST_F(Program, MissingHostWindowEndsWithMinusOne) {
  EXPECT_EQ(Run("--headless -wnd=abc --exit-after=200"), 255);
}

TEST_F(Program, SecondInstanceExitsWithZeroWhileTheFirstRuns) {
  const std::string marker = (folder / "first.done").string();
  std::filesystem::remove(mLog);  // the wait below must see the first's own log
  const std::string first =
      "(" + kProgram + " --headless --exit-after=4000 >/dev/null 2>&1; echo $? > " + marker + ") &";
  ASSERT_EQ(std::system(first.c_str()), 0);
  // Wait until the first holds its lock (its log names the platform).
  bool started = false;
  for (int i = 0; i < 200 && !started; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    started = Log().find("Platform: headless") != std::string::npos;
  }
  ASSERT_TRUE(started);
  EXPECT_EQ(Run("--headless --exit-after=100"), 0);
  EXPECT_FALSE(std::filesystem::exists(marker));  // the first is still running
  for (int i = 0; i < 500 && !std::filesystem::exists(marker); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::ifstream done(marker);
  int status = -1;
  done >> status;
  EXPECT_EQ(status, 0);
  const std::string log = Log();
  EXPECT_NE(log.find("asked this one to come forward"), std::string::npos);
  EXPECT_NE(log.find("Game loop ended"), std::string::npos);
}

TEST_F(Program, MarkedFramesAreWrittenAsPictures) {
  const std::string frames = (folder / "frames").string();
  const std::string script = WriteScript("10 frame\n400 close\n");
  EXPECT_EQ(
      Run("--headless --multiple --exit-after=20000 --frames=" + frames + " --input=" + script), 0);
  const std::string path = frames + "/frame_000000.png";
  if (Log().find("Frames are not written") != std::string::npos) {
    GTEST_SKIP() << "no offscreen GL on this machine";
  }
  TPixelImage image;
  ASSERT_TRUE(ReadFrame(path, &image)) << path;
  ASSERT_EQ(image.width, 800);
  ASSERT_EQ(image.height, 600);
  // The splash picture, in the middle and in a corner.
  TPixelImage splash;
  ASSERT_TRUE(ReadFrame(kSplashPicture, &splash)) << kSplashPicture;
  EXPECT_TRUE(NearlyEqual(image.At(400, 300), splash.At(400, 300)));
  EXPECT_TRUE(NearlyEqual(image.At(0, 0), splash.At(0, 0)));
  // Only marked frames are written when the script has marks.
  EXPECT_FALSE(std::filesystem::exists(frames + "/frame_000001.png"));
}

TEST_F(Program, AltF1ShowsTheDiagnosticOverlay) {
  const std::string frames = (folder / "frames").string();
  const std::string script = WriteScript("100 key f1 alt\n400 frame\n600 close\n");
  EXPECT_EQ(
      Run("--headless --multiple --exit-after=20000 --frames=" + frames + " --input=" + script), 0);
  if (Log().find("Frames are not written") != std::string::npos) {
    GTEST_SKIP() << "no offscreen GL on this machine";
  }
  const std::string path = frames + "/frame_000000.png";
  TPixelImage image;
  ASSERT_TRUE(ReadFrame(path, &image)) << path;
  ASSERT_EQ(image.width, 800);
  // The overlay's black box over the top-left corner, the splash picture beside it.
  EXPECT_EQ(image.At(298, 39) & 0xFFFFFFu, 0u);
  EXPECT_EQ(image.At(150, 39) & 0xFFFFFFu, 0u);
  TPixelImage splash;
  ASSERT_TRUE(ReadFrame(kSplashPicture, &splash)) << kSplashPicture;
  EXPECT_TRUE(NearlyEqual(image.At(310, 20), splash.At(310, 20)));
  // Its red version text.
  bool red = false;
  for (int y = 0; y < 40 && !red; ++y) {
    for (int x = 0; x < 300 && !red; ++x) {
      const uint32_t pixel = image.At(x, y);
      red = ((pixel >> 16) & 0xFF) > 160 && ((pixel >> 8) & 0xFF) < 60 && (pixel & 0xFF) < 60;
    }
  }
  EXPECT_TRUE(red);
}

// "B" opens the board preview: level 1 dealt with seed 5 on the game's rules. Hovering a
// free tile lights it; clicking two free canteens (one on layer 1 at x 14, y 7, one on
// layer 0 at x 12, y 7) matches them and takes them off; Enter closes the preview.
TEST_F(Program, TheBoardPreviewDealsALevelAndPlaysAPair) {
  const std::string frames = (folder / "frames").string();
  const std::string script = WriteScript(
      "100 click 400 300\n"
      "300 frame\n"
      "400 key b\n"
      "900 frame\n"
      "1000 move 321 293\n"
      "1200 frame\n"
      "1300 click 321 293\n"
      "1350 move 265 300\n"
      "1400 click 265 300\n"
      "1500 move 500 100\n"
      "1700 frame\n"
      "1800 key return\n"
      "2200 frame\n"
      "2600 key escape\n");
  // Five frames take several seconds each in the sanitizer build on a busy machine; the
  // script's Escape ends the run long before the time limit.
  EXPECT_EQ(Run("--headless --multiple --exit-after=60000 --frames=" + frames +
                " --input=" + script + " options=preview_seed=5"),
            0);
  const std::string log = Log();
  if (log.find("Frames are not written") != std::string::npos) {
    GTEST_SKIP() << "no offscreen GL on this machine";
  }
  EXPECT_NE(log.find("Board boardpreview_board: levels/level_001.xml dealt with seed 5, 48 tiles"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("Game loop ended"), std::string::npos) << log;
  EXPECT_EQ(log.find("Exit time of"), std::string::npos) << log;
  EXPECT_EQ(log.find("Missing string for label 'boardpreview"), std::string::npos) << log;
  TPixelImage shot[5];
  ASSERT_TRUE(ReadFrames(frames, 5, shot));
  auto changed = [&](int a, int b, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) count += shot[a].At(x, y) != shot[b].At(x, y);
    return count;
  };
  // The board over the main screen, where the tiles stand.
  EXPECT_GT(changed(0, 1, 252, 150, 548, 380), 20000);
  // The hovered tile (layer 1 at 298, 261) shows its lit blank.
  EXPECT_GT(changed(1, 2, 300, 262, 344, 324), 50);
  // The matched tile of layer 0 (at 252, 268) is gone; the background shows where its
  // left half was, and a tile far away has not changed.
  EXPECT_GT(changed(2, 3, 254, 272, 296, 320), 500);
  EXPECT_EQ(changed(2, 3, 500, 150, 540, 200), 0);
  // Enter closed the preview: the main screen is back as it was.
  EXPECT_EQ(changed(0, 4, 252, 150, 548, 380), 0);
}

TEST_F(Program, DialogLabelsAreLookedUpInTheShippedStringTable) {
  const std::string frames = (folder / "frames").string();
  const std::string script = WriteScript("100 click 400 300\n400 key w\n700 frame\n900 close\n");
  EXPECT_EQ(
      Run("--headless --multiple --exit-after=10000 --frames=" + frames + " --input=" + script), 0)
      << Log();
  if (Log().find("Frames are not written") != std::string::npos) {
    GTEST_SKIP() << "no offscreen GL on this machine";
  }
  TPixelImage image;
  ASSERT_TRUE(ReadFrame(frames + "/frame_000000.png", &image));
  ASSERT_EQ(image.width, 800);
  // The widget demo's title is the label "widgetdemo_title"; strings.xml makes it "Widgets".
  // White ink of the short word ends far left of where the key itself would reach.
  auto whiteInk = [&](int x0, int x1) {
    int ink = 0;
    for (int y = 8; y < 36; ++y)
      for (int x = x0; x < x1; ++x) {
        const uint32_t c = image.At(x, y);
        ink += (c >> 16 & 0xFF) > 200 && (c >> 8 & 0xFF) > 200 && (c & 0xFF) > 200;
      }
    return ink;
  };
  EXPECT_GT(whiteInk(40, 160), 20);
  EXPECT_EQ(whiteInk(160, 440), 0);
  EXPECT_EQ(Log().find("Missing string for label 'widgetdemo"), std::string::npos);
}

TEST_F(Program, WindowsShowingTheSamePictureShareOneDecodedTexture) {
  // The widget demo's five buttons ask eighteen times for four button pictures (three for a
  // push button, four for toggle and radio buttons).
  const std::string script = WriteScript("100 click 400 300\n400 key w\n900 close\n");
  EXPECT_EQ(Run("--headless --multiple --exit-after=10000 --input=" + script), 0);
  const std::string log = Log();
  const size_t at = log.find("Assets: ");
  ASSERT_NE(at, std::string::npos) << log;
  size_t requests = 0, shared = 0;
  ASSERT_EQ(std::sscanf(log.c_str() + at, "Assets: %zu requests, %zu answered", &requests, &shared),
            2);
  // Each picture is decoded once; the other fourteen requests share it.
  EXPECT_GE(shared, 14u);
  EXPECT_GE(requests, shared + 4);
  EXPECT_NE(log.find("Game loop ended"), std::string::npos);
}

namespace {

// The stretches of 10 ms steps of 16-bit stereo output that are silent (every sample 0) or
// carry sound, in order; silences under 200 ms inside sound count as sound (pauses in the
// music). Written like "silent 150, sound 212, ..." for the failure messages.
struct TStretch {
  bool sound;
  int steps;
};
std::vector<TStretch> SoundStretches(const std::vector<int16_t>& samples) {
  std::vector<TStretch> stretches;
  for (size_t at = 0; at + 882 <= samples.size(); at += 882) {
    bool sound = false;
    for (size_t i = at; i < at + 882 && !sound; ++i) sound = samples[i] != 0;
    if (stretches.empty() || stretches.back().sound != sound) stretches.push_back({sound, 0});
    ++stretches.back().steps;
    // A short silence closed by sound joins the sound before it.
    const size_t n = stretches.size();
    if (sound && n >= 3 && !stretches[n - 2].sound && stretches[n - 2].steps < 20) {
      stretches[n - 3].steps += stretches[n - 2].steps + stretches[n - 1].steps;
      stretches.resize(n - 2);
    }
  }
  return stretches;
}

std::string Describe(const std::vector<TStretch>& stretches) {
  std::string text;
  for (const TStretch& stretch : stretches)
    text += (stretch.sound ? "sound " : "silent ") + std::to_string(stretch.steps) + ", ";
  return text;
}

// Log lines that report a failure.
std::string ErrorLines(const std::string& log) {
  std::string found;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    for (const char* word : {"rror", "could not", "cannot", "not found", "failed"}) {
      if (line.find(word) != std::string::npos) {
        found += line + "\n";
        break;
      }
    }
  }
  return found;
}

}  // namespace

TEST_F(Program, TheMainScreensMusicAndButtonClicksReachTheAudioDevice) {
  // SDL's disk driver is the real output path, writing into a file instead of a sound card.
  const std::string raw = (folder / "audio.raw").string();
  setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
  // Splash away (the main screen starts its music); the program goes to the background and
  // comes back; the music switch goes off; the widget demo's push button is clicked. Steps
  // fall due in application time, which includes the start-up (seconds on a busy machine),
  // hence the long first stretch.
  const std::string script = WriteScript(
      "500 click 400 300\n"
      "6000 focus 0\n"
      "8000 focus 1\n"
      "10500 move 400 318\n"
      "10600 click 400 318\n"
      "12500 key w\n"
      "13000 move 100 58\n"
      "13100 click 100 58\n");
  const int status =
      Run("--headless --multiple --audio-driver=disk --exit-after=15000 --input=" + script);
  unsetenv("SDL_DISKAUDIOFILE");
  EXPECT_EQ(status, 0);
  const std::string log = Log();
  EXPECT_NE(log.find("Sound device: disk driver, 44100 Hz, 2 channels"), std::string::npos) << log;
  EXPECT_EQ(ErrorLines(log), "") << log;

  std::ifstream file(raw, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  const std::vector<TStretch> stretches = SoundStretches(samples);
  // Silence on the splash; the music; silence in the background; the music again (its
  // switch's click at its end); silence once the music is off; the push button's click;
  // silence to the end.
  ASSERT_EQ(stretches.size(), 7u) << Describe(stretches);
  EXPECT_FALSE(stretches[0].sound);
  EXPECT_GE(stretches[1].steps, 20) << Describe(stretches);
  for (int i : {2, 3, 4}) EXPECT_GE(stretches[i].steps, 50) << i << ": " << Describe(stretches);
  EXPECT_LE(stretches[5].steps, 30) << Describe(stretches);
  EXPECT_GE(stretches[6].steps, 20) << Describe(stretches);
}

TEST_F(Program, WithoutASoundDeviceTheProgramRunsSilently) {
  // The sound switch works on the silent sound system too.
  const std::string script = WriteScript(
      "300 click 400 300\n"
      "1000 move 400 268\n"
      "1100 click 400 268\n");
  EXPECT_EQ(Run("--headless --multiple --exit-after=2500 --input=" + script), 0);
  const std::string log = Log();
  EXPECT_NE(log.find("No sound device: sounds play silently"), std::string::npos) << log;
  EXPECT_EQ(ErrorLines(log), "") << log;
  EXPECT_NE(log.find("Game loop ended"), std::string::npos) << log;
}

// A page host through the program's own message queue: "--axtest" makes the program its own
// host window, so its host texts show in the log, and the input script posts the page's
// commands as WM_USER messages.
TEST_F(Program, ThePagesCommandsPauseAndDriveTheHeadlessGame) {
  const std::string frames = (folder / "frames").string();
  const std::string script = WriteScript(
      "3000 host 9\n"  // SessionStart: the clock goes on; the splash has its 1.5 s to go
      "3100 frame\n"
      "8000 frame\n"   // the main menu
      "8100 host 4\n"  // PauseOn: the W that follows is not the game's
      "8200 key w\n"
      "8300 host 5\n"
      "8500 frame\n"
      "8600 host 2\n"  // MuteOn, MuteOff
      "8700 host 3\n"
      "8800 host 7\n"  // GameStart from the menu: no restart
      "8900 host 7\n"  // GameStart during a game: a new game
      "9000 host 1\n"  // GameMenu
      "9100 host 6\n"
      "9200 host 8\n"  // RestartGame
      "9300 host 10\n"
      "9400 host 42\n"
      "11000 frame\n"  // the main menu again, faded in
      "11500 quit\n");
  EXPECT_EQ(Run("--headless --multiple --axtest -msn options=splash_ms=1500 --exit-after=60000 "
                "--frames=" +
                frames + " --input=" + script),
            0);
  const std::string log = Log();
  auto at = [&log](const std::string& text) { return log.find(text); };
  const size_t npos = std::string::npos;
  // The first event announces the session and waits, silent, for the page's answer.
  ASSERT_NE(at("Host text: SessionReady(\"<data></data>\")"), npos) << log;
  EXPECT_LT(at("Host text: SessionReady"), at("Paused for the host page"));
  EXPECT_LT(at("Paused for the host page"), at("Host command 9: SessionStart"));
  EXPECT_LT(at("Host command 9: SessionStart"), at("Resumed for the host page"));
  EXPECT_NE(at("Sound muted for the host page"), npos);
  EXPECT_NE(at("Host command 4: PauseOn"), npos);
  EXPECT_NE(at("Host command 2: MuteOn"), npos);
  EXPECT_NE(at("Host command 42 (unknown)"), npos);
  // One restart for the second start, one for RestartGame; one menu request.
  size_t restarts = 0;
  for (size_t p = at("asked for a new game"); p != npos;
       p = log.find("asked for a new game", p + 1))
    ++restarts;
  EXPECT_EQ(restarts, 2u);
  EXPECT_LT(at("Host command 1: GameMenu"), at("The host page asked for the main menu"));
  EXPECT_LT(at("The host page asked for the main menu"), at("Host command 8: RestartGame"));
  EXPECT_NE(at("Game loop ended"), npos);
  EXPECT_EQ(at("Exit time of"), npos) << log;

  if (log.find("Frames are not written") != npos) GTEST_SKIP() << "no offscreen GL here";
  TPixelImage shot[4], splash, plaque;
  ASSERT_TRUE(ReadFrames(frames, 4, shot));
  ASSERT_TRUE(ReadFrame(kSplashPicture, &splash));
  ASSERT_TRUE(ReadFrame(kStageFolder + "/menu/plaque_off.png", &plaque));
  // The menu's sound switch (its plaque at 300, 248) is not there while the splash waits out
  // its time, which stood still during the pause, and is there afterwards.
  EXPECT_TRUE(NearlyEqual(shot[0].At(350, 260), splash.At(350, 260)));
  EXPECT_FALSE(NearlyEqual(shot[0].At(350, 260), plaque.At(50, 12)));
  EXPECT_TRUE(NearlyEqual(shot[1].At(350, 260), plaque.At(50, 12)));
  // The W pressed during the pause opened no dialog: the screen is unchanged, apart from the
  // menu's toys on the counter and the floor (left of the signs, from the shelf's lowest board
  // down), which move whenever the game runs.
  int changed = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const bool toys = x < 560 && y >= 270;
      if (!toys && shot[1].At(x, y) != shot[2].At(x, y)) ++changed;
    }
  EXPECT_EQ(changed, 0);
  // The page's restart and menu commands closed the menu; it came back.
  EXPECT_TRUE(NearlyEqual(shot[3].At(350, 260), plaque.At(50, 12)));
}

TEST_F(Program, InZylomModeTheGameAnnouncesItselfWithoutPausing) {
  const std::string script = WriteScript("400 host 4\n600 host 5\n800 quit\n");
  EXPECT_EQ(Run("--headless --multiple --axtest -zylom --exit-after=20000 --input=" + script), 0);
  const std::string log = Log();
  const size_t ready = log.find("Host text: SessionReady");
  ASSERT_NE(ready, std::string::npos) << log;
  // The only pause is the page's PauseOn.
  EXPECT_GT(log.find("Paused for the host page"), log.find("Host command 4: PauseOn"));
  EXPECT_GT(log.find("Sound muted for the host page"), log.find("Host command 4: PauseOn"));
  EXPECT_NE(log.find("Game loop ended"), std::string::npos);
}

TEST_F(Program, WithoutAPortalModeHostMessagesAreOnlyLogged) {
  const std::string script = WriteScript("400 host 4\n600 quit\n");
  EXPECT_EQ(Run("--headless --multiple --axtest --exit-after=20000 --input=" + script), 0);
  const std::string log = Log();
  EXPECT_EQ(log.find("Host text:"), std::string::npos);
  EXPECT_EQ(log.find("Paused for the host page"), std::string::npos);
  EXPECT_NE(log.find("Game loop ended"), std::string::npos);
}

TEST_F(Program, AFirstPlayerNamedOnTheMainMenuIsThePlayerOfTheNextStart) {
  // The main menu's "change player" link on a first start asks for the player's name at
  // once; the name typed is kept and greets the next start. Steps are far apart: they fall
  // due in application time, and each dialog fades in and out.
  const std::string script = WriteScript(
      "500 click 400 300\n"
      "3000 click 400 300\n"
      "9000 move 650 150\n"
      "9100 click 650 150\n"
      "20000 text Ada\n"
      "22000 key return\n"
      "30000 move 645 505\n"
      "30100 click 645 505\n");
  EXPECT_EQ(Run("--headless --multiple --exit-after=40000 --input=" + script), 0);
  std::string log = Log();
  EXPECT_NE(log.find("No player yet: starting with \"Player\""), std::string::npos) << log;
  EXPECT_EQ(log.find("Exit time of"), std::string::npos) << log;
  EXPECT_EQ(ErrorLines(log), "") << log;

  std::filesystem::remove(mLog);
  const std::string quit =
      WriteScript("500 click 400 300\n3000 move 645 505\n3100 click 645 505\n");
  EXPECT_EQ(Run("--headless --multiple --exit-after=8000 --input=" + quit), 0);
  log = Log();
  EXPECT_NE(log.find("Player 0 \"Ada\""), std::string::npos) << log;
  EXPECT_EQ(log.find("No player yet"), std::string::npos) << log;
}
