-- Pieces shared by the high-score screen and its submit dialog: their fonts, inks, the
-- click sound, the plain label and the wooden button of the high-score boards. Both scripts
-- run this file first.

kHiscoreDisplayFont = "fonts/rosewood_fill.mvec"
kHiscoreTextFont = "fonts/default.mvec"
kHiscoreInk = { 0.23, 0.12, 0.03, 1 }
kHiscoreRed = { 0.45, 0.12, 0.08, 1 }
kHiscoreCream = { 1, 0.93, 0.76, 1 }
kHiscoreClick = "audio/sfx/button_click.ogg"

-- A text at t.x, t.y (t.w wide, t.h or 24 high) in the text font and ink unless t says
-- otherwise; left aligned and centred vertically by default.
function HiscoreLabel( t )
  return Text{ name = t.name, x = t.x, y = t.y, w = t.w, h = t.h or 24, label = t.label or "",
               flags = t.flags or ( kHAlignLeft + kVAlignCenter ),
               font = { t.font or kHiscoreTextFont, t.size or 16, t.colour or kHiscoreInk } }
end

-- The 150 x 40 wooden button with its label; default marks the button Enter presses.
function HiscoreWoodButton( name, label, x, y, command, close, default )
  return Button{ name = name, x = x, y = y, sound = kHiscoreClick, command = command,
                 close = close, default = default,
                 graphics = { "hiscore/button_normal", "hiscore/button_pressed",
                              "hiscore/button_over" },
    Text{ name = "label", x = 4, y = 2, w = 142, h = 36, label = label,
          flags = kHAlignCenter + kVAlignCenter, font = { kHiscoreDisplayFont, 18, kHiscoreCream } },
  }
end
