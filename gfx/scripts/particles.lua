-- The particle scripts' library, run in every particle system before its effect script.
-- Expressions are built as values: numbers, member handles (userdata with the metatable
-- ParticleMemberMT) and tables { cmd = name, params = { ... } } with the metatable ValueMT,
-- so that operators on them build larger expressions. The system compiles such a value
-- into native instructions (CompileParam); Init adds a statement to what runs when a
-- particle is created, Anim to what runs for every particle on every step.

kBlendNormal = 0
kBlendOpaque = 1
kBlendAdditiveAlpha = 2
kBlendSubtractive = 3
kBlendMode = "blendmode"

-- The members the renderer reads, the first ten floats of every particle.
pPosition = Allocate( 2 )
pUp = Allocate( 2 )
pScale = Allocate( 1 )
pColor = Allocate( 4 )
pFrame = Allocate( 1 )

ValueMT = {}

function CreateValue( name, args )
  t = { cmd = name, params = args }
  setmetatable( t, ValueMT )
  return t
end

-- a > b arrives as __lt( b, a ), the language's own rule for >.
local operators = { __lt = "lt", __le = "le", __add = "add", __sub = "sub", __div = "div",
                    __mul = "mul", __unm = "unm" }
for event, name in pairs( operators ) do
  local cmd = name
  local build = function( a, b ) return CreateValue( cmd, { a, b } ) end
  ValueMT[ event ] = build
  ParticleMemberMT[ event ] = build
end

-- pColor[ 4 ] is the fourth float of pColor; pPosition:Init( ... ) finds Init here.
ParticleMemberMT.__index = function( handle, key )
  if type( key ) == "number" then
    local base = GetParticleMemberParts( handle )
    return CreateValue( "index", { base, key } )
  end
  return ParticleMemberMT[ key ]
end

function ParticleMemberMT.Init( handle, expression )
  local base, size = GetParticleMemberParts( handle )
  CompileParameters( { CreateValue( "assign", { expression, base, size } ) } )
  AccumulateInitStream()
end

function ParticleMemberMT.Anim( handle, expression )
  local base, size = GetParticleMemberParts( handle )
  CompileParameters( { CreateValue( "assign", { expression, base, size } ) } )
  AccumulateAnimStream()
end

function fGreater( a, b ) return fLess( b, a ) end
function fGreaterEqual( a, b ) return fLessEqual( b, a ) end

-- Statements without a target member, such as an expiry condition.
function Init( statement )
  CompileParameters( { statement } )
  AccumulateInitStream()
end

function Anim( statement )
  CompileParameters( { statement } )
  AccumulateAnimStream()
end

function CompileParameters( list )
  local sizes = {}
  for i = 1, table.getn( list ) do
    sizes[ i ] = CompileParam( list[ i ] )
  end
  return sizes
end

function Vec2( x, y ) return setmetatable( { x, y }, ValueMT ) end
function Vec3( x, y, z ) return setmetatable( { x, y, z }, ValueMT ) end
function Color( r, g, b, a ) return setmetatable( { r, g, b, a }, ValueMT ) end

function SetBlendMode( mode ) SetRendererOption1( kBlendMode, mode ) end
function SetTexture( name ) _SetTexture( name ) end

-- ParticlesPerSecond( rate, ms ): how many particles to make in a step of ms milliseconds
-- at rate particles a second, keeping the rest for the next step.
function NewParticleGenerator()
  local accumulator = 0
  ParticlesPerSecond = function( rate, ms )
    accumulator = accumulator + ms
    local n = math.floor( accumulator / 1000 * rate )
    accumulator = accumulator - math.floor( n * 1000 / rate )
    return n
  end
  return ParticlesPerSecond
end

-- A function of the step's milliseconds that answers true once ms have passed.
function NewTimeout( ms )
  local remaining = ms
  return function( elapsed )
    if remaining < 0 then return true end
    remaining = remaining - elapsed
    return false
  end
end

function RequireVelocity()
  if pVelocity == nil then pVelocity = Allocate( 2 ) end
end

-- a pixels per second per second downward.
function SetUpGravity( a )
  RequireVelocity()
  pVelocity:Anim( pVelocity + fTimeScale( Vec2( 0, a ) ) )
end

-- Effect scripts replace it: called once per step with the step's seconds.
function Update( seconds )
end
