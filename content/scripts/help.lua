-- How to play: four pages turned with Previous and Next (or the arrow buttons' keys); Close
-- or Escape leaves.
ReadFile( "scripts/screenkit.lua" )

local function Close() FadeDown( "PopModal( 'help' )" ) end

-- A tile as the board shows it: the blank with a face on top.
local function Tile( name, x, y, face, antique )
  return Bitmap{ name = name, x = x, y = y,
                 image = antique and "tiles/blank/tile_medium_antique_headon"
                                  or "tiles/blank/tile_medium_headon",
    Bitmap{ name = name .. "_face", x = 6, y = 2, image = face, scale = 0.72 } }
end

local function Title( name, label, y ) return ScreenText{ name = name, x = 40, y = y, w = 470, h = 28,
  label = label, font = kScreenDisplayFont, size = 21, colour = kScreenRed } end
local function Body( name, label, x, y, w, h ) return ScreenText{ name = name, x = x, y = y, w = w,
  h = h, label = label, size = 14 } end

MakeDialog{ name = "help",
  HelpWindow{ name = "help_window", x = 0, y = 0, w = 800, h = 600, rfadeup = true,
              escapebutton = "help_close_button",
    ScreenShade(),
    ScreenPanel( "help_panel", "large", {
      Title( "help_page1_title1", "help_page1_title1", 30 ),
      Body( "help_page1_body1", "help_page1_body1", 40, 60, 330, 110 ),
      Tile( "help_page1_image1", 400, 60, "tiles/common/camera/camera1_md" ),
      Tile( "help_page1_image2", 450, 60, "tiles/common/camera/camera1_md" ),
      Title( "help_page1_title2_1", "help_page1_title2", 176 ),
      Body( "help_page1_body2", "help_page1_body2", 40, 206, 470, 70 ),
      Body( "help_page1_body3", "help_page1_body3", 40, 282, 470, 60 ),
      Body( "help_page1_body4", "help_page1_body4", 40, 346, 470, 40 ),

      Title( "help_page2_title1", "help_page2_title1", 30 ),
      Body( "help_page2_body1", "help_page2_body1", 40, 60, 470, 110 ),
      Tile( "help_page2_image1", 150, 172, "tiles/common/ashtray/ashtray1_md" ),
      Tile( "help_page2_image2", 200, 172, "tiles/common/ashtray/ashtray1_md" ),
      Title( "help_page2_title2", "help_page2_title2", 240 ),
      Body( "help_page2_body2", "help_page2_body2", 40, 270, 470, 110 ),

      Title( "help_page3_title1", "help_page3_title1", 30 ),
      Body( "help_page3_body1", "help_page3_body1", 40, 60, 470, 130 ),
      Title( "help_page3_title2", "help_page3_title2", 200 ),
      Body( "help_page3_body2", "help_page3_body2", 40, 230, 470, 150 ),

      Title( "help_page4_title1_1", "help_page4_title1", 30 ),
      Body( "help_page4_body1", "help_page4_body1", 40, 60, 470, 120 ),
      Title( "help_page4_title2", "help_page4_title2", 190 ),
      Body( "help_page4_body2", "help_page4_body2", 40, 220, 470, 80 ),
      Body( "help_page4_body3", "help_page4_body3", 40, 306, 470, 80 ),

      ScreenText{ name = "help_pagenumber_text", x = 240, y = 404, w = 40, h = 30, label = "#1",
                  flags = kHAlignCenter + kVAlignCenter, size = 16 },
      ScreenButton{ name = "help_prev_button", label = "help_previous", x = 40, y = 396,
                    command = function() Previous() end },
      ScreenButton{ name = "help_next_button", label = "help_next", x = 330, y = 396,
                    default = true, command = function() Next() end },
    } ),
    ScreenButton{ name = "help_close_button", label = "help_close", x = 315, y = 545,
                  command = Close },
  },
}
