-- Pieces shared by the game's dialogs (the menu, the options, Zozad Uravi's offer and the
-- plain end-of-level, loss, appraisal and map dialogs): the dimmed screen, the parchment
-- panel and the wooden buttons. A dialog runs this file first. A dialog script only makes
-- its windows (DoModal waits for it to close): its buttons act, Enter presses the button
-- marked default and Escape the one marked cancel.

kDialogDisplayFont = "fonts/rosewood_fill.mvec"
kDialogTextFont = "fonts/default.mvec"
kDialogInk = { 0.23, 0.12, 0.03, 1 }
kDialogCream = { 1, 0.93, 0.76, 1 }
kDialogClick = "audio/sfx/button_click.ogg"

-- The dim over the play screen and the 460 x 340 panel in the middle of the screen; the
-- panel's children are placed on it.
function DialogPanel( name, children )
  local panel = { name = name .. "_panel", x = kCenter, y = kCenter, image = "gfx/dialog_panel",
                  alpha = true }
  for _, child in ipairs( children ) do table.insert( panel, child ) end
  return Group{
    Bitmap{ name = name .. "_shade", x = 0, y = 0, image = "gfx/dialog_shade", alpha = true },
    Bitmap( panel ),
  }
end

function DialogTitle( name, label )
  return Text{ name = name, x = 24, y = 22, w = 412, h = 40, label = label,
               flags = kHAlignCenter + kVAlignCenter,
               font = { kDialogDisplayFont, 28, { 0.45, 0.12, 0.08, 1 } } }
end

function DialogBody( name, label, y, h )
  return Text{ name = name, x = 34, y = y or 70, w = 392, h = h or 120, label = label,
               flags = kHAlignCenter + kVAlignTop, font = { kDialogTextFont, 16, kDialogInk } }
end

-- A wooden button with its caption; t.x, t.y on the panel, t.command, t.close, t.default
-- (Enter presses it) and t.cancel (Escape presses it).
function DialogButton( t )
  local function Caption( state, dy )
    return Text{ name = t.name .. "_text_" .. state, x = 4, y = 2 + dy, w = 182, h = 36,
                 label = t.label, flags = kHAlignCenter + kVAlignCenter,
                 font = { kDialogDisplayFont, 19, kDialogCream } }
  end
  return Button{ name = t.name, x = t.x, y = t.y, w = 190, h = 42, sound = kDialogClick,
                 command = t.command, close = t.close, default = t.default,
                 cancel = t.cancel,
    SelectLayer( 0 ), Bitmap{ name = t.name .. "_up", x = 0, y = 0, image = "buttons/dialog_up" },
    Caption( "up", 0 ),
    SelectLayer( 1 ), Bitmap{ name = t.name .. "_down", x = 0, y = 0, image = "buttons/dialog_down" },
    Caption( "down", 1 ),
    SelectLayer( 2 ), Bitmap{ name = t.name .. "_over", x = 0, y = 0, image = "buttons/dialog_over" },
    Caption( "over", 0 ),
  }
end
