-- The layout editor: the board ("LayoutEditor", the grid at the game's own tile geometry)
-- on the bench, the tools on the top rail and the name, description, counts and checks on
-- the bottom rail. EditLayoutFile names the layout to open ("" or nil: a new one). The
-- window answers the Editor* functions; mouse and keys are its own (see its header).
ReadFile( "scripts/editorkit.lua" )

local function Ask( key, ... )
  gConfirmText = GetString( key, unpack( arg ) )
  return DoModal( "scripts/confirm.lua" ) == "confirm_yes_button"
end

function EditorLeave()
  if EditorIsModified() and not Ask( "editor_leave_question" ) then return end
  PopModal( "layouteditor" )
end

function EditorAskDelete()
  if EditorFile() == "" then return end
  if not Ask( "editor_delete_question" ) then return end
  if EditorDeleteLayout() then PopModal( "layouteditor" ) end
end

function EditorTestPlay()
  PlayLayout( EditorTestPlayFile() )
end

local function Row1( k ) return 4 + 99 * k end

MakeDialog{ name = "layouteditor",
  Bitmap{ name = "editor_background", x = 0, y = 0, image = "editor/bench" },
  LayoutEditor{ name = "editor_window", x = 0, y = 0, w = 800, h = 600,
                file = EditLayoutFile or "",
    -- The top rail: drawing tools, then the layout's own commands.
    ToolButton{ name = "editor_layerdown_button", label = "editor_button_layerdown", x = Row1( 0 ),
                y = 2, command = function() EditorLayerDown() end },
    ToolButton{ name = "editor_layerup_button", label = "editor_button_layerup", x = Row1( 1 ),
                y = 2, command = function() EditorLayerUp() end },
    ToolButton{ name = "editor_mirrorlr_button", label = "editor_button_mirrorlr", x = Row1( 2 ),
                y = 2, switch = true, command = function() EditorMirrorLeftRight() end },
    ToolButton{ name = "editor_mirrortb_button", label = "editor_button_mirrortb", x = Row1( 3 ),
                y = 2, switch = true, command = function() EditorMirrorTopBottom() end },
    ToolButton{ name = "editor_mark_button", label = "editor_button_mark", x = Row1( 4 ), y = 2,
                switch = true, command = function() EditorMarking() end },
    ToolButton{ name = "editor_undo_button", label = "editor_button_undo", x = Row1( 5 ), y = 2,
                command = function() EditorUndo() end },
    ToolButton{ name = "editor_redo_button", label = "editor_button_redo", x = Row1( 6 ), y = 2,
                command = function() EditorRedo() end },
    RailText{ name = "editor_file_text", x = Row1( 7 ), y = 2, w = 100, h = 30, size = 11,
              flags = kHAlignLeft + kVAlignCenter },
    ToolButton{ name = "editor_save_button", label = "editor_button_save", x = Row1( 0 ), y = 33,
                command = function() EditorSave() end },
    ToolButton{ name = "editor_play_button", label = "editor_button_play", x = Row1( 1 ), y = 33,
                command = Later( "EditorTestPlay()" ) },
    ToolButton{ name = "editor_duplicate_button", label = "editor_button_duplicate",
                x = Row1( 2 ), y = 33, command = function() EditorDuplicate() end },
    ToolButton{ name = "editor_delete_button", label = "editor_button_delete", x = Row1( 3 ),
                y = 33, command = Later( "EditorAskDelete()" ) },
    ToolButton{ name = "editor_back_button", label = "editor_button_back", x = Row1( 4 ), y = 33,
                cancel = true, command = Later( "EditorLeave()" ) },
    RailText{ name = "editor_keys_text", x = Row1( 5 ), y = 33, w = 296, h = 30, size = 10,
              label = "editor_keys", flags = kHAlignLeft + kVAlignCenter },

    -- The bottom rail: name and description, the counts, the checks.
    RailText{ name = "editor_name_label", x = 8, y = 537, w = 50, h = 24, label = "editor_name_label" },
    TextEdit{ name = "editor_name_edit", x = 60, y = 537, w = 200, h = 24, length = 59,
              label = "", padding = 3, font = { kScreenTextFont, 14, kScreenCream } },
    RailText{ name = "editor_description_label", x = 8, y = 567, w = 50, h = 24,
              label = "editor_description_label" },
    TextEdit{ name = "editor_description_edit", x = 60, y = 567, w = 200, h = 24, length = 200,
              label = "", padding = 3, font = { kScreenTextFont, 14, kScreenCream } },
    RailText{ name = "editor_layer_text", x = 272, y = 536, w = 240, h = 18, size = 14,
              colour = { 0.95, 0.82, 0.5, 1 } },
    RailText{ name = "editor_count_text", x = 272, y = 556, w = 240, h = 18 },
    RailText{ name = "editor_mode_text", x = 272, y = 576, w = 240, h = 18 },
    RailText{ name = "editor_check_text", x = 518, y = 534, w = 278, h = 44, size = 12,
              flags = kHAlignLeft + kVAlignTop },
    RailText{ name = "editor_solver_text", x = 518, y = 578, w = 278, h = 18, size = 12,
              colour = { 0.95, 0.82, 0.5, 1 } },
  },
}
