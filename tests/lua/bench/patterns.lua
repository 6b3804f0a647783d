-- String library with captures: format, find, gsub with captures and functions, and the
-- iterator over matches.
local gmatch = string.gfind or string.gmatch
local mod = math.mod or math.fmod
local records = {}
for i = 1, 40000 do
  records[i] = string.format("name%05d = %d, %s; %.3f", i, i * 7, (mod(i, 3) == 0) and "yes" or "no", i / 7)
end
local text = table.concat(records, "\n")
local sum, yes = 0, 0
for r = 1, 8 do
  for name, num, flag in gmatch(text, "(%w+) = (%d+), (%a+);") do
    sum = sum + tonumber(num)
    if flag == "yes" then yes = yes + 1 end
  end
end
local swapped, n = string.gsub(text, "(%w+) = (%d+)", "%2 = %1")
local upper = string.gsub(text, "%a+", function(w) return string.upper(w) end)
local found, pos = 0, 1
while true do
  local s, e, digits = string.find(text, "(%d%d%d)5", pos)
  if not s then break end
  found = found + 1
  pos = e + 1
end
print(sum, yes, n, string.len(swapped), string.len(upper), found, string.sub(upper, 1, 30))
