-- The lexer: numerals, strings and escapes, long brackets, comments, names, tokens.
assert(3 == 3.0 and 0.5 == .5 and 5e2 == 500 and 5E-1 == 0.5 and 1e+1 == 10)
assert(tonumber("3.") == 3 and 3. == 3)
local function lex(src) local f, e = loadstring("return " .. src) if f then return f() end return nil, e end
local _, e1 = lex("1..2")
assert(e1 and string.find(e1, "malformed number") or string.find(e1, "ambiguous"))
local _, e2 = lex("3e")
assert(string.find(e2, "malformed number"))
local _, e3 = lex("0x10")  -- no hexadecimal numerals in source text
assert(e3 ~= nil)
-- escapes in ordinary strings
assert("\97\98\99" == "abc" and "\0" ~= "" and string.len("\0") == 1)
assert("a\
b" == "a\nb")
assert('\'' == "'" and "\"" == '"' and "\\" == string.char(92))
assert("\q" == "q")  -- unknown escapes stand for the character
local _, e4 = lex('"abc')
assert(string.find(e4, "unfinished string"))
local _, e5 = lex('"a\nb"')
assert(string.find(e5, "unfinished string"))
-- long brackets: first newline skipped, nesting allowed, no escapes
local lb = [[
first
	\n stays]]
assert(string.sub(lb, 1, 5) == "first" and string.find(lb, "\\n stays", 1, true))
assert([[a[[b]]c]] == "a[[b]]c")
assert([[]] == "")
-- comments
local c = 1 -- comment to end of line
--[[ long
comment ]] c = c + 1
--[[ unbalanced ] still in comment ]]
c = c + 1
assert(c == 3)
assert(loadstring("-- only a comment") ~= nil)
assert(loadstring("return 1 --[[ trailing long comment ]]")() == 1)
local _, e6 = loadstring("--[[ never closed")
assert(string.find(e6, "unfinished long comment"))
-- names and keywords
local _and, And, AND = 1, 2, 3
assert(_and + And + AND == 6)
local _, e7 = loadstring("local continue = 1")
assert(e7 ~= nil)  -- continue is reserved in this dialect
local _, e8 = loadstring("local L = 1 return L")
assert(e8 == nil)  -- L is a name unless a quote follows directly
assert(loadstring("local L = 2 return L")() == 2)
assert(loadstring('local L = "x" return L .. "y"')() == "xy")
-- wide literals take only the wide escapes
assert(L"\x41\x4142" == towstring("A") .. L"\x4142")
local _, e9 = lex('L"never closed')
assert(string.find(e9, "unfinished string"))
-- operators without spaces
assert(loadstring("return 1<<2|1")() == 5)
assert(loadstring("return 8>>1&6")() == 4)
assert(loadstring("local a=1 return a~=2 and a<=1 and a>=1 and a==1")() == true)
-- a first line starting with # is skipped
assert(loadstring("#!/usr/bin/lua50\nreturn 7")() == 7)
-- line counting through every kind of newline
local _, e10 = loadstring("\n\r\n\r\nerror(", "=nl")
assert(string.find(e10, "^nl:4:"))
