"""Draws the pictures of free play's layout chooser and of the layout editor in the shop-sign
style of the menus (dark wood, gold trim, parchment):

- editor/bench.png (800 x 600): the editor's work bench, a green baize board between two
  wooden rails (the tool strips at the top, 0..64, and at the bottom, 532..600);
- editor/chooser.png (800 x 600): the chooser's desk, dark wood with a lighter inlay where
  the cards lie;
- editor/tool_up|over|down|on.png (96 x 30): the tool buttons; "on" is a switch pressed in;

each also at twice its size (editor/<name>_hd.png), for enlarged screens.

usage: editor.py STAGE_DIR STAMP"""

import os
import random
import sys

import cairo

import paint
from menus import DARK_WOOD, TRIM, WOOD, render, plank, trimmed, wood_fill
from paint import hexrgb, shade
from vector import rrect

BAIZE = hexrgb("#2f5a3c")


def baize(c, x, y, w, h, seed):
    """Green cloth: a soft light from above and a fine woven speckle."""
    g = cairo.RadialGradient(x + w / 2, y + h * 0.4, 40, x + w / 2, y + h / 2, max(w, h) * 0.7)
    g.add_color_stop_rgb(0, *shade(BAIZE, 1.18))
    g.add_color_stop_rgb(1, *shade(BAIZE, 0.62))
    c.rectangle(x, y, w, h)
    c.set_source(g)
    c.fill()
    rnd = random.Random(seed)
    for _ in range(int(w * h / 30)):
        px, py = x + rnd.random() * w, y + rnd.random() * h
        c.rectangle(px, py, 1, 1)
        c.set_source_rgba(1, 1, 1, 0.035) if rnd.random() < 0.5 else c.set_source_rgba(0, 0, 0, 0.05)
        c.fill()


def rail(c, y0, y1):
    c.rectangle(0, y0, 800, y1 - y0)
    wood_fill(c, 0, 800, WOOD, True, y0, y1)
    for y in (y0 + 1.5, y1 - 1.5):
        c.move_to(0, y)
        c.line_to(800, y)
        c.set_source_rgb(*shade(TRIM, 0.8))
        c.set_line_width(2)
        c.stroke()


def bench():
    def draw(c):
        baize(c, 0, 64, 800, 468, 7)
        # A thin gold line marks the board's edge, where the grid ends.
        rrect(c, 6, 68, 788, 460, 6)
        c.set_source_rgba(*shade(TRIM, 0.9), 0.55)
        c.set_line_width(1.2)
        c.stroke()
        rail(c, 0, 64)
        rail(c, 532, 600)
    return render(800, 600, draw, ss=1)


def chooser():
    def draw(c):
        c.rectangle(0, 0, 800, 600)
        wood_fill(c, 0, 800, DARK_WOOD, True, 0, 600)
        rrect(c, 18, 78, 764, 452, 10)
        wood_fill(c, 18, 782, shade(WOOD, 0.8), True, 78, 530)
        trimmed(c, TRIM, 2)
    return render(800, 600, draw, ss=1)


def main():
    paint.require_fonts()
    stage, stamp = sys.argv[1], sys.argv[2]
    os.makedirs(os.path.join(stage, "editor"), exist_ok=True)
    # Every picture also at twice its size (<name>_hd.png), for enlarged screens.
    pictures = paint.with_larger_versions(lambda: {
        "bench": bench(),
        "chooser": chooser(),
        # No nail heads: the longest words ("Layer Down", "New Layout") need the whole board.
        "tool_up": plank(96, 30, DARK_WOOD, TRIM, nails=False),
        "tool_over": plank(96, 30, DARK_WOOD, shade(TRIM, 1.35), glow=0.3, nails=False),
        "tool_down": plank(96, 30, shade(DARK_WOOD, 0.8), TRIM, pressed=True, nails=False),
        "tool_on": plank(96, 30, shade(DARK_WOOD, 0.6), shade(TRIM, 1.2), glow=0.25,
                         pressed=True, nails=False),
    })
    return paint.stage_pictures(stage, stamp, pictures, "editor")


if __name__ == "__main__":
    sys.exit(main())
