-- Coroutines: resume/yield across Lua frames, wrap, status, errors.
local function gen(n)
  return coroutine.wrap(function()
    for i = 1, n do coroutine.yield(i) end
  end)
end
local s = 0
for v in gen(5) do s = s + v end
assert(s == 15)
local co = coroutine.create(function(a, b)
  local function inner(x) return coroutine.yield(x + 1) end
  local c = inner(a + b)
  return c * 2
end)
local ok, v = coroutine.resume(co, 1, 2)
assert(ok and v == 4 and coroutine.status(co) == "suspended")
ok, v = coroutine.resume(co, 10)
assert(ok and v == 20 and coroutine.status(co) == "dead")
ok, v = coroutine.resume(co)
assert(not ok and v == "cannot resume dead coroutine")
local bad = coroutine.create(function() error("oops") end)
ok, v = coroutine.resume(bad)
assert(not ok and string.find(v, "oops"))
local across = coroutine.create(function()
  local t = setmetatable({}, {__index = function() coroutine.yield() end})
  return t.x
end)
ok, v = coroutine.resume(across)
assert(not ok and string.find(v, "yield across"))
assert(not pcall(coroutine.yield))  -- the main thread cannot yield
