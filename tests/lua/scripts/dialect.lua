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
-- bitwise details: truncation toward zero, low 32 bits, signed result, shifts mod 32
assert(5.9 & 7 == 5 and -5.9 & 255 == 251)
assert(4294967295 | 0 == -1 and 4294967296 | 1 == 1)
assert(1 << 33 == 2 and 8 >> 35 == 1)
assert(-8 >> 1 == 2147483644)
assert((2147483647 + 1) | 0 == -2147483648 and 2147483647 + 1 | 0 == 2147483648)
assert("12" & "10" == 8)  -- numeric strings convert
assert(3 ^ 5 ^ 6 == 3 ^ 3)
assert(-1 ^ 0 == -1 and 0 ^ 0 == 0)
local okb, msgb = pcall(function() local s = "x" return s & 1 end)
assert(not okb and string.find(msgb, "attempt to perform arithmetic on local `s' %(a string value%)"))
-- folding and run time agree
local seven, three = 7, 3
assert(seven & three == 7 & 3 and seven | three == 7 | 3 and seven ^ three == 7 ^ 3)
assert(seven << three == 7 << 3 and seven >> 1 == 7 >> 1)
-- the global power function is used for non-numbers without a metamethod
__pow = function(a, b) return "global pow" end
assert(({}) ^ 2 == "global pow")
__pow = nil
local okp2, msgp2 = pcall(function() return {} ^ 2 end)
assert(not okp2 and string.find(msgp2, "`__pow' %(`%^' operator%) is not a function"))
-- continue closes captured locals of each iteration
local fns = {}
for i = 1, 4 do
  local v = i * 10
  fns[i] = function() return v end
  if i == 2 then continue end
  v = v + 1
end
assert(fns[1]() == 11 and fns[2]() == 20 and fns[3]() == 31 and fns[4]() == 41)
local wfns = {}
local wi = 0
while wi < 3 do
  wi = wi + 1
  local cap = wi
  wfns[wi] = function() return cap end
  if wi == 1 then continue end
end
assert(wfns[1]() == 1 and wfns[3]() == 3)
-- numbered break leaves several loops and closes their locals
local got
for a = 1, 3 do
  local outerv = a
  for b = 1, 3 do
    local innerv = b
    got = function() return outerv, innerv end
    if b == 2 then break 2 end
  end
end
local gv1, gv2 = got()
assert(gv1 == 1 and gv2 == 2)
-- continue in generic for and repeat
local acc = {}
for k, v in ipairs({1, 2, 3, 4}) do
  if math.mod(v, 2) == 1 then continue end
  table.insert(acc, v)
end
assert(table.concat(acc, ",") == "2,4")
-- wide strings: comparison, concatenation modes, conversion
assert(L"a" < L"b" and L"abc" > L"ab" and L"x" == L"x" and L"x" ~= "x")
assert(not pcall(function() return L"a" < "b" end))
assert(L"n=" .. 1 .. 2 == L"n=12")
assert(1 .. L"x" == L"1x")
assert(1 .. 2 .. L"" == L"12")
assert(not pcall(function() return L"a" .. {} end))
assert(string.len(L"") == 0 and string.len(L"\x263A\x263A") == 2)
assert(tonumber(L"42") == 42 and L"10" + 1 == 11)

local wt = towstring({})
assert(type(wt) == "wstring")
assert(towstring(1.5) == L"1.5" and towstring(L"w") == L"w")
assert(towstring("\200") == L"\200")  -- bytes widen one to one
assert(L"\065\x41" == L"AA" and L"\\" == towstring("\\") and L"\"" == towstring("\""))
local wide_keys = {[L"k"] = 1, k = 2}
assert(wide_keys[L"k"] == 1 and wide_keys.k == 2)
assert(string.lualex("\\a\\b\\f\\n\\r\\t\\v") == "\a\b\f\n\r\t\v")
assert(string.lualex("\\q\\\\") == "q\\")
assert(string.lualex("\\x4") == "\4" and string.lualex("\\x414") == "A4")
assert(string.lualex("\\x263A", true) == ":&" and string.lualex("\\999", true) == "\231\3")
-- pack and unpack: every code, positions, short data
local p = string.pack("bBhHiIfdszo", -2, 250, -300, 65000, -70000, 4000000000, 0.5, 1e100, "abc", "zt", false)
local r = {string.unpack("bBhHiIfdszo", p)}
assert(r[1] == -2 and r[2] == 250 and r[3] == -300 and r[4] == 65000 and r[5] == -70000)
assert(r[6] == 4000000000 and r[7] == 0.5 and r[8] == 1e100 and r[9] == "abc" and r[10] == "zt")
assert(r[11] == false and r[12] == string.len(p) + 1)
local second, nextpos = string.unpack("h", string.pack("hh", 1, 2), 3)
assert(second == 2 and nextpos == 5)
assert(not pcall(string.unpack, "i", "abc"))
assert(not pcall(string.unpack, "s", string.pack("I", 100)))
assert(not pcall(string.unpack, "x", "abc"))
-- wide joins with numbers of every form, and a long wide join
assert(L"n=" .. 12 .. L"/" .. -0.5 == towstring("n=12/-0.5"))
local wbig = towstring(string.rep("w", 40000))
assert(wbig .. 7 .. wbig == towstring(string.rep("w", 40000) .. "7" .. string.rep("w", 40000)))
