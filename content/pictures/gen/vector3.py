"""Vector drawings of single household objects and curios."""

import math

import cairo

from paint import hexrgb, shade
from vector import (INK, ellipse, highlight, lathe, lin, metal, pen, rrect, solid, text,
                    tube)


def clock_dial(c, cx, cy, r, rim, minute_tip, hour_tip, hand_width):
    """A round cream dial with a coloured rim and two black hands from the centre."""
    ellipse(c, cx, cy, r, r)
    c.set_source_rgb(0.98, 0.95, 0.86)
    c.fill_preserve()
    pen(c, rim, 2)
    for tip in (minute_tip, hour_tip):
        c.move_to(cx, cy)
        c.line_to(*tip)
    pen(c, (0.1, 0.1, 0.1), hand_width)


def blender(cv):
    c = cv.vec()
    c.move_to(30, 20)
    c.line_to(90, 20)
    c.line_to(82, 104)
    c.line_to(38, 104)
    c.close_path()
    c.set_source_rgba(0.85, 0.95, 1, 0.55)
    c.fill_preserve()
    pen(c, (0.35, 0.45, 0.5), INK)
    c.move_to(34, 60)
    c.line_to(86, 60)
    c.line_to(82, 104)
    c.line_to(38, 104)
    c.close_path()
    c.set_source_rgba(0.95, 0.55, 0.6, 0.8)
    c.fill()
    rrect(c, 26, 12, 68, 12, 4)
    solid(c, "#3d3d3d", 26, 94)
    highlight(c, 74, 50, 3, 22, 0.7)
    c.move_to(32, 104)
    c.line_to(88, 104)
    c.line_to(98, 148)
    c.line_to(22, 148)
    c.close_path()
    solid(c, "#7fb8a4", 22, 98)
    for x in (44, 60, 76):
        ellipse(c, x, 128, 5, 5)
        metal(c, "#e0e4e8", x - 5, x + 5)


def grinder(cv):
    c = cv.vec()
    rrect(c, 24, 64, 72, 84, 4)
    solid(c, "#7a4a22", 24, 96)
    rrect(c, 46, 110, 28, 20, 3)
    solid(c, "#5a3416", 46, 74)
    ellipse(c, 60, 120, 4, 3)
    metal(c, "#d4a437", 56, 64)
    lathe(c, [(40, 10), (48, 26), (64, 36)])
    metal(c, "#b8bcc2", 22, 98)
    c.move_to(60, 40)
    c.line_to(60, 22)
    c.line_to(100, 22)
    pen(c, (0.25, 0.25, 0.28), 6, keep=True)
    pen(c, (0.7, 0.72, 0.75), 3.5)
    ellipse(c, 102, 22, 7, 9)
    solid(c, "#3a2010", 95, 109)


def canteen(cv):
    c = cv.vec()
    c.move_to(30, 40)
    c.curve_to(6, 10, 114, 10, 90, 40)
    pen(c, (0.35, 0.25, 0.12), 4)
    ellipse(c, 60, 92, 46, 52)
    solid(c, "#5e7a3a", 14, 106)
    ellipse(c, 60, 92, 36, 42)
    c.set_source_rgba(0, 0, 0, 0.15)
    c.set_line_width(3)
    c.stroke()
    rrect(c, 50, 28, 20, 16, 3)
    metal(c, "#9aa0a6", 50, 70)
    highlight(c, 78, 72, 8, 14, 0.35)


def ashtray(cv):
    c = cv.vec()
    ellipse(c, 60, 108, 52, 26)
    c.set_source(lin(c, 8, 0, 112, 0, [(0, (0.15, 0.35, 0.45)), (0.7, (0.45, 0.75, 0.85)),
                                       (1, (0.2, 0.45, 0.55))]))
    c.fill_preserve()
    pen(c, (0.08, 0.2, 0.28), INK)
    ellipse(c, 60, 104, 38, 16)
    c.set_source_rgb(0.12, 0.28, 0.36)
    c.fill()
    for x in (22, 98):
        rrect(c, x - 5, 96, 10, 7, 2)
        c.set_source_rgb(0.1, 0.22, 0.3)
        c.fill()
    cv.emoji("\U0001F6AC", 68, 92, 60, 30, rotate=-15)


