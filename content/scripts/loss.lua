-- No move is left: take the last move back, shuffle the tiles (for the price shown), start
-- the level over or leave for the menu. Enter takes the move back when there is one, else
-- starts over; Escape leaves for the menu.
ReadFile( "scripts/screenkit.lua" )

local canUndo = CanUndo()

local function Leave( script ) FadeDown( "PopModal( 'loss' );" .. script ) end

MakeDialog{ name = "loss",
  RLoss{ name = "loss_window", x = 0, y = 0, w = 800, h = 600, rfadeup = true,
         escapebutton = "loss_quit_button",
    ScreenShade(),
    ScreenPanel( "loss_panel", "large", {
      ScreenTitle( "loss_title_text", "loss_title", 30, 26, 500 ),
      ScreenText{ name = "loss_body_text", x = 50, y = 90, w = 460, h = 110, label = "loss_body",
                  flags = kHAlignCenter + kVAlignTop, size = 17 },
      ScreenButton{ name = "loss_undo_button", label = "loss_undo", x = 60, y = 220,
                    default = canUndo, command = function() Leave( "Undo()" ) end },
      ScreenButton{ name = "loss_shuffle_button", label = "loss_shuffle", x = 310, y = 220,
                    command = function() Leave( "Shuffle()" ) end },
      Text{ name = "loss_shuffle_price", x = 310, y = 266, w = 170, h = 24, label = "#",
            flags = kHAlignCenter + kVAlignTop, font = { kScreenDisplayFont, 18, kScreenRed } },
      ScreenButton{ name = "loss_tryagain_button", label = "loss_tryagain", x = 60, y = 310,
                    default = not canUndo,
                    command = function() Leave( "SwapToModal( 'scripts/game.lua' )" ) end },
      ScreenButton{ name = "loss_quit_button", label = "loss_quit", x = 310, y = 310,
                    command = function() Leave( "QuitGame()" ) end },
    } ),
  },
}
if not canUndo then EnableWindow( "loss_undo_button", false ) end
if not CanShuffle() then
  EnableWindow( "loss_shuffle_button", false )
  EnableWindow( "loss_shuffle_price", false )
end
