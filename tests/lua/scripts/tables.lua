-- Tables and the table library.
local t = {}
for i = 1, 100 do t[i] = i end
assert(table.getn(t) == 100)
table.insert(t, 101)
table.insert(t, 1, 0)
assert(t[1] == 0 and t[102] == 101 and table.getn(t) == 102)
assert(table.remove(t, 1) == 0 and table.remove(t) == 101)
local u = {5, 2, 8, 1, 9}
table.sort(u)
assert(table.concat(u, ",") == "1,2,5,8,9")
table.sort(u, function(a, b) return a > b end)
assert(u[1] == 9 and u[5] == 1)
local big = {}
for i = 1, 1000 do big[i] = math.mod(i * 7919, 1000) end
table.sort(big)
for i = 2, 1000 do assert(big[i - 1] <= big[i]) end
local n = {}
table.setn(n, 10)
assert(table.getn(n) == 10)
local h = {}
for i = 1, 1000 do h["k" .. i] = i end
for i = 1, 1000, 2 do h["k" .. i] = nil end
local count = 0
for k, v in pairs(h) do count = count + 1 end
assert(count == 500)
local seen = 0
for k in pairs(h) do h[k] = nil seen = seen + 1 end  -- clearing while traversing
assert(seen == 500 and next(h) == nil)
assert(unpack({1, 2, 3}) == 1)
assert(not pcall(function() local x = {} x[nil] = 1 end))
-- keys of every kind
local keys = {}
local f = function() end
local co = coroutine.create(f)
keys[1] = "int"; keys[1.5] = "float"; keys[-1] = "neg"; keys[0] = "zero"
keys["1"] = "string one"; keys[true] = "bool"; keys[f] = "func"; keys[co] = "thread"
keys[keys] = "self"; keys[L"w"] = "wide"
assert(keys[1] == "int" and keys[1.5] == "float" and keys[-1] == "neg" and keys[0] == "zero")
assert(keys["1"] == "string one" and keys[true] == "bool" and keys[false] == nil)
assert(keys[f] == "func" and keys[co] == "thread" and keys[keys] == "self" and keys[L"w"] == "wide")
assert(keys[2 / 2] == "int" and keys[3 / 2] == "float")  -- computed numbers find the same key
local count = 0
for k, v in pairs(keys) do count = count + 1 end
assert(count == 10)
-- growing and shrinking: the array part moves to the hash part and back
local t = {}
for i = 1, 1000 do t[i] = i end
for i = 1, 1000 do if math.mod(i, 3) ~= 0 then t[i] = nil end end
local sum = 0
for k, v in pairs(t) do sum = sum + v end
assert(sum == 3 * (333 * 334 / 2))
for i = 1000, 1, -1 do t[i] = -i end
assert(t[1] == -1 and t[500] == -500 and t[1000] == -1000)
-- sparse and negative integer keys stay in the hash part
local sparse = {}
sparse[1000000] = 1 sparse[-5] = 2 sparse[2 ^ 30] = 3
assert(sparse[1000000] == 1 and sparse[-5] == 2)
-- next visits every key exactly once, also after deletions during the walk
local big = {}
for i = 1, 300 do big["k" .. i] = i big[i] = i end
local seen = {}
local visits = 0
for k, v in pairs(big) do
  assert(not seen[k]) seen[k] = true visits = visits + 1
  if type(k) == "number" and math.mod(k, 2) == 0 then big[k] = nil end
end
assert(visits == 600)
-- table.sort: stability is not promised, but the order is right for many shapes
local shapes = {{}, {1}, {2, 1}, {3, 3, 3}, {5, 4, 3, 2, 1}, {1, 2, 3, 4, 5}}
for _, s in ipairs(shapes) do
  table.sort(s)
  for i = 2, table.getn(s) do assert(s[i - 1] <= s[i]) end
