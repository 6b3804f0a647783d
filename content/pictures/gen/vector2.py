"""More vector drawings: jewellery, smoking pipes, watches, records and the single
household objects."""

import math

import cairo

from paint import hexrgb, shade
from vector import (INK, ellipse, gemfill, highlight, lathe, lin, metal, pen, rrect, solid,
                    star, text, tube)


def brooch(cv, shape="round", metal_col="#d4a437", gem="#c0162c", cameo=None, pearls=False):
    c = cv.vec()
    cx, cy = 60, 82
    if shape == "flower":
        for k in range(6):
            a = k * math.pi / 3
            ellipse(c, cx + 22 * math.cos(a), cy + 22 * math.sin(a), 15, 15)
            metal(c, metal_col, cx - 40, cx + 40)
            ellipse(c, cx + 22 * math.cos(a), cy + 22 * math.sin(a), 7, 7)
            gemfill(c, gem, cx + 22 * math.cos(a), cy + 22 * math.sin(a), 7)
        ellipse(c, cx, cy, 14, 14)
        gemfill(c, "#f5f5ff", cx, cy, 14)
        return
    if shape == "bow":
        for s in (-1, 1):
            c.move_to(cx, cy)
            c.curve_to(cx + s * 20, cy - 40, cx + s * 52, cy - 24, cx + s * 44, cy)
            c.curve_to(cx + s * 52, cy + 24, cx + s * 20, cy + 40, cx, cy)
            c.close_path()
            metal(c, metal_col, 10, 110)
        for s in (-1, 1):
            for k in range(4):
                ellipse(c, cx + s * (14 + k * 8), cy - 8 + k * 2, 3, 3)
                gemfill(c, gem, cx + s * (14 + k * 8), cy - 8 + k * 2, 3)
        ellipse(c, cx, cy, 10, 10)
        gemfill(c, gem, cx, cy, 10)
        return
    if shape == "star":
        star(c, cx, cy, 50, 22, 5)
        c.set_source_rgb(*hexrgb(metal_col))
        c.set_line_width(7)
        c.set_source_rgb(*shade(hexrgb(metal_col), 0.5))
        c.stroke_preserve()
        c.set_source(lin(c, 0, 30, 0, 130, [(0, shade(hexrgb(gem), 1.3)), (1, shade(hexrgb(gem), 0.7))]))
        c.fill()
        star(c, cx, cy, 50, 22, 5)
        pen(c, hexrgb(metal_col), 3.5)
        star(c, cx, cy, 18, 8, 5)
        metal(c, metal_col, 40, 80)
        return
    rx, ry = (40, 52) if shape == "oval" else (44, 44)
    ellipse(c, cx, cy, rx + 6, ry + 6)
    metal(c, metal_col, cx - rx, cx + rx)
    # bead rim
    n = 28
    for k in range(n):
        a = k * 2 * math.pi / n
        ellipse(c, cx + (rx + 2) * math.cos(a), cy + (ry + 2) * math.sin(a), 3.2, 3.2)
        if pearls:
            gemfill(c, "#f8f4ec", cx + (rx + 2) * math.cos(a), cy + (ry + 2) * math.sin(a), 3.2)
        else:
            metal(c, metal_col, cx - 50, cx + 50)
    if cameo:
        ellipse(c, cx, cy, rx - 4, ry - 4)
        c.set_source(lin(c, 0, cy - ry, 0, cy + ry, [(0, shade(hexrgb(cameo), 1.2)),
                                                     (1, shade(hexrgb(cameo), 0.8))]))
        c.fill()
        # profile of a lady in relief
        lady_profile(c, cx - 4, cy + 2, ry / 48.0)
        c.set_source_rgb(0.99, 0.96, 0.9)
        c.fill_preserve()
        c.set_source_rgba(0.6, 0.5, 0.45, 0.6)
        c.set_line_width(1.0)
        c.stroke()
    else:
        ellipse(c, cx, cy, rx - 8, ry - 8)
        gemfill(c, gem, cx, cy, rx - 8)
        # facets
        for k in range(8):
            a = k * math.pi / 4
            c.move_to(cx, cy)
            c.line_to(cx + (rx - 8) * math.cos(a), cy + (ry - 8) * math.sin(a))
        c.set_source_rgba(1, 1, 1, 0.25)
        c.set_line_width(1)
        c.stroke()
        highlight(c, cx + 10, cy - 12, 6, 4, 0.8)


