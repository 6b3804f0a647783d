-- The treasure gallery: every sale location's treasures, the ones won in colour with their
-- appraisal, set and value, the ones still to find as blank tiles. Previous and Next go
-- through the locations; a tile (clicked, or Tab and Enter) shows its treasure on the
-- right. The total value of the collection is at the foot. Closed after the fiftieth day
-- of the adventure, it leads on to the end of the story.
ReadFile( "scripts/screenkit.lua" )

local kLocations = { "grammasattic", "yardsale", "fleamarket", "antiqueshop", "estatesale",
                     "texasauction", "sothebys" }
local kColumns = 8
local kMaxTiles = 24
local gLocation = 0
local gSelected = -1

local function TileName( i ) return "gallery_tile_" .. i end

local function ShowDetails()
  local owned = gSelected >= 0 and GalleryOwned( gLocation, gSelected )
  EnableWindow( "gallery_picture", owned )
  for _, name in ipairs{ "gallery_title_text", "gallery_body_text", "gallery_set_text",
                         "gallery_value_text" } do EnableWindow( name, owned ) end
  EnableWindow( "gallery_unknown_text", not owned )
  SetLabel( "gallery_unknown_text",
            GetString( gSelected < 0 and "gallery_choose" or "gallery_unknown" ) )
  for d = 1, 3 do
    EnableWindow( "gallery_diamond_" .. d, owned and d <= GalleryDiamonds( gLocation, gSelected ) )
  end
  if not owned then return end
  SetBitmap( "gallery_picture", GalleryPicture( gLocation, gSelected, true ), 0.75 )
  SetLabel( "gallery_title_text", GalleryTitle( gLocation, gSelected ) )
  SetLabel( "gallery_body_text", GalleryBody( gLocation, gSelected ) )
  SetLabel( "gallery_set_text", GallerySet( gLocation, gSelected ) )
  SetLabel( "gallery_value_text", GetString( "gallery_value", GalleryValue( gLocation, gSelected ) ) )
end

local function ShowLocation()
  SetLabel( "gallery_location_text", GetString( "citymap_" .. kLocations[gLocation + 1] ) )
  local count = GalleryTreasureCount( gLocation )
  local won = 0
  for i = 0, kMaxTiles - 1 do
    local shown = i < count
    EnableWindow( TileName( i ), shown )
    if shown then
      local owned = GalleryOwned( gLocation, i )
      if owned then won = won + 1 end
      EnableWindow( TileName( i ) .. "_face", owned )
      EnableWindow( TileName( i ) .. "_unknown", not owned )
      if owned then SetBitmap( TileName( i ) .. "_face", GalleryPicture( gLocation, i, false ), 0.72 ) end
      SetButtonToggleState( TileName( i ), i == gSelected )
    end
  end
  SetLabel( "gallery_count_text", GetString( "gallery_count", won, count ) )
  EnableWindow( "gallery_prev_button", gLocation > 0 )
  EnableWindow( "gallery_next_button", gLocation < table.getn( kLocations ) - 1 )
  ShowDetails()
end

local function Select( i )
  gSelected = i
  ShowLocation()
end

local function Turn( step )
  gLocation = gLocation + step
  gSelected = -1
  ShowLocation()
end

local function Close()
  if IsCampaignWon() and not HasGameEnded() then
    FadeDown( "SwapToModal( 'scripts/endgame.lua' )" )
  else
    FadeDown( "PopModal( 'treasuregallery' )" )
  end
end

-- The tile of treasure i, in column col and row row of the grid (the game's scripts have no
-- math library).
local function Tile( i, col, row )
  local x = 40 + col * 52
  local y = 110 + row * 76
  return Button{ name = TileName( i ), type = kToggle, x = x, y = y, w = 45, h = 69,
                 sound = kScreenClick, command = function() Select( i ) end,
    SelectLayer( 0 ),
    Bitmap{ name = TileName( i ) .. "_blank", x = 0, y = 0,
            image = "tiles/blank/tile_medium_antique_headon" },
    SelectLayer( 1 ),
    Bitmap{ name = TileName( i ) .. "_on", x = 0, y = 0,
            image = "tiles/blank/tile_medium_antique_headon_on" },
    SelectLayer( 2 ),
    Bitmap{ name = TileName( i ) .. "_over", x = 0, y = 0,
            image = "tiles/blank/tile_medium_antique_headon_on" },
    SelectLayer( -1 ),
    Bitmap{ name = TileName( i ) .. "_face", x = 5, y = 4, image = "tiles/blank/tile_off",
            scale = 0.72 },
    Text{ name = TileName( i ) .. "_unknown", x = 0, y = 14, w = 45, h = 40, label = "#?",
          flags = kHAlignCenter + kVAlignCenter, font = { kScreenDisplayFont, 28, kScreenInk } },
  }