def stamper(cv, style=1):
    c = cv.vec()
    if style == 1:
        lathe(c, [(16, 12), (22, 18), (36, 16), (52, 8), (82, 8), (90, 14)])
        solid(c, "#8b1e1e", 40, 80)
        rrect(c, 24, 90, 72, 22, 3)
        solid(c, "#c89b5b", 24, 96)
        rrect(c, 22, 112, 76, 12, 2)
        c.set_source_rgb(0.12, 0.12, 0.12)
        c.fill()
        c.rectangle(14, 134, 92, 16)
        c.set_source_rgba(0.75, 0.1, 0.1, 0.85)
        c.fill()
        text(c, "PAID", 60, 142, 14, "#fdf6e3")
    else:  # date stamper: rotary bands in a metal frame
        c.move_to(30, 120)
        c.line_to(30, 50)
        c.curve_to(30, 30, 90, 30, 90, 50)
        c.line_to(90, 120)
        pen(c, (0.2, 0.2, 0.22), 8, keep=True)
        pen(c, (0.72, 0.74, 0.78), 5)
        lathe(c, [(6, 10), (12, 14), (26, 12), (36, 6)])
        solid(c, "#1f3a5f", 46, 74)
        rrect(c, 36, 96, 48, 30, 3)
        solid(c, "#2b2b2b", 36, 84)
        for k, ch in enumerate("1925"):
            text(c, ch, 43 + k * 11.5, 111, 11, "#f2e6c9")
        rrect(c, 24, 126, 72, 14, 3)
        metal(c, "#9aa0a6", 24, 96)


def birdcage(cv):
    c = cv.vec()
    ellipse(c, 60, 140, 44, 10)
    metal(c, "#d4a437", 16, 104)
    cv.emoji("\U0001F426", 60, 104, 44, 40)
    c2 = cv.vec()
    for k in range(9):
        x = 20 + k * 10
        c2.move_to(x, 140)
        c2.line_to(x, 64)
        c2.curve_to(x, 30, 60 + (x - 60) * 0.2, 26, 60, 22)
    pen(c2, (0.45, 0.3, 0.05), 2.6, keep=True)
    pen(c2, (0.92, 0.75, 0.3), 1.4)
    ellipse(c2, 60, 18, 6, 6)
    metal(c2, "#d4a437", 54, 66)
    rrect(c2, 14, 126, 92, 8, 3)
    metal(c2, "#d4a437", 14, 106)


def wax_seal(cv):
    c = cv.vec()
    # ribbon tails
    for s in (-1, 1):
        c.move_to(60, 100)
        c.line_to(60 + s * 22, 156)
        c.line_to(60 + s * 10, 150)
        c.line_to(60 + s * 2, 158)
        c.close_path()
        solid(c, "#1f4e8c", 30, 90)
    c.new_path()
    for k in range(24):
        a = k * 2 * math.pi / 24
        rr = 46 + (3 if k % 2 else -1) + (k % 5) * 0.6
        (c.move_to if k == 0 else c.line_to)(60 + rr * math.cos(a), 80 + rr * math.sin(a))
    c.close_path()
    g = cairo.RadialGradient(74, 64, 4, 60, 80, 50)
    g.add_color_stop_rgb(0, 0.95, 0.35, 0.3)
    g.add_color_stop_rgb(0.6, 0.7, 0.08, 0.08)
    g.add_color_stop_rgb(1, 0.45, 0.03, 0.03)
    c.set_source(g)
    c.fill_preserve()
    pen(c, (0.3, 0.02, 0.02), INK)
    ellipse(c, 60, 80, 32, 32)
    c.set_source_rgba(0.35, 0.02, 0.02, 0.6)
    c.set_line_width(2.5)
    c.stroke()
    text(c, "C", 60, 80, 40, (0.55, 0.05, 0.05), font="EB Garamond")
    highlight(c, 76, 62, 10, 6, 0.4)


