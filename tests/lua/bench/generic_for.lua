-- Generic for: pairs over hashes and arrays, ipairs, next and a stateless iterator.
local t = {}
for i = 1, 100000 do t[i] = i end
local h = {}
for i = 1, 50000 do h["key" .. i] = i end
local s = 0
for r = 1, 25 do
  for i, v in ipairs(t) do s = s + v end
  for k, v in pairs(h) do s = s + v end
  for k, v in pairs(t) do s = s + k end
  local k, v = next(h)
  while k do s = s + 1 k, v = next(h, k) end
end
local function range(n)
  return function(limit, i)
    if i < limit then return i + 1 end
  end, n, 0
end
for r = 1, 10 do
  for i in range(100000) do s = s + i end
end
print(string.format("%d", s))
