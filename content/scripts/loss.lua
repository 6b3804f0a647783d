-- STAND-IN for the campaign's loss screen: no move is left; undo, shuffle (when the money
-- covers it), start the level over or leave for the main menu. The real screen replaces
-- this file; the game window queues DoModal('scripts/loss.lua') for both.
ReadFile( "scripts/dialogkit.lua" )

-- Enter takes the move back when there is one, else starts over; Escape also takes it back,
-- else leaves for the main menu.
local canUndo = CanUndo()

MakeDialog{ name = "loss",
  DialogPanel( "loss", {
    DialogTitle( "loss_title", "gameloss_title" ),
    DialogBody( "loss_body", "gameloss_body", 74, 100 ),
    DialogButton{ name = "loss_undo", label = "gameloss_undo", x = 35, y = 196, default = canUndo,
                  cancel = canUndo,
                  command = function() PopModal( "loss" ); Undo() end },
    DialogButton{ name = "loss_shuffle", label = "gameloss_shuffle", x = 235, y = 196,
                  command = function() PopModal( "loss" ); Shuffle() end },
    DialogButton{ name = "loss_restart", label = "gameloss_restart", x = 35, y = 250,
                  default = not canUndo,
                  command = function() PopModal( "loss" ); SwapToModal( "scripts/game.lua" ) end },
    DialogButton{ name = "loss_quit", label = "gameloss_quit", x = 235, y = 250,
                  cancel = not canUndo,
                  command = function() PopModal( "loss" ); QuitGame() end },
  } ),
}
if not canUndo then EnableWindow( "loss_undo", false ) end
if not CanShuffle() then EnableWindow( "loss_shuffle", false ) end
