// The options dialog: its controls start from the player's stored options, a moved slider
// changes that volume at once (a muted group stays silent), and a released slider stores
// both volumes.
#include "campaign/screens/options_window.h"

#include "campaign/screens/campaign_functions.h"
#include "data/prefs.h"
#include "frame/frame_links.h"
#include "tests/campaign/screens/screen_test.h"
#include "ui/button.h"

namespace {

constexpr char kOptionsDialog[] =
    "OptionsWindow{ name = 'options_window', x = 0, y = 0, w = 800, h = 600,"
    "  Button{ name = 'options_sfx_mute_button', type = kToggle, x = 0, y = 0, w = 20, h = 20 },"
    "  Button{ name = 'options_music_mute_button', type = kToggle, x = 0, y = 30, w = 20, h = 20 },"
    "  Button{ name = 'options_mute_button', type = kToggle, x = 0, y = 60, w = 20, h = 20 },"
    "  Button{ name = 'options_tutorialson_button', type = kToggle, x = 0, y = 90, w = 20, h = 20 "
    "},"
    "  Button{ name = 'options_solvable_button', type = kToggle, x = 0, y = 120, w = 20, h = 20,"
    "          command = function() ToggleSolvableDeals() end },"
    "  Slider{ name = 'options_sfx_slider', x = 100, y = 0, w = 200, h = 20 },"
    "  Slider{ name = 'options_music_slider', x = 100, y = 40, w = 200, h = 20 },"
    "}";

class OptionsTest : public ScreenTest {
 protected:
  bool On(const char* name) { return Find<TButton>(name)->IsOn(); }
  TSlider* Slider(const char* name) { return Find<TSlider>(name); }
};

TEST_F(OptionsTest, AFreshPlayerSeesTheVolumesThatPlayAndEveryEffectOn) {
  OpenDialog("options", kOptionsDialog);
  ASSERT_NE(Slider("options_sfx_slider"), nullptr);
  EXPECT_FLOAT_EQ(Slider("options_sfx_slider")->GetValue(), 0.6f);
  // The music slider starts where the music plays (0.75), so opening the dialog changes
  // nothing that is heard.
  EXPECT_FLOAT_EQ(Slider("options_music_slider")->GetValue(), 0.75f);
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kMusicGroup], 0.75f);
  EXPECT_TRUE(On("options_sfx_mute_button"));
  EXPECT_TRUE(On("options_music_mute_button"));
  EXPECT_FALSE(On("options_mute_button"));
  EXPECT_TRUE(On("options_tutorialson_button"));
  EXPECT_FALSE(On("options_solvable_button"));
}

TEST_F(OptionsTest, StoredOptionsSetTheControls) {
  const int player = game->CurrentUser();
  game->Prefs().SetPrefInt(record_key::kSoundLevel, 300, player);
  game->Prefs().SetPrefInt(record_key::kMusicLevel, 900, player);
  game->ToggleMusicMute();
  game->ToggleTutorials();
  game->ToggleSoundMute();
  OpenDialog("options", kOptionsDialog);
  EXPECT_FLOAT_EQ(Slider("options_sfx_slider")->GetValue(), 0.3f);
  EXPECT_FLOAT_EQ(Slider("options_music_slider")->GetValue(), 0.9f);
  EXPECT_TRUE(On("options_sfx_mute_button"));
  EXPECT_FALSE(On("options_music_mute_button"));
  EXPECT_TRUE(On("options_mute_button"));
  EXPECT_FALSE(On("options_tutorialson_button"));
}

TEST_F(OptionsTest, AMovedSliderSetsItsVolumeAndAReleaseStoresBoth) {
  OpenDialog("options", kOptionsDialog);
  Slider("options_sfx_slider")->SetValue(0.4f, false);
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kGameEffectsGroup], 0.4f);
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kEffectsGroup], 0.4f);
  Slider("options_music_slider")->SetValue(0.2f, false);
  EXPECT_FLOAT_EQ(sound->groups[TSoundLink::kMusicGroup], 0.2f);
  // Nothing is on disk before the release.
  EXPECT_EQ(TPrefs(false).GetPrefInt(record_key::kSoundLevel, -1, 0), 600);
  manager->Deliver(std::make_unique<TMessage>(kSliderReleased, "options_music_slider",
                                              Slider("options_music_slider")->GetParent()));
  TPrefs stored(false);
  EXPECT_EQ(stored.GetPrefInt(record_key::kSoundLevel, -1, 0), 400);
  EXPECT_EQ(stored.GetPrefInt(record_key::kMusicLevel, -1, 0), 200);
}

TEST_F(OptionsTest, AMutedGroupStaysSilentWhileItsSliderMoves) {
  game->ToggleMusicMute();
  OpenDialog("options", kOptionsDialog);
  Slider("options_music_slider")->SetValue(0.9f, false);
  EXPECT_EQ(sound->groups[TSoundLink::kMusicGroup], 0.0f);
  Run("SaveVolumes()");
  EXPECT_EQ(TPrefs(false).GetPrefInt(record_key::kMusicLevel, -1, 0), 900);
}

TEST_F(OptionsTest, TheSolvableDealsSwitchIsThePlayersAndSetsTheGamesSetting) {
  SetSetting("solvable_deals", "0");
  OpenDialog("options", kOptionsDialog);
  Find<TButton>("options_solvable_button")->Click();
  Pass();
  EXPECT_TRUE(IsSolvableDealsOn());
  EXPECT_EQ(GetSetting("solvable_deals"), "1");
  EXPECT_EQ(TPrefs(false).GetPrefInt("solvabledeals", -1, 0), 1);
  // Another player keeps the game's own setting until choosing.
  game->CreateNewUser("Bo");
  SetSetting("solvable_deals", "0");
  EXPECT_FALSE(IsSolvableDealsOn());
  game->SetCurrentUser(0);
  ApplySolvableDealsChoice();
  EXPECT_EQ(GetSetting("solvable_deals"), "1");
}

}  // namespace
