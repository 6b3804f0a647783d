#!/usr/bin/python3
# Writes data/blowfish_tables.cpp: the initial Blowfish P-array and S-boxes, which are the
# hexadecimal digits of pi after the point. Run from the repository root:
#   /usr/bin/python3 tools/generators/blowfish_tables.py
# Fractional hex digits of pi with Machin's formula, integer arithmetic only.
def arctan_inv(x, one):
    total = term = one // x
    x2 = x * x
    n = 1
    sign = -1
    while term:
        term //= x2
        n += 2
        total += sign * (term // n)
        sign = -sign
    return total
words = 18 + 4 * 256
bits = words * 32 + 64
one = 1 << bits
pi = 4 * (4 * arctan_inv(5, one) - arctan_inv(239, one))
frac = pi - 3 * one
frac >>= 64
out = []
for i in range(words):
    out.append((frac >> (bits - 64 - 32 * (i + 1))) & 0xFFFFFFFF)

lines = []
lines.append("// Generated: the fractional part of pi in hexadecimal, 32 bits per word, in order:")
lines.append("// the first 18 words initialise the P-array, the next 4 x 256 the S-boxes.")
lines.append('#include "data/blowfish_tables.h"')
lines.append("")
def emit(name, vals):
    lines.append("const uint32_t %s = {" % name)
    for k in range(0, len(vals), 6):
        lines.append("    " + " ".join("0x%08x," % v for v in vals[k:k+6]))
    lines.append("};")
emit("kBlowfishInitialP[18]", out[:18])
lines.append("")
lines.append("const uint32_t kBlowfishInitialS[4][256] = {")
for b in range(4):
    vals = out[18 + 256*b: 18 + 256*(b+1)]
    lines.append("    {")
    for k in range(0, 256, 6):
        lines.append("        " + " ".join("0x%08x," % v for v in vals[k:k+6]))
    lines.append("    },")
lines.append("};")
open("data/blowfish_tables.cpp", "w").write("\n".join(lines) + "\n")
