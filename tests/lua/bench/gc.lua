-- The collector under allocation pressure: a live set of records that is partly replaced
-- all the time, short-lived tables and strings in between, and a weak cache.
local live = {}
local size = 20000
for i = 1, size do live[i] = {id = i, name = "r" .. i} end
local cache = setmetatable({}, {__mode = "v"})
local made = 0
for i = 1, 600000 do
  local slot = math.floor(math.mod and math.mod(i * 7919, size) or math.fmod(i * 7919, size)) + 1
  local rec = {id = i, name = "r" .. i, tags = {i, i + 1}}
  live[slot] = rec
  if i - math.floor(i / 8) * 8 == 0 then cache[slot] = rec end
  made = made + 1
end
local sum = 0
for i = 1, size do sum = sum + live[i].tags[2] - live[i].tags[1] end
print(made, sum)