def globe_stand(cv):
    c = cv.vec()
    lathe(c, [(116, 4), (126, 6), (138, 16), (146, 30), (152, 30)])
    solid(c, "#6b3a1e", 30, 90)
    cv.emoji("\U0001F30D", 60, 66, 84, 84)
    c2 = cv.vec()
    c2.arc(60, 66, 48, math.pi * 0.3, math.pi * 1.55)
    pen(c2, (0.4, 0.28, 0.05), 6.5)
    c2.arc(60, 66, 48, math.pi * 0.3, math.pi * 1.55)
    pen(c2, (0.9, 0.72, 0.28), 3.5)
    ellipse(c2, 60, 18, 4, 4)
    metal(c2, "#d4a437", 56, 64)


def morse_key(cv):
    c = cv.vec()
    c.move_to(8, 120)
    c.line_to(112, 120)
    c.line_to(104, 148)
    c.line_to(16, 148)
    c.close_path()
    solid(c, "#7a4a22", 8, 112)
    for x in (20, 90):
        ellipse(c, x + 4, 116, 8, 4)
        metal(c, "#d4a437", x - 4, x + 12)
    rrect(c, 16, 90, 84, 8, 3)
    metal(c, "#d4a437", 16, 100)
    rrect(c, 54, 80, 14, 30, 3)
    metal(c, "#c49a30", 54, 68)
    ellipse(c, 96, 82, 12, 8)
    solid(c, "#1a1a1a", 84, 108)
    ellipse(c, 96, 78, 12, 6)
    c.set_source_rgb(0.3, 0.3, 0.3)
    c.fill()
    c.move_to(4, 132)
    c.curve_to(-10, 60, 20, 40, 30, 60)
    pen(c, (0.55, 0.12, 0.12), 3)


def register(cv):
    c = cv.vec()
    c.move_to(14, 148)
    c.line_to(106, 148)
    c.line_to(106, 104)
    c.line_to(24, 80)
    c.line_to(14, 104)
    c.close_path()
    metal(c, "#c9a33a", 14, 106)
    for row in range(3):
        for k in range(6):
            x = 30 + k * 12 - row * 3
            y = 96 + row * 10 - (5 - k) * 0
            ellipse(c, x + 4, y, 4, 4)
            c.set_source_rgb(0.97, 0.95, 0.9)
            c.fill_preserve()
            pen(c, (0.2, 0.15, 0.05), 1)
    rrect(c, 20, 126, 80, 16, 2)
    c.set_source_rgb(*shade(hexrgb("#c9a33a"), 0.65))
    c.fill()
    # the sign on top
    c.move_to(40, 82)
    c.line_to(40, 30)
    c.curve_to(40, 18, 100, 18, 100, 30)
    c.line_to(100, 100)
    c.close_path()
    metal(c, "#d4a437", 40, 100)
    rrect(c, 50, 32, 42, 26, 3)
    c.set_source_rgb(0.08, 0.08, 0.08)
    c.fill()
    text(c, "$1.25", 71, 45, 12, "#f7f0d0")
    c.move_to(106, 110)
    c.line_to(116, 96)
    pen(c, (0.3, 0.2, 0.05), 4)
    ellipse(c, 116, 94, 5, 5)
    c.set_source_rgb(0.7, 0.1, 0.1)
    c.fill()


def weight(cv):
    c = cv.vec()
    c.move_to(40, 40)
    c.curve_to(40, 10, 80, 10, 80, 40)
    pen(c, (0.3, 0.2, 0.05), 12, keep=True)
    pen(c, (0.9, 0.7, 0.25), 7)
    lathe(c, [(40, 26), (52, 40), (90, 46), (130, 44), (146, 36), (150, 36)])
    metal(c, "#c9952b", 14, 106)
    text(c, "5 lb", 60, 100, 22, "#5a3a08", font="EB Garamond")


def thimble(cv):
    c = cv.vec()
    lathe(c, [(34, 20), (38, 30), (60, 36), (130, 40), (146, 42), (150, 42)])
    metal(c, "#b8bcc2", 18, 102)
    for y in range(44, 126, 8):
        w = 26 + (y - 40) * 0.14
        for k in range(-4, 5):
            ellipse(c, 60 + k * w / 4.5, y, 1.6, 1.6)
    c.set_source_rgba(0.25, 0.27, 0.3, 0.8)
    c.fill()
    rrect(c, 17, 130, 86, 8, 3)
    metal(c, "#d4a437", 17, 103)


