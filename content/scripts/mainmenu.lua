-- The main menu: the curio shop with its wooden signs. Read into the main screen by
-- "scripts/mainscreen.lua"; the main loop (scripts/mainloop.lua) waits for its messages.
-- Each sign's command opens its screen and, back from it, greets the player again and puts
-- the menu music back on.
ReadFile( "scripts/screenkit.lua" )

local kSignFont = { kScreenDisplayFont, 24, kScreenCream }

-- A sign: the wooden board with its caption leaning like the board's lettering.
local function Sign( key, y, command, default )
  local name = "mainmenu_" .. key
  local function Caption( state, dy )
    return Text{ name = name .. "_text_" .. state, x = 14, y = 6 + dy, w = 222, h = 34,
                 label = "mainmenu_" .. key, flags = kHAlignCenter + kVAlignCenter,
                 font = kSignFont }
  end
  return Button{ name = name, x = 520, y = y, w = 250, h = 50, sound = kScreenClick,
                 command = command,
                 default = default,
    SelectLayer( 0 ), Bitmap{ name = name .. "_up", x = 0, y = 0, image = "menu/sign_up" },
    Caption( "up", 0 ),
    SelectLayer( 1 ), Bitmap{ name = name .. "_down", x = 0, y = 0, image = "menu/sign_down" },
    Caption( "down", 2 ),
    SelectLayer( 2 ), Bitmap{ name = name .. "_over", x = 0, y = 0, image = "menu/sign_over" },
    Caption( "over", 0 ),
  }
end


-- The quick switches for all sound and for the music, pressed in (on) while that sound is
-- off; their captions say what is heard.
local function SoundLabel() return IsSoundOff() and "main_sound_off" or "main_sound_on" end
local function MusicIsOff() return IsMusicOff() end
local function MusicLabel() return MusicIsOff() and "main_music_off" or "main_music_on" end

local function Switch( name, y, on, label, command )
  return Button{ name = name, type = kToggle, x = 300, y = y, w = 200, h = 40,
                 sound = kScreenClick, on = on, command = command,
                 graphics = { "menu/plaque_off", "menu/plaque_on", "menu/plaque_off_over",
                              "menu/plaque_on_over" },
    Text{ name = "label", x = 8, y = 2, w = 184, h = 32, label = label,
          flags = kHAlignCenter + kVAlignCenter, font = { kScreenDisplayFont, 17, kScreenCream } },
  }
end

local function RefreshLabels()
  SetLabel( "mainmenu_sound_button", GetString( SoundLabel() ) )
  SetLabel( "mainmenu_music_button", GetString( MusicLabel() ) )
end

-- Back from another screen, where the options may have changed either sound.
local function RefreshSwitches()
  RefreshLabels()
  SetButtonToggleState( "mainmenu_sound_button", IsSoundOff() )
  SetButtonToggleState( "mainmenu_music_button", MusicIsOff() )
end

-- A click on a switch: the button flips its own state after its command has run, so the
-- command changes the sound and the caption only; setting the state here as well would be
-- undone by that flip and leave the switch showing the opposite of what is heard.
local function SwitchClicked( toggle )
  toggle()
  RefreshLabels()
end

