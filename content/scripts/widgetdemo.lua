-- The widget demo dialog: push, toggle and radio buttons with captions, two text fields (one
-- masked), and a slider that scrolls a block of notes. "W" on the main screen opens it; the
-- bottom button (or Enter) closes it.
local pics = { "ui/button_normal", "ui/button_pressed", "ui/button_over", "ui/button_on_over" }
local click = "audio/sfx/button_click.ogg"
local captionFont = { "__DEFAULT", 18, { 0.24, 0.14, 0.05, 1 } }
local fieldFont = { "__DEFAULT", 20, { 1, 0.94, 0.78, 1 } }
local labelFont = { "__DEFAULT", 16, { 0.85, 0.85, 0.85, 1 } }

-- A button caption: a text window named "label" covering the button, text centred.
local function Caption(text)
  return Text{ name = "label", x = 0, y = 0, w = 120, h = 36, label = text, font = captionFont,
               flags = kHAlignCenter + kVAlignCenter }
end

MakeDialog{ name = "widgetdemo",
  Text{ name = "widgetdemo_title", x = 40, y = 8, w = 400, h = 28, label = "Widgets",
        font = { "__DEFAULT", 22, { 1, 1, 1, 1 } } },
  Button{ name = "widgetdemo_push", x = 40, y = 40, graphics = pics, sound = click,
          command = function() gWidgetDemoPushes = ( gWidgetDemoPushes or 0 ) + 1 end,
          Caption("Push") },
  Button{ name = "widgetdemo_toggle", type = kToggle, x = 180, y = 40, graphics = pics,
          sound = click,
          Caption("Toggle") },
  BeginGroup(),
  Button{ name = "widgetdemo_radio1", type = kRadio, x = 40, y = 100, graphics = pics,
          sound = click, on = true,
          Caption("Easy") },
  Button{ name = "widgetdemo_radio2", type = kRadio, x = 180, y = 100, graphics = pics,
          sound = click,
          Caption("Hard") },
  Text{ name = "widgetdemo_name_label", x = 310, y = 164, w = 90, h = 24, label = "Name",
        font = labelFont },
  TextEdit{ name = "widgetdemo_name", x = 40, y = 160, w = 260, h = 30, length = 16,
            label = "Player", font = fieldFont },
  Text{ name = "widgetdemo_secret_label", x = 310, y = 204, w = 90, h = 24,
        label = "Password", font = labelFont },
  TextEdit{ name = "widgetdemo_secret", x = 40, y = 200, w = 260, h = 30, password = true,
            font = fieldFont },
  Slider{ name = "widgetdemo_slider", x = 40, y = 250, w = 260, h = 24,
          railmid = "ui/slider_rail", sliderimage = "ui/slider_knob",
          sliderrollimage = "ui/slider_knob_over", scrolls = "widgetdemo_notes" },
  Text{ name = "widgetdemo_notes", x = 420, y = 40, w = 300, h = 56, font = labelFont,
        label = "Drag the slider to scroll these notes.<br>Line two of the notes.<br>"
             .. "Line three of the notes.<br>Line four of the notes.<br>"
             .. "Line five of the notes.<br>Line six: the last one." },
  Button{ name = "widgetdemo_close", x = 40, y = 300, graphics = pics, sound = click, close = true,
          default = true, Caption("Close") },
}
