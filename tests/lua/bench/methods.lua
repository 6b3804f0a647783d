-- Method calls through metatables.
local Point = {}
Point.__index = Point
function Point.new(x, y) return setmetatable({x = x, y = y}, Point) end
function Point:add(o) return Point.new(self.x + o.x, self.y + o.y) end
function Point:dot(o) return self.x * o.x + self.y * o.y end
function Point:scale(k) self.x = self.x * k self.y = self.y * k return self end
local acc = Point.new(0, 0)
local d = 0
for i = 1, 3000000 do
  local p = Point.new(i * 0.5, -i * 0.5)
  acc = acc:add(p)
  d = d + p:dot(acc) * 0.000001
  p:scale(2)
end
print(string.format("%.0f %.0f %.3f", acc.x, acc.y, d))
