-- Precompiled chunks: dump and load back, and damaged chunks are refused.
local function sample(a, b)
  local t = {a, b, L"w"}
  local s = 0
  for i = 1, 10 do if i == 5 then continue end s = s + i end
  return a + b, s, t[3], 6 ^ 3
end
local bin = string.dump(sample)
local f = assert(loadstring(bin))
local x, y, w, z = f(2, 3)
assert(x == 5 and y == 50 and w == L"w" and z == 5)
for cut = 1, string.len(bin) - 1, 7 do
  local g, err = loadstring(string.sub(bin, 1, cut))
  assert(g == nil and type(err) == "string")
end
-- Flipping bytes must never crash: either refused or loaded and verified.
for pos = 13, string.len(bin), 3 do
  local damaged = string.sub(bin, 1, pos - 1) .. string.char(math.mod(string.byte(bin, pos) + 97, 256)) ..
                  string.sub(bin, pos + 1)
  local g = loadstring(damaged)
  assert(g == nil or type(g) == "function")
end