end
local strs = {"b", "a", "c", "ab", ""}
table.sort(strs)
assert(table.concat(strs, ",") == ",a,ab,b,c")
assert(not pcall(table.sort, {1, "x", 2}))  -- mixed types cannot be ordered
local rev = {} for i = 1, 100 do rev[i] = i end
table.sort(rev, function(a, b) return a > b end)
assert(rev[1] == 100 and rev[100] == 1)
-- getn with n fields and setn
local withn = {n = 3}
assert(table.getn(withn) == 3)
table.insert(withn, "x")
assert(withn.n == 4 and withn[4] == "x")
-- insert and remove in the middle
local mid = {"a", "b", "c"}
table.insert(mid, 2, "X")
assert(table.concat(mid) == "aXbc")
assert(table.remove(mid, 2) == "X" and table.concat(mid) == "abc")
-- unpack many values
local many = {}
for i = 1, 200 do many[i] = i end
local function count(...) return arg.n end
assert(count(unpack(many)) == 200)
-- random inserts and deletes of mixed keys, checked against a shadow list of the keys:
-- chains are built, nodes move out of the way, dead keys are reused and rehashes drop them
local seed = 12345
local function rand(n)
  seed = math.mod(seed * 16807, 2147483647)
  return math.mod(seed, n)
end
local mixed, shadow, live = {}, {}, 0
local function keyof(i)
  local kind = math.mod(i, 5)
  if kind == 0 then return i * 1024 end  -- strides that share their low bits
  if kind == 1 then return "s" .. i end
  if kind == 2 then return i + 0.5 end
  if kind == 3 then return -i end
  return i
end
for step = 1, 20000 do
  local i = rand(3000)
  local k = keyof(i)
  if rand(3) == 0 then
    if mixed[k] ~= nil then live = live - 1 end
    mixed[k] = nil
    shadow[i] = nil
  else
    if mixed[k] == nil then live = live + 1 end
    mixed[k] = i
    shadow[i] = true
  end
end
local walked = 0
for k, v in pairs(mixed) do
  walked = walked + 1
  assert(shadow[v] and keyof(v) == k)
end
assert(walked == live)
for i = 0, 2999 do assert((mixed[keyof(i)] ~= nil) == (shadow[i] == true)) end
-- a sieve: integer keys arrive sparse and become dense, then read as an array
local composite = {}
for i = 2, 5000 do
  if not composite[i] then
    for j = i * i, 5000, i do composite[j] = true end
  end
end
local primes = 0
for i = 2, 5000 do if not composite[i] then primes = primes + 1 end end
assert(primes == 669)
-- integer keys at a stride of 2 to 5, ascending or descending, beside string keys: the
-- array part takes them with holes between; then half of them go, the gaps are filled
-- and the table shrinks again, each step checked by lookups and by a full walk
local function checkstrided(t, expect, label)
  local walked = 0
  for k, v in pairs(t) do
    assert(expect[k] == v, label)
    walked = walked + 1
  end
  local n = 0
  for k, v in pairs(expect) do
    assert(t[k] == v, label)
    n = n + 1
  end
  assert(walked == n, label)
end
for stride = 2, 5 do
  for _, descending in ipairs({false, true}) do
    local t, expect = {}, {}
    local first, last, step = stride, 3000, stride
    if descending then first, last, step = 3000 - math.mod(3000, stride), stride, -stride end
    for k = first, last, step do t[k] = k * 3 expect[k] = k * 3 end
    for i = 1, 50 do t["s" .. i] = i expect["s" .. i] = i end
    checkstrided(t, expect, "filled")
    for k = stride, 3000, 2 * stride do t[k] = nil expect[k] = nil end
    checkstrided(t, expect, "halved")
    for k = 1, 3000 do
      if t[k] == nil then t[k] = -k expect[k] = -k end
    end
    checkstrided(t, expect, "gaps filled")
    for k = 1, 2990 do t[k] = nil expect[k] = nil end
    t[100000] = 1 expect[100000] = 1  -- a far key makes the next rehash shrink the array
    checkstrided(t, expect, "shrunk")
  end
