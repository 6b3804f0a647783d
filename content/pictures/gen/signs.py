"""Draws the cursors (cursor/cursor.png, cursor/magnify.png: 32 x 32 with alpha) and the
signs shown in the preview box when no tile is hovered (tiles/blank/logo_sign_normal.png
and logo_sign_large.png, the size of a large face).

Cursor hot spots: the arrow's tip at (1, 1); the magnifier's lens centre at (12, 12).

usage: signs.py STAGE_DIR STAMP"""

import os
import sys

import cairo

import paint
from paint import hexrgb, shade
from vector import ellipse, rrect, star

SS = 8
CURSOR_HOTSPOTS = {"cursor": (1, 1), "magnify": (12, 12)}


def render(w, h, draw, ss=SS):
    return paint.render_scaled(w, h, draw, ss, round_caps=False)


def arrow(c):
    pts = [(1, 1), (1, 24), (7, 18.5), (11.5, 28.5), (15.5, 26.8), (11.2, 17.2), (19, 17)]
    c.move_to(*pts[0])
    for p in pts[1:]:
        c.line_to(*p)
    c.close_path()
    path = c.copy_path()
    c.translate(1.2, 1.2)
    c.append_path(path)
    c.set_source_rgba(0, 0, 0, 0.35)
    c.fill()
    c.translate(-1.2, -1.2)
    c.append_path(path)
    g = cairo.LinearGradient(0, 0, 16, 28)
    g.add_color_stop_rgb(0, *hexrgb("#fff4cf"))
    g.add_color_stop_rgb(0.5, *hexrgb("#e8b84a"))
    g.add_color_stop_rgb(1, *hexrgb("#a8701c"))
    c.set_source(g)
    c.fill_preserve()
    c.set_source_rgb(*hexrgb("#3a1e08"))
    c.set_line_width(1.3)
    c.stroke()


def magnify(c):
    # handle
    c.move_to(19, 19)
    c.line_to(29, 29)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.set_source_rgb(*hexrgb("#2a1406"))
    c.set_line_width(6.5)
    c.stroke()
    c.move_to(19, 19)
    c.line_to(29, 29)
    c.set_source_rgb(*hexrgb("#8b4a22"))
    c.set_line_width(4)
    c.stroke()
    # lens
    ellipse(c, 12, 12, 10, 10)
    c.set_source_rgb(*hexrgb("#2a1406"))
    c.fill()
    ellipse(c, 12, 12, 8.8, 8.8)
    g = cairo.LinearGradient(3, 3, 21, 21)
    g.add_color_stop_rgb(0, *hexrgb("#fff0b8"))
    g.add_color_stop_rgb(1, *hexrgb("#b07a1c"))
    c.set_source(g)
    c.fill()
    ellipse(c, 12, 12, 6.8, 6.8)
    g = cairo.RadialGradient(9.5, 9.5, 0.5, 12, 12, 7)
    g.add_color_stop_rgba(0, 1, 1, 1, 0.85)
    g.add_color_stop_rgba(0.5, 0.75, 0.9, 1, 0.45)
    g.add_color_stop_rgba(1, 0.45, 0.65, 0.85, 0.55)
    c.set_source(g)
    c.fill()
    # the hot spot mark
    c.move_to(10.5, 12)
    c.line_to(13.5, 12)
    c.move_to(12, 10.5)
    c.line_to(12, 13.5)
    c.set_source_rgba(0.2, 0.1, 0.0, 0.5)
    c.set_line_width(0.6)
    c.stroke()


