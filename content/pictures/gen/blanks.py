"""Draws the tile blanks (board tiles with their sides to the lower left) and the
head-on slot backgrounds of the sets box.

usage: blanks.py STAGE_DIR STAMP"""

import math
import os
import sys

import cairo
from PIL import Image

import paint
from paint import hexrgb, shade
from vector import rrect

SS = 8  # supersampling
W, H = 47, 64
TOP = (7, 0, 40, 56)  # top face: x, y, w, h
DEPTH = (-7, 8)  # the drawn sides go this way

# look -> (side base colour, face top colour, face bottom colour, border colour)
LOOKS = {
    "common": ("#2f7d5a", "#fbf6e6", "#eadfc4", None),
    "antique": ("#6b2a14", "#fcf3dc", "#ecd9ab", "#b8831f"),
    "kenny": ("#2a4a9a", "#f6f1ff", "#dcd6f0", "#4a6fd0"),
}
# state -> (tint of the face, glow colour or None)
STATES = {
    "off": (None, None),
    "on": ("#fff1a8", "#ffcf3a"),
    "hint": ("#c8f5b0", "#3fcf4a"),
}
NAMES = {
    ("common", "off"): "tile_off", ("common", "on"): "tile_on", ("common", "hint"): "tile_off_hint",
    ("antique", "off"): "tile_antique", ("antique", "on"): "tile_antique_on",
    ("antique", "hint"): "tile_antique_hint",
    ("kenny", "off"): "tile_kenny", ("kenny", "on"): "tile_kenny_on", ("kenny", "hint"): "tile_kenny_hint",
}
HEADON = {("common", "off"): "tile_medium_headon", ("antique", "off"): "tile_medium_antique_headon",
          ("kenny", "off"): "tile_medium_kenny_headon",
          # the treasure gallery's chosen tile
          ("antique", "on"): "tile_medium_antique_headon_on"}


def mix(a, b, t):
    return tuple(x * (1 - t) + y * t for x, y in zip(a, b))


def face(c, x, y, w, h, look, state):
    side, top, bottom, border = (hexrgb(v) if v else None for v in LOOKS[look])
    tint, glow = STATES[state]
    if tint:
        top = mix(top, hexrgb(tint), 0.55)
        bottom = mix(bottom, hexrgb(tint), 0.6)
    rrect(c, x, y, w, h, 5)
    g = cairo.LinearGradient(x + w, y, x, y + h)
    g.add_color_stop_rgb(0, *shade(top, 1.25))
    g.add_color_stop_rgb(0.5, *top)
    g.add_color_stop_rgb(1, *bottom)
    c.set_source(g)
    c.fill()
    # bevel: light along the top and right edge, shade along the bottom and left
    rrect(c, x + 0.8, y + 0.8, w - 1.6, h - 1.6, 4.3)
    g = cairo.LinearGradient(x + w, y, x, y + h)
    g.add_color_stop_rgba(0, 1, 1, 1, 0.9)
    g.add_color_stop_rgba(0.45, 1, 1, 1, 0.0)
    g.add_color_stop_rgba(0.55, 0, 0, 0, 0.0)
    g.add_color_stop_rgba(1, 0.25, 0.18, 0.08, 0.45)
    c.set_source(g)
    c.set_line_width(1.4)
    c.stroke()
    if glow:
        rrect(c, x + 1.8, y + 1.8, w - 3.6, h - 3.6, 3.5)
        c.set_source_rgba(*hexrgb(glow), 0.9)
        c.set_line_width(1.6)
        c.stroke()
    if border:
        rrect(c, x + 3, y + 3, w - 6, h - 6, 3)
        c.set_source_rgba(*border, 0.95)
        c.set_line_width(0.9)
        c.stroke()
        rrect(c, x + 4.6, y + 4.6, w - 9.2, h - 9.2, 2)
        c.set_source_rgba(*border, 0.55)
        c.set_line_width(0.5)
        c.stroke()
        if look == "antique":
            for cx, cy in ((x + 3, y + 3), (x + w - 3, y + 3), (x + 3, y + h - 3), (x + w - 3, y + h - 3)):
                c.arc(cx, cy, 1.3, 0, 2 * math.pi)
                c.set_source_rgb(*shade(border, 1.3))
                c.fill()
    rrect(c, x, y, w, h, 5)
    c.set_source_rgba(*shade(side, 0.35), 0.9)
    c.set_line_width(0.7)
    c.stroke()