end
-- clearing every field during a walk, then refilling the same table
local fields = {}
for i = 1, 500 do fields["f" .. i] = i fields[i * 7] = i end
for k in pairs(fields) do fields[k] = nil end
assert(next(fields) == nil)
for i = 1, 500 do fields["g" .. i] = i end
local refilled = 0
for k, v in pairs(fields) do refilled = refilled + v end
assert(refilled == 500 * 501 / 2)
-- the generic for over pairs and ipairs, also where the loop body reuses the register after
-- the loop variables, changes the control variable or clears fields as it goes
local src = {}
for i = 1, 40 do src[i] = i end
for i = 1, 40 do src["k" .. i] = i end
local seen, sum = 0, 0
for key, value in pairs(src) do
  local reused = 12345  -- the first register after the loop variables
  local other = reused + 1
  seen = seen + 1
  sum = sum + value + other - 12346
end
assert(seen == 80 and sum == 2 * (40 * 41 / 2))
local cleared = 0
for key in pairs(src) do src[key] = nil cleared = cleared + 1 end
assert(cleared == 80 and next(src) == nil)
local three = 0
for a, b, c in pairs({x = 1}) do assert(a == "x" and b == 1 and c == nil) three = three + 1 end
assert(three == 1)
local holes = {1, 2, nil, 4}
local upto = 0
for i, v in ipairs(holes) do upto = i end
assert(upto == 2)
for i, v in ipairs({}) do error("no entries") end
local via = setmetatable({}, {__index = {1, 2, 3}})
for i in ipairs(via) do error("ipairs reads raw") end
for k in pairs(via) do error("pairs reads raw") end
local skipped = {}
for i, v in ipairs({10, 20, 30, 40}) do
  skipped[table.getn(skipped) + 1] = v
  i = i + 1  -- the first variable is the loop's control: the next step starts after it
end
assert(table.getn(skipped) == 2 and skipped[2] == 30)
local okn, msgn = pcall(function() for k in next, {a = 1}, "absent" do end end)
assert(not okn and string.find(msgn, "invalid key to `next'"))
local mynext = next
local counted = 0
for k, v in mynext, {a = 1, b = 2} do counted = counted + v end
assert(counted == 3)
local calls = 0
local function iter(t, i)
  calls = calls + 1
  if i < 3 then return i + 1, t[i + 1] end
end
for i, v in iter, {5, 6, 7}, 0 do assert(v == i + 4) end
assert(calls == 4)
for i, v in ipairs({n = 1, 7}) do assert(i == 1 and v == 7) end
-- number keys near and far from an array part: only whole numbers 1..n are its slots
do
  local t = {10, 20, 30, 40, 50, 60, 70, 80}
  local odd = {0, 0.5, 1.5, 7.999999, 8.5, 9, -1, -0.5, 2^31, 2^31 - 1, 2^32 + 1, 2^32 + 8,
               2^53, 2^63, -2^63, 2^64 + 2, 1e300, -1e300, 1/0, -1/0}
  for i = 1, table.getn(odd) do assert(t[odd[i]] == nil, odd[i]) end
  for i = 1, table.getn(odd) do t[odd[i]] = i end
  for i = 1, 8 do assert(t[i] == i * 10 and t[i + 0.0] == i * 10) end
  for i = 1, table.getn(odd) do
    assert(t[odd[i]] == i and rawget(t, odd[i]) == i, odd[i])
  end
  assert(t[-0] == 1 and t[0] == 1)  -- minus zero is the key zero
  local nan = 0 / 0
  assert(t[nan] == nil and rawget(t, nan) == nil)
  assert(not pcall(function() t[nan] = 1 end))
  local seen = 0
  for k, v in pairs(t) do seen = seen + 1 end
  assert(seen == 8 + table.getn(odd))
end
