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
