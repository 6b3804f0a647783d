"""Draws the pictures of the end-of-level and appraisal screens in the shop-sign style:

- gfx/appraiser_gent.png, gfx/appraiser_lady.png (150 x 190): the two appraisers, painted
  busts in gilt oval frames;
- endlevel/tile_antique.png, endlevel/tile_common.png (164 x 212): the large tile that
  carries a won face (gilt edge for antiques, plain ivory for the rest);
- endlevel/valuetag.png (210 x 70): the brass plate the treasure's value is written on;
- endlevel/scoreboard.png (300 x 214): the wooden board of the five score lines;
- gfx/nametag.png (150 x 34): the appraiser's name tag;

each also at twice its size (<name>_hd.png), for enlarged screens.

usage: appraisers.py STAGE_DIR STAMP"""

import os
import sys

import cairo

import paint
from menus import DARK_WOOD, PARCHMENT, TRIM, WOOD, render, trimmed, wood_fill
from paint import hexrgb, shade
from vector import ellipse, rrect

SKIN = hexrgb("#f0c9a4")
SKIN_SHADOW = hexrgb("#d9a27c")


def fill(c, rgb, alpha=1.0):
    c.set_source_rgba(*rgb, alpha)
    c.fill()


def outline(c, rgb, width):
    c.set_source_rgb(*rgb)
    c.set_line_width(width)
    c.stroke()


def oval_frame(c, w, h, backdrop):
    """A gilt oval with a dark backdrop; leaves the clip inside the oval."""
    ellipse(c, w / 2, h / 2, w / 2 - 2, h / 2 - 2)
    g = cairo.LinearGradient(0, 0, w, h)
    g.add_color_stop_rgb(0, *shade(TRIM, 1.4))
    g.add_color_stop_rgb(0.5, *TRIM)
    g.add_color_stop_rgb(1, *shade(TRIM, 0.6))
    c.set_source(g)
    c.fill()
    ellipse(c, w / 2, h / 2, w / 2 - 12, h / 2 - 12)
    g = cairo.RadialGradient(w / 2, h * 0.4, 10, w / 2, h / 2, h / 2)
    g.add_color_stop_rgb(0, *shade(backdrop, 1.5))
    g.add_color_stop_rgb(1, *shade(backdrop, 0.7))
    c.set_source(g)
    c.fill_preserve()
    c.clip()


def shoulders(c, w, h, coat):
    c.move_to(w * 0.08, h)
    c.curve_to(w * 0.1, h * 0.78, w * 0.25, h * 0.72, w * 0.5, h * 0.71)
    c.curve_to(w * 0.75, h * 0.72, w * 0.9, h * 0.78, w * 0.92, h)
    c.close_path()
    g = cairo.LinearGradient(0, h * 0.7, 0, h)
    g.add_color_stop_rgb(0, *shade(coat, 1.2))
    g.add_color_stop_rgb(1, *shade(coat, 0.75))
    c.set_source(g)
    c.fill()


def head(c, cx, cy, rx, ry):
    # Neck, ears, then the face with a soft shadow on one side.
    rrect(c, cx - rx * 0.42, cy + ry * 0.6, rx * 0.84, ry * 0.75, 6)
    fill(c, SKIN_SHADOW)
    for side in (-1, 1):
        ellipse(c, cx + side * rx * 0.98, cy + ry * 0.05, rx * 0.16, ry * 0.2)
        fill(c, SKIN_SHADOW)
    ellipse(c, cx, cy, rx, ry)
    g = cairo.RadialGradient(cx - rx * 0.3, cy - ry * 0.3, 4, cx, cy, rx * 1.2)
    g.add_color_stop_rgb(0, *shade(SKIN, 1.06))
    g.add_color_stop_rgb(1, *SKIN_SHADOW)
    c.set_source(g)
    c.fill()


