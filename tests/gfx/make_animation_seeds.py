#!/usr/bin/python3
# Writes the seed files of the animation and particle fuzz targets (run with Debian's
# python3): packed ".anm" files of both versions, XML descriptions, and byte strings that
# the particle compiler fuzz target turns into scripts.
import os
import struct

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds")


def string(s):
    b = s.encode("latin-1")
    return struct.pack("<I", len(b)) + b


def anm(version, frames, script=None, extra=(0.0, 0.0, 0.0, 0.0)):
    out = b"ANIM" + struct.pack("<Ii", 7, version) + string("seed") + string("seed.psd")
    out += b"IMGN" + struct.pack("<iiii", 1, 2, 64, 32)
    if version == 1:
        out += struct.pack("<4f", *extra)
    out += string("sheet.png") + string("")
    out += b"FRMS" + struct.pack("<I", len(frames))
    for (x, y, w, h, regx, regy, alpha, xform, anchors) in frames:
        out += struct.pack("<iiiiii", regx, regy, x, y, w, h)
        if version >= 2:
            out += struct.pack("<f", alpha)
        out += struct.pack("<6f", *xform) + string("f%d" % x)
        out += struct.pack("<I", len(anchors))
        for (ax, ay, name) in anchors:
            out += struct.pack("<ii", ax, ay) + string(name)
    if script is not None:
        out += b"SCRP" + string(script)
    return out


NONE = (-10000000.0, 0, 0, 0, 0, 0)
FRAMES = [(0, 0, 16, 16, 8, 15, 1.0, NONE, []),
          (16, 0, 16, 16, 8, 15, 0.5, (1, 0, 0, 1, 2, 3), [(4, 5, "tip")]),
          (32, 0, 0, 0, 0, 0, 1.0, NONE, [])]
SCRIPT = "function DoAnim()\n  delay( 60 );\n  frames{ 1, 2, 3 };\nend\n"


def write(folder, name, data):
    os.makedirs(os.path.join(here, folder), exist_ok=True)
    with open(os.path.join(here, folder, name), "wb") as f:
        f.write(data)


write("anm", "v2_script.anm", anm(2, FRAMES, SCRIPT))
write("anm", "v2_noscript.anm", anm(2, FRAMES))
write("anm", "v1.anm", anm(1, FRAMES[:1], SCRIPT, (1.5, 2.5, 3.5, 4.5)))
write("anm", "empty.anm", anm(2, []))

write("animation_xml", "full.xml", b"""<?xml version="1.0"?>
<sequence name="seed" source="seed.psd">
  <img regx="1" regy="2" w="64" h="32" name="sheet.png" mask="mask.png"/>
  <framelist>
    <frame x="0" y="0" w="16" h="16" name="a" regx="8" regy="15">
      <anchor name="tip" x="4" y="5"/>
    </frame>
    <frame x="16" y="0" w="16" h="16" name="b" alpha="0.5" xform="1 0 0 1 2 3"/>
    <frame x="32" y="0" w="0" h="0" name="c" xform="-10000000 0 0 0 0 0"/>
  </framelist>
  <script luascript="function DoAnim()&#10;  frames{ 1, 2, 3 };&#10;end"/>
</sequence>
""")
write("animation_xml", "minimal.xml", b"<sequence><img name='x.png'/></sequence>")

# Particle compiler seeds: each byte picks the next grammar choice.
write("particle_compiler", "members.bin", bytes([0, 1, 0, 5, 2, 3, 1, 6, 4, 1, 7, 0, 200, 1]))
write("particle_compiler", "calls.bin", bytes([0, 0, 5, 3, 3, 1, 5, 0, 120, 0, 2, 100, 0, 0, 130, 1]))
write("particle_compiler", "nested.bin", bytes(range(0, 256, 3)))
write("particle_compiler", "tables.bin", bytes([2, 8, 5, 1, 2, 3, 4, 5, 0, 11, 0, 1, 0, 2, 3, 4]))
