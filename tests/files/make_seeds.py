#!/usr/bin/python3
# Writes the small seed corpora of the package and ZXML fuzz targets (run once; the
# results are committed).
import os, struct, zlib

here = os.path.dirname(os.path.abspath(__file__))

def package(members):
    header = b"TVPK" + struct.pack("<I", len(members))
    offset = len(header) + sum(1 + len(n) + 8 for n, _ in members)
    directory, body = b"", b""
    for name, data in members:
        directory += bytes([len(name)]) + name + struct.pack("<II", offset, len(data))
        offset += len(data)
        body += data
    return header + directory + body

def zxml(text):
    packed = zlib.compress(text, 9)
    return b"ZXML" + struct.pack("<II", len(packed), len(text)) + packed

seeds = {
    "package/two_members.tvp": package([(b"scripts/main.lua", b"print(1)\r\n"),
                                        (b"Anim/Bling.png", b"\x89PNG....")]),
    "package/empty.tvp": package([]),
    "package/cut.tvp": package([(b"a", b"abc"), (b"b", b"def")])[:20],
    "package/bad_magic.tvp": b"TVPX" + package([(b"a", b"x")])[4:],
    "zxml/settings.zxml": zxml(b'<?xml version="1.0"?>\n<settings><key name="a">1</key></settings>\n'),
    "zxml/empty.zxml": zxml(b""),
    "zxml/plain.xml": b"<root/>",
}
for name, data in seeds.items():
    path = os.path.join(here, "seeds", name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
