"""Writes the game's compiled face table from the face catalogue.

    make_face_table.py faces.csv OUT.inc

faces.csv is the one source of the catalogue: the content generators read it directly,
and the game reads it through the C++ table written here at build time (game/
face_catalogue.cpp includes it). The table keeps every column the rules need, including
the catalogue's own flags, so that the C++ side can check them against its suit ranges
when it compiles: a catalogue whose flags disagree with the game's rules stops the build.
The rows must be in suit order and variant order, every suit 0..129 present; anything
else stops the build here, with the line at fault.
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "pictures",
                                "gen"))
import catalogue  # noqa: E402

SUIT_COUNT = 130


def check_order(faces):
    expected = (0, 0)
    for f in faces:
        if (f.suit, f.variant) == expected:
            pass
        elif f.variant == 0 and f.suit == expected[0] + 1:
            pass
        else:
            raise ValueError("face %s is (%d, %d) where (%d, %d) or the next suit's variant 0 "
                             "was expected" % (f.short_name, f.suit, f.variant, *expected))
        expected = (f.suit, f.variant + 1)
    if not faces or faces[-1].suit != SUIT_COUNT - 1:
        raise ValueError("the catalogue must end with suit %d" % (SUIT_COUNT - 1))


def cxx_string(text):
    if any(c in text for c in '"\\\n') or not text.isascii():
        raise ValueError("unexpected character in %r" % text)
    return '"%s"' % text


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    source, output = argv[1], argv[2]
    try:
        faces = catalogue.read(source)
        check_order(faces)
        rows = []
        for f in faces:
            rows.append("    {%d, %d, %s, %s, %s, %s, %s, %s}," % (
                f.suit, f.variant, cxx_string(f.display_key), cxx_string(f.image_base),
                cxx_string(f.short_name), "true" if f.antique else "false",
                "true" if f.treasure else "false", "true" if f.kenny else "false"))
    except (OSError, ValueError) as e:
        sys.stderr.write("make_face_table: %s\n" % e)
        return 1
    text = ("// Written by content/catalogue/make_face_table.py from content/catalogue/faces.csv"
            " at build\n// time; edit the catalogue, not this file.\n"
            "inline constexpr TFaceRow kFaceRows[] = {\n%s\n};\n" % "\n".join(rows))
    # Rewrite only on a change, so that an unchanged catalogue does not rebuild the game.
    try:
        with open(output, encoding="utf-8") as f:
            if f.read() == text:
                return 0
    except OSError:
        pass
    with open(output, "w", encoding="utf-8") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
