-- Metatables: every event of the language version.
local mt = {}
mt.__add = function(a, b) return "add" end
mt.__sub = function(a, b) return "sub" end
mt.__mul = function(a, b) return "mul" end
mt.__div = function(a, b) return "div" end
mt.__unm = function(a) return "unm" end
mt.__concat = function(a, b) return "cat" end
mt.__eq = function(a, b) return true end
mt.__lt = function(a, b) return true end
mt.__le = function(a, b) return false end
mt.__call = function(self, x) return x * 2 end
mt.__index = function(t, k) return k .. "?" end
local a, b = setmetatable({}, mt), setmetatable({}, mt)
assert(a + 1 == "add" and 1 - a == "sub" and a * a == "mul" and a / 2 == "div")
assert(-a == "unm" and a .. "x" == "cat" and "x" .. a == "cat")
assert(a == b and a < b and not (a <= b))
assert(a(21) == 42 and a.foo == "foo?")
local log = {}
local proxy = setmetatable({}, {__newindex = function(t, k, v) log[k] = v end})
proxy.x = 5
assert(rawget(proxy, "x") == nil and log.x == 5)
local base = {greet = function(self) return "hi " .. self.name end}
local obj = setmetatable({name = "bob"}, {__index = base})
assert(obj:greet() == "hi bob")
local prot = setmetatable({}, {__metatable = "locked"})
assert(getmetatable(prot) == "locked")
assert(not pcall(setmetatable, prot, {}))
assert(tostring(setmetatable({}, {__tostring = function() return "T" end})) == "T")
local ok, msg = pcall(function() return {} < {} end)
assert(not ok and string.find(msg, "attempt to compare two table values"))
-- __index and __newindex may be tables; rawget/rawset bypass them
local store = {}
local front = setmetatable({}, {__index = store, __newindex = store})
front.a = 1
assert(rawget(front, "a") == nil and store.a == 1 and front.a == 1)
rawset(front, "b", 2)
assert(front.b == 2 and store.b == nil)
-- an existing key is assigned directly, without __newindex
local calls = 0
local watched = setmetatable({present = 1}, {__newindex = function(t, k, v) calls = calls + 1 rawset(t, k, v) end})
watched.present = 2
watched.absent = 3
watched.absent = 4
assert(calls == 1 and watched.present == 2 and watched.absent == 4)
-- setting a metatable field later is seen (the absent-event cache is refreshed)
local mt = {}
local late = setmetatable({}, mt)
assert(late.x == nil)
mt.__index = function() return "late" end
assert(late.x == "late")
mt.__index = nil
assert(late.x == nil)
-- __eq only for two tables with the same metamethod; never for different types
local eqmt = {__eq = function() return true end}
local e1, e2 = setmetatable({}, eqmt), setmetatable({}, eqmt)
local e3 = setmetatable({}, {__eq = function() return true end})
assert(e1 == e2 and e1 ~= e3 and e1 ~= 1)
-- __lt and __le fallbacks
local le_only = {__lt = function(a, b) return a.v < b.v end}
local x, y = setmetatable({v = 1}, le_only), setmetatable({v = 2}, le_only)
assert(x < y and not (y < x) and x <= y and not (y <= x))  -- <= uses not (b < a)
assert(not pcall(function() return x < 1 end))
-- __concat with numbers and strings on either side
local cat = setmetatable({}, {__concat = function(a, b)
  return (type(a) == "table" and "T" or tostring(a)) .. (type(b) == "table" and "T" or tostring(b))
end})
assert(cat .. 1 == "T1" and 1 .. cat == "1T" and "s" .. cat .. "e" == "sTe")
-- __call receives the object and the arguments
local callable = setmetatable({k = 3}, {__call = function(self, a, b) return self.k + a + b end})
assert(callable(1, 2) == 6)
assert(pcall(callable, 1, 2))
-- __unm and arithmetic on mixed operands
local num = setmetatable({}, {__unm = function() return "neg" end, __sub = function(a, b) return "sub" end})
assert(-num == "neg" and num - 1 == "sub" and 1 - num == "sub")
-- metatables on userdata are not reachable from Lua's setmetatable, but getmetatable works on tables only
assert(getmetatable("string") == nil and getmetatable(1) == nil)
-- __index chains are limited
local loop = {}
setmetatable(loop, {__index = loop})
local okloop, msgloop = pcall(function() return loop.x end)
assert(not okloop and string.find(msgloop, "loop in gettable"))