def lady_profile(c, cx, cy, scale):
    """The profile of a lady facing right, as a closed path (cameos and coins)."""
    c.save()
    c.translate(cx, cy)
    c.scale(scale, scale)
    c.move_to(10, 40)
    c.curve_to(0, 30, 2, 18, 8, 12)
    c.curve_to(4, 8, 10, 2, 12, -2)
    c.line_to(16, -6)
    c.curve_to(14, -10, 16, -14, 14, -18)
    c.curve_to(18, -28, 10, -40, -4, -38)
    c.curve_to(-22, -38, -28, -20, -20, -6)
    c.curve_to(-26, 4, -16, 14, -10, 16)
    c.curve_to(-14, 28, -22, 36, -30, 42)
    c.close_path()
    c.restore()


def ring(cv, metal_col="#d4a437", gem="#1f9d55", cut="round", cameo=None):
    c = cv.vec()
    cx = 60
    ellipse(c, cx, 108, 40, 34)
    ellipse(c, cx, 108, 31, 26)
    c.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    mc = hexrgb(metal_col)
    c.set_source(lin(c, 20, 0, 100, 0, [(0, shade(mc, 0.5)), (0.4, mc), (0.75, shade(mc, 1.7)),
                                        (1, shade(mc, 0.7))]))
    c.fill_preserve()
    c.set_fill_rule(cairo.FILL_RULE_WINDING)
    pen(c, shade(mc, 0.35), INK)
    # setting
    c.move_to(cx - 18, 78)
    c.line_to(cx + 18, 78)
    c.line_to(cx + 10, 90)
    c.line_to(cx - 10, 90)
    c.close_path()
    metal(c, metal_col, cx - 18, cx + 18)
    if cameo:
        ellipse(c, cx, 56, 22, 28)
        metal(c, metal_col, cx - 22, cx + 22)
        ellipse(c, cx, 56, 17, 23)
        c.set_source_rgb(*hexrgb(cameo))
        c.fill()
        lady_profile(c, cx, 57, 0.42)
        c.set_source_rgb(0.98, 0.95, 0.9)
        c.fill()
        return
    if cut == "round":
        ellipse(c, cx, 60, 22, 22)
        gemfill(c, gem, cx, 60, 22)
        for k in range(8):
            a = k * math.pi / 4
            c.move_to(cx + 9 * math.cos(a), 60 + 9 * math.sin(a))
            c.line_to(cx + 22 * math.cos(a), 60 + 22 * math.sin(a))
        c.set_source_rgba(1, 1, 1, 0.3)
        c.set_line_width(1)
        c.stroke()
    elif cut == "emerald":
        c.move_to(cx - 16, 36)
        c.line_to(cx + 16, 36)
        c.line_to(cx + 24, 46)
        c.line_to(cx + 24, 74)
        c.line_to(cx + 16, 82)
        c.line_to(cx - 16, 82)
        c.line_to(cx - 24, 74)
        c.line_to(cx - 24, 46)
        c.close_path()
        gemfill(c, gem, cx, 59, 26)
        rrect(c, cx - 12, 46, 24, 26, 2)
        c.set_source_rgba(1, 1, 1, 0.3)
        c.set_line_width(1.2)
        c.stroke()
    else:  # marquise cluster
        for dx, dy, r in ((0, 54, 14), (-20, 66, 9), (20, 66, 9), (-14, 42, 8), (14, 42, 8)):
            ellipse(c, cx + dx, dy, r, r)
            gemfill(c, gem if r > 10 else "#f4f6ff", cx + dx, dy, r)
    highlight(c, cx + 8, 50, 5, 4, 0.9)


