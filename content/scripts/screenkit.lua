-- Pieces shared by the menu-side screens (main menu, options, players, story pages): fonts
-- and colours, the dim and the parchment panels, wooden buttons, switches and list rows,
-- and the wait of a dialog that Escape backs out of. A dialog runs this file first.

kScreenDisplayFont = "fonts/rosewood_fill.mvec"
kScreenTextFont = "fonts/default.mvec"
kScreenInk = { 0.23, 0.12, 0.03, 1 }
kScreenCream = { 1, 0.93, 0.76, 1 }
kScreenRed = { 0.45, 0.12, 0.08, 1 }
kScreenClick = "audio/sfx/button_click.ogg"

-- The dim over the screen below; the fade leaves it see-through.
function ScreenShade()
  return Bitmap{ name = "shadow", x = 0, y = 0, image = "menu/shade", alpha = true }
end

-- A parchment panel centred on the screen ("large" 560 x 470 or "small" 440 x 230); the
-- children are placed on it.
function ScreenPanel( name, size, children )
  local panel = { name = name, x = kCenter, y = kCenter, image = "menu/panel_" .. size,
                  alpha = true }
  for _, child in ipairs( children ) do table.insert( panel, child ) end
  return Bitmap( panel )
end

function ScreenTitle( name, label, x, y, w )
  return Text{ name = name, x = x or 30, y = y or 26, w = w or 480, h = 44, label = label,
               flags = kHAlignCenter + kVAlignCenter,
               font = { kScreenDisplayFont, 30, kScreenRed } }
end

function ScreenText( t )
  return Text{ name = t.name, x = t.x, y = t.y, w = t.w, h = t.h, label = t.label,
               flags = t.flags or ( kHAlignLeft + kVAlignTop ),
               font = { t.font or kScreenTextFont, t.size or 16, t.colour or kScreenInk } }
end

-- A wooden button (170 x 42) with a caption: t.name, t.label, t.x, t.y, t.command,
-- t.close, t.default.
function ScreenButton( t )
  return Button{ name = t.name, x = t.x, y = t.y, sound = kScreenClick, command = t.command,
                 close = t.close, default = t.default,
                 graphics = { "menu/button_up", "menu/button_down", "menu/button_over" },
    Text{ name = "label", x = 6, y = 2, w = 158, h = 34, label = t.label,
          flags = kHAlignCenter + kVAlignCenter, font = { kScreenDisplayFont, 19, kScreenCream } },
  }
end

-- A switch with a box and its caption (300 x 36): t.name, t.label, t.x, t.y, t.on,
-- t.command.
function ScreenSwitch( t )
  return Button{ name = t.name, type = kToggle, x = t.x, y = t.y, sound = kScreenClick,
                 on = t.on, command = t.command,
                 graphics = { "menu/check_off", "menu/check_on", "menu/check_off_over",
                              "menu/check_on_over" },
    Text{ name = "label", x = 40, y = 2, w = 256, h = 32, label = t.label,
          flags = kHAlignLeft + kVAlignCenter, font = { kScreenTextFont, 17, kScreenInk } },
  }
end

-- A horizontal volume slider (260 wide).
function ScreenSlider( name, x, y )
  return Slider{ name = name, x = x, y = y, w = 260, h = 24,
                 railmid = "menu/slider_rail", sliderimage = "menu/slider_knob",
                 sliderrollimage = "menu/slider_knob_over" }
end