def rolling_pin(cv):
    c = cv.vec()
    c.save()
    c.translate(60, 82)
    c.rotate(-0.7)
    for s in (-1, 1):
        rrect(c, s * 52 - 9, -7, 18, 14, 6)
        solid(c, "#5a3416", -70, 70)
    rrect(c, -40, -18, 80, 36, 14)
    solid(c, "#d9a86c", -40, 40)
    c.restore()
    highlight(c, 70, 70, 18, 4, 0.4)


def ingot(cv):
    c = cv.vec()
    for dy, dx in ((0, 0), (-26, 8)):
        c.move_to(14 + dx, 130 + dy)
        c.line_to(100 + dx, 130 + dy)
        c.line_to(88 + dx, 102 + dy)
        c.line_to(26 + dx, 102 + dy)
        c.close_path()
        metal(c, "#e2b13c", 14, 110)
        c.move_to(26 + dx, 102 + dy)
        c.line_to(88 + dx, 102 + dy)
        c.line_to(80 + dx, 92 + dy)
        c.line_to(32 + dx, 92 + dy)
        c.close_path()
        c.set_source(lin(c, 30, 0, 90, 0, [(0, (0.95, 0.8, 0.35)), (1, (1, 0.97, 0.75))]))
        c.fill_preserve()
        pen(c, (0.45, 0.3, 0.05), 1.3)
        text(c, "999.9", 57 + dx, 117 + dy, 10, "#7a5208")


def woodplane(cv, body="#a0652e", iron=False, tote="#7a3b1e"):
    c = cv.vec()
    c.move_to(8, 128)
    c.line_to(112, 128)
    c.line_to(112, 104)
    c.line_to(24, 96)
    c.close_path()
    if iron:
        metal(c, body, 8, 112)
    else:
        solid(c, body, 8, 112)
    # tote (rear handle)
    c.move_to(16, 100)
    c.curve_to(10, 60, 30, 50, 40, 58)
    c.curve_to(46, 70, 40, 86, 44, 100)
    c.close_path()
    solid(c, tote, 10, 46)
    # knob at the front
    ellipse(c, 98, 88, 9, 12)
    solid(c, tote, 89, 107)
    # blade and cap
    c.move_to(52, 100)
    c.line_to(80, 64)
    c.line_to(90, 70)
    c.line_to(70, 102)
    c.close_path()
    metal(c, "#b8bcc2", 52, 90)
    ellipse(c, 74, 80, 5, 5)
    metal(c, "#d4a437", 69, 79)
    rrect(c, 6, 128, 108, 6, 2)
    metal(c, "#7a7f86", 6, 114)


def plate(cv, col="#ffffff", rim="#2d5fa8", motif="\U0001F3EF"):
    c = cv.vec()
    ellipse(c, 60, 86, 54, 54)
    solid(c, col, 6, 114)
    ellipse(c, 60, 86, 48, 48)
    pen(c, hexrgb(rim), 5)
    for k in range(16):
        a = k * math.pi / 8
        ellipse(c, 60 + 43 * math.cos(a), 86 + 43 * math.sin(a), 2.2, 2.2)
    c.set_source_rgb(*hexrgb(rim))
    c.fill()
    ellipse(c, 60, 86, 34, 34)
    c.set_source_rgba(*shade(hexrgb(col), 0.92), 1)
    c.fill()
    if motif:
        cv.emoji(motif, 60, 86, 48, 48, tint=["#0b1f4a", "#1e4f9c", "#7fa6e0", "#e8f0ff"], amount=1.0)


def diving_helmet(cv):
    c = cv.vec()
    rrect(c, 18, 120, 84, 30, 8)
    metal(c, "#b07030", 18, 102)
    for x in range(26, 100, 12):
        ellipse(c, x, 134, 3, 3)
        metal(c, "#e0c080", x - 3, x + 3)
    ellipse(c, 60, 76, 46, 52)
    metal(c, "#c98a3a", 14, 106)
    for cx, cy, r in ((60, 80, 22), (22, 78, 9), (98, 78, 9), (60, 36, 8)):
        ellipse(c, cx, cy, r + 5, r + 5)
        metal(c, "#e8c070", cx - r, cx + r)
        ellipse(c, cx, cy, r, r)
        c.set_source(lin(c, 0, cy - r, 0, cy + r, [(0, (0.55, 0.8, 0.9)), (1, (0.08, 0.2, 0.3))]))
        c.fill()
    c.move_to(44, 80)
    c.line_to(76, 80)
    c.move_to(60, 64)
    c.line_to(60, 96)
    pen(c, (0.5, 0.32, 0.1), 2.5)
    highlight(c, 76, 52, 10, 6, 0.5)


