-- Coroutine ping-pong: two coroutines hand a value back and forth through resume and yield.
local function player(other)
  return coroutine.create(function(ball)
    while true do ball = coroutine.yield(ball + 1) end
  end)
end
local a, b = player(), player()
local ball = 0
local ok
for i = 1, 2000000 do
  ok, ball = coroutine.resume(a, ball)
  ok, ball = coroutine.resume(b, ball)
end
-- A generator through coroutine.wrap with several values per yield.
local gen = coroutine.wrap(function()
  for i = 1, 2000000 do coroutine.yield(i, i * 2, i * 3) end
end)
local s = 0
for i = 1, 2000000 do
  local x, y, z = gen()
  s = s + x + y - z
end
print(string.format("%d %d", ball, s))
