#!/usr/bin/python3
# Random statement programs (loops, breaks, assignments, calls) for the differential check.
import random, sys
random.seed(int(sys.argv[1]))
vars_ = ["a", "b", "c", "d"]
def num():
    r = random.random()
    if r < 0.4: return random.choice(vars_)
    if r < 0.6: return str(random.randint(-3, 5))
    if r < 0.7: return "t[%d]" % random.randint(1, 4)
    if r < 0.8: return "f(%s)" % random.choice(vars_)
    op = random.choice(["+", "-", "*"])
    return "(%s %s %s)" % (num(), op, num())
def cond():
    r = random.random()
    if r < 0.5: return "%s %s %s" % (num(), random.choice(["<", "<=", ">", ">=", "==", "~="]), num())
    if r < 0.75: return "(%s) %s (%s)" % (cond(), random.choice(["and", "or"]), cond())
    return "not (%s)" % cond()
def stmt(d):
    r = random.random()
    if d <= 0 or r < 0.3:
        v = random.choice(vars_)
        return "%s = %s" % (v, num())
    if r < 0.4:
        return "t[%d] = %s" % (random.randint(1, 4), num())
    if r < 0.5:
        return "out(%s)" % num()
    if r < 0.6:
        return "if %s then %s else %s end" % (cond(), block(d-1), block(d-1))
    if r < 0.7:
        return "for i = %d, %d do %s if %s then break end end" % (random.randint(-1, 2), random.randint(0, 4), block(d-1), cond())
    if r < 0.8:
        return "do local n = 0 while (%s) and n < 5 do n = n + 1 %s end end" % (cond(), block(d-1))
    if r < 0.9:
        v = random.choice(vars_); w = random.choice(vars_)
        return "%s, %s = %s, %s" % (v, w, num(), num())
    return "do local a = %s %s out(a) end" % (num(), block(d-1))
def block(d):
    return " ".join(stmt(d) for _ in range(random.randint(1, 3)))
print("local a, b, c, d = 1, 2, 3, 4")
print("local t = {1, 2, 3, 4}")
print("local function f(x) return x * 2 - 1 end")
print("local function out(x) print(x) end")
for i in range(60):
    print(stmt(3))
print("print(a, b, c, d, t[1], t[2], t[3], t[4])")
