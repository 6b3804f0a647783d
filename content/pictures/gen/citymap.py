"""Draws the city map and its pieces in the game's shop-sign style:

- citymap/map.png (800 x 600): the town seen from above, a lane under the 50-day trail,
  the river, streets, houses and trees, a compass rose;
- buttons/map_button_up|over|down|disabled.png and buttons/map_auctionhouse_up|over|down.png
  (150 x 40): the location signs (the auction house's in red and gold);
- gfx/dot_brown.png, gfx/dot_brown_faded.png (14 x 14), gfx/dot_yellow_over.png (20 x 20):
  the day markers; gfx/diamond.png (28 x 26): an antique's rating;
- citymap/parchment.png (250 x 190): the note with the day and the days left;
- story/letter.png (560 x 470): the letter of the intro;

each also at twice its size (<name>_hd.png), for enlarged screens.

usage: citymap.py STAGE_DIR STAMP"""

import math
import os
import random
import sys

import cairo
from PIL import Image

import paint
from menus import DARK_WOOD, PARCHMENT, TRIM, WOOD, plank, render
from paint import hexrgb, shade
from vector import ellipse, rrect, star

TRAIL = [(129, 459), (102, 448), (76, 428), (57, 403), (48, 374), (47, 343), (62, 316),
         (147, 292), (174, 284), (194, 268), (206, 242), (211, 214), (222, 190), (250, 183),
         (348, 157), (361, 133), (380, 110), (407, 94), (439, 96), (467, 107), (488, 126),
         (532, 177), (521, 202), (522, 229), (541, 253), (571, 263), (602, 268), (633, 271),
         (701, 275), (712, 301), (699, 328), (674, 347), (641, 358), (608, 367), (577, 375),
         (505, 397), (475, 405), (445, 416), (414, 431), (378, 428), (347, 412), (326, 391),
         (345, 346), (374, 354), (404, 358), (432, 349), (454, 331), (466, 306), (458, 281),
         (441, 258)]


def smooth_path(c, pts):
    c.move_to(*pts[0])
    for i in range(1, len(pts)):
        p0 = pts[i - 2] if i >= 2 else pts[i - 1]
        p1, p2 = pts[i - 1], pts[i]
        p3 = pts[i + 1] if i + 1 < len(pts) else pts[i]
        c.curve_to(p1[0] + (p2[0] - p0[0]) / 6, p1[1] + (p2[1] - p0[1]) / 6,
                   p2[0] - (p3[0] - p1[0]) / 6, p2[1] - (p3[1] - p1[1]) / 6, p2[0], p2[1])


def house(c, x, y, w, h, roof):
    c.rectangle(x + 2, y + 2, w, h)
    c.set_source_rgba(0, 0, 0, 0.25)
    c.fill()
    c.rectangle(x, y, w, h)
    c.set_source_rgb(*hexrgb(roof))
    c.fill_preserve()
    c.set_source_rgb(*shade(hexrgb(roof), 0.55))
    c.set_line_width(1)
    c.stroke()
    # the ridge of the roof
    c.move_to(x + 2, y + h / 2)
    c.line_to(x + w - 2, y + h / 2)
    c.set_source_rgba(*shade(hexrgb(roof), 1.35), 0.8)
    c.set_line_width(1.2)
    c.stroke()


def tree(c, x, y, r):
    ellipse(c, x + 2, y + 2, r, r)
    c.set_source_rgba(0, 0, 0, 0.22)
    c.fill()
    ellipse(c, x, y, r, r)
    g = cairo.RadialGradient(x - r / 3, y - r / 3, 1, x, y, r)
    g.add_color_stop_rgb(0, *hexrgb("#7fae5a"))
    g.add_color_stop_rgb(1, *hexrgb("#3f6b2e"))
    c.set_source(g)
    c.fill()


