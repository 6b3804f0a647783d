-- Errors and messages with positions, levels, error objects and handlers.
local ok, msg = pcall(function() local x = nil; return x.y end)
assert(not ok and string.find(msg, "attempt to index local `x' %(a nil value%)"))
ok, msg = pcall(function() return undefinedglobal.y end)
assert(string.find(msg, "global `undefinedglobal'"))
ok, msg = pcall(function() local t = {} return t.a.b end)
assert(string.find(msg, "field `a'"))
ok, msg = pcall(error, "plain", 0)
assert(msg == "plain")
local f = loadstring("error('here')", "=chunk")
ok, msg = pcall(f)
assert(msg == "chunk:1: here")
local e = {}
ok, msg = pcall(error, e)
assert(msg == e)
ok, msg = xpcall(function() error("x") end, function(m) return "handled: " .. m end)
assert(not ok and string.find(msg, "^handled: "))
local g, err = loadstring("x = = 1", "=src")
assert(g == nil and string.find(err, "^src:1:"))
ok, msg = pcall(function() return string.rep() end)
assert(string.find(msg, "bad argument #1 to `rep'"))
ok, msg = pcall(function() return 1 + {} end)
assert(string.find(msg, "perform arithmetic on a table value"))
-- error levels point at the caller
local function lib(x) if type(x) ~= "number" then error("number please", 2) end return x end
local okl, msgl = pcall(function() return lib("s") end)
assert(not okl and msgl == "number please")  -- a tail call leaves no caller position
libf = lib
local caller = loadstring("local x = 1\nlocal r = libf('s') return r", "=caller")
local okc, msgc = pcall(caller)
libf = nil
assert(not okc and string.find(msgc, "^caller:2: number please"))
-- runtime errors name the operation and variable
local okm, msgm = pcall(loadstring("local t = {} t.x.y = 1", "=m"))
assert(string.find(msgm, "^m:1: attempt to index field `x' %(a nil value%)"))
local okg, msgg = pcall(loadstring("undefinedf()", "=g"))
assert(string.find(msgg, "^g:1: attempt to call global `undefinedf' %(a nil value%)"))
local oku, msgu = pcall(loadstring("local up local function f() return up.x end return f()", "=u"))
assert(string.find(msgu, "upvalue `up'"))
local okme, msgme = pcall(loadstring("local o = {} o:method()", "=me"))
assert(string.find(msgme, "method `method'"))
local okcat, msgcat = pcall(loadstring("local a = {} return 'x' .. a", "=c"))
assert(string.find(msgcat, "attempt to concatenate local `a' %(a table value%)"))
local okar, msgar = pcall(loadstring("local s = 'abc' return s + 1", "=a"))
assert(string.find(msgar, "perform arithmetic on local `s' %(a string value%)"))
-- line numbers follow the source
local okln, msgln = pcall(loadstring("local a = 1\n\n\nerror('line four')", "=ln"))
assert(string.find(msgln, "^ln:4:"))
-- syntax errors
local function syntax(src) local f, e = loadstring(src, "=s") assert(f == nil) return e end
assert(string.find(syntax("x = "), "unexpected symbol near `<eof>'"))
assert(string.find(syntax("if x then"), "`end' expected near `<eof>'"))
assert(string.find(syntax("f(\n)x"), "s:"))
assert(string.find(syntax("local function end"), "`%*name' expected"))
assert(string.find(syntax("x = 'abc"), "unfinished string"))
assert(string.find(syntax("x = [[abc"), "unfinished long string"))
assert(string.find(syntax("x = 1e+"), "malformed number"))
assert(string.find(syntax("x = '\\400'"), "escape sequence too large"))
assert(string.find(syntax("return 1 2"), "`<eof>' expected"))
assert(string.find(syntax("break = 1"), "no loop to break"))
local deepsrc = string.rep("(", 300) .. "1" .. string.rep(")", 300)
assert(string.find(syntax("return " .. deepsrc), "too many syntax levels"))
local manylocals = "local a1"
for i = 2, 250 do manylocals = manylocals .. ", a" .. i end
assert(string.find(syntax(manylocals), "too many local variables"))
-- error handlers see the original message; errors in the handler are reported
local okh, msgh = xpcall(function() error("orig") end, function(m) error("again") end)
assert(not okh)
-- stack overflow in a handler-free recursion is an ordinary error
local okso, msgso = pcall(function() local function f() return f() + 1 end return f() end)
assert(not okso and string.find(msgso, "stack overflow"))
-- a runtime error names the line of the instruction that raised it, whatever ran before it
-- on the lines above
local function lineof(src)
  local okl, m = pcall(loadstring(src, "=l"))
  assert(not okl)
  local _, _, n = string.find(m, "^l:(%d+):")
  return tonumber(n)
end
assert(lineof("local a, b = 1, 2\nlocal c = a + b\nlocal d = a < b\nreturn c + {}") == 4)
assert(lineof("local t = {}\nt.x = 1\nlocal u = t.x\nif u < 'z' then end") == 4)
assert(lineof("local t = {}\nt[1] = 1\n\nt[nil] = 2") == 4)
assert(lineof("local t = {1, 2}\nlocal s = 0\nfor i = 1, 2 do s = s + t[i] end\nreturn s .. {}") == 4)
assert(lineof("local s = 0\nfor k, v in pairs({1, 2}) do s = s + v end\nfor i = 1, 'x' do end") == 3)
assert(lineof("local n = 0\nlocal t = setmetatable({}, {__index = {}})\nn = t.a\nreturn -{}") == 4)
assert(lineof("local t = {}\nlocal x = t.a\nx = x\nx.y = 1") == 4)
