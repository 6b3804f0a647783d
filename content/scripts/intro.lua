-- The intro: Grandma's letter that starts the adventure. Start plays the tutorial level;
-- the player who knows the game may skip it and go straight to the map; Escape goes back
-- to the menu (the adventure has begun all the same).
ReadFile( "scripts/screenkit.lua" )

local function Start() FadeDown( "SwapToModal( 'scripts/game.lua' )" ) end
local function Skip()
  SkipTutorial()
  FadeDown( "SwapToModal( 'scripts/citymap.lua' )" )
end
local function Back() FadeDown( "PopModal( 'intro' )" ) end

MakeDialog{ name = "intro",
  RIntro{ name = "intro_window", x = 0, y = 0, w = 800, h = 600, rfadeup = true,
          escapebutton = "intro_back_button",
    Bitmap{ name = "intro_background", x = 0, y = 0, image = "menu/mainmenu_background" },
    ScreenShade(),
    Bitmap{ name = "intro_letter", x = 120, y = 50, image = "story/letter",
      Text{ name = "intro_letterhead_1", x = 40, y = 34, w = 300, h = 30,
            label = "intro_letterhead", font = { kScreenDisplayFont, 24, kScreenRed } },
      Text{ name = "intro_letterhead_2", x = 360, y = 40, w = 170, h = 60, label = "intro_date",
            flags = kHAlignCenter + kVAlignBottom, font = { kScreenTextFont, 14, kScreenInk } },
      Text{ name = "intro_body_text", x = 44, y = 84, w = 470, h = 270, label = "intro_body",
            font = { kScreenTextFont, 15, kScreenInk } },
      Text{ name = "intro_signature_text", x = 300, y = 350, w = 220, h = 30,
            label = "intro_signature", flags = kHAlignRight + kVAlignTop,
            font = { kScreenDisplayFont, 20, kScreenRed } },
      ScreenButton{ name = "intro_start_button", label = "intro_start", x = 40, y = 400,
                    default = true, command = Start },
      ScreenButton{ name = "intro_skip_button", label = "intro_skip", x = 220, y = 400,
                    command = Skip },
    },
    ScreenButton{ name = "intro_back_button", label = "intro_back", x = 20, y = 540,
                  command = Back },
  },
}
