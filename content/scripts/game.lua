-- The play screen: one level of the game on the level's picture. The game window
-- ("GameWindow") deals the level when its children are made and finds them by name: the
-- background pictures, the money and time plaques, the help buttons with their prices, the
-- sets drawer, undo and redo, the preview card, and the ring the keyboard moves over the
-- tiles. Windows made before "game_menu_button" lie under the tiles, the rest over them.
--
-- Screen plan (800 x 600): the top strip holds money, time, hint, shuffle, appraise, map and
-- menu; the board fills the middle; the counter along the bottom holds undo and redo, the
-- sets drawer (its slots at 278 + 66 k, 522 on the screen) and the preview card.

local click = "audio/sfx/button_click.ogg"
local display = "fonts/rosewood_fill.mvec"
local cream = { 1, 0.93, 0.76, 1 }
local gold = { 1, 0.82, 0.35, 1 }
local grey = { 0.78, 0.76, 0.72, 1 }
local ink = { 0.23, 0.12, 0.03, 1 }
local center = kHAlignCenter + kVAlignCenter
local left = kHAlignLeft + kVAlignCenter

-- The picture of one state of a button and the words on it.
local function Face( base, state, pic, size, words )
  local items = { Bitmap{ name = base .. "_image_" .. state, x = 0, y = 0,
                          image = "buttons/" .. pic .. "_" .. state } }
  local colour = ( state == "inactive" ) and grey or cream
  local dy = ( state == "down" ) and 1 or 0
  for _, w in ipairs( words ) do
    table.insert( items, Text{ name = w.name .. "_" .. state, x = w.x, y = w.y + dy, w = w.w,
                               h = w.h, label = w.label, flags = w.flags or center,
                               font = { w.font or display, w.size, w.colour or colour } } )
  end
  return Group( items )
end

-- A button with its up, down and over faces, and the picture shown instead while it is
-- disabled ("<name>_disabled_image", with the same words in grey).
local function PlayButton( t )
  local words = t.words
  local button = Button{ name = t.name, x = t.x, y = t.y, w = t.w, h = t.h, sound = click,
                         command = t.command,
    SelectLayer( 0 ), Face( t.base, "up", t.pic, t.size, words ),
    SelectLayer( 1 ), Face( t.base, "down", t.pic, t.size, words ),
    SelectLayer( 2 ), Face( t.base, "over", t.pic, t.size, words ),
  }
  if not t.disabled then return button end
  local inactive = { name = t.disabled, x = t.x, y = t.y, image = "buttons/" .. t.pic .. "_inactive" }
  for _, w in ipairs( words ) do
    table.insert( inactive, Text{ name = w.name .. "_inactive", x = w.x, y = w.y, w = w.w, h = w.h,
                                  label = w.label, flags = w.flags or center,
                                  font = { w.font or display, w.size, grey } } )
  end
  return Group{ button, Bitmap( inactive ) }
end

-- The help buttons of the top strip: an icon, the word, and the price under it.
local function HelpButton( kind, x, label, command )
  local base = "game_" .. kind
  return PlayButton{ name = base .. "_button", base = base .. "_button", pic = base, x = x, y = 1,
                     w = 114, h = 46, command = command, disabled = base .. "_disabled_image",
                     words = {
                       { name = base .. "_button_text", x = 42, y = 5, w = 66, h = 21, label = label,
                         size = 17 },
                       { name = base .. "_price", x = 42, y = 24, w = 66, h = 17, label = "#",
                         size = 14, font = "fonts/default.mvec", colour = gold },
                     } }
end