end

local panel = {
  ScreenTitle( "gallery_title", "gallery_title", 30, 22, 500 ),
  ScreenButton{ name = "gallery_prev_button", label = "gallery_previous", x = 30, y = 60,
                command = function() Turn( -1 ) end },
  Text{ name = "gallery_location_text", x = 200, y = 64, w = 160, h = 34, label = "#",
        flags = kHAlignCenter + kVAlignCenter, font = { kScreenDisplayFont, 16, kScreenRed } },
  ScreenButton{ name = "gallery_next_button", label = "gallery_next", x = 360, y = 60,
                command = function() Turn( 1 ) end },
}
for row = 0, kMaxTiles / kColumns - 1 do
  for col = 0, kColumns - 1 do table.insert( panel, Tile( row * kColumns + col, col, row ) ) end
end
for _, child in ipairs{
  ScreenText{ name = "gallery_count_text", x = 40, y = 344, w = 400, h = 24, label = "#",
              size = 15, flags = kHAlignLeft + kVAlignCenter },
  ScreenText{ name = "gallery_total_text", x = 40, y = 370, w = 460, h = 24,
              label = "#" .. GetString( "gallery_total", GalleryOwnedCount(), GalleryTotalCount(),
                                        CollectionValueText() ),
              size = 15, flags = kHAlignLeft + kVAlignCenter },
  ScreenButton{ name = "gallery_close_button", label = "gallery_close", x = 195, y = 404,
                default = true, command = Close },
} do table.insert( panel, child ) end

MakeDialog{ name = "treasuregallery",
  RWindow{ name = "gallery_window", x = 0, y = 0, w = 800, h = 600, rfadeup = true,
           escapebutton = "gallery_close_button",
    Bitmap{ name = "gallery_background", x = 0, y = 0, image = "menu/mainmenu_background" },
    ScreenShade(),
    Bitmap{ name = "gallery_panel", x = 4, y = 65, image = "menu/panel_large", Group( panel ) },
    Bitmap{ name = "gallery_card", x = 566, y = 65, image = "menu/panel_card",
      Bitmap{ name = "gallery_picture", x = 58, y = 24, image = "tiles/blank/tile_off" },
      Bitmap{ name = "gallery_diamond_1", x = 66, y = 176, image = "gfx/diamond" },
      Bitmap{ name = "gallery_diamond_2", x = 94, y = 176, image = "gfx/diamond" },
      Bitmap{ name = "gallery_diamond_3", x = 122, y = 176, image = "gfx/diamond" },
      Text{ name = "gallery_title_text", x = 28, y = 204, w = 174, h = 44, label = "#",
            flags = kHAlignCenter + kVAlignCenter, font = { kScreenDisplayFont, 16, kScreenRed } },
      ScreenText{ name = "gallery_body_text", x = 28, y = 250, w = 174, h = 130, label = "#",
                  size = 12 },
      ScreenText{ name = "gallery_set_text", x = 28, y = 384, w = 174, h = 20, label = "#",
                  size = 12, flags = kHAlignCenter + kVAlignCenter },
      ScreenText{ name = "gallery_value_text", x = 28, y = 408, w = 174, h = 30, label = "#",
                  font = kScreenDisplayFont, size = 20, colour = kScreenRed,
                  flags = kHAlignCenter + kVAlignCenter },
      ScreenText{ name = "gallery_unknown_text", x = 28, y = 180, w = 174, h = 80,
                  label = "gallery_unknown", size = 14, flags = kHAlignCenter + kVAlignCenter },
    },
  },
}
ShowLocation()
