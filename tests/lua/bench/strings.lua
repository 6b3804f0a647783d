-- String building, formatting and patterns.
local parts = {}
for i = 1, 200000 do parts[i] = string.format("%d:%s", i, "x") end
local big = table.concat(parts, ",")
local n = 0
for i = 1, 40 do
  local _, c = string.gsub(big, "(%d+):x", "%1")
  n = n + c
end
local found = 0
local pos = 1
while true do
  local s, e = string.find(big, "99", pos, true)
  if not s then break end
  found = found + 1
  pos = e + 1
end
local up = string.upper(string.sub(big, 1, 50))
print(string.len(big), n, found, up)
