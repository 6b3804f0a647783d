"""Draws the game's desktop icon: an antique tile of the board, standing a little turned,
with a blue-and-white ginger jar on its face and a glint, in the look of the board's tiles
(blanks.py) and faces (vector.py). Writes the hicolor theme's sizes as PNG and the same
drawing as SVG.

usage: icon.py OUT_DIR NAME
  OUT_DIR/hicolor/<n>x<n>/apps/NAME.png for n in 16 32 48 64 128 256
  OUT_DIR/hicolor/scalable/apps/NAME.svg"""

import os
import sys

import cairo
from PIL import Image

import blanks
import paint
import vector

SIZES = (16, 32, 48, 64, 128, 256)
UNITS = 64.0  # the icon's square, in the tile units of blanks.py (a tile is 47 x 64)
SS = 4  # supersampling of the PNG sizes


class FaceCanvas:
    """What the face drawings of vector.py ask of a canvas, drawn straight onto one cairo
    context (so that the SVG stays vector): every vec() layer maps the face design units
    (120 x 164) into the given rectangle."""

    def __init__(self, c, x, y, w, h):
        self.c, self.rect = c, (x, y, w, h)
        self._open = False

    def vec(self):
        self.close()
        c = self.c
        c.save()
        self._open = True
        x, y, w, h = self.rect
        c.translate(x, y)
        c.scale(w / 120.0, h / 164.0)
        c.set_line_join(cairo.LINE_JOIN_ROUND)
        c.set_line_cap(cairo.LINE_CAP_ROUND)
        return c

    def close(self):
        if self._open:
            self.c.restore()
            self._open = False


def draw(c):
    """The icon in UNITS x UNITS: the tile centred, its face, then the glint."""
    c.save()
    c.translate((UNITS - blanks.W) / 2, (UNITS - blanks.H) / 2)
    blanks.body(c, "antique", vector_only=True)
    blanks.face(c, *blanks.TOP, "antique", "off")
    x, y, w, h = blanks.TOP
    face = FaceCanvas(c, x + 4, y + 4, w - 8, h - 8)
    vector.vase(face, vector.VASE_PROFILES["ginger"], col="#2d5fa8", pattern="flowers",
                pcol="#ffffff")
    face.close()
    paint.sparkle(c, x + w - 6, y + 7, 5)
    c.restore()


def png(size):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, size * SS, size * SS)
    c = cairo.Context(s)
    c.scale(size * SS / UNITS, size * SS / UNITS)
    draw(c)
    return paint.surface_to_image(s).resize((size, size), Image.LANCZOS)


def svg(path, size=256):
    tmp = path + ".tmp"
    s = cairo.SVGSurface(tmp, size, size)
    # Plain user units: the icon scales with its view box, not with a document unit.
    s.set_document_unit(cairo.SVG_UNIT_PX)
    c = cairo.Context(s)
    c.scale(size / UNITS, size / UNITS)
    draw(c)
    s.finish()
    os.replace(tmp, path)


def main():
    out, name = sys.argv[1], sys.argv[2]
    for size in SIZES:
        paint.save_atomic(os.path.join(out, "hicolor", "%dx%d" % (size, size), "apps", name + ".png"),
                          png(size))
    folder = os.path.join(out, "hicolor", "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    svg(os.path.join(folder, name + ".svg"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
