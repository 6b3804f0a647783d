"""The drawing helpers the picture generators rest on: colour treatments, the house
finish, the auto-fit of faces, the board composition of the review sheets, the scene
placement and the black-and-white conversion."""

import os
import shutil
import tempfile
import unittest

from PIL import Image, ImageChops, ImageStat

import content_paths  # noqa: F401 (puts the generators on the path)
import backgrounds
import canvas
import catalogue
import faces
import paint
import scene
import sheets


def solid(size, colour):
    return Image.new("RGBA", size, colour)


class ColourTest(unittest.TestCase):
    def test_tint_maps_dark_and_light_to_the_ramp_ends_and_keeps_alpha(self):
        im = Image.new("RGBA", (2, 1))
        im.putpixel((0, 0), (0, 0, 0, 77))
        im.putpixel((1, 0), (255, 255, 255, 200))
        out = paint.tint(im, ["#102030", "#f0e0d0"], amount=1.0)
        self.assertEqual(out.getpixel((0, 0)), (0x10, 0x20, 0x30, 77))
        self.assertEqual(out.getpixel((1, 0)), (0xf0, 0xe0, 0xd0, 200))

    def test_hue_shift_turns_red_to_blue(self):
        out = paint.hue_shift(solid((1, 1), (220, 30, 30, 255)), 240)
        r, g, b, a = out.getpixel((0, 0))
        self.assertGreater(b, 150)
        self.assertLess(r, 80)
        self.assertEqual(a, 255)

    def test_hue_shift_limited_to_a_range_leaves_other_colours(self):
        im = Image.new("RGBA", (2, 1))
        im.putpixel((0, 0), (220, 30, 30, 255))  # red: in range
        im.putpixel((1, 0), (30, 160, 40, 255))  # green: outside
        out = paint.hue_shift(im, 240, only=(330, 20))
        self.assertGreater(out.getpixel((0, 0))[2], 150)
        self.assertEqual(out.getpixel((1, 0)), (30, 160, 40, 255))

    def test_missing_emoji_artwork_is_an_error(self):
        with self.assertRaises(ValueError):
            paint.emoji("\u265E")  # a chess knight: text font only, no emoji artwork
        self.assertGreater(paint.emoji("\u2615").width, 50)


