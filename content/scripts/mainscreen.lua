-- The main screen: the game's main menu ("scripts/mainmenu.lua") when the game's window
-- types are there. Without them (the engine's dialogs tested alone) a plain screen with the
-- menu music, switches for all sound and for the music, and a quit button area (the button
-- itself is created once the button window type is registered).
if MainMenu ~= nil then
  ReadFile( "scripts/mainmenu.lua" )
else

-- The switches follow the player's options when the progress record offers them
-- (ToggleSoundMute, ToggleMusicMute, IsSoundOff), and work on the sound volumes until then.
-- A window script without the sound functions (the dialogs tested alone) shows neither
-- music nor switches.
local hasSound = StartMusic ~= nil
local kMusicGroup = 1001
local function SoundIsOff()
  if IsSoundOff ~= nil then return IsSoundOff() end
  return GetMasterVolume() == 0
end
local function MusicIsOff() return GetSoundGroupVolume( kMusicGroup ) == 0 end
-- String-table keys of the switches' captions (content/strings/screens.txt).
local function SoundLabel() return SoundIsOff() and "main_sound_off" or "main_sound_on" end
local function MusicLabel() return MusicIsOff() and "main_music_off" or "main_music_on" end

local function ToggleSound()
  if ToggleSoundMute ~= nil then
    ToggleSoundMute()
  else
    SetMasterVolume( SoundIsOff() and 1 or 0 )
  end
  SetLabel( "main_sound_button", GetString( SoundLabel() ) )
end

local function ToggleMusic()
  if ToggleMusicMute ~= nil then
    ToggleMusicMute()
  else
    SetSoundGroupVolume( kMusicGroup, MusicIsOff() and 1 or 0 )
  end
  SetLabel( "main_music_button", GetString( MusicLabel() ) )
end

if hasSound then StartMusic( "audio/music/music_mainmenu.ogg" ) end

MakeDialog{ name = "mainscreen",
  Window{ name = "main_title", x = kCenter, y = 40, w = 600, h = 80 },
  Window{ name = "main_menu", x = kCenter, y = kCenter, w = 300, h = 240,
    Window{ name = "main_quit_area", x = kCenter, y = kMax - 20, w = 200, h = 40, align = kVAlignBottom },
  },
}
if Button ~= nil then
  local pics = { "ui/button_normal", "ui/button_pressed", "ui/button_over", "ui/button_on_over" }
  local click = "audio/sfx/button_click.ogg"
  local captionFont = { "__DEFAULT", 18, { 0.24, 0.14, 0.05, 1 } }
  local function Caption( text )
    return Text{ name = "label", x = 0, y = 0, w = 120, h = 36, label = text, font = captionFont,
                 flags = kHAlignCenter + kVAlignCenter }
  end
  if hasSound then
    MakeDialog{
      -- Toggled on (the pressed look) while that sound is off.
      Button{ name = "main_sound_button", type = kToggle, x = kCenter, y = 250, graphics = pics,
              sound = click, on = SoundIsOff(), command = ToggleSound, Caption( SoundLabel() ) },
      Button{ name = "main_music_button", type = kToggle, x = kCenter, y = 300, graphics = pics,
              sound = click, on = MusicIsOff(), command = ToggleMusic, Caption( MusicLabel() ) },
    }
  end
  MakeDialog{ Button{ name = "main_quit_button", label = "Quit", x = kCenter, y = kMax - 60,
                      w = 200, h = 40, sound = click } }
end
end
