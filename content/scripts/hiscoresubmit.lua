-- The submit dialog of the high-score screen: the player's best unsubmitted score goes to
-- the world table under the player's name, or under a world account with its password
-- (remembered when asked). The high-score screen sets the start values (gNameEdit,
-- gAccountEdit, gPassEdit, gRemember, gEligibleScore) before it opens this dialog; the
-- window class (HiscoreSubmit) sends the score, waits for the server and closes the dialog
-- when it has answered. Enter sends, Escape cancels (keys handled by the class).

ReadFile( "scripts/hiscorekit.lua" )

local kDisplayFont, kTextFont = kHiscoreDisplayFont, kHiscoreTextFont
local kInk, kRed, kCream, kClick = kHiscoreInk, kHiscoreRed, kHiscoreCream, kHiscoreClick
local Label, WoodButton = HiscoreLabel, HiscoreWoodButton

local function Field( name, y, text, password )
  return TextEdit{ name = name, x = 180, y = y, w = 240, h = 30, length = 24, label = text or "",
                   password = password, font = { kTextFont, 17, kInk }, padding = 5 }
end

MakeDialog{ name = "hiscoresubmit",
  HiscoreSubmit{ name = "hiscoresubmit_window", x = kCenter, y = kCenter, w = 460, h = 340,
    Bitmap{ name = "hiscoresubmit_board", x = 0, y = 0, image = "hiscore/board_small",
            alpha = true },
    Label{ name = "hiscoresubmit_title", x = 20, y = 28, w = 420, h = 36,
           label = "hiscoresubmit_title", flags = kHAlignCenter + kVAlignCenter,
           font = kDisplayFont, size = 28, colour = kRed },
    Label{ name = "hiscoresubmit_scorelabel", x = 40, y = 70, w = 200,
           label = "hiscoresubmit_score" },
    Label{ name = "eligiblescore", x = 240, y = 70, w = 180, flags = kHAlignRight + kVAlignCenter,
           font = kDisplayFont, size = 20, colour = kRed },
    Label{ name = "hiscoresubmit_namelabel", x = 40, y = 108, w = 140,
           label = "hiscoresubmit_name" },
    Field( "nameedit", 105, gNameEdit ),
    Label{ name = "hiscoresubmit_accountlabel", x = 40, y = 146, w = 140,
           label = "hiscoresubmit_account" },
    Field( "accountedit", 143, gAccountEdit ),
    Label{ name = "hiscoresubmit_passlabel", x = 40, y = 184, w = 140,
           label = "hiscoresubmit_password" },
    Field( "passedit", 181, gPassEdit, true ),
    Button{ name = "remember", type = kToggle, x = 180, y = 218, sound = kClick, on = gRemember,
            graphics = { "hiscore/check_off", "hiscore/check_on", "hiscore/check_off_over",
                         "hiscore/check_on_over" },
      Label{ name = "label", x = 30, y = 0, w = 210, h = 28, label = "hiscoresubmit_remember" },
    },
    Label{ name = "submitconnect", x = 30, y = 120, w = 400, h = 80,
           label = "hiscoresubmit_connect", flags = kHAlignCenter + kVAlignCenter, size = 18 },
    Label{ name = "submiterror", x = 30, y = 100, w = 400, h = 120, colour = kRed,
           flags = kHAlignCenter + kVAlignCenter, size = 16 },
    WoodButton( "submittoserver", "hiscoresubmit_send", 70, 262,
                function() HiscoreSubmitSend() end, false, true ),
    WoodButton( "submitcancel", "hiscoresubmit_cancel", 240, 262, nil, true ),
    WoodButton( "submiterrorok", "hiscoresubmit_ok", 155, 262, nil, true ),
  },
}

local kFormWindows = { "hiscoresubmit_scorelabel", "eligiblescore", "hiscoresubmit_namelabel",
                       "nameedit", "hiscoresubmit_accountlabel", "accountedit",
                       "hiscoresubmit_passlabel", "passedit", "remember", "submitcancel" }

-- sending: the form gives way to the waiting line while the server is asked.
function SwitchModes( sending )
  for _, name in ipairs( kFormWindows ) do EnableWindow( name, not sending ) end
  if sending then EnableWindow( "submittoserver", false ) end
  EnableWindow( "submitconnect", sending )
  EnableWindow( "submiterror", false )
  EnableWindow( "submiterrorok", false )
end
SwitchModes( false )
if ( gNameEdit or "" ) == "" and ( gAccountEdit or "" ) == "" then
  EnableWindow( "submittoserver", false )
end
RealSetFocus( "nameedit" )

-- The send button and Enter: the class sends the score and closes the dialog when the
-- server has answered. Cancel, Escape and the OK after a failure close it at once.
function HiscoreSubmitSend()
  if GetLabel( "nameedit" ) == "" and GetLabel( "accountedit" ) == "" then return end
  SubmitToServer( GetLabel( "nameedit" ), GetLabel( "accountedit" ), GetLabel( "passedit" ),
                  GetButtonToggleState( "remember" ) )
end
