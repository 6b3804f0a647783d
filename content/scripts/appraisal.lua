-- The appraisal: the tile the player paid to have appraised, large, with what the appraiser
-- says of it, the set it belongs to and its value, and the appraiser's portrait and name.
-- OK (Enter, Escape) closes it.
ReadFile( "scripts/screenkit.lua" )

local function Close() FadeDown( "PopModal( 'appraisal' )" ) end

MakeDialog{ name = "appraisal",
  RAppraisal{ name = "appraisal_window", x = 0, y = 0, w = 800, h = 600, rfadeup = true,
              escapebutton = "appraisal_ok_button",
    ScreenShade(),
    ScreenPanel( "appraisal_panel", "large", {
      Bitmap{ name = "appraisal_picture", x = 34, y = 40, image = "endlevel/tile_common" },
      Text{ name = "appraisal_title_text", x = 200, y = 36, w = 320, h = 56, label = "#",
            flags = kHAlignLeft + kVAlignCenter, font = { kScreenDisplayFont, 24, kScreenRed } },
      ScreenText{ name = "appraisal_body_text", x = 200, y = 96, w = 320, h = 150, label = "#",
                  size = 15 },
      ScreenText{ name = "appraisal_set_text", x = 34, y = 250, w = 320, h = 26, label = "#",
                  size = 17 },
      Text{ name = "appraisal_value_text", x = 34, y = 280, w = 320, h = 34, label = "#",
            flags = kHAlignLeft + kVAlignCenter, font = { kScreenDisplayFont, 24, kScreenRed } },
      Bitmap{ name = "appraisal_portrait_image", x = 370, y = 230, image = "gfx/appraiser_gent",
              alpha = true },
      Bitmap{ name = "appraisal_nametag", x = 370, y = 404, image = "gfx/nametag", alpha = true,
        Text{ name = "appraisal_nametag_text", x = 10, y = 2, w = 130, h = 28, label = "#",
              flags = kHAlignCenter + kVAlignCenter,
              font = { kScreenDisplayFont, 15, kScreenInk } },
      },
      ScreenButton{ name = "appraisal_ok_button", label = "appraisal_ok", x = 34, y = 390,
                    default = true, command = Close },
    } ),
  },
}
