-- Strings and patterns.
assert(string.len("abc") == 3 and string.sub("hello", 2, -2) == "ell")
assert(string.upper("aB") == "AB" and string.rep("ab", 3) == "ababab")
assert(string.byte("A") == 65 and string.char(72, 105) == "Hi")
assert(string.find("hello world", "wor") == 7)
local i, j, cap = string.find("key=value", "(%w+)=")
assert(i == 1 and j == 4 and cap == "key")
assert(string.gsub("hello world", "o", "0") == "hell0 w0rld")
local r, n = string.gsub("abc", "(%w)", "%1%1")
assert(r == "aabbcc" and n == 3)
assert(string.gsub("f(a(b)c)", "%b()", "X") == "fX")
assert(string.gsub("  trim  ", "^%s*(.-)%s*$", "%1") == "trim")
local words = {}
for w in string.gfind("one, two; three", "%a+") do table.insert(words, w) end
assert(table.getn(words) == 3 and words[3] == "three")
assert(string.format("%d %5.1f %s %x", 42, 3.14159, "s", 255) == "42   3.1 s ff")
assert(string.format("%q", "a\nb") == "\"a\\\nb\"")
assert(tonumber("0x10") == 16 and tonumber("  12  ") == 12 and tonumber("1e2") == 100)
assert(tonumber("abc") == nil and tonumber("10", 2) == 2)
assert(tostring(1e15) == "1e+15" and tostring(0.1) == "0.1")
assert("10" + 1 == 11 and "3" * "4" == 12)
assert(string.find("a.b", ".", 1, true) == 2)
assert(string.gsub("abc", "", "-") == "-a-b-c-")
-- format: flags, widths, precision, quoting, long strings
assert(string.format("%+d %+d", 5, -5) == "+5 -5")
assert(string.format("% d", 5) == " 5")
assert(string.format("%-4d|", 7) == "7   |")
assert(string.format("%04d", -7) == "-007")
assert(string.format("%.2e", 12345) == "1.23e+04")
assert(string.format("%G", 1e-10) == "1E-10")
assert(string.format("%#x %#o", 255, 8) == "0xff 010")
assert(string.format("%.3s", "abcdef") == "abc")
assert(string.format("%c", 65) == "A")
assert(string.format("%%") == "%")
assert(string.format("%s", 12) == "12")
assert(string.format("%d", 3.9) == "3" and string.format("%d", -3.9) == "-3")
local long = string.rep("x", 500)
assert(string.format("<%s>", long) == "<" .. long .. ">")
assert(string.format("%q", "a\0b\\c\"d\ne") == '"a\\000b\\\\c\\"d\\\ne"')
assert(loadstring("return " .. string.format("%q", "round\0trip\n\"ok\""))() == "round\0trip\n\"ok\"")
assert(not pcall(string.format, "%123d", 1))
assert(not pcall(string.format, "%d"))
-- byte strings with embedded zeros
local z = "a\0b\0c"
assert(string.len(z) == 5 and string.byte(z, 2) == 0 and string.sub(z, 3, 3) == "b")
assert(string.find(z, "\0c") == 4 and string.upper(z) == "A\0B\0C")
assert(string.rep(z, 2) == z .. z and z < z .. "x")
-- comparison is by bytes
assert("a" < "b" and "abc" < "abd" and "ab" < "abc" and "" < "a" and "Z" < "a")
assert(not ("a" < "a") and "a" <= "a")
-- tostring and tonumber round trips
for _, n in ipairs({0, 1, -1, 0.5, 123456789, 1e-5, 2 ^ 40, -1e300}) do
  assert(tonumber(tostring(n)) == n)
end
assert(tostring(1 / 0) == tostring(2 / 0))
-- numbers and strings convert in both directions
assert("0x10" * 1 == 16 and " 5 " + 0 == 5 and "1e1" * 1 == 10)
assert(not pcall(function() return "5x" + 1 end))
assert(10 .. "" == "10" and 1.5 .. "" == "1.5" and -0.25 .. "" == "-0.25")
-- string.byte/char round trip over every byte
local all = {}
for i = 0, 255 do all[i + 1] = string.char(i) end
local allstr = table.concat(all)
assert(string.len(allstr) == 256)
for i = 0, 255 do assert(string.byte(allstr, i + 1) == i) end
-- lower/upper leave other bytes alone
assert(string.lower("AB1!") == "ab1!" and string.upper("ab1!") == "AB1!")
-- numbers joined by .. read as tostring writes them, whole or not, at the edges of the
-- digit form (-0 keeps its sign, 10^14 and beyond switch to the exponent)
local edge = {0, -0, 7, -7, 123456789, -2147483648, 4294967296, 99999999999999, 1e14, -1e14,
              1e15, 2^53, 0.5, -1.25, 1/3, 1e-300, 1e300, 1/0, -1/0}
for _, n in ipairs(edge) do
  assert(n .. "" == tostring(n), tostring(n))
  assert("<" .. n .. ">" .. n == "<" .. tostring(n) .. ">" .. tostring(n))
end
assert(-0 .. "" == string.format("%.14g", -0))
-- a long join, a collection that gives the large buffer back, and more joins after it
local big = string.rep("ab", 50000)
local joined = big .. 1 .. big .. "end"
assert(string.len(joined) == 200004 and string.sub(joined, 100000, 100002) == "b1a")
collectgarbage()
local again = "x" .. 2 .. "y" .. big
assert(string.len(again) == 100003 and string.sub(again, 1, 5) == "x2yab")
