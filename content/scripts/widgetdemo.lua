-- The widget demo dialog: push, toggle and radio buttons, two text fields (one masked) and
-- a slider. "W" on the main screen opens it; the bottom button (or Enter) closes it.
local pics = { "ui/button_normal", "ui/button_pressed", "ui/button_over", "ui/button_on_over" }
MakeDialog{ name = "widgetdemo",
  Button{ name = "widgetdemo_push", x = 40, y = 40, graphics = pics,
          command = function() gWidgetDemoPushes = ( gWidgetDemoPushes or 0 ) + 1 end },
  Button{ name = "widgetdemo_toggle", type = kToggle, x = 180, y = 40, graphics = pics },
  BeginGroup(),
  Button{ name = "widgetdemo_radio1", type = kRadio, x = 40, y = 100, graphics = pics, on = true },
  Button{ name = "widgetdemo_radio2", type = kRadio, x = 180, y = 100, graphics = pics },
  TextEdit{ name = "widgetdemo_name", x = 40, y = 160, w = 260, h = 30, length = 16,
            label = "Player", font = { "__DEFAULT", 20, { 1, 0.94, 0.78, 1 } } },
  TextEdit{ name = "widgetdemo_secret", x = 40, y = 200, w = 260, h = 30, password = true,
            font = { "__DEFAULT", 20, { 1, 0.94, 0.78, 1 } } },
  Slider{ name = "widgetdemo_slider", x = 40, y = 250, w = 260, h = 24,
          railmid = "ui/slider_rail", sliderimage = "ui/slider_knob",
          sliderrollimage = "ui/slider_knob_over" },
  Button{ name = "widgetdemo_close", x = 40, y = 300, graphics = pics, close = true,
          default = true },
}