def town_map():
    def draw(c):
        w, h = 800, 600
        g = cairo.RadialGradient(400, 300, 60, 400, 300, 560)
        g.add_color_stop_rgb(0, *hexrgb("#e9e0bf"))
        g.add_color_stop_rgb(1, *hexrgb("#c9b98a"))
        c.rectangle(0, 0, w, h)
        c.set_source(g)
        c.fill()
        # fields
        rnd = random.Random(7)
        for x, y, fw, fh, col in ((560, 20, 220, 110, "#cfd89a"), (20, 20, 190, 150, "#d8d49e"),
                                  (600, 430, 190, 150, "#cddc9c"), (190, 470, 150, 110, "#d9cf98")):
            rrect(c, x, y, fw, fh, 10)
            c.set_source_rgba(*hexrgb(col), 0.8)
            c.fill()
            for k in range(int(fh / 9)):
                c.move_to(x + 6, y + 6 + k * 9)
                c.line_to(x + fw - 6, y + 6 + k * 9)
            c.set_source_rgba(0.35, 0.4, 0.15, 0.18)
            c.set_line_width(1)
            c.stroke()
        # the river
        c.move_to(0, 80)
        c.curve_to(120, 60, 180, 130, 300, 110)
        c.curve_to(420, 90, 460, 30, 560, 20)
        c.curve_to(640, 10, 700, 0, 800, 0)
        c.set_source_rgb(*hexrgb("#7fb0c8"))
        c.set_line_width(26)
        c.stroke_preserve()
        c.set_source_rgba(1, 1, 1, 0.25)
        c.set_line_width(6)
        c.stroke()
        # streets
        for pts in (((0, 520), (300, 500), (800, 520)), ((300, 0), (290, 300), (310, 600)),
                    ((0, 300), (400, 280), (800, 240)), ((600, 0), (620, 300), (600, 600))):
            c.move_to(*pts[0])
            c.curve_to(*pts[1], *pts[1], *pts[2])
            c.set_source_rgb(*hexrgb("#b8a57a"))
            c.set_line_width(16)
            c.stroke_preserve()
            c.set_source_rgb(*hexrgb("#ddd0a8"))
            c.set_line_width(12)
            c.stroke()
        # houses and trees in blocks between the streets
        roofs = ["#b5523b", "#8e3b2a", "#6b7b8c", "#a0643a", "#7a5a8c"]
        for _ in range(70):
            x, y = rnd.uniform(20, 770), rnd.uniform(130, 580)
            if any(math.hypot(x - px, y - py) < 26 for px, py in TRAIL):
                continue
            if rnd.random() < 0.55:
                house(c, x, y, rnd.choice((14, 18, 22)), rnd.choice((12, 14, 16)), rnd.choice(roofs))
            else:
                tree(c, x, y, rnd.uniform(5, 9))
        # the lane the days follow
        smooth_path(c, TRAIL)
        c.set_source_rgba(*hexrgb("#8a6a3a"), 0.55)
        c.set_line_width(14)
        c.stroke()
        smooth_path(c, TRAIL)
        c.set_source_rgba(*hexrgb("#efe3bf"), 0.9)
        c.set_line_width(9)
        c.stroke()
        # compass rose
        cx, cy = 740, 70
        ellipse(c, cx, cy, 34, 34)
        c.set_source_rgba(*PARCHMENT, 0.9)
        c.fill_preserve()
        c.set_source_rgb(*shade(TRIM, 0.5))
        c.set_line_width(1.5)
        c.stroke()
        star(c, cx, cy, 30, 7, n=4)
        c.set_source_rgb(*DARK_WOOD)
        c.fill()
        star(c, cx, cy, 18, 5, n=4, rot=-math.pi / 4)
        c.set_source_rgb(*TRIM)
        c.fill()
        c.select_font_face("EB Garamond", cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
        c.set_font_size(14)
        c.move_to(cx - 5, cy - 36)
        c.set_source_rgb(*DARK_WOOD)
        c.show_text("N")
        # an old map's border
        c.rectangle(6, 6, w - 12, h - 12)
        c.set_source_rgb(*shade(TRIM, 0.45))
        c.set_line_width(3)
        c.stroke()
        c.rectangle(12, 12, w - 24, h - 24)
        c.set_line_width(1)
        c.stroke()
        g = cairo.RadialGradient(400, 300, 280, 400, 300, 560)
        g.add_color_stop_rgba(0, 0, 0, 0, 0)
        g.add_color_stop_rgba(1, 0.3, 0.18, 0.05, 0.35)
        c.rectangle(0, 0, w, h)
        c.set_source(g)
        c.fill()
    return render(800, 600, draw, ss=2).convert("RGB")


def dot(size, colour, alpha, ring):
    def draw(c):
        r = size / 2 - 1
        ellipse(c, size / 2, size / 2, r, r)
        c.set_source_rgba(*hexrgb(colour), alpha)
        c.fill_preserve()
        c.set_source_rgba(*hexrgb(ring), alpha)
        c.set_line_width(1.5)
        c.stroke()
        ellipse(c, size / 2 - r / 3, size / 2 - r / 3, r / 3, r / 3)
        c.set_source_rgba(1, 1, 1, 0.35 * alpha)
        c.fill()
    return render(size, size, draw)


def diamond():
    """A cut gem, the mark of an antique's worth."""
    def draw(c):
        c.move_to(4, 9)
        c.line_to(9, 3)
        c.line_to(19, 3)
        c.line_to(24, 9)
        c.line_to(14, 24)
        c.close_path()
        g = cairo.LinearGradient(0, 3, 28, 24)
        g.add_color_stop_rgb(0, *hexrgb("#e8fbff"))
        g.add_color_stop_rgb(0.5, *hexrgb("#7fd3f0"))
        g.add_color_stop_rgb(1, *hexrgb("#2a7fb0"))
        c.set_source(g)
        c.fill_preserve()
        c.set_source_rgb(*hexrgb("#1d4f6e"))
        c.set_line_width(1.2)
        c.stroke()
        c.move_to(4, 9)
        c.line_to(24, 9)
        c.move_to(9, 3)
        c.line_to(14, 9)
        c.line_to(19, 3)
        c.move_to(14, 9)
        c.line_to(14, 24)
        c.set_source_rgba(1, 1, 1, 0.6)
        c.set_line_width(0.8)
        c.stroke()
    return render(28, 26, draw)


def disabled_sign():
    im = plank(150, 40, shade(WOOD, 0.9), shade(TRIM, 0.8))
    grey = im.convert("LA").convert("RGBA")
    grey.putalpha(im.getchannel("A").point(lambda a: int(a * 0.75)))
    return grey


def note(w, h):
    def draw(c):
        c.move_to(8, 10)
        c.line_to(w - 6, 4)
        c.line_to(w - 10, h - 8)
        c.line_to(4, h - 4)
        c.close_path()
        g = cairo.LinearGradient(0, 0, w, h)
        g.add_color_stop_rgb(0, *PARCHMENT)
        g.add_color_stop_rgb(1, *shade(PARCHMENT, 0.86))
        c.set_source(g)
        c.fill_preserve()
        c.set_source_rgb(*shade(TRIM, 0.5))
        c.set_line_width(1.5)
        c.stroke()
        ellipse(c, w / 2, 16, 6, 6)
        c.set_source_rgb(*hexrgb("#a0261c"))
        c.fill()
    return render(w, h, draw)


def pieces():
    """The map and its pieces, at the current picture scale."""
    red = hexrgb("#7a2418")
    gold = hexrgb("#e0b540")
    return {
        "citymap/map": town_map(),
        "citymap/parchment": note(250, 190),
        "story/letter": note(560, 470),
        "buttons/map_button_up": plank(150, 40, WOOD, TRIM),
        "buttons/map_button_over": plank(150, 40, WOOD, shade(TRIM, 1.35), glow=0.35),
        "buttons/map_button_down": plank(150, 40, shade(WOOD, 0.8), TRIM, pressed=True),
        "buttons/map_button_disabled": disabled_sign(),
        "buttons/map_auctionhouse_up": plank(150, 40, red, gold),
        "buttons/map_auctionhouse_over": plank(150, 40, red, shade(gold, 1.3), glow=0.35),
        "buttons/map_auctionhouse_down": plank(150, 40, shade(red, 0.8), gold, pressed=True),
        "gfx/dot_brown": dot(14, "#6b3a1e", 1.0, "#2a1208"),
        "gfx/dot_brown_faded": dot(14, "#8a6a4a", 0.45, "#4a3a2a"),
        "gfx/dot_yellow_over": dot(20, "#f2c94c", 1.0, "#7a4a10"),
        "gfx/diamond": diamond(),
    }


def main():
    paint.require_fonts()
    stage, stamp = sys.argv[1], sys.argv[2]
    for folder in ("citymap", "buttons", "gfx", "story"):
        os.makedirs(os.path.join(stage, folder), exist_ok=True)
    # Every picture also at twice its size (<name>_hd.png), for enlarged screens.
    return paint.stage_pictures(stage, stamp, paint.with_larger_versions(pieces))


if __name__ == "__main__":
    sys.exit(main())
