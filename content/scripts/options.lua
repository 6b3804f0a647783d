-- The options dialog: effects and music volumes, their mute switches, all sound off, full
-- screen, the tutorial prompts and deals that can always be cleared. Every change is the
-- player's at once; the volumes are stored when a slider is let go. Done or Escape closes.
ReadFile( "scripts/screenkit.lua" )

local function Close() FadeDown( "PopModal( 'options' )" ) end

MakeDialog{ name = "options",
  OptionsWindow{ name = "options_window", x = 0, y = 0, w = 800, h = 600, rfadeup = true,
                 escapebutton = "options_done_button",
    ScreenShade(),
    ScreenPanel( "options_panel", "large", {
      ScreenTitle( "options_title", "options_title", 30, 24, 500 ),
      ScreenText{ name = "options_sfx_text", x = 44, y = 86, w = 120, h = 26,
                  label = "options_sfx", size = 17 },
      ScreenText{ name = "options_music_text", x = 44, y = 132, w = 120, h = 26,
                  label = "options_music", size = 17 },
      ScreenSwitch{ name = "options_sfx_mute_button", label = "options_on", x = 440, y = 80,
                    command = function() ToggleSFXMute() end },
      ScreenSwitch{ name = "options_music_mute_button", label = "options_on", x = 440, y = 126,
                    command = function() ToggleMusicMute() end },
      ScreenSwitch{ name = "options_mute_button", label = "options_mute", x = 50, y = 180,
                    command = function() ToggleSoundMute() end },
      ScreenSwitch{ name = "options_fullscreen_button", label = "options_fullscreen", x = 50,
                    y = 222, command = function() ToggleFullScreen() end },
      ScreenSwitch{ name = "options_tutorialson_button", label = "options_tutorials", x = 50,
                    y = 264, command = function() ToggleTutorials() end },
      ScreenSwitch{ name = "options_solvable_button", label = "options_solvable", x = 50,
                    y = 306, command = function() ToggleSolvableDeals() end },
      ScreenText{ name = "options_solvable_note", x = 90, y = 342, w = 420, h = 40,
                  label = "options_solvable_note", size = 13 },
      ScreenButton{ name = "options_done_button", label = "options_done", x = 185, y = 392,
                    default = true, command = Close },
    } ),
    -- The sliders are the options window's own children: it hears their moves.
    ScreenSlider( "options_sfx_slider", 290, 151 ),
    ScreenSlider( "options_music_slider", 290, 197 ),
  },
}
