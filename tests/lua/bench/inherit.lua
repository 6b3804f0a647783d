-- Method calls through metatables and __index chains: a three-level class hierarchy
-- where methods are found one, two or three tables up.
local Base = {}
Base.__index = Base
function Base.new(x) return setmetatable({x = x, hits = 0}, Base) end
function Base:get() return self.x end
function Base:bump(n) self.hits = self.hits + n return self end

local Middle = setmetatable({}, Base)
Middle.__index = Middle
function Middle.new(x, y)
  local o = Base.new(x)
  o.y = y
  return setmetatable(o, Middle)
end
function Middle:sum() return self:get() + self.y end

local Leaf = setmetatable({}, Middle)
Leaf.__index = Leaf
function Leaf.new(x, y, z)
  local o = Middle.new(x, y)
  o.z = z
  return setmetatable(o, Leaf)
end
function Leaf:total() return self:sum() + self.z end

local objs = {Base.new(1), Middle.new(2, 3), Leaf.new(4, 5, 6)}
local acc = 0
for i = 1, 2500000 do
  local leaf, mid, base = objs[3], objs[2], objs[1]
  acc = acc + leaf:total() + mid:sum() + base:get()
  leaf:bump(1)
  mid:bump(2)
end
-- __index as a function: computed fields.
local proxy = setmetatable({}, {__index = function(t, k) return k * 2 end})
local p = 0
for i = 1, 1000000 do p = p + proxy[i] end
print(string.format("%d %d %d %d", acc, objs[3].hits, objs[2].hits, p))
