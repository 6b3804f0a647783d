"""Draws the particle pictures of the game's effects, under gamepiece/ beside the effect
scripts that use them:

  small.png   a soft puff of dust (24 x 24), light so that the particles' colour tints it
  spark.png   four twinkles side by side (20 x 20 each): a long four-point glint, a short
              one, a six-point star and a round gleam; spark.xml lists them as the frames
              of an animated texture, so each particle can show one of them

Both are near white: the effect scripts colour and fade every particle.

usage: particles.py STAGE_DIR STAMP"""

import math
import os
import sys

import cairo
from PIL import Image

import paint
from animations import sheet_description
from vector import ellipse

SS = 4
PUFF = (24, 24)
SPARK = (20, 20)
SPARK_FRAMES = 4


def layer(size):
    return paint.new_layer(size[0] * SS, size[1] * SS, SS)


def dust_puff():
    """A few overlapping soft blobs: a cloud with a lit top and a shaded bottom."""
    s, c = layer(PUFF)
    for (x, y, r, v) in ((9, 14, 6.5, 0.86), (15, 14, 6.0, 0.84), (12, 10, 6.5, 0.97),
                         (8, 10, 4.5, 0.93), (16, 9, 4.5, 0.95), (12, 15, 6.0, 0.88)):
        g = cairo.RadialGradient(x - 1.5, y - 2, 0.5, x, y, r)
        g.add_color_stop_rgba(0, 1, 1, 1, 0.95)
        g.add_color_stop_rgba(0.55, v, v, v * 0.97, 0.8)
        g.add_color_stop_rgba(1, v * 0.9, v * 0.9, v * 0.86, 0)
        c.set_source(g)
        ellipse(c, x, y, r, r)
        c.fill()
    return paint.surface_to_image(s).resize(PUFF, Image.LANCZOS)


def star_path(c, cx, cy, points, r, waist, turn=0.0):
    for i in range(points * 2):
        a = -math.pi / 2 + turn + i * math.pi / points
        rr = r if i % 2 == 0 else r * waist
        (c.move_to if i == 0 else c.line_to)(cx + rr * math.cos(a), cy + rr * math.sin(a))
    c.close_path()


def twinkle(kind):
    s, c = layer(SPARK)
    cx, cy = 10, 10
    glow = cairo.RadialGradient(cx, cy, 0, cx, cy, 8)
    glow.add_color_stop_rgba(0, 1, 1, 1, 0.9)
    glow.add_color_stop_rgba(0.5, 1, 1, 1, 0.3)
    glow.add_color_stop_rgba(1, 1, 1, 1, 0)
    c.set_source(glow)
    ellipse(c, cx, cy, 8, 8)
    c.fill()
    if kind == 0:
        star_path(c, cx, cy, 4, 9.5, 0.14)
    elif kind == 1:
        star_path(c, cx, cy, 4, 7, 0.22, math.pi / 4)
    elif kind == 2:
        star_path(c, cx, cy, 6, 8, 0.38)
    else:
        ellipse(c, cx, cy, 3.6, 3.6)
    g = cairo.RadialGradient(cx, cy, 0, cx, cy, 9)
    g.add_color_stop_rgba(0, 1, 1, 1, 1)
    g.add_color_stop_rgba(0.5, 1, 1, 0.96, 1)
    g.add_color_stop_rgba(1, 0.95, 0.92, 0.85, 0.9)
    c.set_source(g)
    c.fill()
    return paint.surface_to_image(s).resize(SPARK, Image.LANCZOS)


def save(stage, rel, data):
    paint.save_atomic(os.path.join(stage, rel), data)
    return rel


def main():
    stage, stamp = sys.argv[1], sys.argv[2]
    sheet = Image.new("RGBA", (SPARK[0] * SPARK_FRAMES, SPARK[1]))
    for i in range(SPARK_FRAMES):
        sheet.alpha_composite(twinkle(i), (i * SPARK[0], 0))
    written = [save(stage, "gamepiece/small.png", dust_puff()),
               save(stage, "gamepiece/spark.png", sheet),
               save(stage, "gamepiece/spark.xml", sheet_description(
                   "spark", sheet.size,
                   [(i * SPARK[0], 0, SPARK[0], SPARK[1], SPARK[0] // 2, SPARK[1] // 2)
                    for i in range(SPARK_FRAMES)]))]
    with open(stamp, "w") as f:
        f.write("\n".join(written) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