def face_features(c, cx, cy, rx, ry, lashes=False):
    for side in (-1, 1):
        ex = cx + side * rx * 0.38
        ellipse(c, ex, cy - ry * 0.05, rx * 0.13, ry * 0.08)
        fill(c, hexrgb("#ffffff"))
        ellipse(c, ex, cy - ry * 0.04, rx * 0.07, ry * 0.07)
        fill(c, hexrgb("#3a2a1e"))
        c.move_to(ex - rx * 0.18, cy - ry * 0.22 + (0 if side < 0 else 0))
        c.curve_to(ex - rx * 0.06, cy - ry * 0.3, ex + rx * 0.08, cy - ry * 0.3,
                   ex + rx * 0.18, cy - ry * 0.22)
        outline(c, hexrgb("#5a3a22"), 2.2 if not lashes else 1.6)
        if lashes:
            c.move_to(ex + side * rx * 0.13, cy - ry * 0.08)
            c.line_to(ex + side * rx * 0.2, cy - ry * 0.13)
            outline(c, hexrgb("#3a2a1e"), 1.2)
    # Nose and cheeks.
    c.move_to(cx, cy)
    c.curve_to(cx - rx * 0.08, cy + ry * 0.2, cx - rx * 0.1, cy + ry * 0.26, cx + rx * 0.05,
               cy + ry * 0.28)
    outline(c, SKIN_SHADOW, 2)
    for side in (-1, 1):
        ellipse(c, cx + side * rx * 0.5, cy + ry * 0.3, rx * 0.15, ry * 0.08)
        fill(c, hexrgb("#e89a8a"), 0.45)


def gentleman():
    w, h = 150, 190

    def draw(c):
        oval_frame(c, w, h, hexrgb("#2f4a3a"))
        coat = hexrgb("#6b4a2e")  # tweed
        shoulders(c, w, h, coat)
        # Shirt collar and lapels.
        c.move_to(w * 0.38, h * 0.72)
        c.line_to(w * 0.5, h * 0.9)
        c.line_to(w * 0.62, h * 0.72)
        c.close_path()
        fill(c, hexrgb("#f4f0e6"))
        for side in (-1, 1):
            c.move_to(w * 0.5 + side * w * 0.13, h * 0.72)
            c.line_to(w * 0.5 + side * w * 0.03, h * 0.92)
            c.line_to(w * 0.5 + side * w * 0.24, h)
            c.line_to(w * 0.5 + side * w * 0.3, h * 0.76)
            c.close_path()
            fill(c, shade(coat, 0.7))
        # Bow tie.
        for side in (-1, 1):
            c.move_to(w * 0.5, h * 0.76)
            c.line_to(w * 0.5 + side * 14, h * 0.73)
            c.line_to(w * 0.5 + side * 14, h * 0.8)
            c.close_path()
            fill(c, hexrgb("#8c1c22"))
        ellipse(c, w * 0.5, h * 0.765, 3.5, 3.5)
        fill(c, hexrgb("#6a1016"))
        cx, cy, rx, ry = w * 0.5, h * 0.43, 34, 42
        head(c, cx, cy, rx, ry)
        # Bald crown with grey hair at the sides.
        for side in (-1, 1):
            c.move_to(cx + side * rx * 0.95, cy + ry * 0.05)
            c.curve_to(cx + side * rx * 1.12, cy - ry * 0.5, cx + side * rx * 0.75,
                       cy - ry * 0.8, cx + side * rx * 0.45, cy - ry * 0.78)
            c.curve_to(cx + side * rx * 0.8, cy - ry * 0.45, cx + side * rx * 0.85,
                       cy - ry * 0.2, cx + side * rx * 0.8, cy + ry * 0.1)
            c.close_path()
            fill(c, hexrgb("#c8c4bc"))
        ellipse(c, cx - rx * 0.3, cy - ry * 0.65, rx * 0.25, ry * 0.1)
        fill(c, hexrgb("#ffffff"), 0.35)
        face_features(c, cx, cy, rx, ry)
        # Moustache and a small smile.
        for side in (-1, 1):
            c.move_to(cx, cy + ry * 0.36)
            c.curve_to(cx + side * rx * 0.2, cy + ry * 0.3, cx + side * rx * 0.5, cy + ry * 0.34,
                       cx + side * rx * 0.58, cy + ry * 0.5)
            c.curve_to(cx + side * rx * 0.4, cy + ry * 0.46, cx + side * rx * 0.2, cy + ry * 0.5,
                       cx, cy + ry * 0.45)
            c.close_path()
            fill(c, hexrgb("#b8b2a8"))
        c.move_to(cx - rx * 0.2, cy + ry * 0.6)
        c.curve_to(cx - rx * 0.1, cy + ry * 0.66, cx + rx * 0.1, cy + ry * 0.66, cx + rx * 0.2,
                   cy + ry * 0.6)
        outline(c, hexrgb("#9a4a3a"), 1.8)
        # Monocle on the right eye, its chain down to the coat.
        ex, ey = cx + rx * 0.38, cy - ry * 0.05
        ellipse(c, ex, ey, 12, 12)
        fill(c, hexrgb("#ffffff"), 0.25)
        ellipse(c, ex, ey, 12, 12)
        outline(c, shade(TRIM, 1.2), 2.2)
        c.move_to(ex + 10, ey + 7)
        c.curve_to(ex + 22, ey + 40, ex + 8, ey + 70, ex + 14, h * 0.85)
        c.set_dash([2, 2])
        outline(c, shade(TRIM, 1.1), 1.2)
        c.set_dash([])

    return render(w, h, draw)