MakeDialog{ name = "game",
  -- Free play names its layout in FreePlayLevel; otherwise the player's next level is dealt.
  GameWindow{ name = "game_window", x = 0, y = 0, w = 800, h = 600, level = FreePlayLevel,
    Bitmap{ name = "game_background_image", x = 0, y = 0 },
    Bitmap{ name = "game_background_reveal_image", x = 0, y = 0, alpha = true },

    -- The anchor of the board: the tiles are drawn in front of it.
    PlayButton{ name = "game_menu_button", base = "game_menu_button", pic = "game_menu",
                x = 742, y = 3, w = 54, h = 42,
                command = function() DoModal( "scripts/gamemenu.lua" ) end,
                words = { { name = "game_menubutton", x = 0, y = 0, w = 54, h = 40,
                            label = "game_menu_label", size = 16 } } },

    -- The top strip.
    Bitmap{ name = "game_score_plaque", x = 4, y = 3, image = "gfx/game_plaque_score" },
    Text{ name = "game_score_label", x = 16, y = 5, w = 70, h = 32, label = "game_score_label",
          flags = left, font = { display, 16, gold } },
    Text{ name = "game_score_text", x = 76, y = 5, w = 116, h = 32, label = "#",
          flags = kHAlignRight + kVAlignCenter, font = { display, 22, cream } },
    Bitmap{ name = "game_time_plaque", x = 214, y = 3, image = "gfx/game_plaque_time" },
    Text{ name = "game_time_label", x = 224, y = 5, w = 44, h = 32, label = "game_time_label",
          flags = left, font = { display, 16, gold } },
    Text{ name = "game_time_text", x = 262, y = 5, w = 54, h = 32, label = "#0:00",
          flags = kHAlignRight + kVAlignCenter, font = { display, 20, cream } },
    HelpButton( "hint", 338, "game_hint_label", function() Hint() end ),
    HelpButton( "shuffle", 454, "game_shuffle_label", function() Shuffle() end ),
    HelpButton( "appraisal", 570, "game_appraisal_label", function() StartAppraisal() end ),
    PlayButton{ name = "game_map_button", base = "game_map_button", pic = "game_map",
                x = 686, y = 3, w = 54, h = 42, command = function() LeaveForMap() end,
                words = { { name = "game_map_button_text", x = 0, y = 0, w = 54, h = 40,
                            label = "game_map_label", size = 16 } } },
    PlayButton{ name = "game_autowin_button", base = "game_autowin_button", pic = "game_autowin",
                x = 686, y = 48, w = 54, h = 42, command = function() AutoWin() end,
                words = { { name = "game_autowin_button_text", x = 0, y = 0, w = 54, h = 40,
                            label = "game_autowin_label", size = 16 } } },
    PlayButton{ name = "game_options_button", base = "game_options_button", pic = "game_options",
                x = 0, y = 150, w = 40, h = 116,
                command = function() DoModal( "scripts/gameoptions.lua" ) end,
                -- The game turns the word 90 degrees about (25, 25) of its box: placed so,
                -- it reads down the tab under the gear, inside the box it is clipped to.
                words = { { name = "game_options_button_text", x = -12, y = 48, w = 70, h = 66,
                            label = "game_options_label", size = 16,
                            flags = kHAlignLeft + kVAlignTop } } },

    -- The counter along the bottom with undo and redo.
    Bitmap{ name = "game_counter", x = 0, y = 478, image = "gfx/game_counter" },
    PlayButton{ name = "game_undo_button", base = "game_undo_button", pic = "game_undo",
                x = 8, y = 492, w = 104, h = 50, command = function() Undo() end,
                disabled = "game_undo_disabled_image",
                words = { { name = "game_undo_button_text", x = 44, y = 3, w = 56, h = 42,
                            label = "game_undo_label", size = 18 } } },
    PlayButton{ name = "game_redo_button", base = "game_redo_button", pic = "game_redo",
                x = 8, y = 545, w = 104, h = 50, command = function() Redo() end,
                disabled = "game_redo_disabled_image",
                words = { { name = "game_redo_button_text", x = 44, y = 3, w = 56, h = 42,
                            label = "game_redo_label", size = 18 } } },

    -- The sets drawer: four slots, the submit button and its inactive picture.
    SetDrawer{ name = "game_set_drawer", x = 118, y = 483, w = 422, h = 117,
      Bitmap{ name = "game_set_drawer_image", x = 0, y = 0, image = "gfx/game_set_drawer" },
      Text{ name = "game_sets_text", x = 16, y = 8, w = 124, h = 30, label = "game_sets_label",
            flags = center, font = { display, 19, ink } },
      Bitmap{ name = "game_set_tile_background_0", x = 160, y = 39, w = 43, h = 66 },
      Bitmap{ name = "game_set_tile_background_1", x = 226, y = 39, w = 43, h = 66 },
      Bitmap{ name = "game_set_tile_background_2", x = 292, y = 39, w = 43, h = 66 },
      Bitmap{ name = "game_set_tile_background_3", x = 358, y = 39, w = 43, h = 66 },
      Bitmap{ name = "game_set_tile_image_0", x = 160, y = 41 },
      Bitmap{ name = "game_set_tile_image_1", x = 226, y = 41 },
      Bitmap{ name = "game_set_tile_image_2", x = 292, y = 41 },
      Bitmap{ name = "game_set_tile_image_3", x = 358, y = 41 },
      PlayButton{ name = "game_submit_button", base = "game_submit", pic = "game_submit",
                  x = 10, y = 54, w = 136, h = 48, command = function() Submit() end,
                  words = { { name = "game_submit_button_text", x = 40, y = 3, w = 92, h = 40,
                              label = "game_submit_label", size = 20 } } },
      Bitmap{ name = "game_submit_button_inactive", x = 10, y = 54,
              image = "buttons/game_submit_inactive",
        Text{ name = "game_submit_button_text_inactive", x = 40, y = 3, w = 92, h = 40,
              label = "game_submit_label", flags = center, font = { display, 20, grey } },
      },
    },

    -- The preview card: the hovered tile's large face and name, or the location's sign.
    Bitmap{ name = "game_preview_frame", x = 546, y = 482, image = "gfx/game_preview_frame" },
    Bitmap{ name = "game_preview_face", x = 554, y = 489, scale = 0.55,
            image = "tiles/blank/logo_sign_normal" },
    Text{ name = "game_antiquename_text", x = 644, y = 490, w = 146, h = 46, label = "#",
          flags = kHAlignCenter + kVAlignTop, font = { display, 16, ink } },
    Text{ name = "game_preview_location", x = 644, y = 530, w = 146, h = 28, label = "#",
          flags = center, font = { display, 15, { 0.45, 0.12, 0.08, 1 } } },
    Text{ name = "game_preview_by", x = 650, y = 558, w = 70, h = 16, label = "game_preview_by",
          flags = left, font = { "fonts/default.mvec", 11, { 0.4, 0.32, 0.22, 1 } } },
    Text{ name = "game_preview_signature_text", x = 680, y = 566, w = 108, h = 26, label = "#",
          flags = left, font = { display, 18, { 0.12, 0.2, 0.45, 1 } } },

    -- The keyboard's ring, moved over the focused tile by the game window.
    Bitmap{ name = "game_focus_ring", x = 0, y = 0, image = "gfx/game_focus_ring", alpha = true },

    -- Money popups, dust, the sets box's particles and the treasure ending, over it all.
    AnimationLayer{ name = "animationlayer", x = 0, y = 0, w = 800, h = 600 },
  },
}
