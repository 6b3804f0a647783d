-- Asks for a player's name (gPlayerNameMode: "first", "new" or "rename"; gPlayerNameStart:
-- the name to start from). OK (or Enter) returns the name, Cancel (or Escape) returns the
-- cancel button's name. A name already in use is refused with a line under the field.
ReadFile( "scripts/screenkit.lua" )

local titles = { first = "playername_first", new = "playername_new", rename = "playername_rename" }

local function Cancel() FadeDown( "PopModal( 'playername' ); ModalReturn( 'playername_cancel_button' )" ) end

local function Accept()
  local name = GetLabel( "playername_edit" )
  name = string.gsub( string.gsub( name or "", "^%s+", "" ), "%s+$", "" )
  if name == "" then
    SetLabel( "playername_problem_text", GetString( "playername_empty" ) )
    return
  end
  if IsNameInUse( name ) and name ~= gPlayerNameStart then
    SetLabel( "playername_problem_text", GetString( "playername_inuse" ) )
    return
  end
  gPlayerNameChosen = name
  FadeDown( "PopModal( 'playername' ); ModalReturn( gPlayerNameChosen )" )
end

MakeDialog{ name = "playername",
  RWindow{ name = "playername_window", x = 0, y = 0, w = 800, h = 600, rfadeup = true,
           escapebutton = "playername_cancel_button",
    ScreenShade(),
    ScreenPanel( "playername_panel", "small", {
      ScreenTitle( "playername_title", titles[gPlayerNameMode or "new"] or "playername_new", 20,
                   20, 380 ),
      TextEdit{ name = "playername_edit", x = 70, y = 72, w = 280, h = 34, length = 20,
                label = gPlayerNameStart or "", padding = 5,
                font = { kScreenTextFont, 20, kScreenInk } },
      ScreenText{ name = "playername_problem_text", x = 40, y = 110, w = 340, h = 22, label = "#",
                  size = 14, colour = kScreenRed, flags = kHAlignCenter + kVAlignTop },
      ScreenButton{ name = "playername_ok_button", label = "playername_ok", x = 40, y = 140,
                    default = true, command = Accept },
      ScreenButton{ name = "playername_cancel_button", label = "playername_cancel", x = 220,
                    y = 140, command = Cancel },
    } ),
  },
}
