-- The dialect: bitwise operators, "^" as exclusive or, continue and numbered loops,
-- wide strings.
assert(5 & 3 == 1 and 5 | 3 == 7 and 1 << 4 == 16 and 256 >> 4 == 16)
assert(5 ^ 3 == 6 and 2 ^ 2 == 0)
assert(-1 >> 28 == 15 and 1 << 31 == -2147483648 and 1 << 32 == 1)
assert(2 + 1 << 2 == 2 + 4)  -- "<<" binds tighter than "+"
assert(3 * 2 & 1 == 3 * 0)   -- and tighter than "*"
assert(2 ^ 3 ^ 1 == 2 ^ 2)   -- right associative
assert(not pcall(function() return {} & 1 end))
local ok, msg = pcall(function() local t = {} return t | 1 end)
assert(not ok and string.find(msg, "perform arithmetic on"))
local ok2, msg2 = pcall(function() return {} ^ 1 end)
assert(not ok2)
local setmt = setmetatable({}, {__pow = function(a, b) return "pow" end})
assert(setmt ^ 2 == "pow")
-- continue
local s = 0
for i = 1, 10 do
  if math.mod(i, 2) == 0 then continue end
  s = s + i
end
assert(s == 25)
local pairsSeen = 0
for i = 1, 3 do
  for j = 1, 3 do
    if j == 2 then continue 2 end
    pairsSeen = pairsSeen + 1
  end
end
assert(pairsSeen == 3)
local outer = 0
for i = 1, 5 do
  while true do
    break 2
  end
  outer = outer + 1
end
assert(outer == 0)
local k = 0
repeat k = k + 1 if k < 3 then continue end until k >= 5
assert(k == 5)
local w = 0
while w < 5 do w = w + 1 if w == 2 then continue end end
assert(w == 5)
-- compile errors
local function compileError(src) local f, err = loadstring(src) return err end
assert(string.find(compileError("break"), "no loop to break"))
assert(string.find(compileError("continue"), "no loop to continue"))
assert(string.find(compileError("while 1 do break 2 end"), "no loop to break"))
assert(string.find(compileError("while 1 do break 1.5 end"), "loop block number must be integer"))
assert(string.find(compileError("while 1 do continue 101 end"), "loop block number out of range"))
-- wide strings
local ws = L"abc"
assert(type(ws) == "wstring" and string.len(ws) == 3)
assert(ws .. 1 == L"abc1")
assert(not pcall(function() return "a" .. L"b" end))
assert(not pcall(function() return L"a" .. "b" end))
assert(towstring("ab") == L"ab" and towstring(12) == L"12")
assert(towstring(nil) == "nil" and type(towstring(nil)) == "string")
local ok3, msg3 = pcall(towstring, true)
assert(not ok3 and string.find(msg3, "value expected"))
local tk = {}
tk[L"key"] = 1
assert(tk[L"key"] == 1 and tk["key"] == nil)
assert(L"\x41\x263A" == towstring("A") .. L"\x263A")
assert(string.lualex("a\\tb\\x41\\065") == "a\tbAA")
assert(string.lualex("\\x41", true) == "A\0")
-- pack / unpack
local packed = string.pack("bhidsz", -1, 300, 70000, 1.5, "xy", "zz")
local v1, v2, v3, v4, v5, v6, pos = string.unpack("bhidsz", packed)
assert(v1 == -1 and v2 == 300 and v3 == 70000 and v4 == 1.5 and v5 == "xy" and v6 == "zz")
assert(pos == string.len(packed) + 1)
local okp, msgp = pcall(string.pack, "q", 1)
assert(not okp and string.find(msgp, "bad code `q'"))
local oko, msgo = pcall(string.pack, "o", 1)
assert(not oko and string.find(msgo, "expected a boolean"))
