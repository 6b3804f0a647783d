#!/usr/bin/python3
"""Drafting helper for the campaign layouts (run by hand, not by the build).

Each level below is a picture of its bottom layer on a coarse lattice (one character per
tile: '#' a tile, '.' none; a row starting with '>' is shifted right by half a tile) and a
list of rules that build the upper layers from the layer below. The script writes one
drawing per level (content/levels/level_NNN.txt); the drawings are the sources the build
converts, and may be edited by hand afterwards.

Usage: draft_layouts.py OUTDIR [TVTOOL]

With tvtool, each level is tried with wider and wider gaps in
its rows until the greedy solver ends enough deals.
"""
import subprocess
import sys

# Treasure copies dealt for the campaign level with index c (levels beaten): the layouts
# carry at least that many treasure candidates, so no ordinary position stays empty.
def treasure_copies(c):
    if c <= 3: return 2
    if c <= 12: return 4
    if c <= 17: return 4
    if c <= 22: return 6
    if c <= 29: return 6
    return 8


def parse_art(art):
    rows = [r for r in art.strip('\n').split('\n')]
    cells = set()
    h = len(rows)
    width = 0
    for j, row in enumerate(rows):
        shift = 0
        if row.startswith('>'):
            shift = 1
            row = row[1:]
        width = max(width, len(row) * 2 - 1 + shift)
        for i, ch in enumerate(row):
            if ch == '#':
                cells.add((2 * i + shift, 2 * j))
    return cells, width, h


def erode_x(s):
    return {(x, y) for (x, y) in s if (x - 2, y) in s and (x + 2, y) in s}


def erode(s):
    return {(x, y) for (x, y) in s if (x - 2, y) in s and (x + 2, y) in s and (x, y - 2) in s and (x, y + 2) in s}


def half(s):
    return {(x + 1, y + 1) for (x, y) in s if (x + 2, y) in s and (x, y + 2) in s and (x + 2, y + 2) in s}


def half_x(s):
    return {(x + 1, y) for (x, y) in s if (x + 2, y) in s}


def same(s):
    return set(s)


def inner_rows(s):
    ys = sorted({y for _, y in s})
    if len(ys) <= 2:
        return set(s)
    return {(x, y) for (x, y) in s if y != ys[0] and y != ys[-1]}


def centre(s):
    # The middle third of each row.
    out = set()
    for y in {y for _, y in s}:
        xs = sorted(x for x, yy in s if yy == y)
        k = len(xs) // 3
        out |= {(x, y) for x in xs[k:len(xs) - k]} if len(xs) >= 3 else set()
    return out


def columns(step):
    def rule(s):
        xs = sorted({x for x, _ in s})
        keep = set(xs[::step])
        return {(x, y) for (x, y) in s if x in keep}
    return rule


RULES = {'ex': erode_x, 'e': erode, 'h': half, 'hx': half_x, 's': same, 'ir': inner_rows,
         'c': centre, 'c2': columns(2), 'c3': columns(3)}


