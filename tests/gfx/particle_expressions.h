// One particle effect's per-step expressions written twice: as a particle script for the
// expression machine, and as the same arithmetic in plain Lua over a particle's floats
// (p[1] is float 0). The tests check that both agree; the benchmark times both.
#pragma once

// Members after the renderer's ten floats: pVelocity 10-11, pAge 12, pSpin 13,
// pSpinSpeed 14, pFlag 15, pMix 16-17.
inline constexpr const char* kParticleStepScript = R"(
pVelocity = Allocate( 2 )
pAge = Allocate( 1 )
pSpin = Allocate( 1 )
pSpinSpeed = Allocate( 1 )
pFlag = Allocate( 1 )
pMix = Allocate( 2 )
pPosition:Anim( pPosition + fTimeScale( pVelocity ) )
pVelocity:Anim( pVelocity * 0.98 + Vec2( 0, 12 ) )
pScale:Anim( pScale + fTimeScale( 1 ) )
pColor:Anim( fFade( pAge, Color( 1, 1, 1, 0.1 ), 400, Color( 1, 1, 0, 0.6 ), 600, Color( 1, 1, 0, 0.1 ) ) )
pSpin:Anim( pSpin + fTimeScale( pSpinSpeed ) )
pUp:Anim( f2dRotation( pSpin ) )
pAge:Anim( pAge + fAge() )
pFlag:Anim( fLess( pAge, 500 ) )
pMix:Anim( pVelocity / 4 - pPosition + fVec( pColor[ 2 ], pColor[ 4 ] ) )
Anim( fExpire( fGreater( pAge, 1000 ) ) )
)";

// Step( p, ms ) does what kParticleStepScript's list does; answers false when the particle
// expires.
inline constexpr const char* kParticleStepLua = R"(
local function fade( t, a, d1, b, d2, c, i )
  if d1 > t then return a[ i ] + ( t / d1 ) * ( b[ i ] - a[ i ] ) end
  t = t - d1
  if d2 > t then return b[ i ] + ( t / d2 ) * ( c[ i ] - b[ i ] ) end
  return c[ i ]
end
local c0, c1, c2 = { 1, 1, 1, 0.1 }, { 1, 1, 0, 0.6 }, { 1, 1, 0, 0.1 }
function Step( p, ms )
  local s = ms / 1000
  p[ 1 ] = p[ 1 ] + p[ 11 ] * s
  p[ 2 ] = p[ 2 ] + p[ 12 ] * s
  p[ 11 ] = p[ 11 ] * 0.98 + 0
  p[ 12 ] = p[ 12 ] * 0.98 + 12
  p[ 5 ] = p[ 5 ] + 1 * s
  local age = p[ 13 ]
  for i = 1, 4 do p[ 5 + i ] = fade( age, c0, 400, c1, 600, c2, i ) end
  p[ 14 ] = p[ 14 ] + p[ 15 ] * s
  p[ 3 ] = math.cos( p[ 14 ] )
  p[ 4 ] = math.sin( p[ 14 ] )
  p[ 13 ] = p[ 13 ] + ms
  if p[ 13 ] < 500 then p[ 16 ] = 1 else p[ 16 ] = 0 end
  local g, a = p[ 7 ], p[ 9 ]
  p[ 17 ] = p[ 11 ] / 4 - p[ 1 ] + g
  p[ 18 ] = p[ 12 ] / 4 - p[ 2 ] + a
  return not ( p[ 13 ] > 1000 )
end
)";

inline constexpr int kParticleStepFloats = 18;
