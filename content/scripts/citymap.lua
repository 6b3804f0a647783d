-- The city map: the town with the eight sale locations' signs, the trail of the 50 days
-- and the note with the day and the days left. Continue (or a click on the current day, or
-- on an open sign) starts the next level; Escape or the menu button goes back to the menu.
ReadFile( "scripts/screenkit.lua" )

-- Sign places on the 800 x 600 map, clear of the trail.
local kSigns = {
  { key = "grammasattic", x = 60, y = 490 },
  { key = "yardsale", x = 20, y = 232 },
  { key = "fleamarket", x = 260, y = 205 },
  { key = "antiqueshop", x = 560, y = 150 },
  { key = "estatesale", x = 630, y = 200 },
  { key = "texasauction", x = 360, y = 452 },
  { key = "sothebys", x = 170, y = 350, auction = true },
  { key = "endauction", x = 480, y = 295, auction = true },
}
local kSignFont = { kScreenDisplayFont, 14, kScreenCream }

local function SignCaption( name, label )
  return Text{ name = name, x = 8, y = 2, w = 134, h = 34, label = label,
               flags = kHAlignCenter + kVAlignCenter, font = kSignFont }
end

local function Sign( index, sign )
  local base = "citymap_" .. sign.key
  local pics = sign.auction and { "buttons/map_auctionhouse_up", "buttons/map_auctionhouse_down",
                                  "buttons/map_auctionhouse_over" }
                            or { "buttons/map_button_up", "buttons/map_button_down",
                                 "buttons/map_button_over" }
  return Group{
    Bitmap{ name = base .. "_disabled", x = sign.x, y = sign.y,
            image = "buttons/map_button_disabled",
      Text{ name = base .. "_off", x = 8, y = 2, w = 134, h = 34, label = base,
            flags = kHAlignCenter + kVAlignCenter,
            font = { kScreenDisplayFont, 14, { 0.85, 0.82, 0.75, 1 } } },
    },
    Button{ name = base .. "_button", x = sign.x, y = sign.y, w = 150, h = 40,
            sound = kScreenClick, graphics = pics,
            command = function()
              SetCurrentLocation( index )
              RunNextFrame( "SwapToModal( 'scripts/game.lua' )" )
            end,
      SignCaption( base .. "_up", base ),
    },
  }
end

local signs = {}
for i, sign in ipairs( kSigns ) do table.insert( signs, Sign( i - 1, sign ) ) end

local function ToMenu() PopModal( "citymap" ) end

local map = {
  name = "citymap_window", x = 0, y = 0, w = 800, h = 600,
  escapebutton = "citymap_mainmenu_button",
  Bitmap{ name = "citymap_background", x = 0, y = 0, image = "citymap/map" },
  Bitmap{ name = "citymap_dayparchment", x = 545, y = 400, image = "citymap/parchment" },
  Text{ name = "citymap_currentday_text", x = 565, y = 430, w = 210, h = 40,
        label = "citymap_currentday", flags = kHAlignCenter + kVAlignCenter,
        font = { kScreenDisplayFont, 30, kScreenRed } },
  Text{ name = "citymap_unlockdesc_text", x = 565, y = 472, w = 210, h = 60,
        label = "#", flags = kHAlignCenter + kVAlignTop,
        font = { kScreenTextFont, 14, kScreenInk } },
  ScreenButton{ name = "citymap_continue_button", label = "citymap_continue", x = 585, y = 540,
                default = true, command = function() Continue() end },
  ScreenButton{ name = "citymap_mainmenu_button", label = "citymap_mainmenu", x = 20, y = 20,
                command = ToMenu },
  ScreenButton{ name = "citymap_gallery_button", label = "citymap_gallery", x = 20, y = 68,
                command = function() DoModal( "scripts/treasuregallery.lua" ) end },
}
for _, sign in ipairs( signs ) do table.insert( map, sign ) end

MakeDialog{ name = "citymap", CityMap( map ) }
