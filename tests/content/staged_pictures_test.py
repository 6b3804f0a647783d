"""The pictures the build staged: faces of one suit must be told apart at board size,
and the drawn pictures must look like what the game expects of them."""

import itertools
import os
import unittest
import xml.etree.ElementTree as ElementTree

from PIL import Image, ImageChops, ImageStat

import content_paths  # puts the generators on the path
import animations
import catalogue
import check

IVORY = (245, 238, 220, 255)
# mean difference per channel (0..255) of two faces of one suit, seen at half board size
MIN_SUIT_DIFFERENCE = 8.0


def staged():
    return content_paths.STAGE and os.path.isfile(os.path.join(content_paths.STAGE, "tiles", "blank",
                                                                "tile_off.png"))


@unittest.skipUnless(staged(), "no staged content: build the assets target first")
class StagedPicturesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.faces = catalogue.read(content_paths.CATALOGUE)

    def open(self, rel):
        return Image.open(os.path.join(content_paths.STAGE, rel))

    def small(self, face):
        im = self.open("tiles/%s_md.png" % face.image_base).convert("RGBA")
        bg = Image.new("RGBA", im.size, IVORY)
        bg.alpha_composite(im)
        return bg.convert("RGB").resize((22, 30), Image.BOX)

    def test_every_picture_is_present(self):
        self.assertEqual(check.problems(self.faces, content_paths.STAGE), [])

    def test_faces_of_a_suit_differ_at_a_glance(self):
        by_suit = {}
        for f in self.faces:
            by_suit.setdefault(f.suit, []).append(f)
        close = []
        for fs in by_suit.values():
            pics = {f.short_name: self.small(f) for f in fs}
            for a, b in itertools.combinations(fs, 2):
                d = sum(ImageStat.Stat(ImageChops.difference(pics[a.short_name], pics[b.short_name])).mean) / 3
                if d < MIN_SUIT_DIFFERENCE:
                    close.append("%s/%s %.1f" % (a.short_name, b.short_name, d))
        self.assertEqual(close, [])

    def test_faces_fill_their_picture_and_leave_a_margin(self):
        size = check.FACE_SIZES["_md"]
        small, touching = [], []
        for f in self.faces:
            im = self.open("tiles/%s_md.png" % f.image_base)
            box = im.getchannel("A").point(lambda a: 255 if a > 40 else 0).getbbox()
            if box is None or max((box[2] - box[0]) / size[0], (box[3] - box[1]) / size[1]) < 0.75:
                small.append(f.short_name)
            elif not (box[0] > 0 and box[1] > 0 and box[2] < size[0] and box[3] < size[1]):
                touching.append("%s %s" % (f.short_name, box))
        self.assertEqual(small, [])
        self.assertEqual(touching, [])

    def test_blanks_have_their_sides_to_the_lower_left(self):
        for name in check.BOARD_BLANKS:
            a = self.open("tiles/blank/%s.png" % name).getchannel("A")
            self.assertEqual(a.getpixel((2, 2)), 0, name)  # upper left: nothing
            self.assertEqual(a.getpixel((44, 62)), 0, name)  # lower right: nothing
            self.assertEqual(a.getpixel((3, 60)), 255, name)  # the drawn sides
            self.assertEqual(a.getpixel((27, 28)), 255, name)  # the top face

    def test_lit_and_hint_blanks_differ_from_the_plain_one(self):
        for plain, lit, hint in (("tile_off", "tile_on", "tile_off_hint"),
                                 ("tile_antique", "tile_antique_on", "tile_antique_hint"),
                                 ("tile_kenny", "tile_kenny_on", "tile_kenny_hint")):
            p = self.open("tiles/blank/%s.png" % plain).convert("RGB").getpixel((27, 28))
            g = self.open("tiles/blank/%s.png" % hint).convert("RGB").getpixel((27, 28))
            l_ = self.open("tiles/blank/%s.png" % lit).convert("RGB").getpixel((27, 28))
            self.assertGreater(g[1] - g[0], p[1] - p[0] + 20, hint)  # the hint face is green
            self.assertNotEqual(l_, p, lit)

    def test_black_and_white_backgrounds_have_no_colour(self):
        for rel in check.FIXED:
            if rel.endswith("_bw.png"):
                h, s, v = self.open(rel).convert("RGB").convert("HSV").split()
                self.assertLess(ImageStat.Stat(s).mean[0], 25, rel)
                col = self.open(rel.replace("_bw", "_color")).convert("RGB").convert("HSV")
                self.assertGreater(ImageStat.Stat(col.split()[1]).mean[0], 60, rel)

    def test_cursors_are_see_through_around_the_pointer(self):
        for name in ("cursor", "magnify"):
            a = self.open("cursor/%s.png" % name).getchannel("A")
            self.assertEqual(a.getpixel((31, 0)), 0, name)
            self.assertGreater(a.getpixel((12, 12) if name == "magnify" else (4, 10)), 200, name)

    def test_animation_frames_are_drawn_inside_their_cells(self):
        for anim in animations.animations():
            base = "anim/%s/%s" % (anim.name, anim.name)
            sheet = self.open(base + ".png").convert("RGBA")
            root = ElementTree.parse(os.path.join(content_paths.STAGE, base + ".xml")).getroot()
            img = root.find("img")
            self.assertEqual((int(img.get("w")), int(img.get("h"))), sheet.size, anim.name)
            frames = root.find("framelist").findall("frame")
            self.assertEqual(len(frames), len(anim.frames), anim.name)
            self.assertIn("function DoAnim()", root.find("script").get("luascript"), anim.name)
            for i, f in enumerate(frames):
                x, y, w, h = (int(f.get(k)) for k in ("x", "y", "w", "h"))
                cell = sheet.crop((x, y, x + w, y + h)).getchannel("A")
                box = cell.point(lambda a: 255 if a > 24 else 0).getbbox()
                if anim.name == "bling" and i == 0:
                    self.assertIsNone(box, "the sparkle's first frame is empty")
                    continue
                self.assertIsNotNone(box, "%s frame %d is empty" % (anim.name, i + 1))
                # nothing cut off at the cell's edges
                self.assertTrue(box[0] > 0 and box[1] > 0 and box[2] < w and box[3] < h,
                                "%s frame %d touches its edge: %s" % (anim.name, i + 1, box))
                # objects stand on their origin point: their lowest pixels are close to it
                if anim.origin[1] > h // 2:
                    self.assertLess(abs(box[3] - anim.origin[1]), 8, "%s frame %d" % (anim.name, i + 1))

    def test_particle_pictures_are_light_so_colours_tint_them(self):
        for rel in ("gamepiece/small.png", "gamepiece/spark.png"):
            im = self.open(rel).convert("RGBA")
            mask = im.getchannel("A").point(lambda a: 255 if a > 128 else 0)
            stat = ImageStat.Stat(im.convert("RGB"), mask)
            self.assertGreater(min(stat.mean), 200, rel)
            self.assertGreater(ImageStat.Stat(mask).mean[0], 20, rel)


if __name__ == "__main__":
    unittest.main()
