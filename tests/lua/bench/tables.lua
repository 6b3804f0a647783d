-- Table access: arrays and string-keyed hashes.
local a = {}
for i = 1, 1000000 do a[i] = i * 2 end
local s = 0
for r = 1, 10 do
  for i = 1, 1000000 do s = s + a[i] end
end
local h = {}
for i = 1, 200000 do h["k" .. i] = i end
local hs = 0
for r = 1, 10 do
  for i = 1, 200000, 3 do hs = hs + h["k" .. i] end
end
local cnt = 0
for k, v in pairs(h) do cnt = cnt + 1 end
print(string.format("%.0f %.0f %d", s, hs, cnt))