def candlestick(cv, metal_col="#d4a437", arms=1, candle="#f6efe0"):
    c = cv.vec()
    lathe(c, [(96, 5), (104, 8), (118, 6), (130, 10), (142, 26), (150, 30)])
    metal(c, metal_col, 28, 92)
    tops = [(60, 60)]
    if arms == 2:
        tops = [(32, 70), (88, 70)]
    elif arms == 3:
        tops = [(24, 66), (60, 50), (96, 66)]
    if arms > 1:
        c.move_to(tops[0][0], tops[0][1] + 14)
        c.curve_to(tops[0][0], 108, tops[-1][0], 108, tops[-1][0], tops[-1][1] + 14)
        tube(c, hexrgb(metal_col), 8, 5, dark=0.45)
        rrect(c, 56, 56 if arms == 3 else 80, 8, 44 if arms == 3 else 20, 3)
        metal(c, metal_col, 56, 64)
    else:
        lathe(c, [(60, 6), (70, 4), (80, 9), (88, 4), (98, 5)])
        metal(c, metal_col, 40, 80)
    for x, y in tops:
        ellipse(c, x, y + 14, 12, 4)
        metal(c, metal_col, x - 12, x + 12)
        rrect(c, x - 6, y - 24, 12, 38, 2)
        solid(c, candle, x - 6, x + 6, width=1.2)
        c.move_to(x, y - 44)
        c.curve_to(x + 7, y - 34, x + 5, y - 26, x, y - 25)
        c.curve_to(x - 5, y - 26, x - 7, y - 34, x, y - 44)
        g = cairo.RadialGradient(x, y - 30, 1, x, y - 32, 10)
        g.add_color_stop_rgb(0, 1, 1, 0.8)
        g.add_color_stop_rgb(1, 1, 0.55, 0.1)
        c.set_source(g)
        c.fill()


def kenny(cv):
    """Uncle Kenny's portrait medallion."""
    c = cv.vec()
    ellipse(c, 60, 80, 52, 62)
    metal(c, "#d4a437", 8, 112)
    ellipse(c, 60, 80, 44, 54)
    c.set_source(lin(c, 0, 26, 0, 134, [(0, (0.55, 0.75, 0.95)), (1, (0.2, 0.35, 0.65))]))
    c.fill()
    cv.emoji("\U0001F474", 60, 86, 70, 70)
    cv.emoji("\U0001F3A9", 60, 44, 46, 34)
    c2 = cv.vec()
    rrect(c2, 22, 132, 76, 20, 6)
    c2.set_source(lin(c2, 0, 132, 0, 152, [(0, (0.85, 0.2, 0.2)), (1, (0.55, 0.08, 0.08))]))
    c2.fill_preserve()
    pen(c2, (0.35, 0.03, 0.03), 1.5)
    # no name on the ribbon: the suit's name is a localized string
    from vector import star
    for x in (44, 60, 76):
        star(c2, x, 142, 6, 2.6)
    c2.set_source_rgb(1.0, 0.86, 0.35)
    c2.fill()


def tall_clock(cv):
    """A longcase clock: a tall wooden case, a dial in the hood and a pendulum window."""
    c = cv.vec()
    rrect(c, 36, 40, 48, 112, 3)
    solid(c, "#7a3b1e", 36, 84)
    c.move_to(30, 44)
    c.line_to(30, 18)
    c.curve_to(40, 4, 80, 4, 90, 18)
    c.line_to(90, 44)
    c.close_path()
    solid(c, "#8b4a22", 30, 90)
    clock_dial(c, 60, 27, 15, (0.7, 0.55, 0.2), (60, 17), (67, 30), 1.8)
    rrect(c, 48, 56, 24, 66, 10)
    c.set_source_rgb(0.25, 0.12, 0.05)
    c.fill()
    c.move_to(60, 58)
    c.line_to(60, 100)
    pen(c, (0.85, 0.65, 0.2), 1.6)
    ellipse(c, 60, 104, 8, 8)
    metal(c, "#d4a437", 52, 68)
    rrect(c, 32, 144, 56, 10, 2)
    solid(c, "#5a2a12", 32, 88)


