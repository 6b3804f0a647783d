"""Draws the decorative flip-book animations: for each one a sprite sheet
anim/<name>/<name>.png holding every frame side by side (in rows when they would pass
1024 pixels) and the description anim/<name>/<name>.xml with the frame list, each
frame's origin point and the Lua script that paces the frames.

  bling         a sparkle that flashes up and dies away (frame 1 is empty: at rest the
                sprite shows nothing)
  dotanim       the pulsing gold marker of the current day on the city map trail
  phone         a red telephone that rings twice
  rockinghorse  a painted rocking horse rocking on its rockers
  train         a steam locomotive chugging, steam puffing from its chimney
  truck         a delivery truck idling, exhaust puffing behind it

Objects stand on their origin point (the middle of their base), so a sprite placed on a
shelf line stands on it; the sparkle and the marker are placed by their centre. Frame 1
is the picture at rest: menus show it between plays.

usage: animations.py STAGE_DIR STAMP"""

import math
import os
import sys

import cairo
from PIL import Image

import paint
from paint import hexrgb, shade
from vector import ellipse, lin

SS = 4  # working pixels per picture pixel
MAX_SHEET_W = 1024


class Animation:
    def __init__(self, name, size, origin, script, frames):
        self.name = name
        self.size = size  # every frame's size
        self.origin = origin  # the frames' origin point
        self.script = script
        self.frames = frames  # functions returning an RGBA image of `size`

    def columns(self):
        return max(1, min(len(self.frames), MAX_SHEET_W // self.size[0]))

    def sheet_size(self):
        cols = self.columns()
        rows = (len(self.frames) + cols - 1) // cols
        return self.size[0] * cols, self.size[1] * rows


# --- drawing helpers -------------------------------------------------------------------

def work_layer(size):
    return Image.new("RGBA", (size[0] * SS, size[1] * SS))


def vector_layer(size):
    """A cairo layer at working resolution whose units are picture pixels."""
    return paint.new_layer(size[0] * SS, size[1] * SS, SS)


def place_emoji(layer, char, box, centre, prepare=None):
    """Emoji artwork (passed through prepare, when given) fitted into box (w, h) and
    centred on centre, in picture pixels. Answers where it went: (left, top, w, h)."""
    im = paint.emoji(char)
    if prepare:
        im = prepare(im)
    im = paint.fit(im, box[0] * SS, box[1] * SS)
    left, top = int(centre[0] * SS - im.width / 2), int(centre[1] * SS - im.height / 2)
    layer.alpha_composite(im, (left, top))
    return left / SS, top / SS, im.width / SS, im.height / SS


def turned(layer, degrees, pivot):
    """The layer turned clockwise on screen by degrees around pivot (picture pixels)."""
    if not degrees:
        return layer
    return layer.rotate(-degrees, resample=Image.BICUBIC, center=(pivot[0] * SS, pivot[1] * SS))


def shifted(layer, dx, dy):
    out = Image.new("RGBA", layer.size)
    out.alpha_composite(layer, (int(round(dx * SS)), int(round(dy * SS))))
    return out


def finished(layer, size, outline=1.0):
    """The house finish of the tile faces: dark outline and a soft shadow to the lower left."""
    return paint.finish(layer, size[0], size[1], outline)


def reduced(layer, size):
    return layer.resize(size, Image.LANCZOS)


def puff(c, x, y, r, alpha, tone=(0.96, 0.95, 0.93)):
    """A soft round puff of steam or smoke."""
    g = cairo.RadialGradient(x - r * 0.3, y - r * 0.3, r * 0.1, x, y, r)
    g.add_color_stop_rgba(0, min(1, tone[0] + 0.04), min(1, tone[1] + 0.04), min(1, tone[2] + 0.04), alpha)
    g.add_color_stop_rgba(0.7, tone[0] * 0.92, tone[1] * 0.92, tone[2] * 0.92, alpha * 0.85)
    g.add_color_stop_rgba(1, tone[0] * 0.8, tone[1] * 0.8, tone[2] * 0.8, 0)
    c.set_source(g)
    ellipse(c, x, y, r, r)
    c.fill()


# --- bling: a sparkle -------------------------------------------------------------------

BLING = (48, 48)


def four_point_star(c, x, y, r, waist, turn):
    c.save()
    c.translate(x, y)
    c.rotate(turn)
    for i in range(8):
        a = -math.pi / 2 + i * math.pi / 4
        rr = r if i % 2 == 0 else r * waist
        (c.move_to if i == 0 else c.line_to)(rr * math.cos(a), rr * math.sin(a))
    c.close_path()
    c.restore()


def bling_frame(step):
    def draw():
        s, c = vector_layer(BLING)
        if step == 0:
            return reduced(paint.surface_to_image(s), BLING)
        r = [0, 8, 13, 18, 22][step]
        turn = [0, 0, 0.12, 0.24, 0.34][step]
        cx, cy = 24, 24
        glow = cairo.RadialGradient(cx, cy, 0, cx, cy, r * 0.9)
        glow.add_color_stop_rgba(0, 1, 0.98, 0.85, 0.85)
        glow.add_color_stop_rgba(0.4, 1, 0.85, 0.4, 0.35)
        glow.add_color_stop_rgba(1, 1, 0.8, 0.3, 0)
        c.set_source(glow)
        ellipse(c, cx, cy, r, r)
        c.fill()
        # the long glint and a smaller one across it
        for radius, waist, angle, alpha in ((r, 0.16, turn, 1.0), (r * 0.55, 0.25, turn + math.pi / 4, 0.9)):
            four_point_star(c, cx, cy, radius, waist, angle)
            g = cairo.RadialGradient(cx, cy, 0, cx, cy, radius)
            g.add_color_stop_rgba(0, 1, 1, 1, alpha)
            g.add_color_stop_rgba(0.45, 1, 0.95, 0.7, alpha)
            g.add_color_stop_rgba(1, 1, 0.78, 0.25, alpha)
            c.set_source(g)
            c.fill_preserve()
            c.set_source_rgba(0.6, 0.38, 0.05, 0.75 * alpha)
            c.set_line_width(max(0.6, radius * 0.05))
            c.stroke()
        return reduced(paint.surface_to_image(s), BLING)

    return draw


# --- dotanim: the current day's marker ---------------------------------------------------

DOT = (32, 32)


def dot_frame(i, n):
    def draw():
        t = i / n
        s, c = vector_layer(DOT)
        cx, cy = 16, 16
        # A ring spreads from the dot and fades: dark enough to show on the map's parchment.
        ring = 8 + 7 * t
        c.set_source_rgba(*hexrgb("#b5650d"), 0.9 * (1 - t))
        c.set_line_width(2.4 * (1 - t) + 0.6)
        ellipse(c, cx, cy, ring, ring)
        c.stroke()
        r = 7.2 + 1.2 * math.sin(2 * math.pi * t)
        g = cairo.RadialGradient(cx - r * 0.35, cy - r * 0.4, r * 0.1, cx, cy, r)
        g.add_color_stop_rgb(0, *hexrgb("#fff6c8"))
        g.add_color_stop_rgb(0.45, *hexrgb("#f2c230"))
        g.add_color_stop_rgb(1, *hexrgb("#b97a0c"))
        c.set_source(g)
        ellipse(c, cx, cy, r, r)
        c.fill_preserve()
        c.set_source_rgb(*hexrgb("#4a2a0c"))
        c.set_line_width(1.3)
        c.stroke()
        c.set_source_rgba(1, 1, 1, 0.8)
        ellipse(c, cx - r * 0.35, cy - r * 0.4, r * 0.28, r * 0.2)
        c.fill()
        return reduced(paint.surface_to_image(s), DOT)

    return draw


# --- phone: a ringing telephone -----------------------------------------------------------

PHONE = (128, 100)
PHONE_BASE = (64, 94)


def ring_waves(size, centre, big, ink="#7a1c10"):
    s, c = vector_layer(size)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.set_source_rgb(*hexrgb(ink))
    for side in (-1, 1):
        for k in range(3 if big else 2):
            r = 40 + 7 * k + (3 if big else 0)
            mid = math.pi if side < 0 else 0.0
            c.set_line_width(2.4 - 0.4 * k)
            c.new_sub_path()
            c.arc(centre[0], centre[1], r, mid - 0.32, mid + 0.32)
            c.stroke()
    return reduced(paint.surface_to_image(s), size)


def phone_frame(tilt, lift, waves):
    def draw():
        layer = work_layer(PHONE)
        place_emoji(layer, "\u260E\ufe0f", (88, 78), (PHONE_BASE[0], PHONE_BASE[1] - 40))
        layer = shifted(turned(layer, tilt, PHONE_BASE), 0, -lift)
        out = finished(layer, PHONE)
        if waves:
            out.alpha_composite(ring_waves(PHONE, (PHONE_BASE[0], PHONE_BASE[1] - 46), waves == 2))
        return out

    return draw


# --- rockinghorse: a painted rocking horse --------------------------------------------------

HORSE = (196, 148)
HORSE_TOP = 12  # room above the drawing for the head when the horse rocks back
HORSE_GROUND = 128  # where the rockers touch the floor, in the drawing
HORSE_R = 170  # radius of the rockers' curve


def horse_drawing(c):
    """The horse on its rockers at rest, facing right; the rockers' lowest point is at
    (98, HORSE_GROUND)."""
    cx, g = 98, HORSE_GROUND
    wood = hexrgb("#b5332a")
    trim = hexrgb("#e0b341")
    coat = hexrgb("#f1e8da")
    mane = hexrgb("#6b3d1f")

    def fill(col, x0, x1, line=1.2, light=1.25, dark=0.78):
        c.set_source(lin(c, x0, 0, x1, 0, [(0, shade(col, dark)), (0.6, col), (1, shade(col, light))]))
        c.fill_preserve()
        c.set_source_rgb(*shade(col, 0.35))
        c.set_line_width(line)
        c.stroke()

    # tail, behind everything
    c.move_to(58, 62)
    c.curve_to(40, 64, 34, 84, 38, 104)
    c.curve_to(44, 92, 50, 80, 62, 72)
    c.close_path()
    fill(mane, 34, 62)
    # far legs (darker), then the rockers, then the near legs
    for (x0, x1), dark in (((70, 62), 0.75), ((124, 136), 0.75)):
        c.move_to(x0 - 5, 78)
        c.line_to(x0 + 5, 78)
        c.line_to(x1 + 4, g - 16)
        c.line_to(x1 - 4, g - 16)
        c.close_path()
        fill(shade(coat, dark), x0 - 6, x0 + 6)
    # rockers: a band on the circle of radius HORSE_R, ends curled up
    centre_y = g - HORSE_R
    span = 0.42
    c.new_sub_path()
    c.arc(cx, centre_y, HORSE_R, math.pi / 2 - span, math.pi / 2 + span)
    c.arc_negative(cx, centre_y, HORSE_R - 8, math.pi / 2 + span, math.pi / 2 - span)
    c.close_path()
    fill(wood, 20, 176)
    for side in (-1, 1):
        a = math.pi / 2 - side * span
        ex, ey = cx + (HORSE_R - 4) * math.cos(a), centre_y + (HORSE_R - 4) * math.sin(a)
        ellipse(c, ex, ey - 2, 5, 5)
        fill(trim, ex - 5, ex + 5, 1.0)
    c.set_source_rgb(*trim)
    c.set_line_width(1.6)
    c.new_sub_path()
    c.arc(cx, centre_y, HORSE_R - 4, math.pi / 2 - span + 0.04, math.pi / 2 + span - 0.04)
    c.stroke()
    for (x0, x1) in ((58, 52), (134, 146)):
        c.move_to(x0 - 5, 76)
        c.line_to(x0 + 5, 76)
        c.line_to(x1 + 4, g - 14)
        c.line_to(x1 - 4, g - 14)
        c.close_path()
        fill(coat, x0 - 6, x0 + 6)
        c.move_to(x1 - 5, g - 18)
        c.line_to(x1 + 5, g - 18)
        c.line_to(x1 + 5, g - 11)
        c.line_to(x1 - 5, g - 11)
        c.close_path()
        fill(hexrgb("#3a2414"), x1 - 5, x1 + 5, 1.0)
    # body
    ellipse(c, 98, 66, 46, 18)
    fill(coat, 52, 144, 1.4)
    # dapples
    c.set_source_rgba(*shade(coat, 0.72), 0.55)
    for (x, y, r) in ((72, 62, 4), (84, 72, 3.2), (108, 74, 3.5), (120, 64, 3), (64, 72, 2.6), (96, 60, 2.4)):
        ellipse(c, x, y, r, r * 0.8)
        c.fill()
    # neck and head
    c.move_to(124, 60)
    c.curve_to(130, 44, 134, 30, 140, 22)
    c.line_to(158, 28)
    c.curve_to(152, 40, 146, 58, 142, 70)
    c.close_path()
    fill(coat, 122, 160, 1.4)
    c.move_to(138, 20)
    c.curve_to(146, 10, 162, 12, 172, 26)
    c.curve_to(178, 34, 176, 42, 168, 42)
    c.curve_to(160, 42, 154, 38, 146, 34)
    c.close_path()
    fill(coat, 138, 178, 1.4)
    c.move_to(142, 16)
    c.line_to(141, 4)
    c.line_to(150, 12)
    c.close_path()
    fill(coat, 140, 150, 1.1)
    c.set_source_rgb(0.12, 0.07, 0.03)
    ellipse(c, 156, 22, 2.3, 2.6)
    c.fill()
    ellipse(c, 172, 34, 1.4, 1.1)
    c.fill()
    c.set_source_rgba(1, 1, 1, 0.9)
    ellipse(c, 156.8, 21, 0.8, 0.8)
    c.fill()
    # bridle
    c.set_source_rgb(*shade(wood, 0.9))
    c.set_line_width(2.2)
    c.move_to(148, 17)
    c.line_to(160, 41)
    c.stroke()
    c.move_to(154, 34)
    c.line_to(176, 35)
    c.stroke()
    c.move_to(150, 30)
    c.curve_to(136, 44, 124, 54, 116, 58)
    c.set_source_rgb(*trim)
    c.set_line_width(1.4)
    c.stroke()
    # mane: wavy locks along the neck
    for k in range(6):
        t = k / 5
        x, y = 136 + 8 * t - 14 * t * t, 18 + 44 * t
        c.move_to(x + 4, y - 4)
        c.curve_to(x - 8, y - 2, x - 10, y + 6, x - 4, y + 10)
        c.curve_to(x - 2, y + 4, x + 2, y + 2, x + 6, y)
        c.close_path()
        fill(mane, x - 10, x + 6, 1.0)
    # saddle and cloth
    c.move_to(80, 52)
    c.curve_to(86, 44, 108, 44, 114, 52)
    c.line_to(110, 74)
    c.curve_to(100, 78, 90, 78, 82, 74)
    c.close_path()
    fill(hexrgb("#2f5fa6"), 80, 114, 1.2)
    c.set_source_rgb(*trim)
    c.set_line_width(1.5)
    c.move_to(82, 72)
    c.curve_to(90, 76, 100, 76, 110, 72)
    c.stroke()
    c.move_to(84, 50)
    c.curve_to(92, 42, 104, 42, 112, 50)
    c.curve_to(104, 56, 92, 56, 84, 50)
    c.close_path()
    fill(wood, 84, 112, 1.1)
    c.move_to(96, 54)
    c.line_to(96, 84)
    c.set_source_rgb(0.2, 0.12, 0.06)
    c.set_line_width(1.0)
    c.stroke()
    ellipse(c, 96, 86, 3, 2)
    c.set_source_rgb(*trim)
    c.set_line_width(1.3)
    c.stroke()


def horse_frame(degrees):
    def draw():
        s, c = vector_layer(HORSE)
        a = math.radians(degrees)
        # Rolling on the rockers: turned around the rockers' centre, which moves along
        # the floor so that the rockers keep touching it.
        pivot = (98, HORSE_GROUND - HORSE_R)
        c.translate(HORSE_R * a, HORSE_TOP)
        c.translate(*pivot)
        c.rotate(a)
        c.translate(-pivot[0], -pivot[1])
        horse_drawing(c)
        return finished(paint.surface_to_image(s), HORSE, 1.1)

    return draw


# --- train: a steam locomotive -------------------------------------------------------------

TRAIN = (184, 176)
TRAIN_BASE = (92, 166)
SMOKESTACK = (0.225, 0.15)  # the top of the smokestack in the artwork, as shares of its size


def without_smoke(im):
    """The locomotive without the artwork's own smoke cloud, which lies above the
    smokestack's rim and trails off to the right of it: the puffs drawn over it rise
    instead."""
    im = im.copy()
    rim = int(im.height * 0.135)
    im.paste((0, 0, 0, 0), (0, 0, im.width, rim))
    im.paste((0, 0, 0, 0), (int(im.width * 0.34), rim, im.width, int(im.height * 0.2)))
    return im


def train_frame(phase, bob):
    def draw():
        layer = work_layer(TRAIN)
        left, top, w, h = place_emoji(layer, "\U0001F682", (164, 136),
                                      (TRAIN_BASE[0], TRAIN_BASE[1] - 68), without_smoke)
        stack = (left + SMOKESTACK[0] * w, top + SMOKESTACK[1] * h)
        out = finished(shifted(layer, 0, bob), TRAIN)
        s, c = vector_layer(TRAIN)
        for k in range(3):
            rise = (phase + k / 3.0) % 1.0
            # Puffs leave the smokestack and drift back as the engine runs forward.
            puff(c, stack[0] + 30 * rise * rise, stack[1] - 4 - 36 * rise + bob, 5 + 11 * rise,
                 0.95 * (1 - rise) ** 1.2)
        out.alpha_composite(reduced(paint.surface_to_image(s), TRAIN))
        return out

    return draw


# --- truck: a delivery truck ---------------------------------------------------------------

TRUCK = (196, 126)
TRUCK_BASE = (80, 116)
EXHAUST = (146, 104)


def truck_frame(phase, bob, tilt):
    def draw():
        layer = work_layer(TRUCK)
        place_emoji(layer, "\U0001F69A", (140, 112), (TRUCK_BASE[0], TRUCK_BASE[1] - 56))
        # The body shakes on its springs; the wheels stay on the ground.
        body = turned(shifted(layer, 0, bob), tilt, (TRUCK_BASE[0], TRUCK_BASE[1] - 30))
        out = finished(body, TRUCK)
        s, c = vector_layer(TRUCK)
        for k in range(2):
            h = (phase + k / 2.0) % 1.0
            puff(c, EXHAUST[0] + 4 + 22 * h, EXHAUST[1] - 12 * h, 4 + 8 * h, 0.9 * (1 - h) ** 0.8,
                 tone=(0.62, 0.6, 0.58))
        out.alpha_composite(reduced(paint.surface_to_image(s), TRUCK))
        return out

    return draw


# --- the six animations ----------------------------------------------------------------------

def animations():
    dots = 10
    return [
        Animation("bling", BLING, (24, 24),
                  "function DoAnim()\n"
                  "  delay( 60 );\n"
                  "  frames{ 1, 2, 3, 4, 5, 5, 4, 3, 2, 1 };\n"
                  "end\n",
                  [bling_frame(i) for i in range(5)]),
        Animation("dotanim", DOT, (16, 16),
                  "function DoAnim()\n"
                  "  delay( 70 );\n"
                  "  frames{ " + ", ".join(str(i + 1) for i in range(dots)) + " };\n"
                  "end\n",
                  [dot_frame(i, dots) for i in range(dots)]),
        Animation("phone", PHONE, PHONE_BASE,
                  "-- Two rings with a pause between them, then back at rest.\n"
                  "function Ring()\n"
                  "  frames{ 2, 3, 2, 3, 4, 5, 4, 5, 2, 3, 2, 3 };\n"
                  "end\n"
                  "function DoAnim()\n"
                  "  delay( 45 );\n"
                  "  Ring();\n"
                  "  frames{ 1 };\n"
                  "  pause( 320 );\n"
                  "  Ring();\n"
                  "  frames{ 1 };\n"
                  "end\n",
                  [phone_frame(0, 0, 0), phone_frame(-6, 2, 1), phone_frame(6, 2, 2),
                   phone_frame(-4, 1, 2), phone_frame(4, 1, 1)]),
        Animation("rockinghorse", HORSE, (98, HORSE_TOP + HORSE_GROUND),
                  "-- Three swings that die down, then still.\n"
                  "function DoAnim()\n"
                  "  delay( 60 );\n"
                  "  frames{ 2, 3, 4, 5, 4, 3, 2, 1, 6, 7, 8, 9, 8, 7, 6, 1 };\n"
                  "  frames{ 2, 3, 4, 3, 2, 1, 6, 7, 8, 7, 6, 1 };\n"
                  "  delay( 80 );\n"
                  "  frames{ 2, 3, 2, 1, 6, 7, 6, 1 };\n"
                  "end\n",
                  [horse_frame(a) for a in (0, 2.5, 5, 7.5, 9, -2.5, -5, -7.5, -9)]),
        Animation("train", TRAIN, TRAIN_BASE,
                  "-- Chugging: the engine bobs and steam puffs rise from the chimney.\n"
                  "function DoAnim()\n"
                  "  delay( 75 );\n"
                  "  loop( 4, { 2, 3, 4, 5, 6, 7 } );\n"
                  "  frames{ 1 };\n"
                  "end\n",
                  [train_frame(0, 0)] + [train_frame(i / 6.0, [0, -1, -1.5, -1, 0, 0.5][i]) for i in range(6)]),
        Animation("truck", TRUCK, TRUCK_BASE,
                  "-- The engine idles: the body shakes and exhaust puffs out behind.\n"
                  "function DoAnim()\n"
                  "  delay( 55 );\n"
                  "  loop( 5, { 2, 3, 4, 5, 6, 7 } );\n"
                  "  frames{ 1 };\n"
                  "end\n",
                  [truck_frame(0, 0, 0)] +
                  [truck_frame(i / 6.0, [0, -1, 0, 0.6, 0, -0.6][i], [0, 0.5, 0, -0.5, 0, 0.3][i])
                   for i in range(6)]),
    ]


# --- writing ----------------------------------------------------------------------------------

def xml_escape(text):
    out = []
    for ch in text:
        out.append({"&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;", "\n": "&#10;"}.get(ch, ch))
    return "".join(out)


def sheet_description(name, sheet_size, frames, script=None):
    """The animation description: frames are (x, y, w, h, regx, regy) in the sheet."""
    lines = ['<?xml version="1.0"?>',
             '<sequence name="%s" source="content/pictures/gen">' % name,
             '  <img regx="0" regy="0" w="%d" h="%d" name="%s.png"/>' % (sheet_size[0], sheet_size[1], name),
             "  <framelist>"]
    for i, (x, y, w, h, regx, regy) in enumerate(frames):
        lines.append('    <frame x="%d" y="%d" w="%d" h="%d" name="%s%d" regx="%d" regy="%d"/>'
                     % (x, y, w, h, name, i + 1, regx, regy))
    lines.append("  </framelist>")
    if script is not None:
        lines.append('  <script luascript="%s"/>' % xml_escape(script))
    lines.append("</sequence>")
    return "\n".join(lines) + "\n"


def description(anim):
    w, h = anim.size
    cols = anim.columns()
    frames = [((i % cols) * w, (i // cols) * h, w, h, anim.origin[0], anim.origin[1])
              for i in range(len(anim.frames))]
    return sheet_description(anim.name, anim.sheet_size(), frames, anim.script)


def main():
    paint.require_fonts()
    stage, stamp = sys.argv[1], sys.argv[2]
    written = []
    for anim in animations():
        sheet = Image.new("RGBA", anim.sheet_size())
        cols = anim.columns()
        for i, frame in enumerate(anim.frames):
            im = frame()
            assert im.size == anim.size, (anim.name, i, im.size)
            sheet.alpha_composite(im, ((i % cols) * anim.size[0], (i // cols) * anim.size[1]))
        base = "anim/%s/%s" % (anim.name, anim.name)
        paint.save_atomic(os.path.join(stage, base + ".png"), sheet)
        paint.save_atomic(os.path.join(stage, base + ".xml"), description(anim))
        written += [base + ".png", base + ".xml"]
    with open(stamp, "w") as f:
        f.write("\n".join(written) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
