#include "ui/screen_init.h"

// Lua 5.0 dialect: table.getn instead of '#', 'arg' for varargs.
const char kScreenInitChunk[] = R"LUA(
-- The constants (kCenter, kButtonPress, ...) are set before this text runs, from the
-- engine's vocabulary table (ui/engine_vocabulary.cpp).
LUA_PATH = "?;../?;../../?"
gReturnValue = nil
idtable = {}; gParent = {}; gCurrentDefaultStyle = {}; gClosedWindows = {}
gCommandQueue = {}; gMessageQueue = {}; gDialogTable = {}
gCurID = 100
gBeginGroup = 0

function Creating( typename, t ) end
function CustomCreator() end

-- Builds the children of a description in the current parent; styles set inside are
-- scoped to it.
function MakeDialog( t )
  local style = gCurrentDefaultStyle
  if type(t.name) == "string" and t.name ~= "" then SetWindowName( t.name ) end
  local i = 1
  while t[i] ~= nil do
    if type(t[i]) == "function" then t[i]() end
    i = i + 1
  end
  gCurrentDefaultStyle = style
  if t.typename then PostCreate( t, t.typename ) end
end

function DoWindow( t )
  t.beginGroup = gBeginGroup
  gBeginGroup = 0
  GenericCreate( t )
  MakeDialog( t )
  PopWindow()
end

function Group( t ) return function() MakeDialog( t ) end end
function BeginGroup() return function() gBeginGroup = 1 end end
function SetBeginGroup( x ) gBeginGroup = 1 end
function SetDefaultStyle( s ) gCurrentDefaultStyle = s end
function SetStyle( s ) return function() gCurrentDefaultStyle = s end end
function AppendStyle( s )
  return function() s.parent = gCurrentDefaultStyle; gCurrentDefaultStyle = s end
end
function SelectLayer( n ) return function() DoSelectLayer( n ) end end
function FitToChildren() return function() DoFitToChildren() end end
function SetDefault( x ) return function() end end

function GetTag( t, key, noStyle )
  if t[key] ~= nil then return t[key] end
  if not noStyle then
    local s = gCurrentDefaultStyle
    while type(s) == "table" do
      if s[key] ~= nil then return s[key] end
      s = s.parent
    end
  end
  if type(t.parent) == "table" then return GetTag( t.parent, key, true ) end
  return nil
end

-- Colour tables for "font" keys: Color takes 0..255 components (alpha 1 when left out),
-- FColor takes them as given.
function Color( r, g, b, a )
  if a == nil then a = 1 else a = a / 255 end
  return { (r or 0) / 255, (g or 0) / 255, (b or 0) / 255, a }
end
function FColor( r, g, b, a )
  return { r or 0, g or 0, b or 0, a or 1 }
end

function Push( w ) table.insert( gParent, 1, w ) end
function Pop() return table.remove( gParent, 1 ) end
function DoDialogCommand( ignored, f ) return f() end

function GetString( key, a1, a2, a3, a4, a5 )
  return _GetString( key, a1 or "", a2 or "", a3 or "", a4 or "", a5 or "" )
end
function SetBitmap( name, file, scale ) _SetBitmap( name, file, scale or 1 ) end
function SetFocus( name ) RealSetFocus( name ) end
function PopModal( nameOrId ) DoPopModal( nameOrId ) end
function ModalReturn( value ) gReturnValue = value end

function DistributeX( n )
  local r = {}
  divisor = n + 1
  for i = 1, n do d = i / divisor * gDialogWidth; r[i] = d end
  return r
end
function DistributeY( n )
  local r = {}
  divisor = n + 1
  for i = 1, n do d = i / divisor * gDialogHeight; r[i] = d end
  return r
end

function ReadFile( file ) return dofile( "assets/" .. file ) end