def cut_gaps(layers, period):
    """Cuts narrow vertical gaps through every layer at regular distances from the middle,
    so that long rows fall apart into short runs: short runs keep more tiles free and make
    deals easier."""
    if not period:
        return layers
    xs = sorted({x for x, _ in layers[0]})
    lo, hi = xs[0], xs[-1]
    columns = list(range(lo, hi + 1, 2))
    mid = (len(columns) - 1) / 2
    bands = [x for i, x in enumerate(columns) if int(abs(i - mid) + 0.25) % period == period // 2]
    out = []
    for layer in layers:
        kept = {(x, y) for (x, y) in layer if not any(x <= b + 1 and x + 1 >= b for b in bands)}
        if not kept:
            break
        out.append(kept)
    return out


def build(level, period=None):
    cells, width, height = parse_art(level['art'])
    ox = (36 - (width - 1)) // 2
    oy = (7 - height) if height <= 7 else 0
    base = {(x + ox, y + oy) for (x, y) in cells}
    layers = [base]
    for rule in level['rules']:
        nxt = RULES[rule](layers[-1])
        if not nxt:
            break
        layers.append(nxt)
    return cut_gaps(layers, period)


def count(layers):
    return sum(len(l) for l in layers)


def free(layers, l, x, y, standing):
    if l + 1 < len(layers):
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if (l + 1, x + dx, y + dy) in standing:
                    return False
    left = x <= 1 or all((l, x - 2, y + dy) not in standing for dy in (-1, 0, 1))
    right = x >= 36 or all((l, x + 2, y + dy) not in standing for dy in (-1, 0, 1))
    return left or right


def rounds(layers):
    standing = {(l, x, y) for l, s in enumerate(layers) for (x, y) in s}
    depth = {}
    r = 0
    while standing:
        freed = [p for p in standing if free(layers, *p, standing)]
        if not freed:
            break
        for p in freed:
            depth[p] = r
        standing -= set(freed)
        r += 1
    return depth


def choose_candidates(layers, k):
    depth = rounds(layers)
    pool = [p for p in depth if depth[p] >= 1]
    # Deepest first, then spread: each pick is as far as possible from those taken.
    pool.sort(key=lambda p: (-depth[p], p))
    chosen = []
    while len(chosen) < k and pool:
        if not chosen:
            best = pool[0]
        else:
            def spread(p):
                return min(abs(p[1] - q[1]) + abs(p[2] - q[2]) for q in chosen)
            best = max(pool, key=lambda p: (min(depth[p], 3), spread(p), -p[0]))
        chosen.append(best)
        pool.remove(best)
    return set(chosen)


def target_count(number):
    # From 48 positions on the first day to 200 on the last, in steps of two.
    return 48 + 2 * round((number - 1) * 76 / 49)


def trim(layers, target):
    """Takes positions away until the layout has target positions: from the top layer
    down, always a position with nothing above it, the one farthest from the middle first
    (its mirror image next), keeping at least two positions on every layer."""
    layers = [set(l) for l in layers]
    xs = [x for x, _ in layers[0]]
    ys = [y for _, y in layers[0]]
    cx = (min(xs) + max(xs)) / 2
    cy = (min(ys) + max(ys)) / 2

    def covered(l, x, y):
        if l + 1 >= len(layers):
            return False
        return any((x + dx, y + dy) in layers[l + 1] for dx in (-1, 0, 1) for dy in (-1, 0, 1))

    for l in range(len(layers) - 1, -1, -1):
        while count(layers) > target and len(layers[l]) > 2:
            open_ = [p for p in layers[l] if not covered(l, *p)]
            if not open_:
                break
            p = max(open_, key=lambda q: (abs(q[0] - cx) + 1.5 * abs(q[1] - cy), q[0] < cx, q[1]))
            layers[l].remove(p)
            mirror = (int(2 * cx - p[0]), p[1])
            if count(layers) > target and mirror in layers[l] and len(layers[l]) > 2 \
                    and not covered(l, *mirror):
                layers[l].remove(mirror)
        if count(layers) <= target:
            break
    return layers


def make_even(layers):
    if count(layers) % 2 == 0:
        return layers
    top = layers[-1]
    # Drop the top layer's last position, or take the whole top layer away when it is a
    # single tile.
    if len(top) == 1:
        return layers[:-1]
    layers = [set(l) for l in layers]
    layers[-1].remove(max(layers[-1]))
    return layers


def drawing(number, level, layers, candidates):
    lines = []
    lines.append('title: Level %02d: %s' % (number, level['name']))
    lines.append('description: %s' % level['desc'])
    lines.append('difficulty: %d' % level['difficulty'])
    for l, s in enumerate(layers):
        lines.append('layer %d' % l)
        grid = [['.'] * 38 for _ in range(16)]
        for (x, y) in s:
            grid[y][x] = 'T' if (l, x, y) in candidates else 'o'
        lines.extend(''.join(r) for r in grid)
    return '\n'.join(lines) + '\n'


from draft_levels import LEVELS  # noqa: E402


def wanted_share(number):
    # Share of deals the greedy player should end: generous early, firmer late.
    return 0.85 - 0.45 * (number - 1) / 49


def solve(tvtool, path, deals):
    result = subprocess.run([tvtool, 'levelsolve', '--greedy', str(deals), path],
                            capture_output=True, text=True, check=True).stdout
    return float(result.split('greedy ended ')[1].split('%')[0]) / 100


def main():
    out = sys.argv[1]
    tvtool = sys.argv[2] if len(sys.argv) > 2 else None
    for number, level in enumerate(LEVELS, start=1):
        path = '%s/level_%03d.txt' % (out, number)
        best = None
        periods = [level['gaps']] if 'gaps' in level else [None, 8, 6, 5, 4, 3]
        for period in periods:
            layers = make_even(trim(build(level, period), target_count(number)))
            cands = choose_candidates(layers, max(2, treasure_copies(number - 1)))
            text = drawing(number, level, layers, cands)
            with open(path, 'w') as f:
                f.write(text)
            share = solve(tvtool, path, 200) if tvtool else 1.0
            passed = share >= wanted_share(number)
            score = (passed, -abs(count(layers) - target_count(number)) if passed else share, share)
            if best is None or score > best[0]:
                best = (score, text, layers, cands, period, share)
            if share >= wanted_share(number) and count(layers) >= target_count(number) - 8:
                break
        _, text, layers, cands, period, share = best
        with open(path, 'w') as f:
            f.write(text)
        print('level_%03d %-22s %3d positions (target %3d) %d layers %d candidates gaps %s '
              'ended %.0f%% (wanted %.0f%%)' %
              (number, level['name'], count(layers), target_count(number), len(layers), len(cands),
               period, 100 * share, 100 * wanted_share(number)))


if __name__ == '__main__':
    main()
