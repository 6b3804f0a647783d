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
-- functions with upvalues cannot be dumped (their chunk could not run)
local up = 1
local okd, msgd = pcall(string.dump, function() return up end)
assert(not okd and string.find(msgd, "unable to dump given function"))
assert(not pcall(string.dump, print))
-- every kind of constant and nested functions survive the round trip
local all = string.dump(function()
  local function inner(a, ...) return a, arg.n end
  local t = {n = 1.5, s = "str", w = L"wide", f = false, z = nil}
  local x, y = inner(1, 2, 3)
  return t.n, t.s, t.w, x, y, 255 & 15, 1 ^ 3
end)
local n, s, w, x, y, band, bxor = loadstring(all)()
assert(n == 1.5 and s == "str" and w == L"wide" and x == 1 and y == 2 and band == 15 and bxor == 2)
