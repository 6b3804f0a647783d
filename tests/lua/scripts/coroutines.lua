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
-- values pass both ways, many at a time
local echo = coroutine.create(function(...)
  local args = arg
  while true do args = {coroutine.yield(unpack(args))} end
end)
local r = {coroutine.resume(echo, 1, 2, 3)}
assert(r[1] == true and r[2] == 1 and r[4] == 3)
r = {coroutine.resume(echo)}
assert(table.getn(r) == 1 and r[1] == true)
r = {coroutine.resume(echo, "a", nil, "c")}
assert(r[2] == "a" and r[3] == nil)  -- unpack stops at the first nil
-- nested coroutines: a coroutine resumes another
local inner = coroutine.create(function() coroutine.yield("in1") return "in2" end)
local outer = coroutine.create(function()
  local _, a = coroutine.resume(inner)
  coroutine.yield(a)
  local _, b = coroutine.resume(inner)
  return b
end)
local _, o1 = coroutine.resume(outer)
local _, o2 = coroutine.resume(outer)
assert(o1 == "in1" and o2 == "in2" and coroutine.status(inner) == "dead")
-- a coroutine cannot resume itself
local selfres
selfres = coroutine.create(function() return coroutine.resume(selfres) end)
local okself, inner_ok, inner_msg = coroutine.resume(selfres)
assert(okself and not inner_ok and string.find(inner_msg, "non%-suspended"))
-- yield from deep inside Lua calls
local function depth(n) if n == 0 then return coroutine.yield("bottom") end return depth(n - 1) end
local deep = coroutine.create(function() return depth(100) end)
local _, bottom = coroutine.resume(deep)
assert(bottom == "bottom")
local _, back = coroutine.resume(deep, "up")
assert(back == "up")
-- yield inside pcall crosses a C boundary
local yp = coroutine.create(function() return pcall(coroutine.yield, 1) end)
local okyp, inok, inmsg = coroutine.resume(yp)
assert(okyp and inok == false and string.find(inmsg, "yield across"))
-- errors carry positions; wrap rethrows them with the caller's position
local wrapped = coroutine.wrap(function() error("inside") end)
local okw, msgw = pcall(wrapped)
assert(not okw and string.find(msgw, "inside"))
-- many coroutines alive at once, then collected
local list = {}
for i = 1, 500 do
  list[i] = coroutine.create(function(x) local y = coroutine.yield(x) return y end)
  coroutine.resume(list[i], i)
end
for i = 1, 500, 2 do coroutine.resume(list[i], i) end
list = nil
collectgarbage()
-- an upvalue shared between a suspended coroutine and the main thread
local shared = 0
local bump = coroutine.wrap(function() while true do shared = shared + 1 coroutine.yield() end end)
bump() bump()
assert(shared == 2)
local function counterco()
  local c = 0
  local co = coroutine.create(function() while true do c = c + 1 coroutine.yield(c) end end)
  return co, function() return c end
end
local cco, getc = counterco()
coroutine.resume(cco) coroutine.resume(cco)
cco = nil
collectgarbage()  -- the thread may go; the closure keeps its own copy of c
assert(getc() == 2)
