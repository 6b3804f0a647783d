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

MD = (48, 64)
LG = (144, 192)
# the working picture a face is reduced from: the same shape as the face pictures
OUT_W, OUT_H = 264, 352
GLOW = (255, 214, 110)


# Share of the picture that a face's object fills at most, and the largest enlargement
# (emoji artwork is a bitmap: beyond this it would turn soft on the large faces).
FILL_W, FILL_H = 0.85, 0.86
MAX_ZOOM = 1.35


def render(face):
    """The face drawing on the working canvas (RGBA), enlarged or reduced so that every
    object fills the tile alike."""
    cv = canvas.Canvas()
    recipes.R[face.short_name](cv)
    im = cv.image()
    box = im.getchannel("A").point(lambda a: 255 if a > 8 else 0).getbbox()
    if box is None:
        return im.crop((0, 0, OUT_W, OUT_H))
    obj = im.crop(box)
    room = 0.95 if face.antique else 1.0  # the glow of antique faces needs a little more room
    zoom = min(room * FILL_W * OUT_W / obj.width, room * FILL_H * OUT_H / obj.height, MAX_ZOOM)
    obj = obj.resize((max(1, round(obj.width * zoom)), max(1, round(obj.height * zoom))), Image.LANCZOS)
    out = Image.new("RGBA", (OUT_W, OUT_H))
    # a little right of and above the centre: the shadow falls to the lower left
    out.alpha_composite(obj, ((OUT_W - obj.width) // 2 + 3, (OUT_H - obj.height) // 2 - 3))
    return out


def glints():
    """The glints laid over the faces of the antique look, after their outline."""
    cv = canvas.Canvas()
    c = cv.vec()
    paint.sparkle(c, 102, 24, 12)
    paint.sparkle(c, 16, 120, 8)
    paint.sparkle(c, 92, 140, 6)
    return cv.image().crop((0, 0, OUT_W, OUT_H))


def write_png(im, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    tmp = path + ".tmp"
    im.save(tmp, format="PNG", optimize=True)
    os.replace(tmp, path)


def main():
    paint.require_fonts()
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