def earrings(cv, metal_col="#d4a437", gem="#3a7bd5", style="drop"):
    c = cv.vec()
    for cx in (36, 84):
        c.move_to(cx, 22)
        c.curve_to(cx - 12, 22, cx - 10, 40, cx, 42)
        pen(c, shade(hexrgb(metal_col), 0.5), 3)
        if style == "drop":
            ellipse(c, cx, 48, 6, 6)
            metal(c, metal_col, cx - 6, cx + 6)
            c.move_to(cx, 56)
            c.curve_to(cx + 20, 86, cx + 18, 116, cx, 118)
            c.curve_to(cx - 18, 116, cx - 20, 86, cx, 56)
            c.close_path()
            gemfill(c, gem, cx, 96, 20)
            highlight(c, cx + 6, 92, 4, 8, 0.8)
        elif style == "pearl":
            for k, r in enumerate((7, 10, 14)):
                y = 50 + sum((7, 10, 14)[:k]) * 2 + r
                ellipse(c, cx, y, r, r)
                gemfill(c, gem, cx, y, r)
        elif style == "hoop":
            ellipse(c, cx, 84, 22, 34)
            pen(c, shade(hexrgb(metal_col), 0.4), 9)
            ellipse(c, cx, 84, 22, 34)
            c.set_source(lin(c, cx - 22, 0, cx + 22, 0, [(0, shade(hexrgb(metal_col), 0.7)),
                                                         (0.7, shade(hexrgb(metal_col), 1.6)),
                                                         (1, hexrgb(metal_col))]))
            c.set_line_width(6)
            c.stroke()
            ellipse(c, cx, 118, 6, 6)
            gemfill(c, gem, cx, 118, 6)
        else:  # chandelier
            c.move_to(cx - 18, 52)
            c.line_to(cx + 18, 52)
            c.line_to(cx, 80)
            c.close_path()
            metal(c, metal_col, cx - 18, cx + 18)
            for dx, y, r in ((-16, 64, 5), (16, 64, 5), (0, 96, 9), (-12, 88, 5), (12, 88, 5)):
                ellipse(c, cx + dx, y + 14, r, r)
                gemfill(c, gem, cx + dx, y + 14, r)


