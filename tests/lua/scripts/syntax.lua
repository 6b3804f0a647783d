-- Syntax and code generation: operators, priorities, constant folding, assignments.
assert(2 + 3 * 4 == 14 and (2 + 3) * 4 == 20)
assert(2 .. 3 == "23" and "a" .. "b" .. "c" == "abc")
assert(not nil and not false and (nil or 5) == 5 and (false and 1) == false)
local a, b, c = 1, 2
assert(a == 1 and b == 2 and c == nil)
a, b = b, a
assert(a == 2 and b == 1)
local t = {1, 2, 3, x = 10, ["y"] = 20; 4}
assert(t[4] == 4 and t.x == 10 and t.y == 20 and table.getn(t) == 4)
local function f(...) return arg.n, arg[1], arg[arg.n] end
local n, first, last = f(7, 8, 9)
assert(n == 3 and first == 7 and last == 9)
assert(select == nil)  -- not part of this language version
local s = 0
for i = 10, 1, -2 do s = s + i end
assert(s == 30)
local keys = 0
for k, v in pairs({a = 1, b = 2, c = 3}) do keys = keys + v end
assert(keys == 6)
local cnt = 0
for k, v in {5, 6, 7} do cnt = cnt + v end  -- a table directly after `in'
assert(cnt == 18)
local i = 0
repeat i = i + 1 until i >= 5
assert(i == 5)
while true do i = i + 1 if i > 8 then break end end
assert(i == 9)
assert(1 < 2 and "a" < "b" and not (2 <= 1) and 3 >= 3 and 1 ~= 2)
local x = 5
local y = x > 3 and "big" or "small"
assert(y == "big")
