-- The game's options (the Options tab of the play screen): sound effects and music on or
-- off. They follow the player's options when the progress record offers its switches
-- (ToggleSFXMute, ToggleMusicMute) and the sound volumes until then.
ReadFile( "scripts/dialogkit.lua" )

local kEffectsGroup, kGameEffectsGroup, kMusicGroup = 0, 1000, 1001
local function Muted( group ) return GetSoundGroupVolume ~= nil and GetSoundGroupVolume( group ) == 0 end
local function OnOff( muted ) return muted and "#Off" or "#On" end

local function ToggleEffects()
  if ToggleSFXMute ~= nil then
    ToggleSFXMute()
  elseif SetSoundGroupVolume ~= nil then
    local volume = Muted( kGameEffectsGroup ) and 1 or 0
    SetSoundGroupVolume( kGameEffectsGroup, volume )
    SetSoundGroupVolume( kEffectsGroup, volume )
  end
  SetLabel( "gameoptions_sound_state", Muted( kGameEffectsGroup ) and "Off" or "On" )
end

local function ToggleMusic()
  if ToggleMusicMute ~= nil then
    ToggleMusicMute()
  elseif SetSoundGroupVolume ~= nil then
    SetSoundGroupVolume( kMusicGroup, Muted( kMusicGroup ) and 1 or 0 )
  end
  SetLabel( "gameoptions_music_state", Muted( kMusicGroup ) and "Off" or "On" )
end

local function StateText( name, y, muted )
  return Text{ name = name, x = 250, y = y, w = 120, h = 42, label = OnOff( muted ),
               flags = kHAlignCenter + kVAlignCenter,
               font = { kDialogDisplayFont, 22, kDialogInk } }
end

MakeDialog{ name = "gameoptions",
  DialogPanel( "gameoptions", {
    DialogTitle( "gameoptions_title", "gameoptions_title" ),
    DialogButton{ name = "gameoptions_sound", label = "gameoptions_sound", x = 50, y = 90,
                  command = ToggleEffects },
    StateText( "gameoptions_sound_state", 90, Muted( kGameEffectsGroup ) ),
    DialogButton{ name = "gameoptions_music", label = "gameoptions_music", x = 50, y = 150,
                  command = ToggleMusic },
    StateText( "gameoptions_music_state", 150, Muted( kMusicGroup ) ),
    DialogButton{ name = "gameoptions_done", label = "gameoptions_done", x = 135, y = 262,
                  close = true, default = true, cancel = true },
  } ),
}
