"""Draws the tile faces: tiles/<image base>_md.png (board and sets box) and _lg.png
(appraisal and end screens) for every face of the catalogue.

usage: faces.py CATALOGUE STAGE_DIR STAMP [--part K/N] [--only NAME,...]"""

import argparse
import os
import sys

from PIL import Image

import canvas
import catalogue
import paint
import recipes

MD = (44, 60)
LG = (132, 180)
GLOW = (255, 214, 110)


def render(face):
    """The face drawing on the working canvas (RGBA)."""
    cv = canvas.Canvas()
    recipes.R[face.short_name](cv)
    return cv.image()


def glints():
    """The glints laid over the faces of the antique look, after their outline."""
    cv = canvas.Canvas()
    c = cv.vec()
    paint.sparkle(c, 102, 24, 12)
    paint.sparkle(c, 16, 120, 8)
    paint.sparkle(c, 92, 140, 6)
    return cv.image()


def write_png(im, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    tmp = path + ".tmp"
    im.save(tmp, format="PNG", optimize=True)
    os.replace(tmp, path)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("catalogue")
    ap.add_argument("stage")
    ap.add_argument("stamp")
    ap.add_argument("--part", default="0/1")
    ap.add_argument("--only", default="")
    a = ap.parse_args()
    k, n = (int(x) for x in a.part.split("/"))
    faces = catalogue.read(a.catalogue)
    missing = [f.short_name for f in faces if f.short_name not in recipes.R]
    if missing:
        print("faces without a drawing: " + ", ".join(missing), file=sys.stderr)
        return 1
    only = set(a.only.split(",")) if a.only else None
    written = []
    shine = glints()
    for i, face in enumerate(faces):
        if i % n != k or (only and face.short_name not in only):
            continue
        obj = render(face)
        glow = GLOW if face.antique else None
        for size, outline, name in ((MD, 0.9, "_md"), (LG, 1.8, "_lg")):
            im = paint.finish(obj, size[0], size[1], outline, glow=glow)
            if face.antique:
                im.alpha_composite(shine.resize(size, Image.LANCZOS))
            path = os.path.join(a.stage, "tiles", face.image_base + name + ".png")
            write_png(im, path)
            written.append(path)
    with open(a.stamp, "w") as f:
        f.write("\n".join(sorted(os.path.relpath(p, a.stage) for p in written)) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
