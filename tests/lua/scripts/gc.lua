-- Collector: weak tables, collection of garbage, gcinfo and thresholds.
local weak = setmetatable({}, {__mode = "k"})
local key = {}
weak[key] = "kept"
weak[{}] = "dropped"
collectgarbage()
local n = 0
for k, v in pairs(weak) do n = n + 1 end
assert(n == 1 and weak[key] == "kept")
local wv = setmetatable({}, {__mode = "v"})
wv[1] = {}
wv[2] = "strings stay"
collectgarbage()
assert(wv[1] == nil and wv[2] == "strings stay")
local before = gcinfo()
do local t = {} for i = 1, 50000 do t[i] = {i} end end
collectgarbage()
assert(gcinfo() < before + 200)
for i = 1, 200 do local s = string.rep("x", i) .. i end
collectgarbage(100000)
local inuse, limit = gcinfo()
assert(limit >= 100000 or limit >= inuse)
local co = coroutine.create(function() local big = {} coroutine.yield() end)
coroutine.resume(co)
co = nil
collectgarbage()
-- weak values with tables as values and keys that are strings
local cache = setmetatable({}, {__mode = "kv"})
local strong = {}
for i = 1, 100 do strong[i] = {i} cache["key" .. i] = strong[i] end
local keep = strong[5]
strong = nil
collectgarbage()
local left = 0
for k, v in pairs(cache) do left = left + 1 end
assert(left == 1 and cache.key5 == keep)
-- a table that refers to itself through a weak table is still collected
local registry = setmetatable({}, {__mode = "k"})
do
  local obj = {}
  registry[obj] = obj  -- the value keeps the key alive: values are strong
end
collectgarbage()
local strong = 0
for k in pairs(registry) do strong = strong + 1 end
assert(strong == 1)
-- closures, prototypes and strings made at run time are collected
local before = gcinfo()
for i = 1, 2000 do
  local f = loadstring("return " .. i .. " + 1")
  assert(f() == i + 1)
end
collectgarbage()
assert(gcinfo() <= before + 100)
-- the threshold follows collectgarbage(limit)
collectgarbage(1)
local _, lim = gcinfo()
assert(lim < 1000000)
-- functions held by tables and stacks keep what their upvalues refer to
local holders = {}
for i = 1, 3000 do
  local data = {i}
  holders[i] = function() return data[1] end
end
local named = {}
for i = 1, 500 do
  local data = {value = i * 3}
  named["f" .. i] = function(add) data.value = data.value + add return data.value end
end
do
  local shared = {count = 0}
  local function bump() shared.count = shared.count + 1 return shared.count end
  holders.bump = bump
end
collectgarbage()
collectgarbage()
for i = 1, 3000 do assert(holders[i]() == i) end
for i = 1, 500 do assert(named["f" .. i](1) == i * 3 + 1) end
assert(holders.bump() == 1 and holders.bump() == 2)
-- a long chain of functions, each reaching the next through an upvalue
local chain = function() return 0 end
for i = 1, 100000 do
  local inner, n = chain, i
  chain = function() return n, inner end
end
collectgarbage()
local depth, f = 0, chain
while true do
  local i, inner = f()
  if not inner then break end
  assert(i == 100000 - depth)
  depth, f = depth + 1, inner
end
assert(depth == 100000)
chain, f = nil, nil
-- an open upvalue (the local is still on the stack) keeps its value
local function open_upvalue()
  local t = {"open"}
  local get = function() return t[1] end
  local junk = {}
  for i = 1, 20000 do junk[i] = {i} end
  junk = nil
  collectgarbage()
  return get()
end
assert(open_upvalue() == "open")
-- functions only a weak table holds are collected, with what only they kept alive
local weakfns = setmetatable({}, {__mode = "v"})
local weaktables = setmetatable({}, {__mode = "v"})
local kept = {}
for i = 1, 10 do
  local data = {i}
  weaktables[i] = data
  weakfns[i] = function() return data end
  if i <= 3 then kept[i] = weakfns[i] end
end
collectgarbage()
local fleft, tleft = 0, 0
for k in pairs(weakfns) do fleft = fleft + 1 end
for k in pairs(weaktables) do tleft = tleft + 1 end
assert(fleft == 3 and tleft == 3)
for i = 1, 3 do assert(weakfns[i]()[1] == i and weaktables[i] == weakfns[i]()) end
