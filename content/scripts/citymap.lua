-- STAND-IN for the campaign's city map: where the game goes after the end-of-level screen
-- (DoAppropriateModal swaps the game's dialog for 'scripts/citymap.lua'). It offers the next
-- sale or the main menu. The real city map replaces this file.
ReadFile( "scripts/dialogkit.lua" )

MakeDialog{ name = "citymap",
  DialogPanel( "citymap", {
    DialogTitle( "citymap_title", "gamemap_title" ),
    DialogBody( "citymap_body", "gamemap_body", 80, 100 ),
    DialogButton{ name = "citymap_play", label = "gamemap_play", x = 35, y = 250, default = true,
                  command = function() SwapToModal( "scripts/game.lua" ) end },
    DialogButton{ name = "citymap_quit", label = "gamemap_quit", x = 235, y = 250,
                  cancel = true, command = function() CloseWindow() end },
  } ),
}
