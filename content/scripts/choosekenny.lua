-- Zozad Uravi's offer, opened when two Kenny tiles leave the board: a sure gift of money, or
-- the crate, which may hold a treasure of this sale, coins worth twice the gift, or Kenny's
-- old socks. The choice is made by the game window (TakeKennyGift, GambleWithKenny), which
-- answers what it brought; AssignKennyUndo then ties the gift to the Kenny pair, so that
-- undoing the pair or quitting the level takes the gift back.
ReadFile( "scripts/dialogkit.lua" )

local chosen = false

-- After the choice only the thank-you button stays: Enter or Escape closes the offer.
local function Choose( choice )
  if chosen then return end
  chosen = true
  SetLabel( "choosekenny_body_text", choice() )
  AssignKennyUndo()
  EnableWindow( "choosekenny_take", false )
  EnableWindow( "choosekenny_gamble", false )
  EnableWindow( "choosekenny_ok", true )
end

-- Enter and Escape take the money: the offer is never left without a choice.
MakeDialog{ name = "choosekenny",
  DialogPanel( "choosekenny", {
    DialogTitle( "choosekenny_title", "choosekenny_title" ),
    DialogBody( "choosekenny_body_text", "#" .. KennyOfferText(), 66, 150 ),
    DialogButton{ name = "choosekenny_take", label = "choosekenny_take", x = 35, y = 262,
                  default = true, cancel = true, command = function() Choose( TakeKennyGift ) end },
    DialogButton{ name = "choosekenny_gamble", label = "choosekenny_gamble", x = 235, y = 262,
                  command = function() Choose( GambleWithKenny ) end },
    DialogButton{ name = "choosekenny_ok", label = "choosekenny_ok", x = 135, y = 262,
                  close = true, default = true, cancel = true },
  } ),
}
EnableWindow( "choosekenny_ok", false )
