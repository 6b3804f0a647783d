-- String building: concatenation with .. in loops and chains, and table.concat.
local pieces = {}
for i = 1, 300000 do
  pieces[i] = "item" .. i .. "=" .. (i * 3) .. ";"
end
local joined = table.concat(pieces)
local lines = {}
for i = 1, 2000 do
  local line = ""
  for j = 1, 30 do line = line .. j .. "," end
  lines[i] = line
end
local text = table.concat(lines, "\n")
local acc = ""
for i = 1, 20000 do
  acc = acc .. "x"
  if string.len(acc) > 500 then acc = "" end
end
print(string.len(joined), string.len(text), string.len(acc), string.sub(joined, -20))
