-- Sieve of Eratosthenes into a table that starts empty: the first multiples arrive at
-- every second integer key (sparse), later primes fill the gaps until the keys are dense.
local function sieve(n)
  local composite = {}
  for i = 2, n do
    if not composite[i] then
      for j = i * i, n, i do composite[j] = true end
    end
  end
  local count = 0
  for i = 2, n do
    if not composite[i] then count = count + 1 end
  end
  return count
end
local total = 0
for r = 1, 4 do total = total + sieve(1000000 + r) end
print(total)
