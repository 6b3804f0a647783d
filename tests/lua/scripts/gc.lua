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
