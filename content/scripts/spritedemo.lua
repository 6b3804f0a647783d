-- The sprite and particle demo: the six decorative animations, each playing again a moment
-- after it stops, and the game's two particle effects. Clicking a tile of the little board
-- puffs it away in dust; clicking the sets box sends sparkles flying off its slots. "S" on
-- the main screen opens it; the close button (or Enter) closes it.
local pics = { "ui/button_normal", "ui/button_pressed", "ui/button_over", "ui/button_on_over" }
local titleFont = { "__DEFAULT", 22, { 1, 1, 1, 1 } }
local labelFont = { "__DEFAULT", 15, { 0.95, 0.9, 0.78, 1 } }
local hintFont = { "__DEFAULT", 16, { 1, 0.93, 0.6, 1 } }

-- A caption of width w centred under a point of the stage; its text is the string-table
-- entry of the window's name.
local function Label( name, x, y, w, font )
  return Text{ name = name, x = x - w / 2, y = y, w = w, h = 22, label = name, font = font,
               flags = kHAlignCenter }
end

MakeDialog{ name = "spritedemo",
  SpriteDemo{ name = "spritedemo_stage", x = 0, y = 0, w = 800, h = 600 },
  Text{ name = "spritedemo_title", x = 40, y = 8, w = 720, h = 28, label = "spritedemo_title",
        font = titleFont },
  Label( "spritedemo_label_rockinghorse", 150, 214, 220, labelFont ),
  Label( "spritedemo_label_phone", 400, 214, 220, labelFont ),
  Label( "spritedemo_label_bling", 650, 194, 220, labelFont ),
  Label( "spritedemo_label_train", 150, 414, 220, labelFont ),
  Label( "spritedemo_label_truck", 400, 414, 220, labelFont ),
  Label( "spritedemo_label_dotanim", 650, 394, 220, labelFont ),
  Label( "spritedemo_hint_dust", 200, 552, 340, hintFont ),
  Label( "spritedemo_hint_sparks", 575, 552, 340, hintFont ),
  Button{ name = "spritedemo_close", x = 660, y = 4, graphics = pics, close = true, default = true,
          Text{ name = "label", x = 0, y = 0, w = 120, h = 36, label = "spritedemo_close",
                font = { "__DEFAULT", 18, { 0.24, 0.14, 0.05, 1 } }, flags = kHAlignCenter + kVAlignCenter } },
}
