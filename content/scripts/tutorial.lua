-- A tutorial tip over the play screen: gTutorialTitle and gTutorialBody (string labels)
-- say what to do; the switch turns the tips off, and on the tutorial level the player may
-- skip the rest of it. OK or Escape closes the tip.
ReadFile( "scripts/screenkit.lua" )

local function Close() FadeDown( "PopModal( 'tutorial' )" ) end
local function Skip()
  SkipTutorialLevel()
  Close()
end

MakeDialog{ name = "tutorial",
  RTutorial{ name = "tutorial_window", x = 0, y = 0, w = 800, h = 600, rfadeup = true,
             escapebutton = "tutorial_ok_button",
    ScreenPanel( "tutorial_panel", "small", {
      ScreenTitle( "tutorial_title_text", gTutorialTitle or "tutorial_title", 20, 16, 380 ),
      ScreenText{ name = "tutorial_body_text", x = 36, y = 58, w = 350, h = 64,
                  label = gTutorialBody or "tutorial_body", size = 14,
                  flags = kHAlignCenter + kVAlignTop },
      ScreenButton{ name = "tutorial_ok_button", label = "tutorial_ok", x = 30, y = 160,
                    default = true, command = Close },
      ScreenButton{ name = "tutorial_skip_button", label = "tutorial_skip", x = 220, y = 160,
                    command = Skip },
    } ),
    ScreenSwitch{ name = "tutorialson_button", label = "tutorial_tips", x = 250, y = 318,
                  command = function() ToggleTutorials() end },
  },
}
