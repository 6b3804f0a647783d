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
