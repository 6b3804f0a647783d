-- Variable arguments: functions that take, count, forward and unpack their extra
-- arguments. The dialect collects them into the table `arg`; later language versions
-- spell the same with `...`, so the collecting functions are compiled per version.
local load = loadstring or load
local unpack = unpack or table.unpack
local src
if string.find(_VERSION, "5.0", 1, true) then
  src = [[
    local unpack = unpack
    local function sum(...)
      local s = 0
      for i = 1, arg.n do s = s + arg[i] end
      return s
    end
    local function count(...) return arg.n end
    local function forward(f, ...) return f(unpack(arg)) end
    return sum, count, forward
  ]]
else
  src = [[
    local unpack = ...
    local function sum(...)
      local arg = {...}
      local s = 0
      for i = 1, select("#", ...) do s = s + arg[i] end
      return s
    end
    local function count(...) return select("#", ...) end
    local function forward(f, ...) return f(...) end
    return sum, count, forward
  ]]
end
local sum, count, forward = load(src)(unpack)
local t = 0
for i = 1, 500000 do
  t = t + sum(i, 1, 2, 3) + count(i, nil, i) + forward(sum, i, i, i)
end
local list = {}
for i = 1, 10 do list[i] = i end
for i = 1, 300000 do t = t + sum(unpack(list)) end
print(string.format("%d", t))