def lady():
    w, h = 150, 190

    def draw(c):
        oval_frame(c, w, h, hexrgb("#4a2a3e"))
        cx, cy, rx, ry = w * 0.5, h * 0.44, 31, 40
        hair = hexrgb("#9a9590")
        # Hair behind the head and the bun on top.
        ellipse(c, cx, cy - ry * 0.1, rx * 1.25, ry * 1.05)
        fill(c, shade(hair, 0.85))
        ellipse(c, cx, cy - ry * 1.05, rx * 0.55, ry * 0.38)
        fill(c, hair)
        dress = hexrgb("#6a2a5a")
        shoulders(c, w, h, dress)
        # Lace collar.
        c.move_to(w * 0.36, h * 0.73)
        c.curve_to(w * 0.42, h * 0.82, w * 0.58, h * 0.82, w * 0.64, h * 0.73)
        outline(c, hexrgb("#f4eee2"), 4)
        head(c, cx, cy, rx, ry)
        # Fringe swept to the side.
        c.move_to(cx - rx * 1.0, cy - ry * 0.05)
        c.curve_to(cx - rx * 1.0, cy - ry * 0.9, cx + rx * 0.6, cy - ry * 1.15, cx + rx * 1.0,
                   cy - ry * 0.2)
        c.curve_to(cx + rx * 0.6, cy - ry * 0.65, cx - rx * 0.2, cy - ry * 0.7, cx - rx * 0.75,
                   cy - ry * 0.15)
        c.close_path()
        fill(c, hair)
        c.move_to(cx - rx * 0.5, cy - ry * 0.72)
        c.curve_to(cx - rx * 0.1, cy - ry * 0.85, cx + rx * 0.3, cy - ry * 0.8, cx + rx * 0.6,
                   cy - ry * 0.55)
        outline(c, shade(hair, 1.25), 1.4)
        face_features(c, cx, cy, rx, ry, lashes=True)
        # Half-moon glasses on a chain, and a smile.
        for side in (-1, 1):
            ex, ey = cx + side * rx * 0.38, cy - ry * 0.02
            c.move_to(ex - 10, ey)
            c.curve_to(ex - 9, ey + 11, ex + 9, ey + 11, ex + 10, ey)
            c.close_path()
            fill(c, hexrgb("#ffffff"), 0.2)
            c.move_to(ex - 10, ey)
            c.curve_to(ex - 9, ey + 11, ex + 9, ey + 11, ex + 10, ey)
            c.close_path()
            outline(c, shade(TRIM, 0.9), 1.6)
        c.move_to(cx - 3, cy)
        c.line_to(cx + 3, cy)
        outline(c, shade(TRIM, 0.9), 1.4)
        c.move_to(cx - rx * 0.25, cy + ry * 0.55)
        c.curve_to(cx - rx * 0.1, cy + ry * 0.64, cx + rx * 0.1, cy + ry * 0.64, cx + rx * 0.25,
                   cy + ry * 0.55)
        outline(c, hexrgb("#a83a4a"), 2.2)
        # Pearls.
        for i in range(11):
            t = i / 10.0
            px = w * 0.37 + t * w * 0.26
            py = h * 0.78 + 10 * (1 - (2 * t - 1) ** 2)
            ellipse(c, px, py, 3.2, 3.2)
            fill(c, hexrgb("#f8f4ea"))
            ellipse(c, px - 1, py - 1, 1.1, 1.1)
            fill(c, hexrgb("#ffffff"))

    return render(w, h, draw)


