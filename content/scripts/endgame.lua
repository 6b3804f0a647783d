-- The end of the adventure, after the fiftieth day: Grandma's last letter, what the
-- collection is worth, the money made and the final score, and the credits. Opening it
-- ends the game (the map then leads here again, and the gallery stays open to browse).
ReadFile( "scripts/screenkit.lua" )

EndTheGame()
KillMusicForCurrentLocation()

local function Close() FadeDown( "PopModal( 'endgame' )" ) end
local function Credits()
  EnableWindow( "endgame_letter", false )
  EnableWindow( "endgame_credits", true )
  EnableWindow( "endgame_credits_button", false )
end

MakeDialog{ name = "endgame",
  RWindow{ name = "endgame_window", x = 0, y = 0, w = 800, h = 600, rfadeup = true,
           escapebutton = "endgame_close_button",
    Bitmap{ name = "endgame_background", x = 0, y = 0, image = "menu/splash" },
    ScreenShade(),
    Bitmap{ name = "endgame_letter", x = 120, y = 40, image = "story/letter",
      Text{ name = "endgame_title_text", x = 40, y = 34, w = 480, h = 34, label = "endgame_title",
            font = { kScreenDisplayFont, 26, kScreenRed } },
      ScreenText{ name = "endgame_body_text", x = 44, y = 80, w = 470, h = 200,
                  label = "endgame_body", size = 15 },
      ScreenText{ name = "endgame_collection_text", x = 44, y = 290, w = 470, h = 26,
                  label = "#" .. GetString( "endgame_collection", CollectionValueText() ),
                  size = 16 },
      ScreenText{ name = "endgame_bankroll_text", x = 44, y = 318, w = 470, h = 26,
                  label = "#" .. GetString( "endgame_bankroll", BankrollText() ), size = 16 },
      ScreenText{ name = "endgame_score_text", x = 44, y = 350, w = 470, h = 34,
                  label = "#" .. GetString( "endgame_score", FinalScoreText() ),
                  font = kScreenDisplayFont, size = 22, colour = kScreenRed },
      Text{ name = "endgame_signature_text", x = 300, y = 410, w = 220, h = 30,
            label = "intro_signature", flags = kHAlignRight + kVAlignTop,
            font = { kScreenDisplayFont, 20, kScreenRed } },
    },
    Bitmap{ name = "endgame_credits", x = 120, y = 40, image = "story/letter",
      Text{ name = "endgame_credits_title", x = 40, y = 34, w = 480, h = 34,
            label = "endgame_credits_title", font = { kScreenDisplayFont, 26, kScreenRed } },
      ScreenText{ name = "endgame_credits_text", x = 44, y = 80, w = 470, h = 330,
                  label = "endgame_credits", size = 14 },
    },
    ScreenButton{ name = "endgame_credits_button", label = "endgame_credits_button", x = 215,
                  y = 530, default = true, command = Credits },
    ScreenButton{ name = "endgame_close_button", label = "endgame_close", x = 415, y = 530,
                  command = Close },
  },
}
EnableWindow( "endgame_credits", false )