def candlestick_phone(cv, body="#1f1f1f", trim="#d4a437"):
    """An upright 'candlestick' telephone with its receiver on the hook."""
    c = cv.vec()
    # cord
    c.move_to(40, 140)
    c.curve_to(10, 150, 6, 110, 22, 96)
    pen(c, (0.15, 0.1, 0.05), 2.2)
    ellipse(c, 60, 144, 34, 10)
    solid(c, body, 26, 94)
    lathe(c, [(120, 14), (132, 26), (142, 32)])
    solid(c, body, 28, 92)
    rrect(c, 54, 40, 12, 88, 4)
    solid(c, body, 54, 66)
    rrect(c, 52, 84, 16, 8, 2)
    metal(c, trim, 52, 68)
    # mouthpiece
    c.move_to(60, 44)
    c.line_to(86, 24)
    pen(c, (0.1, 0.1, 0.1), 6)
    lathe(c, [(10, 16), (18, 14), (28, 6), (34, 5)], cx=92)
    solid(c, body, 76, 108)
    ellipse(c, 92, 10, 16, 4)
    metal(c, trim, 76, 108)
    # hook and receiver
    c.move_to(54, 60)
    c.line_to(40, 56)
    pen(c, hexrgb(trim), 3)
    rrect(c, 22, 44, 12, 56, 5)
    solid(c, body, 22, 34)
    ellipse(c, 28, 44, 9, 6)
    metal(c, trim, 19, 37)


def cuckoo_clock(cv):
    """A carved cuckoo clock: a little house with a dial, the bird's door and two weights."""
    c = cv.vec()
    for x, drop in ((46, 140), (74, 128)):
        c.move_to(x, 96)
        c.line_to(x, drop)
        pen(c, (0.3, 0.25, 0.1), 1.4)
        rrect(c, x - 5, drop, 10, 20, 4)
        solid(c, "#6b3a1e", x - 5, x + 5)
    c.move_to(60, 96)
    c.line_to(60, 118)
    pen(c, (0.75, 0.55, 0.15), 1.6)
    c.arc(60, 122, 6, 0, 2 * math.pi)
    metal(c, "#d4a437", 54, 66)
    rrect(c, 28, 40, 64, 58, 3)
    solid(c, "#8b4a22", 28, 92)
    c.move_to(18, 46)
    c.line_to(60, 12)
    c.line_to(102, 46)
    c.line_to(94, 50)
    c.line_to(60, 22)
    c.line_to(26, 50)
    c.close_path()
    solid(c, "#4a2410", 18, 102)
    rrect(c, 52, 26, 16, 14, 2)
    c.set_source_rgb(0.15, 0.08, 0.03)
    c.fill()
    cv.emoji("\U0001F426", 60, 30, 14, 12)
    c2 = cv.vec()
    clock_dial(c2, 60, 70, 19, (0.55, 0.35, 0.1), (60, 57), (69, 74), 2)
    for x, y in ((34, 92), (86, 92)):
        for k in range(3):
            ellipse(c2, x + (k - 1) * 6, y - abs(k - 1) * 3, 4, 6)
        c2.set_source_rgb(*hexrgb("#2f6a2a"))
        c2.fill()