def pipe(cv, wood="#6b3a1e", style="straight", stem="#1a1a1a", band=None):
    c = cv.vec()
    wc = hexrgb(wood)
    if style == "churchwarden":
        c.move_to(10, 40)
        c.curve_to(40, 70, 70, 92, 80, 104)
        tube(c, hexrgb(stem), 8, 5)
        bowl = (74, 96, 100, 136)
    elif style == "bent":
        c.move_to(10, 60)
        c.curve_to(30, 64, 50, 74, 62, 100)
        tube(c, hexrgb(stem), 10, 7)
        bowl = (60, 84, 98, 140)
    elif style == "calabash":
        c.move_to(8, 50)
        c.curve_to(30, 50, 40, 80, 50, 100)
        tube(c, hexrgb(stem), 10, 7)
        c.move_to(44, 98)
        c.curve_to(40, 150, 110, 150, 104, 70)
        c.curve_to(96, 72, 80, 70, 70, 66)
        c.curve_to(60, 80, 50, 90, 44, 98)
        c.close_path()
        solid(c, wood, 40, 110)
        ellipse(c, 87, 68, 17, 6)
        solid(c, "#f1e3c2", 70, 104)
        ellipse(c, 87, 68, 11, 3.5)
        c.set_source_rgb(0.15, 0.1, 0.05)
        c.fill()
        highlight(c, 90, 100, 4, 12, 0.5)
        return
    elif style == "meerschaum":
        c.move_to(8, 80)
        c.line_to(60, 92)
        tube(c, hexrgb(stem), 10, 7)
        bowl = (52, 60, 104, 136)
    else:  # straight billiard
        c.move_to(8, 70)
        c.line_to(62, 98)
        tube(c, hexrgb(stem), 10, 7)
        bowl = (56, 62, 100, 134)
    x0, y0, x1, y1 = bowl
    if band:
        rrect(c, x0 - 10, y1 - 40, 14, 12, 3)
        metal(c, band, x0 - 10, x0 + 4)
    c.move_to(x0, y0)
    c.line_to(x1, y0)
    c.curve_to(x1 + 2, y1 - 10, x1 - 6, y1, (x0 + x1) / 2, y1)
    c.curve_to(x0 + 4, y1, x0 - 4, y1 - 14, x0, y0)
    c.close_path()
    c.save()
    c.clip_preserve()
    outline_path = c.copy_path()
    c.set_source(lin(c, x0, 0, x1, 0, [(0, shade(wc, 0.5)), (0.6, wc), (0.85, shade(wc, 1.4)),
                                       (1, shade(wc, 0.8))]))
    c.fill()
    if style == "meerschaum":
        # a carved face
        ellipse(c, 70, 100, 4, 3)
        ellipse(c, 88, 100, 4, 3)
        c.set_source_rgba(0.4, 0.3, 0.2, 0.6)
        c.fill()
        c.move_to(70, 116)
        c.curve_to(76, 128, 84, 128, 90, 116)
        c.set_line_width(2)
        c.stroke()
    else:
        for k in range(6):
            c.move_to(x0 + 4 + k * 7, y0 + 4)
            c.curve_to(x0 + 8 + k * 7, (y0 + y1) / 2, x0 + k * 7, (y0 + y1) / 2, x0 + 6 + k * 7, y1)
        c.set_source_rgba(*shade(wc, 0.6), 0.5)
        c.set_line_width(1)
        c.stroke()
    c.restore()
    c.new_path()
    c.append_path(outline_path)
    pen(c, shade(wc, 0.35), INK)
    ellipse(c, (x0 + x1) / 2, y0, (x1 - x0) / 2, 6)
    solid(c, shade(wc, 0.8), x0, x1)
    ellipse(c, (x0 + x1) / 2, y0 + 1, (x1 - x0) / 2 - 5, 3.5)
    c.set_source_rgb(0.12, 0.08, 0.05)
    c.fill()
    highlight(c, x1 - 10, (y0 + y1) / 2, 4, 12, 0.45)


