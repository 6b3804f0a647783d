-- What dialog scripts do: window descriptions built from nested table constructors with
-- string keys through global constructor functions, defaults filled in from a template,
-- and a loop that dispatches message tables on their type and name.
kCenter, kMax = -1, -2
kButtonPress, kPressAnyKey, kTimer = 1, 2, 3
local defaults = {x = 0, y = 0, w = 100, h = 30, visible = true, flags = 0}
local created = 0
local function Describe(kind)
  return function(t)
    t.kind = kind
    for k, v in pairs(defaults) do
      if t[k] == nil then t[k] = v end
    end
    created = created + 1
    return t
  end
end
Window, Button, Text = Describe("window"), Describe("button"), Describe("text")
function MakeDialog(d)
  local n = 0
  for i, child in ipairs(d) do
    n = n + 1
    for j, grand in ipairs(child) do n = n + 1 end
  end
  return n
end
local total = 0
for i = 1, 80000 do
  total = total + MakeDialog{name = "screen" .. i,
    Window{name = "title", x = kCenter, y = 40, w = 600, h = 80},
    Window{name = "menu", x = kCenter, y = kCenter, w = 300, h = 240,
      Button{name = "play", label = "Play", x = kCenter, y = 20},
      Button{name = "options", label = "Options", x = kCenter, y = 70},
      Button{name = "quit", label = "Quit", x = kCenter, y = kMax - 60, w = 200, h = 40},
    },
    Text{name = "version", label = "1.0", flags = 5},
  }
end
local handled, quits = 0, 0
local names = {"play", "options", "quit", "raw:W", "raw:\027"}
local messages = {}
for i = 1, 500 do
  local n = names[i - math.floor(i / 5) * 5 + 1]
  messages[i] = {type = (i - math.floor(i / 3) * 3) + 1, name = n, x = i, y = i * 2}
end
local function IsQuit(m)
  if m == nil then return false end
  if m.type == kButtonPress and m.name == "quit" then return true end
  return m.type == kPressAnyKey and m.name == "raw:\027"
end
for r = 1, 2000 do
  for i = 1, 500 do
    local m = messages[i]
    if IsQuit(m) then
      quits = quits + 1
    elseif m.type == kPressAnyKey and m.name == "raw:W" then
      handled = handled + 1
    elseif m.type == kTimer then
      handled = handled + m.x - m.y + m.y
    end
  end
end
print(created, total, handled, quits)
