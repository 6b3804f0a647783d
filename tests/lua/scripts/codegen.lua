-- Code generation: conditions and their values, register reuse in long expressions,
-- multiple results, constructors, assignments with conflicts and constant folding.

-- "and"/"or" produce values, not just booleans
local function pick(a, b, c) return a and b or c end
assert(pick(true, 1, 2) == 1 and pick(false, 1, 2) == 2 and pick(nil, 1, 2) == 2)
assert(pick(true, false, 3) == 3)  -- the classic pitfall: a and false or c
assert((nil or false) == false and (false or nil) == nil)
assert((1 and nil) == nil and (nil and 1) == nil)
local x = nil
local y = x or {}
assert(type(y) == "table")

-- comparisons as values
local function cmp(a, b) return a < b, a <= b, a > b, a >= b, a == b, a ~= b end
local r = {cmp(1, 2)}
assert(r[1] == true and r[2] == true and r[3] == false and r[4] == false and r[5] == false and r[6] == true)
r = {cmp("b", "a")}
assert(r[1] == false and r[3] == true)

-- not and double not
assert(not not 1 == true and not not nil == false)
local t = {}
assert((not t.missing) == true)
local v = not (1 == 2)
assert(v == true)
local w = not (1 == 1 and 2 == 2)
assert(w == false)
local z = not (nil and 1)
assert(z == true)
local q = not (false or nil)
assert(q == true)

-- nested conditions with mixed and/or
local function classify(n)
  if n > 0 and (n < 10 or n == 100) then return "a"
  elseif n < 0 and not (n < -10) then return "b"
  elseif n == 0 or n == nil then return "c"
  else return "d" end
end
assert(classify(5) == "a" and classify(100) == "a" and classify(50) == "d")
assert(classify(-5) == "b" and classify(-50) == "d" and classify(0) == "c")

-- while/repeat conditions with and/or
local i, hits = 0, 0
while i < 10 and not (i == 7) do i = i + 1 hits = hits + 1 end
assert(i == 7 and hits == 7)
i = 0
repeat i = i + 1 until i >= 3 and i ~= 4 or i > 100
assert(i == 3)

-- long expressions reuse registers correctly
local a1, a2, a3, a4, a5 = 1, 2, 3, 4, 5
local e = ((a1 + a2) * (a3 + a4) - (a5 * a1) / (a2 + a3)) * ((a4 - a1) + (a5 - a2))
assert(e == (3 * 7 - 5 / 5) * (3 + 3))
local s = a1 .. a2 .. (a3 + a4) .. "x" .. a5
assert(s == "127x5")
local deep = ((((((((((a1 + 1) + 1) + 1) + 1) + 1) + 1) + 1) + 1) + 1) + 1)
assert(deep == 11)

-- constant folding keeps the language's results
assert(2 * 3 + 4 == 10 and 10 / 4 == 2.5 and -(-3) == 3)
local zero = 0
assert(1 / zero == 1 / 0 and -1 / zero == -1 / 0)
local nan = 0 / zero
assert(nan ~= nan)
assert(7 & 3 | 8 == 11 and 1 << 2 << 3 == 32 and 256 >> 2 >> 3 == 8)

-- multiple results: truncation, expansion, adjust to nil
local function three() return 1, 2, 3 end
local function none() end
local p1, p2, p3, p4 = three()
assert(p1 == 1 and p3 == 3 and p4 == nil)
local m1, m2 = (three())
assert(m1 == 1 and m2 == nil)
local tt = {three(), three()}
assert(tt[1] == 1 and tt[2] == 1 and tt[4] == 3 and tt[5] == nil)
local tn = {none()}
assert(next(tn) == nil)
local n1, n2 = none()
assert(n1 == nil and n2 == nil)
local function pass(...) return unpack(arg) end
local c1, c2, c3 = pass(three())
assert(c1 == 1 and c2 == 2 and c3 == 3)
assert(select == nil and table.getn({pass()}) == 0)

