-- The information pop-up of the high-score screen: what world scores and accounts are.
-- Its button, Enter or Escape closes it.

function CloseHiscoreInfo() FadeAndCloseInfo( "PopModal( 'highscores_info' );" ) end

local kDisplayFont = "fonts/rosewood_fill.mvec"
local kTextFont = "fonts/default.mvec"

MakeDialog{ name = "highscores_info",
  RHiScoreInfo{ name = "hiscoreinfo_window", x = kCenter, y = kCenter, w = 460, h = 340,
    Bitmap{ name = "hiscoreinfo_board", x = 0, y = 0, image = "hiscore/board_small",
            alpha = true },
    Text{ name = "hiscoreinfo_title", x = 20, y = 28, w = 420, h = 36,
          label = "hiscoreinfo_title", flags = kHAlignCenter + kVAlignCenter,
          font = { kDisplayFont, 28, { 0.45, 0.12, 0.08, 1 } } },
    Text{ name = "hiscoreinfo_body", x = 40, y = 74, w = 380, h = 180,
          label = "hiscoreinfo_body", flags = kHAlignLeft + kVAlignTop,
          font = { kTextFont, 15, { 0.23, 0.12, 0.03, 1 } } },
    Button{ name = "hiscoreinfo_ok", x = 155, y = 262, sound = "audio/sfx/button_click.ogg",
            command = function() CloseHiscoreInfo() end,
            graphics = { "hiscore/button_normal", "hiscore/button_pressed",
                         "hiscore/button_over" },
      Text{ name = "label", x = 4, y = 2, w = 142, h = 36, label = "hiscoresubmit_ok",
            flags = kHAlignCenter + kVAlignCenter,
            font = { kDisplayFont, 18, { 1, 0.93, 0.76, 1 } } },
    },
  },
}