def large_tile(gilt):
    """The won tile, head on: ivory face, a darker back edge, gilt for the antiques."""
    w, h = 164, 212

    def draw(c):
        rrect(c, 8, 10, w - 12, h - 12, 14)
        fill(c, (0, 0, 0), 0.35)
        rrect(c, 4, 4, w - 12, h - 12, 14)
        fill(c, shade(hexrgb("#c9b48a"), 0.8) if not gilt else shade(TRIM, 0.75))
        rrect(c, 2, 2, w - 14, h - 16, 12)
        g = cairo.LinearGradient(0, 0, w, h)
        g.add_color_stop_rgb(0, *hexrgb("#fffaf0"))
        g.add_color_stop_rgb(1, *hexrgb("#e9dfc8"))
        c.set_source(g)
        c.fill_preserve()
        outline(c, TRIM if gilt else shade(hexrgb("#c9b48a"), 0.7), 3 if gilt else 1.5)
        if gilt:
            rrect(c, 8, 8, w - 26, h - 28, 8)
            outline(c, shade(TRIM, 1.25), 1.2)

    return render(w, h, draw)


def brass_plate(w, h):
    def draw(c):
        rrect(c, 3, 5, w - 4, h - 5, 10)
        fill(c, (0, 0, 0), 0.35)
        rrect(c, 1, 1, w - 4, h - 5, 10)
        g = cairo.LinearGradient(0, 0, 0, h)
        g.add_color_stop_rgb(0, *shade(TRIM, 1.45))
        g.add_color_stop_rgb(0.45, *shade(TRIM, 1.05))
        g.add_color_stop_rgb(1, *shade(TRIM, 0.7))
        c.set_source(g)
        c.fill_preserve()
        outline(c, shade(TRIM, 0.45), 1.5)
        for x in (10, w - 13):
            ellipse(c, x, h / 2 - 2, 3, 3)
            fill(c, shade(TRIM, 0.55))

    return render(w, h, draw)


def scoreboard():
    w, h = 300, 214

    def draw(c):
        rrect(c, 5, 7, w - 6, h - 6, 12)
        fill(c, (0, 0, 0), 0.4)
        rrect(c, 1, 1, w - 6, h - 6, 12)
        wood_fill(c, 1, w - 5, WOOD, True, 1, h - 5)
        trimmed(c, TRIM, 3)
        rrect(c, 14, 14, w - 32, h - 32, 6)
        g = cairo.LinearGradient(0, 14, 0, h - 18)
        g.add_color_stop_rgb(0, *PARCHMENT)
        g.add_color_stop_rgb(1, *shade(PARCHMENT, 0.88))
        c.set_source(g)
        c.fill_preserve()
        outline(c, shade(TRIM, 0.5), 1.2)
        # A rule above the total.
        c.move_to(28, h - 58)
        c.line_to(w - 34, h - 58)
        outline(c, shade(DARK_WOOD, 1.2), 1.5)

    return render(w, h, draw, ss=2)


def main():
    paint.require_fonts()
    stage, stamp = sys.argv[1], sys.argv[2]
    for folder in ("gfx", "endlevel"):
        os.makedirs(os.path.join(stage, folder), exist_ok=True)
    # Every picture also at twice its size (<name>_hd.png), for enlarged screens.
    pictures = paint.with_larger_versions(lambda: {
        "gfx/appraiser_gent": gentleman(),
        "gfx/appraiser_lady": lady(),
        "gfx/nametag": brass_plate(150, 34),
        "endlevel/tile_antique": large_tile(True),
        "endlevel/tile_common": large_tile(False),
        "endlevel/valuetag": brass_plate(210, 70),
        "endlevel/scoreboard": scoreboard(),
    })
    return paint.stage_pictures(stage, stamp, pictures)


if __name__ == "__main__":
    sys.exit(main())
