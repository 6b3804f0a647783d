-- The program's first dialog script: a splash that waits for a key, a click or its time,
-- then the main screen, which stays until the player quits.

-- The splash: the game's picture (a plain panel when it cannot be shown), which any key or
-- click (or the timeout) dismisses.
local function Splash( ms )
  local id = PushModal( "splash" )
  MakeDialog{ name = "splash" }
  if Bitmap ~= nil then
    MakeDialog{ Bitmap{ name = "splash_picture", x = 0, y = 0, image = "menu/splash" } }
  end
  if Bitmap == nil or not ImageLoaded( "splash_picture" ) then
    MakeDialog{ Window{ name = "splash_panel", x = kCenter, y = kCenter, w = 400, h = 200 } }
  end
  local finish = GetTimer() + ms
  while GetTimer() < finish do
    local m = WaitForMessage( finish - GetTimer() )
    if m ~= nil and m.type == kPressAnyKey then break end
  end
  PopModal( id )
end

-- Escape, or a press of the quit button, ends the program through the normal quit path.
local function IsQuit( m )
  if m == nil then return false end
  if m.type == kButtonPress and ( m.name == "main_quit_button" or m.name == "mainmenu_quit" ) then
    return true
  end
  return m.type == kPressAnyKey and m.name == "raw:\027"
end

-- Opens the main screen; answers the window depth it stands at.
local function OpenMainScreen()
  PushModal( "mainscreen" )
  ReadFile( "scripts/mainscreen.lua" )
  DoFitToChildren()
  return GetWindowDepth()
end

return function()
  Splash( tonumber( GetConfig( "splash_ms", "5000" ) ) or 5000 )
  local depth = OpenMainScreen()
  gMainScreenReady = true
  while true do
    -- A web page's menu and restart commands close every dialog down to the screen, the
    -- main screen too (QuitToMainMenu): it opens again at once, hence the short waits.
    local m = WaitForMessage( 250 )
    if GetWindowDepth() < depth then depth = OpenMainScreen() end
    if IsQuit( m ) then
      PostMessage( CreateNamedMessage( kQuitNow, "" ) )
    elseif m ~= nil and m.type == kPressAnyKey and m.name == "raw:W" then
      DoModal( "scripts/widgetdemo.lua" )
    elseif m ~= nil and m.type == kPressAnyKey and m.name == "raw:H" then
      DoModal( "scripts/hiscore.lua" )
    elseif m ~= nil and m.type == kPressAnyKey and m.name == "raw:S" then
      DoModal( "scripts/spritedemo.lua" )
    elseif m ~= nil and m.type == kPressAnyKey and m.name == "raw:B" then
      DoModal( "scripts/boardpreview.lua" )
    end
  end
end
