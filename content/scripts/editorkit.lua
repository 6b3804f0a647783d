-- Pieces shared by free play's layout chooser and the layout editor: the small wooden tool
-- button, its switch form, small texts on the wooden rails, and playing a layout.
ReadFile( "scripts/screenkit.lua" )

kToolFont = { kScreenDisplayFont, 13, kScreenCream }

-- A tool button (96 x 30): t.name, t.label, t.x, t.y, t.command, t.default, t.cancel,
-- t.switch (a toggle, pressed in while on).
function ToolButton( t )
  local graphics = { "editor/tool_up", "editor/tool_down", "editor/tool_over" }
  if t.switch then
    graphics = { "editor/tool_up", "editor/tool_on", "editor/tool_over", "editor/tool_on" }
  end
  return Button{ name = t.name, x = t.x, y = t.y, w = 96, h = 30, sound = kScreenClick,
                 type = t.switch and kToggle or nil, command = t.command, default = t.default,
                 cancel = t.cancel, graphics = graphics,
    Text{ name = "label", x = 4, y = 1, w = 88, h = 26, label = t.label,
          flags = kHAlignCenter + kVAlignCenter, font = kToolFont },
  }
end

-- A line of text on the wood: t.name, t.x, t.y, t.w, t.h, t.label, t.size, t.colour.
function RailText( t )
  return Text{ name = t.name, x = t.x, y = t.y, w = t.w, h = t.h or 18, label = t.label or "#",
               flags = t.flags or ( kHAlignLeft + kVAlignCenter ),
               font = { t.font or kScreenTextFont, t.size or 13, t.colour or kScreenCream } }
end

-- Plays a layout file in free play (game mode 0) and comes back here when the game closes.
function PlayLayout( file )
  if file == nil or file == "" then return end
  FreePlayLevel = file
  SetCurrentGameMode( 0 )
  DoModal( "scripts/game.lua" )
  FreePlayLevel = nil
end

-- A button command that opens a dialog and waits for it: the statement runs from the dialog
-- loop's command queue (RunLater), where it may wait, not inside the button's press.
function Later( statement )
  return function() RunLater( statement ) end
end
