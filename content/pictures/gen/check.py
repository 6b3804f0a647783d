"""Checks the staged pictures: every face of the catalogue has its _md and _lg picture at
the right size, and every fixed picture (blanks, slot backgrounds, signs, cursors, level
backgrounds, the animations' sprite sheets and descriptions, the particle pictures) is
there; pictures that are drawn over others must have an alpha channel; every larger version
("_hd") is twice its picture (a JPEG only for an opaque one), and the screens' pictures have
one. Face pictures that no catalogue row names any more are removed, so
a renamed face leaves nothing behind in the package.

usage: check.py CATALOGUE STAGE_DIR STAMP        exit status 1 names what is missing"""

import os
import sys

from PIL import Image

import animations
import catalogue
import particles

FACE_SIZES = {"_md": (48, 64), "_lg": (144, 192)}
BOARD_BLANKS = ["tile_off", "tile_on", "tile_off_hint", "tile_antique", "tile_antique_on",
                "tile_antique_hint", "tile_kenny", "tile_kenny_on", "tile_kenny_hint"]
FIXED = {}
for n in BOARD_BLANKS:
    FIXED["tiles/blank/%s.png" % n] = (47, 64)
    FIXED["tiles/blank/%s_hd.png" % n] = (94, 128)  # for enlarged screens
for n in ("tile_medium_headon", "tile_medium_antique_headon", "tile_medium_kenny_headon",
          "tile_medium_antique_headon_on"):
    FIXED["tiles/blank/%s.png" % n] = (45, 69)
for n in ("logo_sign_normal", "logo_sign_large"):
    FIXED["tiles/blank/%s.png" % n] = FACE_SIZES["_lg"]
for n in ("cursor", "magnify"):
    FIXED["cursor/%s.png" % n] = (32, 32)
for n in ("attic", "yardsale", "fleamarket", "antiqueshop", "estatesale", "texasauction", "sothebys",
          "speedauction"):
    for v in ("bw", "color"):
        FIXED["backgrounds/levels/%s_%s.png" % (n, v)] = (480, 360)
        # the size it is shown at on a 1600 x 1200 frame, for enlarged screens
        FIXED["backgrounds/levels/%s_%s_hd.jpg" % (n, v)] = (1600, 1200)
for anim in animations.animations():
    FIXED["anim/%s/%s.png" % (anim.name, anim.name)] = anim.sheet_size()
    FIXED["anim/%s/%s.xml" % (anim.name, anim.name)] = None
FIXED["gamepiece/small.png"] = particles.PUFF
FIXED["gamepiece/spark.png"] = (particles.SPARK[0] * particles.SPARK_FRAMES, particles.SPARK[1])
FIXED["gamepiece/spark.xml"] = None
for n in ("appraiser_gent", "appraiser_lady"):
    FIXED["gfx/%s.png" % n] = (150, 190)
    FIXED["gfx/%s_hd.png" % n] = (300, 380)
# The screens' pictures are drawn again at twice their size (menus.py, playscreen.py,
# widgets.py, hiscore.py, editor.py, citymap.py, appraisers.py). A shade is one flat colour, which looks the same
# enlarged from any size, so it stays at one size (gfx/dialog_shade lies outside these
# folders).
LARGER_VERSION_FOLDERS = ("menu/", "buttons/game_", "buttons/dialog_", "ui/", "gfx/game_",
                          "gfx/dialog_panel", "hiscore/", "editor/", "citymap/", "story/",
                          "buttons/map_", "gfx/dot_", "gfx/diamond", "gfx/appraiser_",
                          "gfx/nametag", "endlevel/")
ONE_SIZE = ("menu/shade.png",)
FACE_GROUPS = ("common", "treasure", "unclekenny")
# Pictures drawn over other pictures.
NEED_ALPHA = ("tiles/", "cursor/", "anim/", "gamepiece/")


