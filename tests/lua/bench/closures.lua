-- Closures and upvalues: counters made per call, upvalues shared and written by several
-- closures, and a closure created in every loop iteration.
local function counter()
  local n = 0
  return function(step) n = n + step return n end
end
local total = 0
for i = 1, 300000 do
  local c = counter()
  c(1) c(2)
  total = total + c(3)
end
local function account(balance)
  local function deposit(v) balance = balance + v end
  local function withdraw(v) balance = balance - v end
  local function get() return balance end
  return deposit, withdraw, get
end
local dep, wd, get = account(100)
for i = 1, 3000000 do
  dep(3)
  wd(1)
end
local fns = {}
for i = 1, 200000 do
  local k = i * 2
  fns[i] = function(x) return x + k end
end
local s = 0
for r = 1, 5 do
  for i = 1, 200000 do s = s + fns[i](r) end
end
print(string.format("%d %d %d", total, get(), s))
