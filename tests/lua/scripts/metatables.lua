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
