-- Placeholder main screen until the game's screens arrive: a title area and a quit button
-- area (the button itself is created once the button window type is registered).
MakeDialog{ name = "mainscreen",
  Window{ name = "main_title", x = kCenter, y = 40, w = 600, h = 80 },
  Window{ name = "main_menu", x = kCenter, y = kCenter, w = 300, h = 240,
    Window{ name = "main_quit_area", x = kCenter, y = kMax - 20, w = 200, h = 40, align = kVAlignBottom },
  },
}
if Button ~= nil then
  MakeDialog{ Button{ name = "main_quit_button", label = "Quit", x = kCenter, y = kMax - 60, w = 200, h = 40 } }
end
