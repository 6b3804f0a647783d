-- Wide strings (this dialect only): literals, concatenation with numbers, towstring,
-- comparison and wide strings as table keys.
local names = {}
for i = 1, 100000 do names[i] = L"item" .. i end
local index = {}
for i = 1, 100000 do index[names[i]] = i end
local sum = 0
for r = 1, 20 do
  for i = 1, 100000, 7 do sum = sum + index[L"item" .. i] end
end
local ordered = 0
for r = 1, 5 do
  for i = 2, 100000 do
    if names[i - 1] < names[i] then ordered = ordered + 1 end
  end
end
local w = towstring(12345) .. L"/" .. towstring("abc") .. 6
local line = L""
for i = 1, 3000 do
  line = line .. L"x"
  if i - math.floor(i / 300) * 300 == 0 then line = L"" end
end
print(sum, ordered, w, towstring(w) == w, line == L"")
