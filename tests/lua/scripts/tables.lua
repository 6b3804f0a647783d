-- Tables and the table library.
local t = {}
for i = 1, 100 do t[i] = i end
assert(table.getn(t) == 100)
table.insert(t, 101)
table.insert(t, 1, 0)
assert(t[1] == 0 and t[102] == 101 and table.getn(t) == 102)
assert(table.remove(t, 1) == 0 and table.remove(t) == 101)
local u = {5, 2, 8, 1, 9}
table.sort(u)
assert(table.concat(u, ",") == "1,2,5,8,9")
table.sort(u, function(a, b) return a > b end)
assert(u[1] == 9 and u[5] == 1)
local big = {}
for i = 1, 1000 do big[i] = math.mod(i * 7919, 1000) end
table.sort(big)
for i = 2, 1000 do assert(big[i - 1] <= big[i]) end
local n = {}
table.setn(n, 10)
assert(table.getn(n) == 10)
local h = {}
for i = 1, 1000 do h["k" .. i] = i end
for i = 1, 1000, 2 do h["k" .. i] = nil end
local count = 0
for k, v in pairs(h) do count = count + 1 end
assert(count == 500)
local seen = 0
for k in pairs(h) do h[k] = nil seen = seen + 1 end  -- clearing while traversing
assert(seen == 500 and next(h) == nil)
assert(unpack({1, 2, 3}) == 1)
assert(not pcall(function() local x = {} x[nil] = 1 end))