-- constructors with many items cross the SETLIST batch size
local big = {}
local src = "return {"
for k = 1, 100 do src = src .. k .. "," end
src = src .. "}"
big = loadstring(src)()
assert(table.getn(big) == 100 and big[33] == 33 and big[100] == 100)
local mixed = {1, 2, x = 1, 3, [10] = 10, y = 2, three()}
assert(mixed[3] == 3 and mixed[4] == 1 and mixed[6] == 3 and mixed[10] == 10 and mixed.y == 2)

-- assignments: evaluation before storing, conflicts between targets
local aa, bb, cc = 1, 2, 3
aa, bb, cc = cc, aa, bb
assert(aa == 3 and bb == 1 and cc == 2)
local arr = {}
local idx = 1
idx, arr[idx] = 2, "first"
assert(idx == 2 and arr[1] == "first" and arr[2] == nil)
local obj = {f = {}}
local o2 = obj
obj, obj.f.x = nil, 5
assert(obj == nil and o2.f.x == 5)
local g1, g2 = 1
assert(g1 == 1 and g2 == nil)
local h1 = 1, 2, 3
assert(h1 == 1)

-- globals and locals with the same names
gname = "global"
do
  local gname = "local"
  assert(gname == "local")
end
assert(gname == "global")
gname = nil

-- numeric for: float steps, negative steps, no iterations, loop variable is a copy
local cnt = 0
for f = 0, 1, 0.25 do cnt = cnt + 1 end
assert(cnt == 5)
cnt = 0
for f = 10, 1, -3 do cnt = cnt + f end
assert(cnt == 10 + 7 + 4 + 1)
for f = 1, 0 do error("runs") end
local ok = pcall(function() for i = 1, "x" do end end)
assert(not ok)
local okstr = pcall(function() for i = "1", 2 do end end)
assert(okstr)  -- numeric strings are accepted as initial values

-- generic for with a custom iterator and state
local function range(n)
  return function(state, ctl) if ctl < state then return ctl + 1 end end, n, 0
end
local sum = 0
for k in range(4) do sum = sum + k end
assert(sum == 10)

-- method definitions and calls
local Account = {balance = 0}
function Account:deposit(v) self.balance = self.balance + v return self end
function Account.new(b) local o = {balance = b} setmetatable(o, {__index = Account}) return o end
local acc = Account.new(10)
acc:deposit(5):deposit(5)
assert(acc.balance == 20 and Account.balance == 0)
local nested = {a = {b = {}}}
function nested.a.b.f(x) return x + 1 end
function nested.a.b:g(x) return self == nested.a.b and x end
assert(nested.a.b.f(1) == 2 and nested.a.b:g(7) == 7)

-- local function can call itself; local f = function cannot
local function rec(n) if n == 0 then return 0 end return rec(n - 1) + 1 end
assert(rec(10) == 10)
local okrec = pcall(function() local r2 = function(n) if n == 0 then return 0 end return r2(n - 1) end return r2(1) end)
assert(not okrec)

-- semicolons and empty statements
local semi = 1; semi = semi + 1;
assert(semi == 2)

-- long strings and comments
local long = [[
line1
[[nested]]
line3]]
assert(string.find(long, "nested") and string.sub(long, 1, 5) == "line1")
--[[ a long
comment ]] assert(true)
assert("\65\066\x" == "ABx")
assert("tab\tnew\nquote\"back\\" == 'tab\9new\10quote"back\\')
-- values of and/or chains under not, and jumps merged into later jumps
local a, b, c = 3, -2, 0
local xt = {k = 5}
assert(not (not (b or (0 and c))) == true)
assert(not (not (b or c)) == true)
assert(not (not -a and a) == true)
assert(((a or b) and (true or xt.k)) == true)
assert((b and (true or xt.k)) == true)
assert(((nil or b) and (false or nil)) == nil)
assert((not (a and nil) or b) == true)
local v = (false or (xt.m or ((not -a) or (((not true) and n) or ((a or b) and (true or xt.k))))))
assert(v == true)
local w1, w2 = (a and b) or c, not (a or b) and c
assert(w1 == -2 and w2 == false)
