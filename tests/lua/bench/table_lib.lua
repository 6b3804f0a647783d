-- The table library: insert and remove at the end and at the front, sort with and without
-- a comparison function, and concat.
local t = {}
for i = 1, 200000 do table.insert(t, i) end
local s = 0
for i = 1, 100000 do s = s + table.remove(t) end
local q = {}
for i = 1, 2000 do table.insert(q, 1, i) end
for i = 1, 1000 do s = s + table.remove(q, 1) end
local r = {}
local seed = 42
for i = 1, 100000 do
  seed = math.mod and math.mod(seed * 16807, 2147483647) or math.fmod(seed * 16807, 2147483647)
  r[i] = seed
end
table.sort(r)
local ok = true
for i = 2, 100000 do if r[i - 1] > r[i] then ok = false end end
local names = {}
for i = 1, 50000 do names[i] = "n" .. (100000 - i) end
table.sort(names, function(a, b) return a > b end)
print(s, ok, r[1], r[100000], names[1], names[50000], string.len(table.concat(names, " ")))
