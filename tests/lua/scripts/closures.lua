-- Closures and upvalues, shared and closed, and tail calls.
local function counter()
  local n = 0
  return function() n = n + 1 return n end, function() return n end
end
local inc, get = counter()
inc() inc()
assert(get() == 2)
local fs = {}
for i = 1, 3 do
  local j = i
  fs[i] = function() return j end
end
assert(fs[1]() == 1 and fs[3]() == 3)
local function deep(n) if n == 0 then return "done" end return deep(n - 1) end
assert(deep(100000) == "done")  -- tail calls do not grow the stack
local function sum(n) if n == 0 then return 0 end return n + sum(n - 1) end
assert(sum(1000) == 500500)
local ok, msg = pcall(function() local function r() return 1 + r() end return r() end)
assert(not ok and string.find(msg, "stack overflow"))
-- a break compiled before the closure that captures a body local still closes it
local f
local n = 0
while true do
  local x = "captured"
  n = n + 1
  if n > 1 then break end
  f = function() return x end
end
local y = "overwrites the old register"
assert(f() == "captured")
local h
for i = 1, 3 do
  local x = i
  if i == 2 then break end
  h = function() return x end
end
local z = "again"
assert(h() == 1)
-- a continue before the capture gives each iteration its own local
local g = {}
for i = 1, 3 do
  local v = "iter" .. i
  if i > 1 then
    g[i] = function() return v end
    continue
  end
  g[i] = function() return v end
end
assert(g[1]() == "iter1" and g[2]() == "iter2" and g[3]() == "iter3")
local rs = {}
local r = 0
repeat
  r = r + 1
  local rv = r
  rs[r] = function() return rv end
  if r < 3 then continue end
until r >= 3
assert(rs[1]() == 1 and rs[2]() == 2 and rs[3]() == 3)
-- upvalues shared between sibling closures and closed at block exit
local get, set
do
  local shared = 1
  get = function() return shared end
  set = function(v) shared = v end
end
set(5)
assert(get() == 5)
-- closures over loop control variables share the variable, as the language version does
local ctl = {}
for i = 1, 3 do ctl[i] = function() return i end end
assert(ctl[1]() == ctl[3]())
