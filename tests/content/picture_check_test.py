"""The build's picture check: it must fail on a missing or wrongly sized picture and
clean out face pictures that no catalogue row names."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

from PIL import Image

import content_paths
import check

HEADER = ",".join(["suit", "variant", "display_key", "group", "folder", "name", "image_base",
                   "short_name", "antique_look", "treasure", "kenny"])
ROWS = ["0,0,suit_unclehenry,unclekenny,,unclekenny,unclekenny/unclekenny,unclekenny,0,0,1",
        "1,0,suit_baseball,common,baseball,baseball1,common/baseball/baseball1,baseball1,0,0,0"]


class PictureCheckTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.stage = os.path.join(self.dir, "stage")
        self.cat = os.path.join(self.dir, "faces.csv")
        with open(self.cat, "w") as f:
            f.write("# test catalogue\n" + HEADER + "\n" + "\n".join(ROWS) + "\n")
        for rel, size in check.FIXED.items():
            self.put(rel, size)
        for base in ("unclekenny/unclekenny", "common/baseball/baseball1"):
            for suffix, size in check.FACE_SIZES.items():
                self.put("tiles/%s%s.png" % (base, suffix), size)

    def tearDown(self):
        shutil.rmtree(self.dir)

    def put(self, rel, size):
        path = os.path.join(self.stage, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if size is None:  # an animation description
            with open(path, "w") as f:
                f.write("<sequence/>\n")
        else:
            # JPEGs and the level backgrounds are opaque, as the generators write them.
            opaque = rel.endswith(".jpg") or rel.startswith("backgrounds/")
            Image.new("RGB" if opaque else "RGBA", size).save(path)

    def run_check(self):
        stamp = os.path.join(self.dir, "check.stamp")
        gen = os.path.join(content_paths.SOURCE, "content", "pictures", "gen", "check.py")
        r = subprocess.run([sys.executable, gen, self.cat, self.stage, stamp], capture_output=True, text=True)
        return r.returncode, r.stderr, os.path.exists(stamp)

    def test_complete_stage_passes(self):
        code, err, stamped = self.run_check()
        self.assertEqual((code, err), (0, ""))
        self.assertTrue(stamped)

    def test_missing_face_fails_and_names_it(self):
        os.remove(os.path.join(self.stage, "tiles/common/baseball/baseball1_lg.png"))
        code, err, stamped = self.run_check()
        self.assertEqual(code, 1)
        self.assertIn("missing picture: tiles/common/baseball/baseball1_lg.png", err)
        self.assertFalse(stamped)

    def test_missing_blank_and_background_fail(self):
        os.remove(os.path.join(self.stage, "tiles/blank/tile_kenny_hint.png"))
        os.remove(os.path.join(self.stage, "backgrounds/levels/sothebys_bw.png"))
        code, err, _ = self.run_check()
        self.assertEqual(code, 1)
        self.assertIn("tile_kenny_hint.png", err)
        self.assertIn("sothebys_bw.png", err)

    def test_wrong_size_and_missing_alpha_fail(self):
        self.put("tiles/common/baseball/baseball1_md.png", (40, 64))
        Image.new("RGB", (32, 32)).save(os.path.join(self.stage, "cursor/magnify.png"))
        problems = check.problems(__import__("catalogue").read(self.cat), self.stage)
        self.assertIn("tiles/common/baseball/baseball1_md.png is 40x64, expected 48x64", problems)
        self.assertIn("cursor/magnify.png has no alpha channel", problems)

    def test_unreadable_picture_fails(self):
        with open(os.path.join(self.stage, "tiles/blank/tile_on.png"), "wb") as f:
            f.write(b"\x89PNG broken")
        code, err, _ = self.run_check()
        self.assertEqual(code, 1)
        self.assertIn("tile_on.png cannot be read", err)

    def test_larger_versions_are_twice_their_picture_and_every_piece_has_one(self):
        self.put("menu/button_up.png", (170, 42))
        self.put("menu/button_up_hd.png", (340, 84))
        self.put("menu/shade.png", (800, 600))  # one flat colour: one size only
        self.put("menu/splash.png", (800, 600))
        self.put("menu/splash_hd.png", (1600, 1200))
        self.put("buttons/map_button_up.png", (150, 40))
        self.put("buttons/map_button_up_hd.png", (300, 80))
        self.put("gfx/tiny_mark.png", (8, 8))  # outside the folders checked
        self.put("buttons/game_hint_up.png", (114, 46))
        self.put("buttons/game_hint_up_hd.png", (228, 92))
        self.assertEqual(check.larger_version_problems(self.stage), [])
        self.put("buttons/game_hint_up_hd.png", (228, 90))
        self.put("ui/slider_rail.png", (6, 16))
        self.put("gfx/game_counter_hd.png", (1600, 244))
        self.put("citymap/map.png", (800, 600))
        self.put("buttons/map_auctionhouse_over.png", (150, 40))
        self.put("endlevel/valuetag.png", (210, 70))
        Image.new("RGB", (340, 84)).save(os.path.join(self.stage, "menu/button_up_hd.png"))
        code, err, stamped = self.run_check()
        self.assertEqual(code, 1)
        self.assertFalse(stamped)
        self.assertIn("buttons/game_hint_up_hd.png is 228x90, expected 228x92 (twice "
                      "buttons/game_hint_up.png)", err)
        self.assertIn("missing picture: ui/slider_rail_hd.png", err)
        self.assertIn("missing picture: citymap/map_hd.png", err)
        self.assertIn("missing picture: buttons/map_auctionhouse_over_hd.png", err)
        self.assertIn("missing picture: endlevel/valuetag_hd.png", err)
        self.assertNotIn("map_button_up", err)
        self.assertNotIn("tiny_mark", err)
        self.assertIn("gfx/game_counter_hd.png has no gfx/game_counter.png beside it", err)
        self.assertIn("menu/button_up_hd.png has no alpha channel", err)
        self.assertNotIn("shade_hd", err)

    def test_screen_sized_pictures_need_their_larger_version(self):
        for rel in ("menu/mainmenu_background.png", "menu/splash.png", "editor/bench.png",
                    "editor/chooser.png"):
            self.put(rel, (800, 600))
        self.put("menu/splash_hd.png", (1600, 1200))
        self.put("editor/chooser_hd.png", (1600, 1200))
        self.put("menu/shade.png", (800, 600))
        self.assertEqual(check.larger_version_problems(self.stage),
                         ["missing picture: editor/bench_hd.png",
                          "missing picture: menu/mainmenu_background_hd.png"])
        # An opaque picture may have a JPEG, held to the same size; one that lets the screen
        # below show through may not.
        Image.new("RGBA", (800, 600), (1, 2, 3, 255)).save(os.path.join(self.stage, "editor/bench.png"))
        self.put("editor/bench_hd.jpg", (1600, 1200))
        self.put("menu/mainmenu_background_hd.jpg", (1600, 1199))
        self.put("editor/chooser_hd.jpg", (1600, 1200))
        os.remove(os.path.join(self.stage, "editor/chooser_hd.png"))
        self.assertEqual(check.larger_version_problems(self.stage),
                         ["editor/chooser_hd.jpg has no alpha channel",
                          "menu/mainmenu_background_hd.jpg is 1600x1199, expected 1600x1200 "
                          "(twice menu/mainmenu_background.png)"])

    def test_level_backgrounds_larger_version_is_the_size_of_a_large_frame(self):
        # 1600 x 1200 beside a 480 x 360 picture passes, and a background at twice its size,
        # as the pieces are, is one fault named once.
        self.assertEqual(check.larger_version_problems(self.stage), [])
        self.put("backgrounds/levels/attic_color_hd.jpg", (960, 720))
        code, err, _ = self.run_check()
        self.assertEqual(code, 1)
        self.assertEqual(err.count("attic_color_hd.jpg"), 1)
        self.assertIn("backgrounds/levels/attic_color_hd.jpg is 960x720, expected 1600x1200", err)

    def test_unreadable_larger_version_is_reported_not_raised(self):
        self.put("menu/row_up.png", (320, 34))
        with open(os.path.join(self.stage, "menu/row_up_hd.png"), "wb") as f:
            f.write(b"\x89PNG broken")
        problems = check.larger_version_problems(self.stage)
        self.assertEqual(len(problems), 1)
        self.assertIn("menu/row_up_hd.png cannot be read", problems[0])

    def test_stale_face_pictures_are_removed_and_others_kept(self):
        self.put("tiles/common/baseball/baseball9_md.png", (48, 64))
        self.put("gfx/other_module.png", (8, 8))
        code, _, _ = self.run_check()
        self.assertEqual(code, 0)
        self.assertFalse(os.path.exists(os.path.join(self.stage, "tiles/common/baseball/baseball9_md.png")))
        self.assertTrue(os.path.exists(os.path.join(self.stage, "gfx/other_module.png")))


if __name__ == "__main__":
    unittest.main()