def pocketwatch(cv, case="#d4a437", dial="#fbf6e8", hunter=False, numerals="roman", chain=True,
                hands="#1a1a1a", enamel=None):
    c = cv.vec()
    cx, cy, r = 60, 92, 42
    if chain:
        c.move_to(60, 36)
        c.curve_to(40, 10, 10, 20, 12, 50)
        for k in range(14):
            t = k / 13.0
            x = 60 - 48 * t + 8 * math.sin(t * 3)
            y = 36 - 24 * math.sin(t * math.pi) + 14 * t
            ellipse(c, x, y, 3.2, 2.2)
        pen(c, shade(hexrgb(case), 0.6), 1.6)
    rrect(c, 54, 36, 12, 14, 3)
    metal(c, case, 54, 66)
    ellipse(c, 60, 34, 8, 6)
    pen(c, shade(hexrgb(case), 0.5), 3)
    ellipse(c, cx, cy, r + 4, r + 4)
    metal(c, case, cx - r, cx + r)
    if hunter:
        ellipse(c, cx, cy, r - 3, r - 3)
        c.set_source_rgb(*shade(hexrgb(case), 1.15))
        c.fill()
        # engraved rosette
        for k in range(12):
            a = k * math.pi / 6
            ellipse(c, cx + 18 * math.cos(a), cy + 18 * math.sin(a), 7, 7)
        c.set_source_rgba(*shade(hexrgb(case), 0.55), 0.9)
        c.set_line_width(1.2)
        c.stroke()
        if enamel:
            ellipse(c, cx, cy, 12, 12)
            gemfill(c, enamel, cx, cy, 12)
        highlight(c, cx + 16, cy - 18, 10, 6, 0.6)
        return
    ellipse(c, cx, cy, r - 4, r - 4)
    c.set_source_rgb(*hexrgb(dial))
    c.fill_preserve()
    pen(c, shade(hexrgb(case), 0.5), 1.5)
    dark = (0.15, 0.12, 0.1) if sum(hexrgb(dial)) > 1.5 else (0.95, 0.9, 0.75)
    if numerals == "roman":
        for k, s in enumerate(["XII", "III", "VI", "IX"]):
            a = -math.pi / 2 + k * math.pi / 2
            c.save()
            text(c, s, cx + 28 * math.cos(a), cy + 28 * math.sin(a), 10, dark, font="EB Garamond")
            c.restore()
    for k in range(12):
        a = k * math.pi / 6
        c.move_to(cx + 33 * math.cos(a), cy + 33 * math.sin(a))
        c.line_to(cx + 37 * math.cos(a), cy + 37 * math.sin(a))
    pen(c, dark, 2)
    c.move_to(cx, cy)
    c.line_to(cx + 14, cy - 12)
    c.move_to(cx, cy)
    c.line_to(cx - 6, cy - 26)
    pen(c, hexrgb(hands), 2.6)
    ellipse(c, cx, cy + 16, 7, 7)
    c.set_source_rgba(*dark, 0.5)
    c.set_line_width(1)
    c.stroke()
    highlight(c, cx + 16, cy - 18, 12, 7, 0.45)


def record(cv, label="#c0392b", gold=False):
    c = cv.vec()
    cx, cy = 60, 84
    ellipse(c, cx, cy, 52, 52)
    if gold:
        metal(c, "#e0b540", 8, 112)
    else:
        g = cairo.RadialGradient(cx + 16, cy - 18, 2, cx, cy, 52)
        g.add_color_stop_rgb(0, 0.35, 0.35, 0.38)
        g.add_color_stop_rgb(1, 0.05, 0.05, 0.06)
        c.set_source(g)
        c.fill()
    for rr in range(22, 50, 4):
        ellipse(c, cx, cy, rr, rr)
    c.set_source_rgba(1, 1, 1, 0.12)
    c.set_line_width(0.8)
    c.stroke()
    c.move_to(cx, cy)
    c.arc(cx, cy, 50, -1.2, -0.6)
    c.close_path()
    c.set_source_rgba(1, 1, 1, 0.15)
    c.fill()
    ellipse(c, cx, cy, 18, 18)
    c.set_source_rgb(*hexrgb(label))
    c.fill()
    ellipse(c, cx, cy, 2.5, 2.5)
    c.set_source_rgb(0.1, 0.1, 0.1)
    c.fill()


