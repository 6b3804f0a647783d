-- Coroutines: a producer/consumer pipeline.
local function producer(n)
  return coroutine.wrap(function()
    for i = 1, n do coroutine.yield(i) end
    coroutine.yield(nil)
  end)
end
local function filter(src)
  return coroutine.wrap(function()
    while true do
      local v = src()
      if v == nil then coroutine.yield(nil) return end
      if v - math.floor(v / 3) * 3 ~= 0 then coroutine.yield(v) end
    end
  end)
end
local s, c = 0, 0
local f = filter(producer(3000000))
while true do
  local v = f()
  if v == nil then break end
  s = s + v
  c = c + 1
end
print(string.format("%.0f %d", s, c))
