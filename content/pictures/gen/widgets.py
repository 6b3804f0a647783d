"""Draws the pictures of the widget demo dialog: a button panel in four states (normal,
pressed, mouse over, mouse over while on), a slider knob (normal and under the pointer) and
a slider rail piece, all under ui/, each also at twice its size for enlarged screens.

usage: widgets.py STAGE_DIR STAMP"""

import os
import sys

from PIL import Image, ImageDraw

import paint

BUTTON = (120, 36)
PANELS = {
    "button_normal": ((0x8a, 0x5a, 0x2b), (0xd9, 0xb0, 0x6c)),
    "button_pressed": ((0x5a, 0x3a, 0x1b), (0xa8, 0x80, 0x48)),
    "button_over": ((0xa8, 0x72, 0x38), (0xf2, 0xd0, 0x8a)),
    "button_on_over": ((0x3c, 0x6e, 0x3c), (0xa0, 0xe0, 0x90)),
}


def panel(size, edge, face):
    k = paint.picture_scale()
    w, h = size[0] * k, size[1] * k
    image = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(image)
    d.rounded_rectangle((0, 0, w - 1, h - 1), radius=8 * k, fill=edge + (255,))
    d.rounded_rectangle((3 * k, 3 * k, w - 1 - 3 * k, h - 1 - 3 * k), radius=6 * k,
                        fill=face + (255,))
    return image


def rail():
    k = paint.picture_scale()
    image = Image.new("RGBA", (6 * k, 16 * k), (0x30, 0x30, 0x30, 255))
    ImageDraw.Draw(image).rectangle((k, 0, 5 * k - 1, 16 * k - 1), fill=(0x90, 0x80, 0x60, 255))
    return image


def pieces():
    pictures = {name: panel(BUTTON, *colours) for name, colours in PANELS.items()}
    pictures["slider_knob"] = panel((16, 24), (0x40, 0x40, 0x40), (0xe0, 0xe0, 0xe0))
    pictures["slider_knob_over"] = panel((16, 24), (0x40, 0x40, 0x40), (0xff, 0xf0, 0x90))
    pictures["slider_rail"] = rail()
    return pictures


def main():
    stage, stamp = sys.argv[1], sys.argv[2]
    os.makedirs(os.path.join(stage, "ui"), exist_ok=True)
    # Also at twice their size (<name>_hd.png), for enlarged screens.
    return paint.stage_pictures(stage, stamp, paint.with_larger_versions(pieces), "ui")


if __name__ == "__main__":
    sys.exit(main())
