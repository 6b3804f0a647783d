-- The board preview: a level dealt on the game's rules over its location's picture, to be
-- played pair by pair. "B" on the main screen opens it; its button (or Enter) closes it.
-- The level and the deal come from the settings "preview_level" (1..50, default 1) and
-- "preview_seed" (default: the clock).
local pics = { "ui/button_normal", "ui/button_pressed", "ui/button_over", "ui/button_on_over" }
local captionFont = { "__DEFAULT", 18, { 0.24, 0.14, 0.05, 1 } }

MakeDialog{ name = "boardpreview",
  Bitmap{ name = "boardpreview_background", x = 0, y = 0, image = "backgrounds/levels/attic_color",
          scale = 800 / 480 },
  GameBoard{ name = "boardpreview_board", x = 0, y = 0, w = 800, h = 600,
             levelnumber = tonumber( GetConfig( "preview_level", "1" ) ) or 1,
             seed = tonumber( GetConfig( "preview_seed", "" ) ) },
  Button{ name = "boardpreview_close", x = 660, y = 548, graphics = pics, close = true,
          default = true,
          Text{ name = "label", x = 0, y = 0, w = 120, h = 36, label = "boardpreview_close", font = captionFont,
                flags = kHAlignCenter + kVAlignCenter } },
}