-- Messages: the queue is read from its end; closures handed in with a message run here.
function WaitForMessage( timeout, noQueue )
  if not noQueue and table.getn( gMessageQueue ) > 0 then
    return table.remove( gMessageQueue )
  end
  local msg, f = HandleGetMessage( timeout )
  if type(f) == "function" then
    gYieldResult = f()
  elseif table.getn( gCommandQueue ) > 0 then
    local c = table.remove( gCommandQueue )
    gYieldResult = c()
  end
  return msg
end

function WaitForCloseMessage( id )
  while true do
    local m = WaitForMessage()
    if m ~= nil then
      gLastMessage = m
      if m.type == kModalClosed then
        if m.name == id then return end
        gClosedWindows[m.name] = true
      end
    end
    if gClosedWindows[id] then
      gClosedWindows[id] = nil
      return
    end
  end
end

function CloseWindow( value )
  PostMessage( CreateCloseMessage() )
  if value ~= nil then ModalReturn( value ) end
end

function Pause( ms, anyKeyBreaks )
  local finish = GetTimer() + ms
  while GetTimer() < finish do
    local m = WaitForMessage( finish - GetTimer(), true )
    if m ~= nil then
      if anyKeyBreaks and m.type == kPressAnyKey then return end
      table.insert( gMessageQueue, m )
    end
  end
end

function FlushMessages()
  while HandleGetMessage( 1 ) ~= nil do end
  gCommandQueue = {}
  gMessageQueue = {}
end

-- A script text queued for the next frame may arrive here as a function to run.
function Yield()
  ScheduleNextPass()
  local f = coroutine.yield()
  if type( f ) == "function" then f() end
end

function DoModal( file )
  local id = PushModal( file )
  ReadFile( file )
  DoFitToChildren()
  WaitForCloseMessage( id )
  local r = gReturnValue
  gReturnValue = nil
  return r
end

function DoMainWindow( file )
  PushModal( file )
  local depth = GetWindowDepth()
  ReadFile( file )
  DoFitToChildren()
  while GetWindowDepth() >= depth do
    gLastMessage = WaitForMessage()
  end
end

function DisplayDialog( t )
  local file = t[1]
  if file == nil or file == "" then
    DebugOut( "DisplayDialog called with empty script; aborting" )
    return
  end
  local id = PushModal( file )
  gDialogTable = t
  ReadFile( file )
  WaitForCloseMessage( id )
  local r = gReturnValue
  gReturnValue = nil
  return r
end

function SwapToModal( file )
  ClearModalChildren()
  ReadFile( file )
  DoFitToChildren()
end

function DisplaySplash( movie, image, ms )
  local id = PushModal( "DisplaySplash" )
  local translate = GetTag( {}, "translate" ) or false
  local allowInput = GetTag( {}, "allowInput" ) or false
  local inMovie = StartMovie( movie or "", translate, allowInput )
  local endTime = GetTimer() + ms
  local disableAbort = GetTag( {}, "disableAbort" ) or false
  if not inMovie then
    local overlay = GetTag( {}, "splashoverlay" ) or Group{}
    if image == nil or image == "" then return end
    -- Without an image window type nothing can show the picture: as if it did not load.
    if Bitmap == nil then
      PopModal( id )
      return
    end
    MakeDialog{ Bitmap{ name = 'splashimage', image = image, overlay } }
    UpdateWindow(); Pause( 50 ); UpdateWindow(); Pause( 50 )
    if ImageLoaded( 'splashimage' ) ~= true then
      PopModal( id )
      return
    end
  end
  while true do
    local m = WaitForMessage( 1 )
    if not inMovie and GetTimer() > endTime then break end
    if m ~= nil then
      if m.type == kCloseWindow then break end
      if m.type == kModalClosed then
        if m.name == id then break end
        gClosedWindows[m.name] = true
      end
      if not disableAbort and m.type == kPressAnyKey then break end
    end
    if inMovie and not IsMoviePlaying() then break end
  end
  if inMovie then StopMovie() end
  PopModal( id )
end
)LUA";