def sign(large):
    """A hanging shop sign with an empty plaque where the game writes the location."""
    w, h = 144, 192

    def draw(c):
        c.scale(w / 132.0, h / 180.0)  # drawn on a 132 x 180 plan
        wood = hexrgb("#7a2418" if large else "#7a4522")
        trim = hexrgb("#e0b540" if large else "#c9952b")
        # hanging chains
        for x in (30, 102):
            for k in range(5):
                ellipse(c, x, 6 + k * 7, 2.6, 3.6)
                c.set_source_rgb(*shade(trim, 0.6))
                c.set_line_width(1.4)
                c.stroke()
        c.move_to(8, 44)
        c.line_to(124, 44)
        c.set_source_rgb(*shade(trim, 0.5))
        c.set_line_width(5)
        c.stroke()
        # the board
        if large:
            c.move_to(8, 52)
            c.curve_to(40, 36, 92, 36, 124, 52)
            c.line_to(124, 166)
            c.curve_to(92, 178, 40, 178, 8, 166)
            c.close_path()
        else:
            rrect(c, 8, 48, 116, 122, 10)
        path = c.copy_path()
        g = cairo.LinearGradient(8, 0, 124, 0)
        g.add_color_stop_rgb(0, *shade(wood, 0.6))
        g.add_color_stop_rgb(0.6, *wood)
        g.add_color_stop_rgb(0.85, *shade(wood, 1.3))
        g.add_color_stop_rgb(1, *shade(wood, 0.8))
        c.set_source(g)
        c.fill()
        if not large:
            for y in range(56, 168, 9):
                c.move_to(10, y)
                c.curve_to(40, y + 2, 80, y - 2, 122, y + 1)
            c.set_source_rgba(0, 0, 0, 0.12)
            c.set_line_width(0.8)
            c.stroke()
        c.append_path(path)
        c.set_source_rgb(*trim)
        c.set_line_width(4)
        c.stroke()
        c.append_path(path)
        c.set_source_rgb(*shade(trim, 0.4))
        c.set_line_width(1)
        c.stroke()
        # title
        c.select_font_face("EB Garamond", cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
        for line_text, y, size in (("Mahjong", 70, 17), ("Curiomar", 92, 24)):
            c.set_font_size(size)
            e = c.text_extents(line_text)
            c.move_to(66 - e.width / 2 - e.x_bearing, y - e.height / 2 - e.y_bearing)
            c.text_path(line_text)
            c.set_source_rgb(*shade(trim, 0.35))
            c.set_line_width(2.5)
            c.stroke_preserve()
            gg = cairo.LinearGradient(0, y - 12, 0, y + 12)
            gg.add_color_stop_rgb(0, *shade(trim, 1.6))
            gg.add_color_stop_rgb(1, *trim)
            c.set_source(gg)
            c.fill()
        # plaque for the location name
        rrect(c, 18, 112, 96, 40, 6)
        c.set_source_rgb(*hexrgb("#f6ecd2"))
        c.fill_preserve()
        c.set_source_rgb(*shade(trim, 0.5))
        c.set_line_width(1.5)
        c.stroke()
        for x in (24, 108):
            ellipse(c, x, 132, 2, 2)
            c.set_source_rgb(*trim)
            c.fill()
        if large:
            for x, y in ((20, 64), (112, 64)):
                star(c, x, y, 7, 3)
                c.set_source_rgb(*trim)
                c.fill()

    return render(w, h, draw, ss=4)


def main():
    paint.require_fonts()
    stage, stamp = sys.argv[1], sys.argv[2]
    os.makedirs(os.path.join(stage, "cursor"), exist_ok=True)
    os.makedirs(os.path.join(stage, "tiles", "blank"), exist_ok=True)
    written = []
    for name, draw in (("cursor", arrow), ("magnify", magnify)):
        rel = "cursor/%s.png" % name
        render(32, 32, draw).save(os.path.join(stage, rel), optimize=True)
        written.append(rel)
    for name, large in (("logo_sign_normal", False), ("logo_sign_large", True)):
        rel = "tiles/blank/%s.png" % name
        sign(large).save(os.path.join(stage, rel), optimize=True)
        written.append(rel)
    with open(stamp, "w") as f:
        f.write("\n".join(written) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
