-- The end of a level: the treasure won on its large tile with the appraiser's verdict, its
-- diamonds and value, and the plaque of the level's money counting up line by line. A click
-- hurries the counting; Continue (Enter, Escape) goes on to the map.
ReadFile( "scripts/screenkit.lua" )

local kLineFont = { kScreenTextFont, 16, kScreenInk }
local kValueFont = { kScreenDisplayFont, 18, kScreenInk }

-- Line i of the plaque: its label and its value (filled in by the screen).
local function ScoreLine( i, y, font )
  return Group{
    Text{ name = "endlevel_scoretype_" .. i .. "_text", x = 24, y = y, w = 150, h = 24,
          label = "#", flags = kHAlignLeft + kVAlignCenter, font = kLineFont },
    Text{ name = "endlevel_score_" .. i .. "_text", x = 150, y = y, w = 122, h = 24,
          label = "#$0", flags = kHAlignRight + kVAlignCenter, font = font or kValueFont },
  }
end

local function Continue() FadeDown( "DoAppropriateModal()" ) end

MakeDialog{ name = "endlevel",
  EndLevel{ name = "endlevel_window", x = 0, y = 0, w = 800, h = 600,
            escapebutton = "endlevel_continue_button",
    ScreenShade(),
    ScreenPanel( "endlevel_panel", "large", {
      ScreenTitle( "endlevel_title_text", "endlevel_title", 30, 18, 500 ),
      ScreenText{ name = "endlevel_subtitle_text", x = 30, y = 58, w = 500, h = 22,
                  label = "endlevel_subtitle", flags = kHAlignCenter + kVAlignTop, size = 15 },
      SpriteLayer{ name = "endlevel_spritelayer", x = 24, y = 70, w = 210, h = 260 },
      Bitmap{ name = "endlevel_scoreplaque", x = 26, y = 332, image = "endlevel/valuetag",
              alpha = true,
        Text{ name = "endlevel_scoreplaque_text", x = 20, y = 22, w = 170, h = 40, label = "#",
              flags = kHAlignCenter + kVAlignCenter,
              font = { kScreenDisplayFont, 26, kScreenRed } },
      },
      Text{ name = "endlevel_tiletitle_text", x = 250, y = 86, w = 280, h = 28, label = "#",
            flags = kHAlignLeft + kVAlignCenter, font = { kScreenDisplayFont, 20, kScreenRed } },
      ScreenText{ name = "endlevel_tiledescription_text", x = 250, y = 116, w = 280, h = 74,
                  label = "#", size = 13 },
      Bitmap{ name = "endlevel_scoreboard", x = 236, y = 192, image = "endlevel/scoreboard",
              alpha = true,
        -- Tilted down to the right by the screen and lifted 7 pixels: the box leaves room.
        Text{ name = "endlevel_yourscore_text", x = 24, y = 18, w = 160, h = 44,
              label = "endlevel_yourscore", flags = kHAlignLeft + kVAlignTop,
              font = { kScreenDisplayFont, 20, kScreenRed } },
        ScoreLine( 1, 52 ), ScoreLine( 2, 74 ), ScoreLine( 3, 96 ), ScoreLine( 4, 118 ),
        ScoreLine( 5, 162, { kScreenDisplayFont, 22, kScreenRed } ),
      },
      ScreenButton{ name = "endlevel_continue_button", label = "endlevel_continue", x = 350,
                    y = 410, default = true, command = Continue },
    } ),
  },
}
