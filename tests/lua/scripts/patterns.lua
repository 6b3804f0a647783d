-- Patterns: classes, sets, quantifiers, anchors, captures, balance, back references.
local function m(s, p) return string.find(s, p) end
local function cap(s, p) local r = {string.find(s, p)} table.remove(r, 1) table.remove(r, 1) return unpack(r) end
assert(m("abc123", "%d+") == 4)
assert(m("abc", "%d") == nil)
assert(m("  x", "%S") == 3)
assert(m("aBc", "%u") == 2 and m("ABc", "%l") == 3)
assert(m("a.b", "%p") == 2 and m("a\0b", "%z") == 2)
assert(m("xyz", "[%a]") == 1 and m("123", "[^%d]") == nil)
assert(m("hello", "[l-n]+") == 3)
assert(m("a-b", "[a%-]") == 1 and m("-", "[%-]") == 1)
assert(m("]", "[]]") == 1)
assert(m("x^y", "[%^]") == 2 and m("x^y", "%^") == 2)
assert(m("abc", "^b") == nil and m("abc", "^a") == 1)
assert(m("abc", "c$") == 3 and m("abc", "b$") == nil)
assert(m("a$b", "%$") == 2 and m("a$b", "$b") == 2)
-- quantifiers
assert(cap("aaab", "(a*)") == "aaa" and cap("b", "(a*)") == "")
assert(cap("aaab", "(a+)") == "aaa" and cap("b", "(a+)") == nil)
assert(cap("<a><b>", "<(.-)>") == "a" and cap("<a><b>", "<(.*)>") == "a><b")
assert(cap("color colour", "(colou?r)") == "color")
assert(cap("x = 10", "(%w+)%s*=%s*(%d+)") == "x")
local k, v = cap("x = 10", "(%w+)%s*=%s*(%d+)")
assert(v == "10")
-- position captures and back references
local p1, p2 = cap("hello", "()ll()")
assert(p1 == 3 and p2 == 5)
assert(cap('say "hi" now', "([\"'])(.-)%1") == '"')
local _, quoted = cap("'it''s'", "(['])(.-)%1")
assert(quoted == "it")
-- balanced matches
assert(cap("f(a(b)c) d", "(%b())") == "(a(b)c)")
assert(string.gsub("if [x] then [y]", "%b[]", "Z") == "if Z then Z")
-- gsub variants
assert(string.gsub("abc", "%w", "%%") == "%%%")
assert(not pcall(string.gsub, "hello world", "%w+", "%0 %0"))  -- %0 is no capture here
local count = 0
string.gsub("a,b,,c", "[^,]*", function(w) count = count + 1 end)
assert(count >= 4)
assert(not pcall(string.gsub, "abc", "b", "%1"))  -- no captures: %1 is invalid
local lookup = {cat = "dog"}
assert(string.gsub("cat and cat", "%a+", function(w) return lookup[w] end) == "dog  dog")
local r, n = string.gsub("aaa", "a", "b", 2)
assert(r == "bba" and n == 2)
r, n = string.gsub("abc", "^a", "x")
assert(r == "xbc" and n == 1)
r, n = string.gsub("", "x*", "-")
assert(r == "-" and n == 1)
-- gfind
local items = {}
for key, val in string.gfind("a=1, b=2, c=3", "(%w+)=(%w+)") do items[key] = tonumber(val) end
assert(items.a == 1 and items.c == 3)
local empties = 0
for e in string.gfind("abc", "x*") do empties = empties + 1 end
assert(empties == 4)
-- malformed patterns are errors, not crashes
assert(not pcall(string.find, "a", "[a"))
assert(not pcall(string.find, "a", "%"))
assert(not pcall(string.find, "a", "(a"))
assert(not pcall(string.gsub, "a", "a)", ""))  -- find would search "a)" as plain text
assert(not pcall(string.find, "a", "%1"))
assert(not pcall(string.gsub, "alo", ".", "%2"))
local okdeep, deepmsg = pcall(string.find, string.rep("a", 1000), string.rep("a?", 1000) .. string.rep("a", 1000))
assert(not okdeep and string.find(deepmsg, "pattern too complex"))
