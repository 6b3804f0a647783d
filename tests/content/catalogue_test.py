"""The face catalogue: its shape, its numbering and the rules its flags follow."""

import collections
import unittest

import content_paths
import catalogue


class CatalogueTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.faces = catalogue.read(content_paths.CATALOGUE)

    def test_counts(self):
        self.assertEqual(len(self.faces), 347)
        self.assertEqual(len({f.suit for f in self.faces}), 130)
        common = [f for f in self.faces if 1 <= f.suit <= 77]
        treasure = [f for f in self.faces if f.treasure]
        antique_common = [f for f in self.faces if f.suit >= 127]
        self.assertEqual((len(common), len(treasure), len(antique_common)), (231, 108, 7))
        self.assertEqual([f.short_name for f in self.faces if f.kenny], ["unclekenny"])

    def test_suits_and_variants_are_numbered_in_order(self):
        last = (-1, -1)
        for f in self.faces:
            if f.suit == last[0]:
                self.assertEqual(f.variant, last[1] + 1, f.short_name)
            else:
                self.assertEqual((f.suit, f.variant), (last[0] + 1, 0), f.short_name)
            last = (f.suit, f.variant)
        self.assertEqual(last[0], 129)

    def test_flags_follow_the_suit_ranges(self):
        for f in self.faces:
            self.assertEqual(f.kenny, f.suit == 0, f.short_name)
            self.assertEqual(f.treasure, 78 <= f.suit <= 126, f.short_name)
            self.assertEqual(f.antique, f.suit >= 78, f.short_name)

    def test_names(self):
        names = collections.Counter(f.short_name for f in self.faces)
        self.assertEqual([n for n, k in names.items() if k > 1], [])
        for f in self.faces:
            self.assertEqual(f.short_name, f.image_base.rsplit("/", 1)[-1])
            self.assertEqual(f.name, f.short_name)
            if f.kenny:
                self.assertEqual(f.image_base, "unclekenny/unclekenny")
            else:
                self.assertEqual(f.image_base, "%s/%s/%s" % (f.group, f.folder, f.name))
                self.assertEqual(f.group, "common" if f.suit <= 77 else "treasure")
            self.assertTrue(f.display_key.startswith("suit_"), f.display_key)

    def test_one_suit_one_folder_and_display_key(self):
        by_suit = collections.defaultdict(set)
        for f in self.faces:
            by_suit[f.suit].add((f.group, f.folder, f.display_key))
        self.assertEqual({s: v for s, v in by_suit.items() if len(v) != 1}, {})

    def test_known_rows(self):
        by_face = {(f.suit, f.variant): f for f in self.faces}
        self.assertEqual(by_face[(5, 2)].image_base, "common/camera/projector2")
        self.assertEqual(by_face[(10, 1)].short_name, "coin6")
        self.assertEqual(by_face[(83, 7)].image_base, "treasure/chair/chair14")
        self.assertEqual(by_face[(106, 5)].short_name, "stamp6")
        self.assertEqual(by_face[(129, 0)].image_base, "treasure/lock/lock1")
        self.assertEqual(by_face[(83, 0)].display_key, by_face[(8, 0)].display_key)

    def test_every_face_has_a_drawing(self):
        import recipes
        names = {f.short_name for f in self.faces}
        self.assertEqual(sorted(names - set(recipes.R)), [])
        self.assertEqual(sorted(set(recipes.R) - names), [])


class ReaderTest(unittest.TestCase):
    def write(self, text):
        import tempfile
        f = tempfile.NamedTemporaryFile("w", suffix=".csv", delete=False)
        f.write(text)
        f.close()
        return f.name

    def test_rejects_a_wrong_header(self):
        path = self.write("# comment\nsuit,variant\n1,0\n")
        with self.assertRaises(ValueError):
            catalogue.read(path)

    def test_rejects_a_short_row(self):
        header = ",".join(catalogue.COLUMNS)
        path = self.write(header + "\n1,0,suit_x,common,x\n")
        with self.assertRaisesRegex(ValueError, "row 2"):
            catalogue.read(path)

    def test_rejects_a_bad_number(self):
        header = ",".join(catalogue.COLUMNS)
        path = self.write(header + "\none,0,suit_x,common,x,x1,common/x/x1,x1,0,0,0\n")
        with self.assertRaises(ValueError):
            catalogue.read(path)


if __name__ == "__main__":
    unittest.main()
