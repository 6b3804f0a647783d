-- A puff of dust where a matched tile was: soft clouds burst out of the tile's place,
-- spread, drift up, grow and fade within a second. The game sets "dLocus" to the tile's
-- centre and stops the emission after a third of a second ("gActive = false").

pVelocity = Allocate( 2 )
pAge = Allocate( 1 )
pSpin = Allocate( 1 )
pSpinSpeed = Allocate( 1 )

SetTexture( "small" )
SetBlendMode( kBlendNormal )
SetNumParticles( 400 )

-- Born anywhere on the tile (47 x 64), moving outward and a little up.
pPosition:Init( dLocus + fRange( Vec2( -18, -26 ), Vec2( 18, 26 ) ) )
pVelocity:Init( fRange( Vec2( -110, -140 ), Vec2( 110, 50 ) ) )
pScale:Init( fRange( 0.7, 1.3 ) )
pSpin:Init( fRange( 0, 6.2831853 ) )
pSpinSpeed:Init( fRange( -3, 3 ) )
pColor:Init( Color( 1, 0.97, 0.86, 0 ) )

-- Air drags the puffs to a halt while they rise slowly.
pPosition:Anim( pPosition + fTimeScale( pVelocity ) )
pVelocity:Anim( pVelocity - fTimeScale( pVelocity * 3 ) + fTimeScale( Vec2( 0, -25 ) ) )
pScale:Anim( pScale + fTimeScale( 1.1 ) )
pSpin:Anim( pSpin + fTimeScale( pSpinSpeed ) )
pUp:Anim( f2dRotation( pSpin ) )
pAge:Anim( pAge + fAge() )
-- Quick to appear, slow to clear: warm dust, a touch of gold where the tile was.
pColor:Anim( fFade( pAge, Color( 1, 0.97, 0.86, 0 ), 90, Color( 1, 0.94, 0.74, 0.8 ),
                    760, Color( 0.93, 0.88, 0.76, 0 ) ) )
Anim( fExpire( fGreater( pAge, 850 ) ) )

gActive = true

function Update( seconds )
  if gActive then CreateParticles( seconds * 200 ) end
end
