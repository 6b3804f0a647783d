-- The players: choose who plays, add a new player (with a name), rename or delete one
-- (after a question). The main menu opens it, and on a first start it asks for a name at
-- once. Escape or Back leaves it; the chosen player is the current one from then on.
ReadFile( "scripts/screenkit.lua" )

local kRows = 8          -- players shown at a time
local gFirst = 0         -- index of the player in the top row
local gSelected = GetCurrentUser()

local function RowName( i ) return "players_row_" .. i end

-- Names keep to what the text windows show as written: no markup brackets.
local function CleanName( text )
  text = string.gsub( text or "", "[<>&]", "" )
  text = string.gsub( text, "^%s+", "" )
  return string.gsub( text, "%s+$", "" )
end

local function Refresh()
  local count = GetNumUsers()
  if gSelected >= count then gSelected = count - 1 end
  if gFirst > gSelected and gSelected >= 0 then gFirst = gSelected end
  if gSelected >= gFirst + kRows then gFirst = gSelected - kRows + 1 end
  for i = 0, kRows - 1 do
    local index = gFirst + i
    local shown = index < count
    EnableWindow( RowName( i ), shown )
    if shown then
      SetLabel( RowName( i ), GetUserName( index ) )
      SetButtonToggleState( RowName( i ), index == gSelected )
    end
  end
  EnableWindow( "players_up_button", gFirst > 0 )
  EnableWindow( "players_down_button", gFirst + kRows < count )
  EnableWindow( "players_delete_button", count > 0 and gSelected >= 0 )
  EnableWindow( "players_rename_button", gSelected >= 0 )
  EnableWindow( "players_choose_button", gSelected >= 0 )
end

-- Asks for a name; "" when the player backed out.
local function AskName( mode, start )
  gPlayerNameMode = mode
  gPlayerNameStart = start or ""
  local name = DoModal( "scripts/playername.lua" )
  if type( name ) ~= "string" or name == "playername_cancel_button" then return "" end
  return CleanName( name )
end

local function NewPlayer()
  local name = AskName( "new" )
  if name ~= "" and CreateNewUser( name ) then gSelected = GetNumUsers() - 1 end
  Refresh()
end

local function Rename()
  if gSelected < 0 then return end
  local name = AskName( "rename", GetUserName( gSelected ) )
  if name ~= "" then ChangeUserName( name, gSelected ) end
  Refresh()
end

local function Delete()
  if gSelected < 0 then return end
  gConfirmText = GetString( "players_delete_question", GetUserName( gSelected ) )
  if DoModal( "scripts/confirm.lua" ) ~= "confirm_yes_button" then return end
  DeleteUser( gSelected )
  gSelected = GetCurrentUser()
  -- The game always has a player: the last one gone, a new one is asked for.
  while GetNumUsers() == 0 do
    local name = AskName( "first" )
    if name == "" then name = "Player" end
    CreateNewUser( name )
  end
  gSelected = GetCurrentUser()
  Refresh()
end

local function Choose()
  if gSelected >= 0 then SetCurrentUser( gSelected ) end
  FadeDown( "PopModal( 'players' )" )
end

local function Back() FadeDown( "PopModal( 'players' )" ) end

local function Row( i )
  return Button{ name = RowName( i ), type = kToggle, x = 40, y = 80 + i * 36,
                 sound = kScreenClick,
                 command = function()
                   gSelected = gFirst + i
                   Refresh()
                 end,
                 graphics = { "menu/row_up", "menu/row_on", "menu/row_over", "menu/row_on_over" },
    Text{ name = "label", x = 32, y = 2, w = 280, h = 30, label = "#",
          flags = kHAlignLeft + kVAlignCenter, font = { kScreenTextFont, 17, kScreenInk } },
  }
end

local rows = {}
for i = 0, kRows - 1 do table.insert( rows, Row( i ) ) end
table.insert( rows, 1, ScreenTitle( "players_title", "players_title", 30, 24, 500 ) )
table.insert( rows, ScreenButton{ name = "players_up_button", label = "players_up", x = 370,
                                  y = 80, command = function() gFirst = gFirst - 1; Refresh() end } )
table.insert( rows, ScreenButton{ name = "players_down_button", label = "players_down", x = 370,
                                  y = 326, command = function() gFirst = gFirst + 1; Refresh() end } )
table.insert( rows, ScreenButton{ name = "players_new_button", label = "players_new", x = 370,
                                  y = 146, command = NewPlayer } )
table.insert( rows, ScreenButton{ name = "players_rename_button", label = "players_rename",
                                  x = 370, y = 200, command = Rename } )
table.insert( rows, ScreenButton{ name = "players_delete_button", label = "players_delete",
                                  x = 370, y = 254, command = Delete } )
table.insert( rows, ScreenButton{ name = "players_choose_button", label = "players_choose",
                                  x = 100, y = 394, default = true, command = Choose } )
table.insert( rows, ScreenButton{ name = "players_back_button", label = "players_back",
                                  x = 290, y = 394, command = Back } )

local firstStart = GetNumUsers() == 1 and GetUserName( 0 ) == "Player" and not HasGameStarted()

MakeDialog{ name = "players",
  RWindow{ name = "players_window", x = 0, y = 0, w = 800, h = 600, rfadeup = not firstStart,
           escapebutton = "players_back_button",
    ScreenShade(),
    ScreenPanel( "players_panel", "large", rows ),
  },
}
Refresh()

-- A first start: straight to the name of the first player, then on to the menu.
function PlayersAskFirstName()
  local name = AskName( "first", "" )
  if name == "" then return end
  ChangeUserName( name, 0 )
  SetCurrentUser( 0 )
  gSelected = 0
  Refresh()
  FadeDown( "PopModal( 'players' )" )
end
-- The question waits for the list to be there (a dialog below another one stands still).
if firstStart then FadeUp( "PlayersAskFirstName()" ) end
