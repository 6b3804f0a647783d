-- Allocation-heavy binary trees.
local function bottomUp(depth)
  if depth == 0 then return {} end
  depth = depth - 1
  return {bottomUp(depth), bottomUp(depth)}
end
local function check(tree)
  if tree[1] then return 1 + check(tree[1]) + check(tree[2]) end
  return 1
end
local maxdepth = 15
local long = bottomUp(maxdepth)
local total = 0
for d = 4, maxdepth, 2 do
  local iters = 1
  for i = 1, maxdepth - d + 4 do iters = iters * 2 end
  local c = 0
  for i = 1, iters do c = c + check(bottomUp(d)) end
  total = total + c
  print(d, iters, c)
end
print(check(long), total)