def gramophone(cv, horn="#d4a437", cabinet="#6b3a1e", style="horn"):
    c = cv.vec()
    rrect(c, 16, 104, 88, 44, 4)
    solid(c, cabinet, 16, 104)
    rrect(c, 22, 112, 76, 30, 3)
    c.set_source_rgba(0, 0, 0, 0.18)
    c.fill()
    ellipse(c, 60, 104, 42, 7)
    c.set_source_rgb(0.1, 0.1, 0.1)
    c.fill()
    if style == "horn":
        # tone arm up to a flared horn that opens to the upper left
        c.move_to(64, 102)
        c.curve_to(66, 84, 70, 72, 66, 62)
        c.curve_to(50, 52, 30, 50, 8, 50)
        c.line_to(50, 4)
        c.curve_to(62, 24, 70, 42, 76, 60)
        c.curve_to(80, 74, 76, 88, 74, 102)
        c.close_path()
        metal(c, horn, 8, 80)
        c.save()
        c.translate(29, 27)
        c.rotate(-0.83)
        c.scale(31, 12)
        c.arc(0, 0, 1, 0, 2 * math.pi)
        c.restore()
        g = cairo.RadialGradient(36, 34, 2, 29, 27, 30)
        g.add_color_stop_rgb(0, *shade(hexrgb(horn), 0.3))
        g.add_color_stop_rgb(1, *shade(hexrgb(horn), 0.8))
        c.set_source(g)
        c.fill_preserve()
        pen(c, shade(hexrgb(horn), 1.5), 2.5)
    else:  # portable turntable with lid open
        c.move_to(16, 104)
        c.line_to(26, 30)
        c.line_to(112, 30)
        c.line_to(104, 104)
        c.close_path()
        solid(c, horn, 16, 112)
        rrect(c, 34, 42, 64, 48, 4)
        c.set_source_rgba(1, 1, 1, 0.25)
        c.fill()
        ellipse(c, 64, 66, 14, 14)
        c.set_source_rgb(*hexrgb("#c0392b"))
        c.fill()
        c.move_to(92, 100)
        c.line_to(70, 106)
        pen(c, (0.8, 0.8, 0.82), 3)
    ellipse(c, 100, 124, 4, 4)
    metal(c, "#d4a437", 96, 104)


def opera_glasses(cv, body="#f3ead8", trim="#d4a437", handle=True, binocular=False):
    c = cv.vec()
    if binocular:
        for x in (36, 84):
            rrect(c, x - 18, 50, 36, 80, 8)
            solid(c, body, x - 18, x + 18)
            rrect(c, x - 20, 58, 40, 20, 4)
            c.set_source_rgba(0, 0, 0, 0.3)
            c.fill()
            ellipse(c, x, 130, 17, 7)
            metal(c, "#707880", x - 17, x + 17)
            ellipse(c, x, 130, 12, 4.5)
            c.set_source(lin(c, 0, 126, 0, 134, [(0, (0.5, 0.7, 0.95)), (1, (0.1, 0.2, 0.4))]))
            c.fill()
        rrect(c, 52, 60, 16, 40, 4)
        metal(c, "#707880", 52, 68)
        ellipse(c, 60, 58, 9, 9)
        metal(c, "#a0a8b0", 51, 69)
        return
    if handle:
        c.move_to(92, 96)
        c.line_to(112, 156)
        tube(c, hexrgb(trim), 8, 5, dark=0.45)
    for x in (36, 84):
        lathe(c, [(56, 16), (72, 14), (96, 20), (110, 22)], cx=x)
        solid(c, body, x - 22, x + 22)
        for y in (60, 104):
            ellipse(c, x, y, 17 if y < 90 else 22, 5)
            metal(c, trim, x - 22, x + 22)
        ellipse(c, x, 112, 21, 7)
        c.set_source(lin(c, 0, 106, 0, 118, [(0, (0.6, 0.8, 1)), (1, (0.1, 0.2, 0.45))]))
        c.fill()
    rrect(c, 48, 64, 24, 10, 3)
    metal(c, trim, 48, 72)


def typewriter(cv, body="#2b2b2b", keys="#f4efe2", paper=True):
    c = cv.vec()
    if paper:
        c.rectangle(30, 20, 60, 54)
        c.set_source_rgb(0.98, 0.97, 0.92)
        c.fill_preserve()
        pen(c, (0.6, 0.58, 0.5), 1)
        for y in range(30, 66, 7):
            c.move_to(36, y)
            c.line_to(84 - (y % 3) * 6, y)
        c.set_source_rgba(0.2, 0.2, 0.3, 0.6)
        c.set_line_width(1.3)
        c.stroke()
    rrect(c, 14, 58, 92, 16, 7)
    solid(c, body, 14, 106)
    for x in (10, 104):
        ellipse(c, x + 3, 66, 6, 6)
        metal(c, "#b0b4ba", x - 3, x + 9)
    c.move_to(12, 76)
    c.line_to(108, 76)
    c.line_to(116, 140)
    c.line_to(4, 140)
    c.close_path()
    solid(c, body, 4, 116)
    for row in range(4):
        y = 92 + row * 12
        n = 9 - (row == 3) * 0
        for k in range(n):
            x = 20 + row * 2 + k * 10
            ellipse(c, x, y, 4, 4)
            c.set_source_rgb(*hexrgb(keys))
            c.fill_preserve()
            pen(c, (0.1, 0.1, 0.1), 1)
    rrect(c, 36, 140, 48, 6, 3)
    c.set_source_rgb(*hexrgb(keys))
    c.fill()