class FinishTest(unittest.TestCase):
    def test_outline_and_shadow_surround_the_object(self):
        obj = Image.new("RGBA", (200, 200))
        obj.paste((250, 250, 250, 255), (60, 60, 140, 140))
        out = paint.finish(obj, 50, 50, 1.5)
        self.assertEqual(out.size, (50, 50))
        # just outside the object's edge the outline is dark and opaque
        r, g, b, a = out.getpixel((50 // 2, 14))
        self.assertGreater(a, 180)
        self.assertLess(r + g + b, 300)
        # the shadow falls to the lower left, not to the upper right
        lower_left = out.getpixel((13, 37))[3]
        upper_right = out.getpixel((37, 13))[3]
        self.assertGreater(lower_left, upper_right)
        self.assertEqual(out.getpixel((2, 2))[3], 0)

    def test_glow_only_when_asked(self):
        obj = Image.new("RGBA", (200, 200))
        obj.paste((250, 250, 250, 255), (80, 80, 120, 120))
        plain = paint.finish(obj, 50, 50, 1.0)
        glowing = paint.finish(obj, 50, 50, 1.0, glow=(255, 214, 110))
        # two pixels right of the object: past the outline, clear of the shadow
        self.assertLess(plain.getpixel((32, 25))[3], 5)
        self.assertGreater(glowing.getpixel((32, 25))[3], 20)


class FaceFitTest(unittest.TestCase):
    def face(self, name, antique=False):
        f = catalogue.Face({"suit": "1", "variant": "0", "display_key": "suit_x", "group": "common",
                            "folder": "x", "name": name, "image_base": "common/x/" + name,
                            "short_name": name, "antique_look": "1" if antique else "0",
                            "treasure": "0", "kenny": "0"})
        return f

    def render_with(self, draw, antique=False):
        faces.recipes.R["__test"] = draw
        try:
            return faces.render(self.face("__test", antique))
        finally:
            del faces.recipes.R["__test"]

    def test_a_small_drawing_is_enlarged_and_centred(self):
        def draw(cv):
            c = cv.vec()
            c.rectangle(10, 10, 20, 30)
            c.set_source_rgb(1, 0, 0)
            c.fill()

        im = self.render_with(draw)
        self.assertEqual(im.size, (faces.OUT_W, faces.OUT_H))
        box = im.getchannel("A").getbbox()
        w, h = box[2] - box[0], box[3] - box[1]
        # limited by the largest enlargement
        self.assertAlmostEqual(w / (20 * canvas.UNIT), faces.MAX_ZOOM, delta=0.05)
        cx, cy = (box[0] + box[2]) / 2, (box[1] + box[3]) / 2
        self.assertAlmostEqual(cx, faces.OUT_W / 2 + 3, delta=2)
        self.assertAlmostEqual(cy, faces.OUT_H / 2 - 3, delta=2)

    def test_a_large_drawing_fits_the_fill_box(self):
        def draw(cv):
            c = cv.vec()
            c.rectangle(0, 40, 120, 60)
            c.set_source_rgb(0, 0, 1)
            c.fill()

        plain = self.render_with(draw).getchannel("A").getbbox()
        antique = self.render_with(draw, antique=True).getchannel("A").getbbox()
        self.assertAlmostEqual((plain[2] - plain[0]) / faces.OUT_W, faces.FILL_W, delta=0.01)
        self.assertLess(antique[2] - antique[0], plain[2] - plain[0])

    def test_an_empty_drawing_stays_empty(self):
        im = self.render_with(lambda cv: cv.vec())
        self.assertIsNone(im.getchannel("A").getbbox())
        self.assertEqual(im.size, (faces.OUT_W, faces.OUT_H))


class ReviewSheetTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        os.makedirs(os.path.join(self.dir, "tiles/blank"))
        os.makedirs(os.path.join(self.dir, "tiles/common/x"))
        for name in ("tile_off", "tile_antique", "tile_kenny"):
            solid((47, 64), (10, 10, 10, 255)).save(os.path.join(self.dir, "tiles/blank/%s.png" % name))
        solid((48, 64), (255, 0, 0, 255)).save(os.path.join(self.dir, "tiles/common/x/x1_md.png"))

    def tearDown(self):
        shutil.rmtree(self.dir)

    def test_faces_sit_on_the_blank_as_the_board_draws_them(self):
        f = FaceFitTest.face(None, "x1")
        t = sheets.tile(sheets.Pictures(self.dir), f)
        self.assertEqual(t.size, (47, 64))
        red = t.convert("RGB").point(lambda v: 255 if v > 128 else 0).getchannel("R").getbbox()
        # 48x64 at 11/15 is 35x47, centred 3 right of and 3 above the blank's centre
        self.assertEqual((red[2] - red[0], red[3] - red[1]), (35, 47))
        self.assertAlmostEqual((red[0] + red[2]) / 2, 47 / 2 + 3, delta=1)
        self.assertAlmostEqual((red[1] + red[3]) / 2, 64 / 2 - 3, delta=1)

    def test_blank_by_look(self):
        f = FaceFitTest.face(None, "x1")
        self.assertEqual(sheets.blank_name(f), "tile_off")
        f.antique = True
        self.assertEqual(sheets.blank_name(f, "on"), "tile_antique_on")
        f.antique, f.kenny = False, True
        self.assertEqual(sheets.blank_name(f), "tile_kenny")


class SceneTest(unittest.TestCase):
    def test_placed_drawing_lands_bottom_centre_on_the_point(self):
        s = scene.Scene()
        p = scene.Placed(s, 100, 300, 82)  # half the face canvas height
        c = p.vec()
        c.rectangle(50, 154, 20, 10)  # the bottom middle of the face canvas
        c.set_source_rgb(1, 1, 1)
        c.fill()
        box = paint.surface_to_image(s.layers[0]).getchannel("A").getbbox()
        ss = scene.SS
        self.assertAlmostEqual((box[0] + box[2]) / 2 / ss, 100, delta=1)
        self.assertAlmostEqual(box[3] / ss, 300, delta=1)
        self.assertAlmostEqual((box[2] - box[0]) / ss, 10, delta=1)

    def test_a_scene_drawn_at_the_large_scale_matches_its_normal_picture(self):
        # The larger background is drawn anew at 10/3 pixels per unit, not enlarged: shapes,
        # placed drawings and emoji props must land where the normal picture has them.
        def draw(s):
            c = s.vec()
            scene.rect(c, 0, 0, scene.W, scene.H, "#406080")
            c.arc(120, 90, 40, 0, 6.2832)
            scene.fill(c, "#f0d070")
            s.prop("\U0001F4E6", 330, 300, 90)
            p = scene.Placed(s, 200, 340, 164).vec()
            p.rectangle(10, 100, 40, 60)
            p.set_source_rgb(0.9, 0.1, 0.1)
            p.fill()
        small = backgrounds.drawn(draw, scene.SS).resize((scene.W, scene.H), Image.LANCZOS)
        large = backgrounds.drawn(draw, backgrounds.LARGE_SCALE)
        self.assertEqual(large.size, (1600, 1200))
        diff = ImageChops.difference(large.resize(small.size, Image.LANCZOS), small).convert("L")
        off = sum(diff.histogram()[40:])
        self.assertLess(off / (scene.W * scene.H), 0.005)
        # and the prop is really there in both (not the backdrop's colour)
        self.assertNotEqual(small.getpixel((330, 260))[:3], (0x40, 0x60, 0x80))

    def test_black_and_white_has_no_colour_and_keeps_the_size(self):
        im = Image.new("RGB", (48, 36), (200, 40, 40))
        im.paste((30, 90, 200), (0, 0, 24, 36))
        bw = backgrounds.black_and_white(im)
        self.assertEqual(bw.size, im.size)
        sat = ImageStat.Stat(bw.convert("HSV").split()[1]).mean[0]
        self.assertLess(sat, 25)
        # brightness order survives: the lighter red half stays lighter than the blue half
        self.assertGreater(bw.convert("L").getpixel((40, 10)), bw.convert("L").getpixel((5, 10)))


if __name__ == "__main__":
    unittest.main()
