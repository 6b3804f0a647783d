-- The "more games" dialog: up to seven entries from "xsell/xsell.xml", each a description
-- with an Open button, the site button and two lines in the middle. SetupXSell fills the
-- texts and hides the rows without an entry; the buttons open their addresses with
-- LaunchGameLink (0 the site, 1 to 7 the entries). DoModal runs it; Close ends it.
local pics = { "ui/button_normal", "ui/button_pressed", "ui/button_over", "ui/button_on_over" }
local click = "audio/sfx/button_click.ogg"
local textFont = { "__DEFAULT", 16, { 1, 0.94, 0.78, 1 } }
local captionFont = { "__DEFAULT", 18, { 0.24, 0.14, 0.05, 1 } }

local function Caption( text )
  return Text{ name = "label", x = 0, y = 0, w = 120, h = 36, label = text, font = captionFont,
               flags = kHAlignCenter + kVAlignCenter }
end

-- Buttons are described by their centres: SetupXSell moves each up and left by half its size.
local rows = { name = "xsell", x = 0, y = 0, w = 800, h = 600 }
table.insert( rows, Text{ name = "xsell_title", x = 40, y = 20, w = 720, h = 32, label = "xsell_title",
                          font = { "__DEFAULT", 26, { 1, 1, 1, 1 } } } )
for n = 1, 8 do
  local y = 60 + ( n - 1 ) * 48
  local slot = n  -- a local of the loop body: each button's function keeps its own
  table.insert( rows, Text{ name = "descrip" .. n, x = 40, y = y, w = 560, h = 44, font = textFont } )
  table.insert( rows, Button{ name = "xsellbutton" .. n, x = 700, y = y + 22, graphics = pics,
                              sound = click, command = function() LaunchGameLink( slot ) end,
                              Caption( "xsell_open" ) } )
end
table.insert( rows, Text{ name = "centertext1", x = 40, y = 454, w = 720, h = 22, font = textFont,
                          flags = kHAlignCenter } )
table.insert( rows, Text{ name = "centertext2", x = 40, y = 478, w = 720, h = 22, font = textFont,
                          flags = kHAlignCenter } )
table.insert( rows, Button{ name = "gamesite", x = 260, y = 550, graphics = pics, sound = click,
                            command = function() LaunchGameLink( 0 ) end,
                            Caption( "xsell_site" ) } )
table.insert( rows, Button{ name = "xsell_close", x = 480, y = 532, graphics = pics, sound = click,
                            close = true, default = true, Caption( "xsell_close" ) } )

MakeDialog{ XSellWindow( rows ) }
SetupXSell()
