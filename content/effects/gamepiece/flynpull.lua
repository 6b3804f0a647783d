-- Sparkles that fly off a slot of the sets box when a set is submitted: a fountain of
-- golden twinkles shoots up out of the slot, gravity pulls them back down as they spin,
-- twinkle and fade. The game sets "dLocus" to the slot's centre and stops the emission
-- after a third of a second ("gActive = false").

pVelocity = Allocate( 2 )
pAge = Allocate( 1 )
pSpin = Allocate( 1 )
pSpinSpeed = Allocate( 1 )
pSize = Allocate( 1 )
pPhase = Allocate( 1 )
pPhaseSpeed = Allocate( 1 )
pTwinkle = Allocate( 2 )
pTint = Allocate( 3 )

SetTexture( "spark.xml" )
SetBlendMode( kBlendAdditiveAlpha )
SetNumParticles( 5000 )

pPosition:Init( dLocus + fRange( Vec2( -20, -22 ), Vec2( 20, 22 ) ) )
pVelocity:Init( fRange( Vec2( -90, -400 ), Vec2( 90, -170 ) ) )
pFrame:Init( fPick( 0, 0, 1, 2, 3 ) )
pSize:Init( fRange( 0.7, 1.4 ) )
pScale:Init( pSize )
pSpin:Init( fRange( 0, 6.2831853 ) )
pSpinSpeed:Init( fRange( -5, 5 ) )
pPhase:Init( fRange( 0, 6.2831853 ) )
pPhaseSpeed:Init( fRange( 12, 22 ) )
pTint:Init( fPick( Vec3( 1, 0.86, 0.35 ), Vec3( 1, 0.95, 0.6 ), Vec3( 1, 0.75, 0.3 ) ) )
pColor:Init( fVec( pTint[ 1 ], pTint[ 2 ], pTint[ 3 ], 1 ) )

pPosition:Anim( pPosition + fTimeScale( pVelocity ) )
SetUpGravity( 520 )
pSpin:Anim( pSpin + fTimeScale( pSpinSpeed ) )
pUp:Anim( f2dRotation( pSpin ) )
-- Twinkling: the size swings with the cosine of a running phase.
pPhase:Anim( pPhase + fTimeScale( pPhaseSpeed ) )
pTwinkle:Anim( f2dRotation( pPhase ) )
pScale:Anim( pSize + pTwinkle[ 1 ] * 0.3 )
pAge:Anim( pAge + fAge() )
pColor:Anim( fVec( pTint[ 1 ], pTint[ 2 ], pTint[ 3 ], fFade( pAge, 1, 900, 1, 600, 0 ) ) )
Anim( fExpire( fGreater( pAge, 1500 ) ) )

gActive = true

function Update( seconds )
  if gActive then CreateParticles( seconds * 100 ) end
end
