-- STAND-IN for the campaign's end-of-level screen: the level's result as plain lines and a
-- button on to the map. The real screen replaces this file; the game window hands over the
-- same way to both (it queues DoModal( 'scripts/endlevel.lua' ) and keeps the result in
-- LastLevelResult()).
ReadFile( "scripts/dialogkit.lua" )

-- The won level goes into the player's record once, as the end-of-level screen does.
RecordLevelResult()

MakeDialog{ name = "endlevel",
  DialogPanel( "endlevel", {
    DialogTitle( "endlevel_title", "gameresult_title" ),
    DialogBody( "endlevel_result", "#" .. LevelResultText(), 70, 180 ),
    DialogButton{ name = "endlevel_continue", label = "gameresult_continue", x = 135, y = 262,
                  default = true, cancel = true,
                  command = function() DoAppropriateModal() end },
  } ),
}
