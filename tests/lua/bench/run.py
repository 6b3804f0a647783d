#!/usr/bin/env python3
"""Times the classic programs of this folder under lua50 and the reference interpreters.

Each program runs --runs times under lua50 and every reference interpreter that is
installed (Debian's lua5.1, lua5.4 and LuaJIT with its compiler off, `luajit -joff`). The
best CPU time (user + system) of the runs counts, with the peak resident memory of that
run (both measured by GNU time, /usr/bin/time). lua50's output must equal lua5.1's, or for programs that use this dialect's own
features the `<name>.expected` file beside the program; a difference is reported and
makes the exit status 1. The table shows lua50's time against each reference and its
memory against lua5.4's, then the geometric means and the machine's load before and
after the run (the figures are only comparable within one run).

Usage: tests/lua/bench/run.py [--lua50 PATH] [--runs N] [PROGRAM ...]
"""

import argparse
import math
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_LUA50 = os.path.normpath(os.path.join(HERE, "..", "..", "..", "build", "bin", "lua50"))
REFERENCES = [("lua5.1", ["lua5.1"]), ("lua5.4", ["lua5.4"]), ("jit-off", ["luajit", "-joff"])]
CHECKED_AGAINST = "lua5.1"
MEMORY_AGAINST = "lua5.4"


class Measure:
    """One run of one interpreter: its output, CPU seconds, peak KB and exit code."""

    def __init__(self, output, cpu, peak_kb, code):
        self.output, self.cpu, self.peak_kb, self.code = output, cpu, peak_kb, code


def run_once(command, program, scratch):
    """Runs the program under GNU time, which reports the interpreter's own CPU time and
    peak memory (a child forked from this runner would count the runner's memory too)."""
    usage = scratch + ".usage"
    timer = ["/usr/bin/time", "-f", "%U %S %M", "-o", usage]
    with open(scratch, "wb") as out:
        code = subprocess.call(timer + command + [program], cwd=HERE, stdout=out,
                               stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
    with open(scratch, "rb") as f:
        output = f.read()
    with open(usage) as f:
        fields = f.read().split()[-3:]  # a failing program adds a line before them
    user, system, peak = float(fields[0]), float(fields[1]), int(fields[2])
    return Measure(output, user + system, peak, code)


def best_of(command, program, runs, scratch):
    best = None
    for _ in range(runs):
        m = run_once(command, program, scratch)
        if best is None or m.cpu < best.cpu:
            best = m
    return best


def geomean(values):
    values = [v for v in values if v and v > 0]
    return math.exp(sum(math.log(v) for v in values) / len(values)) if values else None


def ratio(a, b):
    return a / b if a and b else None


def cell(value, fmt):
    """The value in fmt, or "-" as wide as fmt's field."""
    if value is not None:
        return fmt % value
    return "-".rjust(int(fmt[1:].split(".")[0].rstrip("df")))


def load_average():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--lua50", default=DEFAULT_LUA50)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("programs", nargs="*", help="names without .lua (default: all)")
    args = parser.parse_args()
    if not os.access(args.lua50, os.X_OK):
        sys.exit("lua50 not found at %s (build it first: make build)" % args.lua50)
    if not os.access("/usr/bin/time", os.X_OK):
        sys.exit("the runner measures with GNU time: apt-get install time")
    names = args.programs or sorted(f[:-4] for f in os.listdir(HERE) if f.endswith(".lua"))
    refs = [(label, cmd) for label, cmd in REFERENCES if shutil.which(cmd[0])]
    missing = [label for label, cmd in REFERENCES if not shutil.which(cmd[0])]

    print("load average at start: %s; best of %d runs; CPU seconds (user + system)"
          % (load_average(), args.runs))
    if missing:
        print("not installed (skipped): %s" % ", ".join(missing))
    labels = [label for label, _ in refs]
    header = ["program", "lua50"] + labels + ["/" + l for l in labels] + ["KB50", "KB5.4", "mem"]
    widths = [13, 7] + [8] * len(labels) + [7] * len(labels) + [8, 8, 5]
    print(" ".join(h.rjust(w) if i else h.ljust(w) for i, (h, w) in enumerate(zip(header, widths))))

    failed = False
    ratios = {label: [] for label in labels}
    memratios = []
    with tempfile.TemporaryDirectory() as tmp:
        scratch = os.path.join(tmp, "out")
        for name in names:
            program = name + ".lua"
            ours = best_of([args.lua50], program, args.runs, scratch)
            expected_file = os.path.join(HERE, name + ".expected")
            dialect_only = os.path.exists(expected_file)
            theirs = {}
            if not dialect_only:
                for label, cmd in refs:
                    theirs[label] = best_of(cmd, program, args.runs, scratch)
            # The reference output: the stored one, or lua5.1's.
            expected = None
            if dialect_only:
                with open(expected_file, "rb") as f:
                    expected = f.read()
            elif CHECKED_AGAINST in theirs:
                expected = theirs[CHECKED_AGAINST].output
            if ours.code != 0 or (expected is not None and ours.output != expected):
                failed = True
                print("%s: OUTPUT DIFFERS (exit %d)\n  lua50: %r\n  expected: %r"
                      % (name, ours.code, ours.output[:200], (expected or b"")[:200]))
            row = [name.ljust(widths[0]), cell(ours.cpu, "%7.2f")]
            row += [cell(theirs[l].cpu if l in theirs else None, "%8.2f") for l in labels]
            for label in labels:
                r = ratio(ours.cpu, theirs[label].cpu) if label in theirs else None
                if r:
                    ratios[label].append(r)
                row.append(cell(r, "%7.2f"))
            ref_mem = theirs[MEMORY_AGAINST].peak_kb if MEMORY_AGAINST in theirs else None
            mem = ratio(ours.peak_kb, ref_mem)
            if mem:
                memratios.append(mem)
            row += [cell(ours.peak_kb, "%8d"), cell(ref_mem, "%8d"), cell(mem, "%5.2f")]
            print(" ".join(row))
            sys.stdout.flush()

    summary = ["geometric mean of the time ratios:"]
    for label in labels:
        g = geomean(ratios[label])
        if g:
            worst = max(ratios[label])
            summary.append("%s %.2f (worst %.2f)" % (label, g, worst))
    print("  ".join(summary))
    if memratios:
        print("memory against %s: worst %.2f" % (MEMORY_AGAINST, max(memratios)))
    print("load average at end: %s" % load_average())
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
