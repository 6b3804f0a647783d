-- Numeric loops and arithmetic.
local mod = math.mod or math.fmod
local s = 0
for i = 1, 20000000 do
  s = s + mod(i * 7, 13) - 3
end
local t = 0
local i = 0
while i < 20000000 do i = i + 1 t = t + i * 0.5 end
print(string.format("%.0f %.0f", s, t))
