-- A tutorial prompt over the play screen. The game opens it with
--   DisplayDialog { 'scripts/gametutorial.lua', body = '<key>', title = '<key>' }
-- (string labels of the prompt's text and title). Beside the text the prompt shows the
-- tiles or the button it is about, built from the game's own pictures. "Got It" (Enter or
-- Escape) closes it; during the tutorial level "Skip the Lesson" leaves the level for the
-- map; the tips switch under the text shows only for prompts that the tips option can turn
-- off.
ReadFile( "scripts/screenkit.lua" )

local body = gDialogTable and gDialogTable.body or "tutorial_body"
local title = gDialogTable and gDialogTable.title or "tutorial_title"

-- Tiles are drawn as on the board: the blank, and the face at 11/15 of its size on it.
local kFaceScale = 0.7333
local function Tile( face, blank, x, y )
  return Group{
    Bitmap{ name = "gametutorial_blank", x = x, y = y, image = "tiles/blank/" .. blank },
    Bitmap{ name = "gametutorial_face", x = x + 9, y = y + 6, scale = kFaceScale,
            image = "tiles/" .. face .. "_md" },
  }
end

-- A row of tiles of one face, dx apart (overlapping when narrower than a tile).
local function Row( face, blank, count, dx, y )
  local tiles = {}
  local width = dx * ( count - 1 ) + 47
  local x = ( 120 - width ) / 2
  for i = 0, count - 1 do table.insert( tiles, Tile( face, blank, x + i * dx, y ) ) end
  return tiles
end

local tv = "common/television/tv1"
local stamper = "common/stamper2/stamper2"
local canteen = "common/canteen/canteen1"
local computer = "common/comp/comp1"
local register = "treasure/register/register1"
local kenny = "unclekenny/unclekenny"

-- The picture of each prompt, in a 120 x 120 box left of the text.
local pictures = {
  tutorial_normalpair = function() return Row( tv, "tile_off_hint", 2, 52, 26 ) end,
  tutorial_blockedpair = function()
    return { Tile( stamper, "tile_off_hint", 30, 34 ), Tile( stamper, "tile_off_hint", 42, 22 ) }
  end,
  tutorial_threeofakind = function() return Row( canteen, "tile_off_hint", 3, 34, 26 ) end,
  tutorial_fourofafamily = function()
    local tiles = {}
    for i, face in ipairs{ "watch1", "watch3", "watch4", "watch6" } do
      table.insert( tiles, Tile( "common/pocketwatch/" .. face, "tile_off_hint", 4 + ( i - 1 ) * 22, 26 ) )
    end
    return tiles
  end,
  tutorial_hintpair = function()
    local tiles = Row( computer, "tile_off_hint", 2, 52, 44 )
    table.insert( tiles, Bitmap{ name = "gametutorial_button", x = 3, y = 0,
                                 image = "buttons/game_hint_glow" } )
    return tiles
  end,
  tutorial_antiquepair = function() return Row( register, "tile_antique_hint", 2, 52, 26 ) end,
  tutorial_end = function() return Row( register, "tile_antique", 1, 0, 26 ) end,
  tutorial_discover_shuffle = function()
    return { Bitmap{ name = "gametutorial_button", x = 3, y = 36, image = "buttons/game_shuffle_up" } }
  end,
  tutorial_discover_appraisal = function()
    return { Bitmap{ name = "gametutorial_button", x = 3, y = 36, image = "buttons/game_appraisal_up" } }
  end,
  tutorial_level_unclehenry = function() return Row( kenny, "tile_kenny", 2, 52, 26 ) end,
  tutorial_level_multipleantiques = function()
    return { Tile( register, "tile_antique", 10, 26 ), Tile( "treasure/toycar/car1", "tile_antique", 36, 18 ),
             Tile( "treasure/coin/coin3", "tile_antique", 62, 30 ) }
  end,
  tutorial_level_antiquesets = function() return Row( register, "tile_antique", 4, 22, 26 ) end,
  tutorial_discover_notreasuresleft = function()
    return { Bitmap{ name = "gametutorial_button", x = 33, y = 38, image = "buttons/game_map_up" } }
  end,
  tutorial_discover_speedauction = function() return Row( tv, "tile_off", 3, 34, 26 ) end,
  tutorial_discover_treasuregallery = function() return Row( register, "tile_antique", 1, 0, 26 ) end,
  tutorial_discover_treasuregallery2 = function()
    return Row( "treasure/framedart/art9", "tile_antique", 1, 0, 26 )
  end,
  tutorial_discover_endtreasuregallery = function() return Row( register, "tile_antique", 3, 34, 26 ) end,
}
local function EditorPicture() return Row( tv, "tile_off", 2, 30, 26 ) end
for _, key in ipairs{ "initial", "move", "layer", "delete", "save" } do
  pictures[ "tutorial_discover_editor_" .. key ] = EditorPicture
end

local function Close() FadeDown( "PopModal( 'gametutorial' )" ) end
local function Skip()
  SkipTutorialLevel()
  FadeDown( "PopModal( 'gametutorial' ); if LeaveForMap then LeaveForMap() end" )
end

local picture = pictures[ body ]
local textX, textW = 36, 368
local content = {
  ScreenTitle( "tutorial_title_text", title, 20, 12, 400 ),
}
if picture then
  local box = { name = "gametutorial_picture", x = 24, y = 58, w = 120, h = 120 }
  for _, item in ipairs( picture() ) do table.insert( box, item ) end
  table.insert( content, Window( box ) )
  textX, textW = 150, 266
end
table.insert( content, ScreenText{ name = "tutorial_body_text", x = textX, y = 56, w = textW, h = 84,
                                   label = body, size = 14, flags = kHAlignLeft + kVAlignTop } )
-- The tips switch stands on the panel under the text, in the panel's ink, so it reads the
-- same over every screen (the dark editor bench as well as the game and the menus).
table.insert( content, ScreenSwitch{ name = "tutorialson_button", label = "tutorial_tips", x = textX,
                                     y = 140, command = function() ToggleTutorials() end } )
table.insert( content, ScreenButton{ name = "tutorial_ok_button", label = "tutorial_ok", x = 30,
                                     y = 176, default = true, command = Close } )
table.insert( content, ScreenButton{ name = "tutorial_skip_button", label = "tutorial_skip", x = 240,
                                     y = 176, command = Skip } )

MakeDialog{ name = "gametutorial",
  RTutorial{ name = "gametutorial_window", x = 0, y = 0, w = 800, h = 600, rfadeup = true,
             escapebutton = "tutorial_ok_button",
    ScreenShade(),
    ScreenPanel( "tutorial_panel", "small", content ),
  },
}