-- A web page's menu and restart commands close every dialog, this menu too, while one of
-- its screens is open; the main loop opens a new menu, and what this one had left to do
-- after that screen is dropped (its window's functions went with it).
local function MenuClosed() return SetWelcomeName == nil end

-- Back on the menu after a screen: the player may have changed, and the music with it.
function ReturnToMenu()
  if MenuClosed() then return end
  SetWelcomeName()
  PlayMusic()
  RefreshSwitches()
end

local function OpenScreen( file )
  DoModal( file )
  ReturnToMenu()
end

-- A first start (the store holds only the default player, who has not played yet): the
-- game asks for the player's name before the first game. False when the menu was closed
-- meanwhile: no game starts then.
local function AskFirstName()
  if GetNumUsers() == 1 and GetUserName( 0 ) == "Player" and not HasGameStarted() then
    DoModal( "scripts/players.lua" )
    if MenuClosed() then return false end
    SetWelcomeName()
  end
  return true
end

local function StartAdventure()
  if not AskFirstName() then return end
  SetCurrentGameMode( 1 )
  if HasGameStarted() then
    DoModal( "scripts/citymap.lua" )
  else
    DoModal( "scripts/intro.lua" )
  end
  ReturnToMenu()
end

local function StartClassic()
  if not AskFirstName() then return end
  SetCurrentGameMode( 0 )
  OpenScreen( "scripts/game.lua" )
end

-- Free play: any unlocked layout or one of the player's own, and the layout editor.
local function StartFreePlay()
  if not AskFirstName() then return end
  OpenScreen( "scripts/layoutchooser.lua" )
end

MakeDialog{ name = "mainmenu",
  MainMenu{ name = "mainmenu_screen", x = 0, y = 0, w = 800, h = 600,
    Bitmap{ name = "mainmenu_background", x = 0, y = 0, image = "menu/mainmenu_background" },
    -- The moving toys and sparkles, behind the signs so that they never catch a click.
    SpriteLayer{ name = "spritelayer", x = 0, y = 0, w = 800, h = 600 },
    Text{ name = "mainmenu_title", x = 300, y = 22, w = 480, h = 70, label = "application_title",
          flags = kHAlignCenter + kVAlignCenter,
          font = { kScreenDisplayFont, 44, { 0.95, 0.78, 0.33, 1 } } },
    -- Tilted up to the right about its top-left corner: the box leaves room above.
    Text{ name = "mainmenu_welcome_text", x = 530, y = 70, w = 240, h = 66,
          label = "mainmenu_welcome_nobody", flags = kHAlignCenter + kVAlignBottom,
          font = { kScreenTextFont, 17, kScreenCream } },
    Button{ name = "mainmenu_chooseplayer", x = 560, y = 128, w = 180, h = 40,
            sound = kScreenClick,
            command = function() OpenScreen( "scripts/players.lua" ) end,
      SelectLayer( 0 ), Text{ name = "mainmenu_chooseplayer_text_up", x = 0, y = 0, w = 180,
          h = 40, label = "mainmenu_chooseplayer", flags = kHAlignCenter + kVAlignBottom,
          font = { kScreenTextFont, 15, { 0.85, 0.8, 0.65, 1 } } },
      SelectLayer( 1 ), Text{ name = "mainmenu_chooseplayer_text_down", x = 0, y = 1, w = 180,
          h = 40, label = "mainmenu_chooseplayer", flags = kHAlignCenter + kVAlignBottom,
          font = { kScreenTextFont, 15, { 1, 0.9, 0.5, 1 } } },
      SelectLayer( 2 ), Text{ name = "mainmenu_chooseplayer_text_over", x = 0, y = 0, w = 180,
          h = 40, label = "mainmenu_chooseplayer", flags = kHAlignCenter + kVAlignBottom,
          font = { kScreenTextFont, 15, { 1, 0.9, 0.5, 1 } } },
    },
    Switch( "mainmenu_sound_button", 248, IsSoundOff(), SoundLabel(),
            function() SwitchClicked( ToggleSoundMute ) end ),
    Switch( "mainmenu_music_button", 298, MusicIsOff(), MusicLabel(),
            function() SwitchClicked( ToggleMusicMute ) end ),
    Sign( "newadventuregame", 170, StartAdventure, true ),
    Sign( "newclassicgame", 224, StartClassic ),
    Sign( "freeplay", 278, StartFreePlay ),
    Sign( "options", 332, function() OpenScreen( "scripts/options.lua" ) end ),
    Sign( "help", 386, function() OpenScreen( "scripts/help.lua" ) end ),
    Sign( "highscores", 440, function() OpenScreen( "scripts/hiscore.lua" ) end ),
    -- The main loop ends the program on this sign's press.
    Sign( "quit", 494, nil ),
  },
}
