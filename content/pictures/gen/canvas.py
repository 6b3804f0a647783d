"""The working canvas of one face: vector layers (cairo, in design units of 120 x 164)
and bitmap layers (emoji artwork) stacked in order."""

import cairo
from PIL import Image

import paint

UNITS_W, UNITS_H = 120.0, 164.0
WORK_W, WORK_H = 264, 360
UNIT = WORK_W / UNITS_W


class Canvas:
    def __init__(self):
        self.layers = []

    def vec(self):
        """A new vector layer on top; returns its cairo context (design units)."""
        s, c = paint.new_layer(WORK_W, WORK_H, UNIT)
        self.layers.append(s)
        return c

    def emoji(self, char, cx, cy, w, h, hue=None, only=None, sat=None, val=None, tint=None,
              amount=0.85, mirror=False, rotate=0, stretch=1.0):
        """Places emoji artwork centred on (cx, cy), fitted into w x h design units."""
        im = paint.emoji(char)
        if hue is not None or sat is not None or val is not None:
            im = paint.hue_shift(im, hue or 0, only=only, sat=sat, val=val)
        if tint is not None:
            im = paint.tint(im, tint, amount)
        if mirror:
            im = im.transpose(Image.FLIP_LEFT_RIGHT)
        if stretch != 1.0:
            im = im.resize((int(im.width * stretch), im.height), Image.LANCZOS)
        if rotate:
            im = im.rotate(rotate, resample=Image.BICUBIC, expand=True)
        im = paint.fit(im, w * UNIT, h * UNIT)
        layer = Image.new("RGBA", (WORK_W, WORK_H))
        layer.paste(im, (int(cx * UNIT - im.width / 2), int(cy * UNIT - im.height / 2)))
        self.layers.append(layer)

    def image(self):
        out = Image.new("RGBA", (WORK_W, WORK_H))
        for layer in self.layers:
            if isinstance(layer, cairo.ImageSurface):
                layer = paint.surface_to_image(layer)
            out = Image.alpha_composite(out, layer)
        return out
