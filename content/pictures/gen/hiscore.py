"""Draws the pictures of the high-score screens under hiscore/: the screen's board (a
parchment sheet in a carved wooden frame), the smaller board of the submit dialog and the
information pop-up, wooden buttons in three states, arrow buttons (left, right, up, down) in three
states, a check box, the edit-box field and the account badge shown beside world scores of players with
an account.

usage: hiscore.py STAGE_DIR STAMP"""

import os
import sys

import cairo

import paint
from paint import hexrgb, shade
from signs import render
from vector import rrect, star

WOOD = hexrgb("#7a4a22")
PARCHMENT = hexrgb("#f3e3bd")
INK = hexrgb("#3b1f08")
GOLD = hexrgb("#d4a437")

BOARD = (720, 540)
SMALL_BOARD = (460, 340)
BUTTON = (150, 40)
ARROW = (36, 36)
FIELD = (240, 30)
BADGE = (22, 22)
CHECK = (240, 28)


def wood_fill(c, x0, y0, x1, y1, col, light=1.25, dark=0.7):
    g = cairo.LinearGradient(x0, y0, x1, y1)
    g.add_color_stop_rgb(0.0, *shade(col, light))
    g.add_color_stop_rgb(0.5, *col)
    g.add_color_stop_rgb(1.0, *shade(col, dark))
    c.set_source(g)


def board(size):
    w, h = size

    def draw(c):
        # Carved frame, then the sheet with a faint darker edge and a gilt inner line.
        rrect(c, 1, 1, w - 2, h - 2, 18)
        wood_fill(c, 0, 0, 0, h, WOOD)
        c.fill_preserve()
        c.set_source_rgb(*shade(WOOD, 0.45))
        c.set_line_width(2)
        c.stroke()
        rrect(c, 16, 16, w - 32, h - 32, 10)
        g = cairo.RadialGradient(w / 2, h / 2, min(w, h) * 0.2, w / 2, h / 2, max(w, h) * 0.7)
        g.add_color_stop_rgb(0, *PARCHMENT)
        g.add_color_stop_rgb(1, *shade(PARCHMENT, 0.86))
        c.set_source(g)
        c.fill()
        rrect(c, 24, 24, w - 48, h - 48, 7)
        c.set_source_rgba(*GOLD, 0.8)
        c.set_line_width(1.5)
        c.stroke()
        # Brass studs in the frame's corners.
        for x, y in ((9, 9), (w - 9, 9), (9, h - 9), (w - 9, h - 9)):
            c.arc(x, y, 4, 0, 6.2832)
            c.set_source_rgb(*GOLD)
            c.fill()

    return render(w, h, draw)


def button(size, col, pressed=False):
    w, h = size

    def draw(c):
        rrect(c, 1, 1, w - 2, h - 2, 9)
        wood_fill(c, 0, 0, 0, h, col, light=0.8 if pressed else 1.3, dark=1.15 if pressed else 0.7)
        c.fill_preserve()
        c.set_source_rgb(*shade(col, 0.4))
        c.set_line_width(2)
        c.stroke()
        rrect(c, 4, 4, w - 8, h - 8, 6)
        c.set_source_rgba(*GOLD, 0.7)
        c.set_line_width(1)
        c.stroke()

    return render(w, h, draw)


# The arrow's turn from pointing right, in quarter turns (clockwise on screen).
TURNS = {"right": 0, "down": 1, "left": 2, "up": 3}


def arrow(size, col, side, pressed=False):
    w, h = size

    def draw(c):
        c.arc(w / 2, h / 2, w / 2 - 1.5, 0, 6.2832)
        wood_fill(c, 0, 0, 0, h, col, light=0.8 if pressed else 1.3, dark=1.15 if pressed else 0.7)
        c.fill_preserve()
        c.set_source_rgb(*shade(col, 0.4))
        c.set_line_width(2)
        c.stroke()
        c.save()
        c.translate(w / 2, h / 2)
        c.rotate(TURNS[side] * 1.5708)
        c.move_to(w * 0.22, 0)
        c.line_to(-w * 0.14, -h * 0.24)
        c.line_to(-w * 0.14, h * 0.24)
        c.close_path()
        c.restore()
        c.set_source_rgb(*PARCHMENT)
        c.fill()

    return render(w, h, draw)


def field(size):
    w, h = size

    def draw(c):
        rrect(c, 1, 1, w - 2, h - 2, 5)
        c.set_source_rgb(*shade(PARCHMENT, 1.06))
        c.fill_preserve()
        c.set_source_rgb(*shade(WOOD, 0.8))
        c.set_line_width(1.5)
        c.stroke()

    return render(w, h, draw)


def check(size, on, over):
    """A check box at the left of a wide see-through strip that also holds the caption."""
    w, h = size

    def draw(c):
        rrect(c, 2, 3, h - 6, h - 6, 4)
        c.set_source_rgb(*shade(PARCHMENT, 1.06 if not over else 1.1))
        c.fill_preserve()
        c.set_source_rgb(*shade(WOOD, 0.8 if not over else 1.1))
        c.set_line_width(1.8)
        c.stroke()
        if on:
            c.move_to(6, h / 2)
            c.line_to(h / 2 - 2, h - 8)
            c.line_to(h - 6, 6)
            c.set_source_rgb(*shade(hexrgb("#7a1f12"), 1.0))
            c.set_line_width(3)
            c.stroke()

    return render(w, h, draw)


def badge(size):
    w, h = size

    def draw(c):
        c.arc(w / 2, h / 2, w / 2 - 1, 0, 6.2832)
        c.set_source_rgb(*shade(GOLD, 0.75))
        c.fill()
        star(c, w / 2, h / 2 + 0.5, w * 0.36, w * 0.15)
        c.set_source_rgb(*PARCHMENT)
        c.fill()

    return render(w, h, draw)


def pieces():
    over = hexrgb("#a0622a")
    pictures = {
        "board": board(BOARD),
        "board_small": board(SMALL_BOARD),
        "button_normal": button(BUTTON, WOOD),
        "button_pressed": button(BUTTON, WOOD, pressed=True),
        "button_over": button(BUTTON, over),
        "field": field(FIELD),
        "account": badge(BADGE),
        "check_off": check(CHECK, False, False),
        "check_on": check(CHECK, True, False),
        "check_off_over": check(CHECK, False, True),
        "check_on_over": check(CHECK, True, True),
    }
    for side in TURNS:
        pictures["arrow_%s_normal" % side] = arrow(ARROW, WOOD, side)
        pictures["arrow_%s_pressed" % side] = arrow(ARROW, WOOD, side, pressed=True)
        pictures["arrow_%s_over" % side] = arrow(ARROW, over, side)
    return pictures


def main():
    stage, stamp = sys.argv[1], sys.argv[2]
    os.makedirs(os.path.join(stage, "hiscore"), exist_ok=True)
    # Also at twice their size (<name>_hd.png), for enlarged screens.
    return paint.stage_pictures(stage, stamp, paint.with_larger_versions(pieces), "hiscore")


if __name__ == "__main__":
    sys.exit(main())
