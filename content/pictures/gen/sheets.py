"""Review sheets, written outside the package: every face on its blank at board size,
grouped by suit; the large faces; the level backgrounds; and a board laid over a
background the way the game draws it.

usage: sheets.py CATALOGUE STAGE_DIR OUT_DIR STAMP"""

import os
import sys

from PIL import Image, ImageDraw, ImageFont

import catalogue
import paint

FACE_SCALE = 11.0 / 15.0
BG_NAMES = ["attic", "yardsale", "fleamarket", "antiqueshop", "estatesale", "texasauction",
            "sothebys", "speedauction"]


def blank_name(face, state="off"):
    if face.antique:
        return {"off": "tile_antique", "on": "tile_antique_on"}[state]
    if face.kenny:
        return {"off": "tile_kenny", "on": "tile_kenny_on"}[state]
    return {"off": "tile_off", "on": "tile_on"}[state]


class Pictures:
    def __init__(self, stage):
        self.stage = stage
        self.cache = {}

    def get(self, rel):
        if rel not in self.cache:
            self.cache[rel] = Image.open(os.path.join(self.stage, rel)).convert("RGBA")
        return self.cache[rel]


def tile(pics, face, state="off"):
    """A tile as the board draws it: the blank at scale 1, the face at 11/15 centred
    3 pixels right of and 3 pixels above the blank's centre."""
    b = pics.get("tiles/blank/%s.png" % blank_name(face, state)).copy()
    f = pics.get("tiles/%s_md.png" % face.image_base)
    fw, fh = round(f.width * FACE_SCALE), round(f.height * FACE_SCALE)
    f = f.resize((fw, fh), Image.LANCZOS)
    b.alpha_composite(f, (int(b.width / 2 + 3 - fw / 2), int(b.height / 2 - 3 - fh / 2)))
    return b


def font(size, bold=True):
    return ImageFont.truetype(paint.SANS if bold else paint.SERIF, size)


def face_sheet(pics, faces, title, width=1500):
    by_suit = {}
    for f in faces:
        by_suit.setdefault(f.suit, []).append(f)
    blocks = []
    for suit in sorted(by_suit):
        fs = by_suit[suit]
        label = "%d %s" % (suit, fs[0].display_key[5:])
        bw = max(len(fs) * 50 + 10, 130)
        block = Image.new("RGBA", (bw, 112), (0, 0, 0, 0))
        d = ImageDraw.Draw(block)
        d.text((4, 2), label, font=font(13), fill=(60, 40, 20, 255))
        for i, f in enumerate(fs):
            block.alpha_composite(tile(pics, f), (5 + i * 50, 20))
            d.text((5 + i * 50, 88), f.short_name[:9], font=font(9, False), fill=(90, 70, 50, 255))
        blocks.append(block)
    rows, row, x = [], [], 0
    for b in blocks:
        if x + b.width > width and row:
            rows.append(row)
            row, x = [], 0
        row.append(b)
        x += b.width + 8
    rows.append(row)
    sheet = Image.new("RGBA", (width, 50 + len(rows) * 118), (228, 216, 190, 255))
    d = ImageDraw.Draw(sheet)
    d.text((10, 10), title, font=font(22), fill=(50, 30, 15, 255))
    for r, row in enumerate(rows):
        x = 10
        for b in row:
            sheet.alpha_composite(b, (x, 48 + r * 118))
            x += b.width + 8
    return sheet