def iron(cv, body="#2b2b2b", electric=False):
    c = cv.vec()
    # a low body with a pointed front, on a wide sole plate
    c.move_to(8, 132)
    c.line_to(114, 132)
    c.curve_to(104, 118, 84, 100, 56, 98)
    c.curve_to(30, 98, 12, 110, 8, 132)
    c.close_path()
    if electric:
        metal(c, "#c8ced6", 8, 114)
        c.move_to(12, 120)
        c.curve_to(40, 112, 70, 110, 104, 124)
        pen(c, hexrgb(body), 4)
    else:
        solid(c, body, 8, 114)
    rrect(c, 6, 130, 110, 8, 3)
    metal(c, "#8a9098" if not electric else "#e8ecf0", 6, 116)
    # the handle: a closed grip on two posts
    for x in (30, 82):
        rrect(c, x - 3, 70, 6, 32, 2)
        solid(c, "#3a3a3a", x - 3, x + 3)
    rrect(c, 20, 60, 76, 14, 7)
    solid(c, "#8b5a2b" if not electric else "#1a1a1a", 20, 96)
    if electric:
        c.move_to(22, 100)
        c.curve_to(4, 80, 14, 50, 4, 40)
        pen(c, (0.2, 0.2, 0.2), 3)
    highlight(c, 80, 112, 16, 4, 0.4)


def oilcan(cv, col="#c0392b", style="pump"):
    c = cv.vec()
    if style == "pump":
        c.move_to(68, 70)
        c.line_to(114, 18)
        pen(c, (0.3, 0.3, 0.3), 6, keep=True)
        pen(c, (0.75, 0.75, 0.78), 3.5)
        lathe(c, [(66, 6), (72, 10), (90, 38), (146, 42), (150, 42)])
        solid(c, col, 18, 102)
        c.rectangle(18, 110, 84, 8)
        c.set_source_rgba(1, 1, 1, 0.35)
        c.fill()
    else:  # brass thumb-pump can with a loop handle and a long spout
        c.move_to(30, 96)
        c.curve_to(4, 92, 2, 134, 30, 134)
        pen(c, (0.25, 0.15, 0.05), 8, keep=True)
        pen(c, hexrgb(col), 5)
        c.move_to(66, 74)
        c.line_to(116, 30)
        pen(c, (0.3, 0.2, 0.05), 6, keep=True)
        pen(c, hexrgb(col), 3.5)
        lathe(c, [(70, 8), (78, 12), (100, 34), (140, 34), (150, 30)])
        metal(c, col, 26, 94)
        ellipse(c, 44, 70, 6, 4)
        metal(c, "#b8bcc2", 38, 50)


def jerrycan(cv, col="#b5301f"):
    c = cv.vec()
    rrect(c, 18, 34, 84, 114, 8)
    solid(c, col, 18, 102)
    c.move_to(30, 50)
    c.line_to(90, 132)
    c.move_to(90, 50)
    c.line_to(30, 132)
    c.set_source_rgba(*shade(hexrgb(col), 0.55), 0.9)
    c.set_line_width(5)
    c.stroke()
    rrect(c, 26, 16, 50, 22, 6)
    rrect(c, 36, 22, 30, 10, 4)
    c.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    solid(c, col, 26, 76)
    c.set_fill_rule(cairo.FILL_RULE_WINDING)
    rrect(c, 80, 18, 16, 18, 3)
    metal(c, "#b0b4ba", 80, 96)
