// The main menu's sound and music switches in the program's own start-up and GameMain,
// driven by input scripts: a switch is pressed in exactly while its sound is off, click after
// click, and the caption says what is heard.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "campaign/game_app.h"
#include "frame/application.h"
#include "tests/app/program_director.h"
#include "tests/app/program_run.h"
#include "ui/modal_window.h"
#include "ui/widget_hooks.h"
#include "ui/window_manager.h"

namespace {

// One look at a switch: its pressed-in state, its caption and the sound it stands for.
struct TSwitchLook {
  bool pressed = false;
  std::string caption;
  bool off = false;
  bool operator==(const TSwitchLook&) const = default;
};

class MainMenuProgram : public TProgramRun {
 protected:
  MainMenuProgram() : TProgramRun("mc_main_menu_program_") {}

  // The switch named name on the main menu, when the menu is the top dialog.
  static TWindow* MenuSwitch(const std::string& name) {
    TWindowManager* windows = TWindowManager::Get();
    TModalWindow* top = windows ? windows->TopModal() : nullptr;
    if (!top || top->GetName() != "mainmenu") return nullptr;
    return top->FindChild(name);
  }

  // Appends what the switch shows now when it differs from the last look.
  static void Look(const std::string& name, bool off, std::vector<TSwitchLook>& looks) {
    TWindow* window = MenuSwitch(name);
    auto* button = dynamic_cast<TButtonWindow*>(window);
    TWindow* caption = window ? window->FindChild("label") : nullptr;
    auto* label = dynamic_cast<TLabelledWindow*>(caption);
    if (!button || !label) return;
    const TSwitchLook look{button->GetToggleState(), label->GetLabelText(), off};
    if (looks.empty() || !(looks.back() == look)) looks.push_back(look);
  }
};

TEST_F(MainMenuProgram, EachSwitchIsPressedInExactlyWhileItsSoundIsOff) {
  // The sound switch three times, the music switch twice; the pointer rests on the switch
  // between clicks, as a player's does.
  TDirector director({
      {"splash", "0 click 400 300"},
      {"mainmenu",
       "0 move 400 268\n200 click 400 268\n900 click 400 268\n1600 click 400 268\n"
       "2300 move 400 318\n2500 click 400 318\n3200 click 400 318\n3900 quit"},
  });
  std::vector<TSwitchLook> sound, music;
  ASSERT_EQ(RunDriven("", 60000,
                      [&](TApplication& app, TGameApp& game) {
                        director.Step(app);
                        Look("mainmenu_sound_button", game.IsSoundOff(), sound);
                        Look("mainmenu_music_button", game.MusicOff(), music);
                      }),
            0);
  EXPECT_EQ(Log().find("Exit time of"), std::string::npos) << Log();

  // Every look after a click settles on the switch agreeing with the sound. A look taken
  // between the sound changing and the switch following it may disagree for one pass, so
  // only the settled looks (each followed by a change of the sound, or the last) count.
  auto settled = [](const std::vector<TSwitchLook>& looks) {
    std::vector<TSwitchLook> out;
    for (size_t i = 0; i < looks.size(); ++i) {
      if (i + 1 == looks.size() || looks[i + 1].off != looks[i].off) out.push_back(looks[i]);
    }
    return out;
  };
  const std::vector<TSwitchLook> soundSettled = settled(sound);
  const std::vector<TSwitchLook> musicSettled = settled(music);
  ASSERT_EQ(soundSettled.size(), 4u) << "the start and three clicks";
  ASSERT_EQ(musicSettled.size(), 3u) << "the start and two clicks";
  for (const TSwitchLook& look : soundSettled) {
    EXPECT_EQ(look.pressed, look.off) << look.caption;
    EXPECT_EQ(look.caption, look.off ? "Sound: off" : "Sound: on");
  }
  for (const TSwitchLook& look : musicSettled) {
    EXPECT_EQ(look.pressed, look.off) << look.caption;
    EXPECT_EQ(look.caption, look.off ? "Music: off" : "Music: on");
  }
  EXPECT_FALSE(soundSettled.front().off);
  EXPECT_TRUE(soundSettled.back().off);
  EXPECT_FALSE(musicSettled.back().off);
}

}  // namespace
