-- The game's menu (Escape or the Menu button): back to the sale, start the sale over, or
-- leave for the main menu; with the keys of the game.
ReadFile( "scripts/dialogkit.lua" )

MakeDialog{ name = "gamemenu",
  DialogPanel( "gamemenu", {
    DialogTitle( "gamemenu_title", "gamemenu_title" ),
    Text{ name = "gamemenu_keys", x = 34, y = 64, w = 392, h = 150, label = "gamemenu_keys",
          flags = kHAlignLeft + kVAlignTop, font = { kDialogTextFont, 14, kDialogInk } },
    DialogButton{ name = "gamemenu_resume", label = "gamemenu_resume", x = 135, y = 214,
                  close = true, default = true, cancel = true },
    DialogButton{ name = "gamemenu_restart", label = "gamemenu_restart", x = 35, y = 266,
                  command = function() PopModal( "gamemenu" ); SwapToModal( "scripts/game.lua" ) end },
    DialogButton{ name = "gamemenu_quit", label = "gamemenu_quit", x = 235, y = 266,
                  command = function() CloseWindow(); QuitGame() end },
  } ),
}
