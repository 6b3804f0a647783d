-- The widget demo dialog: push, toggle and radio buttons with captions, two text fields (one
-- masked), and a slider that scrolls a block of notes. "W" on the main screen opens it; the
-- bottom button (or Enter) closes it.
local pics = { "ui/button_normal", "ui/button_pressed", "ui/button_over", "ui/button_on_over" }
local click = "audio/sfx/button_click.ogg"
local captionFont = { "__DEFAULT", 18, { 0.24, 0.14, 0.05, 1 } }
local fieldFont = { "__DEFAULT", 20, { 1, 0.94, 0.78, 1 } }
local labelFont = { "__DEFAULT", 16, { 0.85, 0.85, 0.85, 1 } }

-- Labels are string-table keys (content/strings/screens.txt); the field's text is the
-- player's, never looked up.

-- A button caption: a text window named "label" covering the button, text centred.
local function Caption(text)
  return Text{ name = "label", x = 0, y = 0, w = 120, h = 36, label = text, font = captionFont,
               flags = kHAlignCenter + kVAlignCenter }
end

MakeDialog{ name = "widgetdemo",
  Text{ name = "widgetdemo_title", x = 40, y = 8, w = 400, h = 28, label = "widgetdemo_title",
        font = { "__DEFAULT", 22, { 1, 1, 1, 1 } } },
  Button{ name = "widgetdemo_push", x = 40, y = 40, graphics = pics, sound = click,
          command = function() gWidgetDemoPushes = ( gWidgetDemoPushes or 0 ) + 1 end,
          Caption("widgetdemo_push") },
  Button{ name = "widgetdemo_toggle", type = kToggle, x = 180, y = 40, graphics = pics,
          sound = click,
          Caption("widgetdemo_toggle") },
  BeginGroup(),
  Button{ name = "widgetdemo_radio1", type = kRadio, x = 40, y = 100, graphics = pics,
          sound = click, on = true,
          Caption("widgetdemo_easy") },
  Button{ name = "widgetdemo_radio2", type = kRadio, x = 180, y = 100, graphics = pics,
          sound = click,
          Caption("widgetdemo_hard") },
  Text{ name = "widgetdemo_name_label", x = 310, y = 164, w = 90, h = 24,
        label = "widgetdemo_name_label", font = labelFont },
  TextEdit{ name = "widgetdemo_name", x = 40, y = 160, w = 260, h = 30, length = 16,
            label = "Player", font = fieldFont, padding = 4 },
  Text{ name = "widgetdemo_secret_label", x = 310, y = 204, w = 90, h = 24,
        label = "widgetdemo_secret_label", font = labelFont },
  TextEdit{ name = "widgetdemo_secret", x = 40, y = 200, w = 260, h = 30, password = true,
            font = fieldFont, padding = 4 },
  Slider{ name = "widgetdemo_slider", x = 40, y = 250, w = 260, h = 24,
          railmid = "ui/slider_rail", sliderimage = "ui/slider_knob",
          sliderrollimage = "ui/slider_knob_over", scrolls = "widgetdemo_notes" },
  Text{ name = "widgetdemo_notes", x = 420, y = 40, w = 300, h = 56, font = labelFont,
        label = "widgetdemo_notes" },
  Button{ name = "widgetdemo_close", x = 40, y = 300, graphics = pics, sound = click, close = true,
          default = true, Caption("widgetdemo_close") },
}
