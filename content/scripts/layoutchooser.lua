-- Free play: the layouts the player may play (the tutorial's, the beaten campaign levels',
-- the player's own) as cards with a picture, the name, the tile count and the best score.
-- The chooser window ("LayoutChooser") draws the cards and fills their texts; a click
-- chooses, a second click (or Play, or Enter) plays; Edit opens the editor on the chosen
-- layout (a copy of a game layout), New Layout on an empty one; Escape goes back.
ReadFile( "scripts/editorkit.lua" )

local function Back() PopModal( "layoutchooser" ) end

local function Refresh()
  if ChooserRefresh then ChooserRefresh() end
end

function ChooserPlay()
  if ChooserSelectedFile == nil then return end
  PlayLayout( ChooserSelectedFile() )
  Refresh()
end

function ChooserEdit( file )
  EditLayoutFile = file
  DoModal( "scripts/layouteditor.lua" )
  EditLayoutFile = nil
  Refresh()
end

-- The card texts: name and info under each picture (see TLayoutChooser::CardRect).
local cards = {}
local corners = { { 40, 96 }, { 290, 96 }, { 540, 96 }, { 40, 310 }, { 290, 310 }, { 540, 310 } }
for slot = 0, 5 do
  local x, y = corners[ slot + 1 ][ 1 ], corners[ slot + 1 ][ 2 ]
  local base = "chooser_card" .. slot
  table.insert( cards, RailText{ name = base .. "_name", x = x + 10, y = y + 134, w = 210, h = 26,
                                 size = 17, font = kScreenDisplayFont,
                                 flags = kHAlignCenter + kVAlignCenter } )
  table.insert( cards, RailText{ name = base .. "_info", x = x + 10, y = y + 162, w = 210,
                                 h = 20, flags = kHAlignCenter + kVAlignCenter,
                                 colour = { 0.95, 0.82, 0.5, 1 } } )
end

local chooser = { name = "chooser_window", x = 0, y = 0, w = 800, h = 600,
  Text{ name = "chooser_title_text", x = 20, y = 8, w = 760, h = 44, label = "chooser_title",
        flags = kHAlignCenter + kVAlignCenter,
        font = { kScreenDisplayFont, 34, { 0.95, 0.78, 0.33, 1 } } },
  RailText{ name = "chooser_subtitle_text", x = 20, y = 52, w = 760, h = 20,
            label = "chooser_subtitle", flags = kHAlignCenter + kVAlignCenter },
  RailText{ name = "chooser_description_text", x = 40, y = 532, w = 720, h = 20,
            flags = kHAlignCenter + kVAlignCenter },
  RailText{ name = "chooser_page_text", x = 250, y = 562, w = 150, h = 24,
            flags = kHAlignCenter + kVAlignCenter },
  ToolButton{ name = "chooser_back_button", label = "chooser_back", x = 20, y = 560,
              cancel = true, command = Back },
  ToolButton{ name = "chooser_prev_button", label = "chooser_prev", x = 150, y = 560,
              command = function() ChooserTurnPage( -1 ) end },
  ToolButton{ name = "chooser_next_button", label = "chooser_next", x = 404, y = 560,
              command = function() ChooserTurnPage( 1 ) end },
  ToolButton{ name = "chooser_new_button", label = "chooser_new", x = 500, y = 560,
              command = Later( "ChooserEdit( '' )" ) },
  ToolButton{ name = "chooser_edit_button", label = "chooser_edit", x = 600, y = 560,
              command = Later( "ChooserEdit( ChooserSelectedFile() )" ) },
  ToolButton{ name = "chooser_play_button", label = "chooser_play", x = 700, y = 560,
              default = true, command = Later( "ChooserPlay()" ) },
}
for _, card in ipairs( cards ) do table.insert( chooser, card ) end

MakeDialog{ name = "layoutchooser",
  Bitmap{ name = "chooser_background", x = 0, y = 0, image = "editor/chooser" },
  LayoutChooser( chooser ),
}
