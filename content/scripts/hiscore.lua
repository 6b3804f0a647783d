-- The high-score screen: the local table of the current game mode, or the world table the
-- server sends back. The window class (HiscoreWindow) keeps the state and fills the texts;
-- this script lays the screen out and shows its buttons from the state (UpdateButtons).
--
-- Open it with DoModal( "scripts/hiscore.lua" ). Keys (handled by the window class): Left
-- and Right change the game mode (the table in the world view), Up and Down scroll, W the
-- world scores, L the local ones, S submits, I explains, Escape goes back.

eLocalView = 0
eRequestingCategories = 1
eRequestingScores = 2
eSubmitting = 3
eGlobalView = 4
eError = 5

ReadFile( "scripts/hiscorekit.lua" )

local kDisplayFont, kTextFont = kHiscoreDisplayFont, kHiscoreTextFont
local kInk, kRed, kCream, kClick = kHiscoreInk, kHiscoreRed, kHiscoreCream, kHiscoreClick
local Label, WoodButton = HiscoreLabel, HiscoreWoodButton

local function Arrow( name, side, x, y )
  local base = "hiscore/arrow_" .. side
  return Button{ name = name, x = x, y = y, sound = kClick,
                 graphics = { base .. "_normal", base .. "_pressed", base .. "_over" } }
end

-- The ten rows: rank, name, score, and the badge of players with a world account.
local function Rows()
  local rows = {}
  for n = 1, 10 do
    local y = ( n - 1 ) * 30
    table.insert( rows, Label{ name = tostring( n ), x = 0, y = y, w = 44, h = 28,
                               flags = kHAlignRight + kVAlignCenter } )
    table.insert( rows, Bitmap{ name = "p1_" .. n, x = 52, y = y + 3, image = "hiscore/account",
                                alpha = true } )
    table.insert( rows, Label{ name = "name" .. n, x = 80, y = y, w = 190, h = 28 } )
    table.insert( rows, Label{ name = "score" .. n, x = 270, y = y, w = 120, h = 28,
                               flags = kHAlignRight + kVAlignCenter } )
  end
  return rows
end

local function Panel( t, children )
  for _, child in ipairs( children ) do table.insert( t, child ) end
  return Window( t )
end