def expected(faces):
    want = dict(FIXED)
    for f in faces:
        for suffix, size in FACE_SIZES.items():
            want["tiles/%s%s.png" % (f.image_base, suffix)] = size
    return want


def problems(faces, stage):
    """A list of texts, one per missing or wrongly sized picture."""
    out = []
    for rel, size in sorted(expected(faces).items()):
        path = os.path.join(stage, rel)
        if not os.path.isfile(path):
            out.append("missing picture: %s" % rel)
            continue
        if size is None:  # a description beside its picture
            continue
        try:
            with Image.open(path) as im:
                if im.size != size:
                    out.append("%s is %dx%d, expected %dx%d" % (rel, im.size[0], im.size[1], size[0], size[1]))
                elif rel.startswith(NEED_ALPHA):
                    if im.mode != "RGBA":
                        out.append("%s has no alpha channel" % rel)
        except OSError as e:
            out.append("%s cannot be read: %s" % (rel, e))
    return out


def staged_pictures(stage):
    for dirpath, _, files in os.walk(stage):
        for name in files:
            if name.endswith((".png", ".jpg")):
                yield os.path.relpath(os.path.join(dirpath, name), stage).replace(os.sep, "/")


def larger_version_problems(stage):
    """Every "<name>_hd" picture is exactly twice its "<name>.png" (the game draws it in the
    small one's place) and keeps its alpha; every piece that should have one has one. A
    larger version with a size of its own in FIXED (the level backgrounds') is held to that
    size by problems() instead."""
    out = []
    pictures = set(staged_pictures(stage))
    for rel in sorted(pictures):
        stem = rel.rsplit(".", 1)[0]
        if stem.endswith("_hd"):
            base = stem[:-3] + ".png"
            if base not in pictures:
                out.append("%s has no %s beside it" % (rel, base))
                continue
            if rel in FIXED:
                continue
            try:
                with Image.open(os.path.join(stage, base)) as small, \
                        Image.open(os.path.join(stage, rel)) as large:
                    want = (small.size[0] * 2, small.size[1] * 2)
                    if large.size != want:
                        out.append("%s is %dx%d, expected %dx%d (twice %s)" %
                                   (rel, large.size[0], large.size[1], want[0], want[1], base))
                    elif large.mode != "RGBA" and small.mode == "RGBA" and \
                            (rel.endswith(".png") or small.getchannel("A").getextrema()[0] < 255):
                        # a JPEG serves only an opaque picture
                        out.append("%s has no alpha channel" % rel)
            except OSError as e:
                out.append("%s or %s cannot be read: %s" % (base, rel, e))
        elif rel.startswith(LARGER_VERSION_FOLDERS) and rel not in ONE_SIZE and \
                stem + "_hd.png" not in pictures and stem + "_hd.jpg" not in pictures:
            out.append("missing picture: %s_hd.png" % stem)
    return out


def stale(faces, stage):
    want = set(expected(faces))
    extra = []
    for group in FACE_GROUPS:
        root = os.path.join(stage, "tiles", group)
        for dirpath, _, files in os.walk(root):
            for name in files:
                rel = os.path.relpath(os.path.join(dirpath, name), stage).replace(os.sep, "/")
                if rel not in want:
                    extra.append(rel)
    return sorted(extra)


def main():
    cat, stage, stamp = sys.argv[1:4]
    faces = catalogue.read(cat)
    for rel in stale(faces, stage):
        print("removing a picture no face uses: %s" % rel)
        os.remove(os.path.join(stage, rel))
    bad = problems(faces, stage) + larger_version_problems(stage)
    if bad:
        for line in bad:
            print("picture check: " + line, file=sys.stderr)
        print("picture check: %d problem(s)" % len(bad), file=sys.stderr)
        if os.path.exists(stamp):
            os.remove(stamp)
        return 1
    with open(stamp, "w") as f:
        f.write("%d faces, %d pictures checked\n" % (len(faces), len(expected(faces))))
    return 0


if __name__ == "__main__":
    sys.exit(main())
