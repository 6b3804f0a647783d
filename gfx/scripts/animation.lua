-- The animation scripts' library ("ganimationscript"), run in every sprite's script before
-- its animation's own script. The native functions it builds on (SetCurrentFrame,
-- WaitLuaNextFrame, SetAlpha, Pause, IsPlaying, Load, GetScript, Die, Random) act on the
-- sprite the script belongs to.

gFrameDelay = 16
alpha = 1
alphadelta = 0
alphacount = 0

function delay( ms ) gFrameDelay = ms end
function pause( ms ) WaitLuaNextFrame( ms ) end
function showFrame() WaitLuaNextFrame( gFrameDelay ) end

function fadeout( n )
  alphadelta = -alpha / n
  alphacount = n
end

function fadein( n )
  alphadelta = ( 1 - alpha ) / n
  alphacount = n
end

function setAlpha( a )
  alpha = a
  SetAlpha( a )
end

-- Shows the frames of the list (numbered from 1) one frame delay each, taking one step of
-- a running fade with every frame.
function frames( list )
  for i = 1, table.getn( list ) do
    if alphacount ~= 0 then
      alpha = alpha + alphadelta
      SetAlpha( alpha )
      alphacount = alphacount - 1
      if alphacount == 0 then alphadelta = 0 end
    end
    SetCurrentFrame( list[ i ] - 1 )
    WaitLuaNextFrame( gFrameDelay )
  end
end

function loop( n, list )
  for i = 1, n do frames( list ) end
end

-- run{ name, image = , mask = , anim = }: switches the sprite to another animation and
-- plays its function anim ( "DoAnim" when not given ).
function run( t )
  if not Load( t[ 1 ], t.image or "", t.mask or "" ) then return end
  local chunk = loadstring( GetScript() )
  if chunk then chunk() end
  local f = _G[ t.anim or "DoAnim" ]
  if f then f() end
end

function die() Die() end
function halt() Pause( true, -1 ) end
function stop( n ) Pause( true, n or -1 ) end
function isPlaying( n ) return IsPlaying( n or -1 ) end
function random( a, b ) return Random( a, b ) end
function endReferences() end
