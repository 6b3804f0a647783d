#!/usr/bin/python3
# Random expression programs for the differential check described in README.md.
import random, sys
random.seed(int(sys.argv[1]))
atoms = ["a", "b", "c", "n", "f", "t", "1", "2", "0", "nil", "true", "false", "'s'", "x.k", "x.m", "-a", "(a)"]
def expr(d):
    if d == 0 or random.random() < 0.25:
        return random.choice(atoms)
    r = random.random()
    if r < 0.3:
        op = random.choice(["and", "or"])
        return "(%s %s %s)" % (expr(d-1), op, expr(d-1))
    if r < 0.45:
        return "(not %s)" % expr(d-1)
    if r < 0.65:
        op = random.choice(["==", "~="])
        return "(%s %s %s)" % (expr(d-1), op, expr(d-1))
    if r < 0.8:
        op = random.choice(["<", "<=", ">", ">="])
        return "(%s %s %s)" % (num(d-1), op, num(d-1))
    op = random.choice(["+", "-", "*"])
    return "(%s %s %s)" % (num(d-1), op, num(d-1))
def num(d):
    if d == 0 or random.random() < 0.4:
        return random.choice(["a", "b", "c", "1", "2", "0", "x.k", "-a", "(b)"])
    op = random.choice(["+", "-", "*"])
    return "(%s %s %s)" % (num(d-1), op, num(d-1))
print("local a, b, c, n, f, t = 3, -2, 0, nil, false, true")
print("local x = {k = 5}")
print("local function show(...) local s = '' for i = 1, arg.n do s = s .. tostring(arg[i]) .. ' ' end print(s) end")
for i in range(300):
    e = expr(random.choice([3, 4, 5, 6]))
    kind = random.random()
    if kind < 0.4:
        print("show(%s)" % e)
    elif kind < 0.7:
        print("do local v = %s show(v) end" % e)
    elif kind < 0.85:
        print("if %s then show('T') else show('F') end" % e)
    else:
        print("do local v1, v2 = %s, %s show(v1, v2) end" % (e, expr(2)))