MakeDialog{
  HiscoreWindow{ name = "hiscore", x = 0, y = 0, w = 800, h = 600,
    Bitmap{ name = "hiscore_board", x = 40, y = 30, image = "hiscore/board", alpha = true },
    Label{ name = "hiscore_title", x = 40, y = 52, w = 720, h = 44, label = "hiscore_title",
           flags = kHAlignCenter + kVAlignCenter, font = kDisplayFont, size = 34,
           colour = kRed },
    Arrow( "gamemodeleft", "left", 200, 102 ),
    Label{ name = "gamemode", x = 240, y = 104, w = 320, h = 32,
           flags = kHAlignCenter + kVAlignCenter, font = kDisplayFont, size = 22 },
    Arrow( "gamemoderight", "right", 564, 102 ),
    Panel( { name = "leftpanel", x = 70, y = 150, w = 400, h = 380 }, {
      Label{ name = "local", x = 0, y = 0, w = 390, label = "hiscore_local",
             flags = kHAlignCenter + kVAlignCenter, size = 18 },
      Label{ name = "global", x = 0, y = 0, w = 390, label = "hiscore_global",
             flags = kHAlignCenter + kVAlignCenter, size = 18 },
      Label{ name = "topplayers", x = 0, y = 0, w = 390, label = "hiscore_topplayers",
             flags = kHAlignCenter + kVAlignCenter, size = 18 },
      Arrow( "categoryleft", "left", 30, 28 ),
      Label{ name = "category", x = 70, y = 30, w = 250, h = 32,
             flags = kHAlignCenter + kVAlignCenter, font = kDisplayFont, size = 20 },
      Arrow( "categoryright", "right", 324, 28 ),
      Panel( { name = "hiscore_rows", x = 0, y = 70, w = 400, h = 300 }, Rows() ),
    } ),
    Arrow( "scrollup", "up", 476, 222 ),
    Arrow( "scrolldown", "down", 476, 482 ),
    -- The right panel in the local view; the small one in the other views.
    Panel( { name = "rightpanel", x = 530, y = 160, w = 200, h = 360 }, {
      Label{ name = "info", x = 0, y = 0, w = 200, h = 120, label = "hiscore_info",
             flags = kHAlignLeft + kVAlignTop, size = 15 },
      Label{ name = "eligible", x = 14, y = 130, w = 186, h = 60, label = "hiscore_eligible",
             flags = kHAlignLeft + kVAlignTop, size = 15, colour = kRed },
      Label{ name = "eligibleasterisk", x = 0, y = 128, w = 12, h = 24,
             label = "hiscore_asterisk", size = 18, colour = kRed },
    } ),
    Panel( { name = "rightpanelsmall", x = 530, y = 160, w = 200, h = 200 }, {} ),
    Label{ name = "server", x = 500, y = 170, w = 240, h = 60, label = "hiscore_server",
           flags = kHAlignCenter + kVAlignTop, size = 16 },
    Label{ name = "error", x = 500, y = 170, w = 240, h = 100, colour = kRed,
           flags = kHAlignCenter + kVAlignTop, size = 16 },
    Label{ name = "yourrankglobalinfo", x = 510, y = 170, w = 220, h = 80,
           label = "hiscore_yourrankglobalinfo", flags = kHAlignCenter + kVAlignTop, size = 15 },
    Label{ name = "congratulations", x = 500, y = 170, w = 240, h = 60,
           label = "hiscore_congratulations", flags = kHAlignCenter + kVAlignTop, size = 16,
           colour = kRed },
    Label{ name = "dnq", x = 500, y = 170, w = 240, h = 60, label = "hiscore_dnq",
           flags = kHAlignCenter + kVAlignTop, size = 16 },
    Label{ name = "yourrank", x = 500, y = 240, w = 240, h = 30,
           flags = kHAlignCenter + kVAlignTop, font = kDisplayFont, size = 20, colour = kRed },
    Label{ name = "rankvalue", x = 500, y = 270, w = 240, h = 30 },
    WoodButton( "submit", "hiscore_submit", 555, 350, function() OpenHiscoreSubmit() end ),
    WoodButton( "view", "hiscore_view", 555, 400 ),
    WoodButton( "viewlocal", "hiscore_viewlocal", 555, 400 ),
    WoodButton( "hiscore_info", "hiscore_infobutton", 555, 450, function() OpenHiscoreInfo() end ),
    WoodButton( "hiscore_back", "hiscore_back", 555, 500, nil, true ),
  },
}

local function Show( name, shown ) EnableWindow( name, shown and true or false ) end

-- The buttons the state allows. Requests and the submit dialog need a server.
function UpdateButtons()
  local state = GetState()
  local online = HiscoresOnline()
  local settled = state == eLocalView or state == eGlobalView
  Show( "gamemodeleft", settled )
  Show( "gamemoderight", settled )
  Show( "categoryleft", state == eGlobalView )
  Show( "categoryright", state == eGlobalView )
  Show( "submit", online and state == eLocalView and ScoreAvailable() )
  Show( "view", online and state == eLocalView )
  Show( "viewlocal", state ~= eLocalView )
  Show( "hiscore_info", online )
end
UpdateButtons()

-- The submit dialog, from its button or the S key; the screen sets its start values first.
function OpenHiscoreSubmit()
  if not HiscoresOnline() or GetState() ~= eLocalView or not ScoreAvailable() then return end
  PressHiscoreButton( "submit" )
  DoModal( "scripts/hiscoresubmit.lua" )
end

function OpenHiscoreInfo()
  if HiscoresOnline() then DoModal( "scripts/hiscoreinfo.lua" ) end
end