def large_sheet(pics, faces, title, cols=12):
    n = len(faces)
    rows = (n + cols - 1) // cols
    sheet = Image.new("RGBA", (cols * 152 + 20, 50 + rows * 214), (242, 234, 214, 255))
    d = ImageDraw.Draw(sheet)
    d.text((10, 10), title, font=font(22), fill=(50, 30, 15, 255))
    for i, f in enumerate(faces):
        x, y = 10 + (i % cols) * 152, 48 + (i // cols) * 214
        sheet.alpha_composite(pics.get("tiles/%s_lg.png" % f.image_base), (x + 4, y))
        d.text((x + 4, y + 194), f.short_name, font=font(11, False), fill=(90, 70, 50, 255))
    return sheet


def background_sheet(pics):
    sheet = Image.new("RGBA", (20 + 2 * 490, 50 + 4 * 210), (40, 36, 32, 255))
    d = ImageDraw.Draw(sheet)
    d.text((10, 10), "Level backgrounds (black-and-white / colour)", font=font(22), fill=(240, 230, 210, 255))
    for i, name in enumerate(BG_NAMES):
        x, y = 10 + (i % 2) * 490, 48 + (i // 2) * 210
        bw = pics.get("backgrounds/levels/%s_bw.png" % name).resize((240, 180), Image.LANCZOS)
        col = pics.get("backgrounds/levels/%s_color.png" % name).resize((240, 180), Image.LANCZOS)
        sheet.alpha_composite(bw, (x, y + 20))
        sheet.alpha_composite(col, (x + 244, y + 20))
        d.text((x, y), name, font=font(15), fill=(240, 230, 210, 255))
    return sheet


def furniture_sheet(pics):
    """The blanks, slot backgrounds, signs and cursors, at twice their size."""
    import check
    names = ["tiles/blank/%s.png" % n for n in check.BOARD_BLANKS] + \
            ["tiles/blank/%s.png" % n for n in ("tile_medium_headon", "tile_medium_antique_headon",
                                                "tile_medium_kenny_headon", "logo_sign_normal",
                                                "logo_sign_large")] + ["cursor/cursor.png", "cursor/magnify.png"]
    sheet = Image.new("RGBA", (1400, 660), (120, 138, 118, 255))
    d = ImageDraw.Draw(sheet)
    d.text((10, 10), "Blanks, slot backgrounds, signs and cursors (twice their size)", font=font(22),
           fill=(250, 245, 230, 255))
    x, y = 10, 50
    for rel in names:
        im = pics.get(rel)
        im = im.resize((im.width * 2, im.height * 2), Image.LANCZOS)
        if x + im.width > 1390:
            x, y = 10, y + 160
        sheet.alpha_composite(im, (x, y))
        d.text((x, y + im.height + 2), rel.split("/")[-1][:-4], font=font(10, False), fill=(250, 245, 230, 255))
        x += im.width + 16
    return sheet


def board_mock(pics, faces, bg):
    """A small layout dealt over a background scaled by 5/3, in the board's drawing order."""
    screen = pics.get("backgrounds/levels/%s_bw.png" % bg).resize((800, 600), Image.LANCZOS)
    cells = []
    for layer, (xs, ys) in enumerate(((range(4, 34, 2), range(1, 15, 2)), (range(10, 28, 2), range(3, 13, 2)),
                                      (range(14, 24, 2), range(5, 11, 2)))):
        for x in xs:
            for y in ys:
                cells.append((layer, x, y))
    # layers bottom up; within a layer diagonals x - y from high to low, then y from high to low
    cells.sort(key=lambda c: (c[0], -(c[1] - c[2]), -c[2]))
    pool = [f for f in faces if not f.kenny]
    for k, (layer, x, y) in enumerate(cells):
        f = pool[(k * 37) % len(pool)]
        left = (layer * 13) // 2 + x * 20 + 12
        top = y * 28 - (layer * 15) // 2 + 72
        screen.alpha_composite(tile(pics, f, "on" if k == len(cells) - 5 else "off"), (left, top))
    return screen


def main():
    cat, stage, out, stamp = sys.argv[1:5]
    os.makedirs(out, exist_ok=True)
    faces = catalogue.read(cat)
    pics = Pictures(stage)
    common = [f for f in faces if not f.antique and not f.kenny]
    antique = [f for f in faces if f.antique or f.kenny]
    written = []

    def save(im, name):
        im.convert("RGB").save(os.path.join(out, name), optimize=True)
        written.append(name)

    save(face_sheet(pics, common, "Common faces on their blanks (board size)"), "faces_common.png")
    save(face_sheet(pics, antique, "Antique-look faces and the Kenny tile on their blanks (board size)"),
         "faces_antique.png")
    save(large_sheet(pics, common, "Common faces, large"), "faces_common_large.png")
    save(large_sheet(pics, antique, "Antique-look faces and the Kenny tile, large"), "faces_antique_large.png")
    save(background_sheet(pics), "backgrounds.png")
    save(furniture_sheet(pics), "blanks_signs_cursors.png")
    for bg in ("attic", "sothebys"):
        save(board_mock(pics, faces, bg), "board_%s.png" % bg)
    with open(stamp, "w") as f:
        f.write("\n".join(written) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
