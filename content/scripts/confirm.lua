-- A yes-or-no question (gConfirmText). Yes returns "confirm_yes_button"; No, Escape and
-- closing return anything else.
ReadFile( "scripts/screenkit.lua" )

local function No() FadeDown( "PopModal( 'confirm' ); ModalReturn( 'confirm_no_button' )" ) end
local function Yes() FadeDown( "PopModal( 'confirm' ); ModalReturn( 'confirm_yes_button' )" ) end

MakeDialog{ name = "confirm",
  RWindow{ name = "confirm_window", x = 0, y = 0, w = 800, h = 600, rfadeup = true,
           escapebutton = "confirm_no_button",
    ScreenShade(),
    ScreenPanel( "confirm_panel", "small", {
      ScreenText{ name = "confirm_text", x = 40, y = 40, w = 340, h = 90,
                  label = "#" .. ( gConfirmText or "" ), size = 18,
                  flags = kHAlignCenter + kVAlignCenter },
      ScreenButton{ name = "confirm_yes_button", label = "confirm_yes", x = 40, y = 140,
                    command = Yes },
      ScreenButton{ name = "confirm_no_button", label = "confirm_no", x = 220, y = 140,
                    default = true, command = No },
    } ),
  },
}
