"""Reads the face catalogue (content/catalogue/faces.csv)."""

import csv

COLUMNS = ["suit", "variant", "display_key", "group", "folder", "name", "image_base",
           "short_name", "antique_look", "treasure", "kenny"]


class Face:
    def __init__(self, row):
        self.suit = int(row["suit"])
        self.variant = int(row["variant"])
        self.display_key = row["display_key"]
        self.group = row["group"]
        self.folder = row["folder"]
        self.name = row["name"]
        self.image_base = row["image_base"]
        self.short_name = row["short_name"]
        self.antique = row["antique_look"] == "1"
        self.treasure = row["treasure"] == "1"
        self.kenny = row["kenny"] == "1"


def read(path):
    """All faces in file order. Raises ValueError naming the line of a malformed row."""
    with open(path, encoding="utf-8") as f:
        lines = [line for line in f if not line.startswith("#") and line.strip()]
    reader = csv.DictReader(lines)
    if reader.fieldnames != COLUMNS:
        raise ValueError("%s: unexpected header %s" % (path, reader.fieldnames))
    faces = []
    for n, row in enumerate(reader, 2):
        if None in row or any(v is None for v in row.values()):
            raise ValueError("%s: row %d has the wrong number of fields" % (path, n))
        try:
            faces.append(Face(row))
        except ValueError as e:
            raise ValueError("%s: row %d: %s" % (path, n, e))
    return faces


def picture_names(face):
    return ["tiles/%s_md.png" % face.image_base, "tiles/%s_lg.png" % face.image_base]