def body(c, look, steps=48, vector_only=False):
    """The tile's sides: an ivory layer over a coloured base, stacked along the depth.
    With vector_only the side shadow is clipped to the tile's outline instead of painted
    over what is drawn (a paint over the drawing would turn an SVG into a bitmap)."""
    side = hexrgb(LOOKS[look][0])
    ivory = hexrgb("#efe4c8")
    x, y, w, h = TOP
    for i in range(steps, -1, -1):
        t = i / steps
        ox, oy = DEPTH[0] * t, DEPTH[1] * t
        col = shade(side, 0.75 + 0.25 * (1 - t)) if t > 0.42 else shade(ivory, 0.78 + 0.1 * (1 - t))
        rrect(c, x + ox, y + oy, w, h, 5)
        c.set_source_rgb(*col)
        c.fill()
    # the left side lies deeper in shadow than the bottom one
    c.save()
    if vector_only:
        for i in range(steps + 1):
            rrect(c, x + DEPTH[0] * i / steps, y + DEPTH[1] * i / steps, w, h, 5)
        c.set_fill_rule(cairo.FILL_RULE_WINDING)
        c.clip()
    else:
        c.set_operator(cairo.OPERATOR_ATOP)
    g = cairo.LinearGradient(0, 0, 16, -6)
    g.add_color_stop_rgba(0, 0.05, 0.03, 0.0, 0.38)
    g.add_color_stop_rgba(1, 0.05, 0.03, 0.0, 0.0)
    c.set_source(g)
    c.paint()
    c.restore()
    # outline of the whole silhouette
    rrect(c, x + DEPTH[0], y + DEPTH[1], w, h, 5)
    c.set_source_rgba(*shade(side, 0.3), 0.9)
    c.set_line_width(0.8)
    c.stroke()
    # the seam between ivory and base
    t = 0.42
    rrect(c, x + DEPTH[0] * t, y + DEPTH[1] * t, w, h, 5)
    c.set_source_rgba(0, 0, 0, 0.25)
    c.set_line_width(0.5)
    c.stroke()


def render(width, height, draw, k=1):
    """The drawing at width x height, or k times larger (the pictures for enlarged screens)."""
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, width * k * SS, height * k * SS)
    c = cairo.Context(s)
    c.scale(SS * k, SS * k)
    draw(c)
    return paint.surface_to_image(s).resize((width * k, height * k), Image.LANCZOS)


def board_blank(look, state, k=1):
    def draw(c):
        body(c, look)
        face(c, *TOP, look, state)

    return render(W, H, draw, k)


def headon(look, state="off"):
    def draw(c):
        side = hexrgb(LOOKS[look][0])
        rrect(c, 0.5, 0.5, 44, 68, 5)
        g = cairo.LinearGradient(0, 54, 0, 69)
        g.add_color_stop_rgb(0, *hexrgb("#efe4c8"))
        g.add_color_stop_rgb(0.45, *shade(hexrgb("#efe4c8"), 0.85))
        g.add_color_stop_rgb(0.46, *side)
        g.add_color_stop_rgb(1, *shade(side, 0.6))
        c.set_source(g)
        c.fill_preserve()
        c.set_source_rgba(*shade(side, 0.3), 0.9)
        c.set_line_width(0.8)
        c.stroke()
        face(c, 0.5, 0.5, 44, 61, look, state)

    return render(45, 69, draw)


def main():
    paint.require_fonts()
    stage, stamp = sys.argv[1], sys.argv[2]
    out = os.path.join(stage, "tiles", "blank")
    os.makedirs(out, exist_ok=True)
    written = []
    for (look, state), name in sorted(NAMES.items()):
        board_blank(look, state).save(os.path.join(out, name + ".png"), optimize=True)
        board_blank(look, state, 2).save(os.path.join(out, name + "_hd.png"), optimize=True)
        written += [name, name + "_hd"]
    for (look, state), name in sorted(HEADON.items()):
        headon(look, state).save(os.path.join(out, name + ".png"), optimize=True)
        written.append(name)
    with open(stamp, "w") as f:
        f.write("\n".join("tiles/blank/%s.png" % n for n in sorted(written)) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