def tricycle(cv, frame_col="#c0392b"):
    """A child's tricycle: a big front wheel with pedals and two small rear wheels."""
    c = cv.vec()

    def wheel(x, y, r):
        ellipse(c, x, y, r, r)
        pen(c, (0.12, 0.12, 0.12), 5)
        for k in range(8):
            a = k * math.pi / 4
            c.move_to(x, y)
            c.line_to(x + r * math.cos(a), y + r * math.sin(a))
        pen(c, (0.75, 0.76, 0.8), 1.2)
        ellipse(c, x, y, 4, 4)
        metal(c, "#c8ced6", x - 4, x + 4)

    wheel(96, 128, 16)
    # frame: from the front fork down to the rear axle
    c.move_to(40, 70)
    c.line_to(44, 110)
    c.move_to(42, 84)
    c.curve_to(60, 100, 80, 112, 98, 126)
    c.move_to(74, 112)
    c.line_to(74, 78)
    tube(c, hexrgb(frame_col), 8, 5, dark=0.45)
    wheel(42, 110, 32)
    wheel(84, 132, 15)
    # seat and handlebars
    rrect(c, 62, 70, 24, 9, 4)
    solid(c, "#2b2b2b", 62, 86)
    c.move_to(26, 60)
    c.curve_to(34, 70, 46, 70, 54, 60)
    pen(c, (0.2, 0.2, 0.2), 4)
    for x in (26, 54):
        ellipse(c, x, 60, 4, 4)
        solid(c, "#f4efe6", x - 4, x + 4)
    # pedal
    c.move_to(42, 110)
    c.line_to(52, 122)
    pen(c, (0.3, 0.3, 0.3), 3)
    rrect(c, 48, 120, 10, 4, 1)
    c.set_source_rgb(0.1, 0.1, 0.1)
    c.fill()


def sampler_hoop(cv):
    """An embroidery hoop holding a cross-stitch sampler: a heart over the letters ABC."""
    c = cv.vec()
    ellipse(c, 60, 88, 50, 50)
    c.set_source(lin(c, 0, 38, 0, 138, [(0, (0.98, 0.96, 0.9)), (1, (0.9, 0.86, 0.76))]))
    c.fill()
    # cross stitches on a grid of 6 units
    heart = ["01100110", "11111111", "11111111", "01111110", "00111100", "00011000"]
    for r, row in enumerate(heart):
        for k, ch in enumerate(row):
            if ch == "1":
                x, y = 36 + k * 6, 52 + r * 6
                c.move_to(x, y)
                c.line_to(x + 5, y + 5)
                c.move_to(x + 5, y)
                c.line_to(x, y + 5)
    pen(c, (0.78, 0.1, 0.15), 1.6)
    text(c, "ABC", 60, 106, 20, "#1f4e9c", font="EB Garamond")
    for x in range(30, 92, 6):
        c.move_to(x, 122)
        c.line_to(x + 4, 126)
        c.move_to(x + 4, 122)
        c.line_to(x, 126)
    pen(c, (0.2, 0.5, 0.25), 1.3)
    # the two wooden rings and the clamp
    for r, w, col in ((52, 7, "#8b5a2b"), (47, 3, "#c89a5a")):
        ellipse(c, 60, 88, r, r)
        pen(c, hexrgb(col), w)
    rrect(c, 52, 28, 16, 14, 3)
    metal(c, "#b8bcc2", 52, 68)
    rrect(c, 57, 18, 6, 12, 2)
    metal(c, "#b8bcc2", 57, 63)


def leaf_plate(cv, col="#3f8f4f"):
    """A majolica leaf dish: a broad glazed leaf with raised veins."""
    c = cv.vec()
    c.move_to(60, 20)
    c.curve_to(110, 40, 116, 110, 64, 150)
    c.curve_to(60, 152, 58, 152, 56, 150)
    c.curve_to(4, 110, 10, 40, 60, 20)
    c.close_path()
    path = c.copy_path()
    colr = hexrgb(col)
    c.set_source(lin(c, 10, 20, 110, 150, [(0, shade(colr, 1.5)), (0.5, colr), (1, shade(colr, 0.6))]))
    c.fill()
    c.append_path(path)
    pen(c, hexrgb("#e6b422"), 4, keep=True)
    pen(c, shade(colr, 0.35), 1.4)
    c.save()
    c.append_path(path)
    c.clip()
    c.move_to(60, 30)
    c.curve_to(62, 80, 60, 120, 60, 148)
    for k in range(5):
        y = 48 + k * 20
        for s in (-1, 1):
            c.move_to(60, y)
            c.curve_to(60 + s * 14, y + 4, 60 + s * 28, y + 14, 60 + s * 34, y + 24 - k * 2)
    c.set_source_rgba(*shade(colr, 1.7), 0.85)
    c.set_line_width(2)
    c.stroke()
    c.restore()
    highlight(c, 78, 60, 8, 16, 0.45)
