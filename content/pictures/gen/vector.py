"""Vector drawings of the objects that have no ready artwork, each with parameters so
that one drawing gives several clearly different faces of a suit. Coordinates are design
units: 120 wide, 164 high, light from the upper right."""

import math

import cairo

from paint import hexrgb, shade

INK = 1.7  # width of the inner detail lines


def lin(c, x0, y0, x1, y1, stops):
    g = cairo.LinearGradient(x0, y0, x1, y1)
    for t, col in stops:
        if len(col) == 3:
            g.add_color_stop_rgb(t, *col)
        else:
            g.add_color_stop_rgba(t, *col)
    return g


def solid(c, col, x0=0, x1=120, light=1.35, dark=0.7, stroke=True, width=INK, keep=False):
    """Fills the current path with a sideways gradient of `col` (light on the right)
    and strokes it with a darker tone of the same colour."""
    col = hexrgb(col) if isinstance(col, str) else col
    c.set_source(lin(c, x0, 0, x1, 0, [(0, shade(col, dark)), (0.65, col), (0.85, shade(col, light)),
                                       (1, shade(col, 0.9))]))
    if stroke:
        c.fill_preserve()
        c.set_source_rgb(*shade(col, 0.4))
        c.set_line_width(width)
        if keep:
            c.stroke_preserve()
        else:
            c.stroke()
    elif keep:
        c.fill_preserve()
    else:
        c.fill()


def pen(c, rgb, width, keep=False):
    """Strokes the current path in one colour; `keep` leaves the path for another pass."""
    c.set_source_rgb(*rgb)
    c.set_line_width(width)
    if keep:
        c.stroke_preserve()
    else:
        c.stroke()


def tube(c, rgb, outer, inner, dark=0.5, keep=False):
    """A rod, stem or wire seen from the side: a dark wide stroke with a narrower stroke of
    the colour itself on top, so the edges read as shadow."""
    pen(c, shade(rgb, dark), outer, keep=True)
    pen(c, rgb, inner, keep=keep)


def vgrad(c, col, y0, y1, light=1.3, dark=0.7):
    col = hexrgb(col) if isinstance(col, str) else col
    c.set_source(lin(c, 0, y0, 0, y1, [(0, shade(col, light)), (1, shade(col, dark))]))
    c.fill_preserve()
    pen(c, shade(col, 0.4), INK)


def rrect(c, x, y, w, h, r):
    r = min(r, w / 2, h / 2)
    c.new_sub_path()
    c.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    c.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    c.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    c.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    c.close_path()


def ellipse(c, cx, cy, rx, ry):
    c.save()
    c.translate(cx, cy)
    c.scale(rx, ry)
    c.new_sub_path()
    c.arc(0, 0, 1, 0, 2 * math.pi)
    c.restore()


def highlight(c, x, y, w, h, alpha=0.55):
    """A soft white gloss streak."""
    ellipse(c, x, y, w, h)
    g = cairo.RadialGradient(x, y, 0, x, y, max(w, h))
    g.add_color_stop_rgba(0, 1, 1, 1, alpha)
    g.add_color_stop_rgba(1, 1, 1, 1, 0)
    c.set_source(g)
    c.fill()


def text(c, s, x, y, size, col, font="Lato", bold=True, outline=None):
    c.select_font_face(font, cairo.FONT_SLANT_NORMAL,
                       cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    c.set_font_size(size)
    ext = c.text_extents(s)
    c.move_to(x - ext.width / 2 - ext.x_bearing, y - ext.height / 2 - ext.y_bearing)
    c.text_path(s)
    if outline:
        pen(c, hexrgb(outline), size * 0.16, keep=True)
    c.set_source_rgb(*(hexrgb(col) if isinstance(col, str) else col))
    c.fill()


def lathe(c, profile, cx=60):
    """A vessel outline from (y, half width) pairs, top to bottom, mirrored about cx."""
    pts = [(cx + r, y) for y, r in profile]
    back = [(cx - r, y) for y, r in reversed(profile)]
    c.move_to(*pts[0])
    _smooth(c, pts)
    c.line_to(*back[0])
    _smooth(c, back)
    c.close_path()


def _smooth(c, pts):
    # Catmull-Rom through the points, as Bezier segments.
    for i in range(len(pts) - 1):
        p0 = pts[max(i - 1, 0)]
        p1, p2 = pts[i], pts[i + 1]
        p3 = pts[min(i + 2, len(pts) - 1)]
        c.curve_to(p1[0] + (p2[0] - p0[0]) / 6, p1[1] + (p2[1] - p0[1]) / 6,
                   p2[0] - (p3[0] - p1[0]) / 6, p2[1] - (p3[1] - p1[1]) / 6, p2[0], p2[1])


def metal(c, ramp_col, x0=20, x1=100):
    col = hexrgb(ramp_col)
    c.set_source(lin(c, x0, 0, x1, 0, [(0, shade(col, 0.55)), (0.35, col), (0.7, shade(col, 1.6)),
                                       (1, shade(col, 0.8))]))
    c.fill_preserve()
    pen(c, shade(col, 0.35), INK)


# --- furniture -------------------------------------------------------------------------

def chair(cv, wood="#8b5a2b", seat="#b23a3a", back="ladder", legs="straight", gilt=False):
    c = cv.vec()
    edge = "#d4a437" if gilt else wood
    # back legs
    for x in (38, 78):
        rrect(c, x, 60, 6, 92, 2)
        solid(c, shade(hexrgb(wood), 0.75), x, x + 6)
    # back
    if back == "ladder":
        for x in (34, 80):
            rrect(c, x, 14, 7, 80, 3)
            solid(c, wood, x, x + 7)
        for y in (24, 42, 60):
            rrect(c, 38, y, 46, 8, 3)
            solid(c, wood, 38, 84)
    elif back == "spindle":
        for x in (34, 80):
            rrect(c, x, 18, 7, 76, 3)
            solid(c, wood, x, x + 7)
        c.move_to(30, 26)
        c.curve_to(45, 8, 75, 8, 90, 26)
        c.line_to(90, 34)
        c.curve_to(75, 18, 45, 18, 30, 34)
        c.close_path()
        solid(c, edge, 30, 90)
        for x in (46, 54, 62, 70):
            rrect(c, x, 30, 4, 58, 2)
            solid(c, wood, x, x + 4)
    elif back == "windsor":
        c.move_to(26, 88)
        c.curve_to(18, 10, 102, 10, 94, 88)
        tube(c, hexrgb(wood), 9, 6, dark=0.4)
        for i, x in enumerate((38, 47, 56, 64, 73, 82)):
            top = 30 if 2 <= i <= 3 else 36 if 1 <= i <= 4 else 48
            rrect(c, x - 1.8, top, 3.6, 60, 1.5)
            solid(c, wood, x - 2, x + 2, width=1.2)
    elif back in ("solid", "oval", "wing", "throne"):
        if back == "solid":
            rrect(c, 32, 16, 56, 76, 14)
        elif back == "oval":
            ellipse(c, 60, 48, 28, 36)
        elif back == "wing":
            c.move_to(22, 96)
            c.curve_to(14, 40, 20, 14, 60, 12)
            c.curve_to(100, 14, 106, 40, 98, 96)
            c.close_path()
        else:
            c.move_to(30, 94)
            c.line_to(30, 30)
            c.curve_to(40, 22, 50, 6, 60, 2)
            c.curve_to(70, 6, 80, 22, 90, 30)
            c.line_to(90, 94)
            c.close_path()
        tube(c, hexrgb(edge), 7, 4, dark=0.55, keep=True)
        solid(c, seat, 20, 100, stroke=False)
        # buttons / tufting
        for (x, y) in ((50, 40), (70, 40), (60, 56), (50, 72), (70, 72)):
            ellipse(c, x, y, 1.8, 1.8)
            c.set_source_rgba(0, 0, 0, 0.35)
            c.fill()
        if back == "throne":
            ellipse(c, 60, 20, 4, 4)
            solid(c, "#e8c040")
    # seat
    c.move_to(26, 92)
    c.line_to(94, 92)
    c.line_to(100, 108)
    c.line_to(20, 108)
    c.close_path()
    solid(c, seat, 20, 100)
    rrect(c, 20, 106, 80, 8, 2)
    solid(c, edge, 20, 100)
    if back == "wing":
        for x0, x1 in ((14, 30), (90, 106)):
            rrect(c, x0, 70, x1 - x0, 40, 6)
            solid(c, seat, x0, x1)
    # front legs
    if legs == "cabriole":
        for s in (-1, 1):
            x = 60 + s * 34
            c.move_to(x - 4, 112)
            c.curve_to(x + s * 8, 124, x - s * 8, 138, x + s * 4, 152)
            c.line_to(x + s * 9, 152)
            c.curve_to(x - s * 2, 138, x + s * 14, 124, x + 4, 112)
            c.close_path()
            solid(c, edge, x - 10, x + 10)
    elif legs == "rocker":
        for x in (24, 90):
            rrect(c, x, 112, 6, 34, 2)
            solid(c, wood, x, x + 6)
        c.move_to(8, 140)
        c.curve_to(30, 156, 90, 156, 112, 140)
        tube(c, hexrgb(wood), 7, 4.5, dark=0.4)
    else:
        for x in (24, 90):
            rrect(c, x, 112, 6, 42, 2)
            solid(c, wood, x, x + 6)
        rrect(c, 28, 134, 64, 4, 2)
        solid(c, shade(hexrgb(wood), 0.85), 28, 92, width=1.2)


def box(cv, col="#7a3b1e", trim="#d4a437", shape="chest", gem=None):
    c = cv.vec()
    if shape == "chest":
        rrect(c, 16, 80, 88, 56, 4)
        solid(c, col, 16, 104)
        c.move_to(16, 82)
        c.curve_to(16, 44, 104, 44, 104, 82)
        c.close_path()
        solid(c, shade(hexrgb(col), 1.15), 16, 104)
        for x in (30, 86):
            rrect(c, x, 52, 6, 84, 2)
            metal(c, trim, x, x + 6)
        rrect(c, 52, 78, 16, 18, 3)
        metal(c, trim, 52, 68)
    elif shape == "heart":
        c.move_to(60, 144)
        c.curve_to(10, 104, 6, 60, 34, 52)
        c.curve_to(48, 48, 58, 58, 60, 66)
        c.curve_to(62, 58, 72, 48, 86, 52)
        c.curve_to(114, 60, 110, 104, 60, 144)
        c.close_path()
        solid(c, col, 10, 110)
        c.move_to(60, 132)
        c.curve_to(22, 100, 20, 68, 36, 63)
        c.set_source_rgba(*hexrgb(trim), 0.9)
        c.set_line_width(3)
        c.stroke()
    elif shape == "round":
        ellipse(c, 60, 124, 44, 14)
        solid(c, col, 16, 104)
        c.rectangle(16, 84, 88, 40)
        solid(c, col, 16, 104, stroke=False)
        ellipse(c, 60, 84, 44, 14)
        solid(c, shade(hexrgb(col), 1.25), 16, 104)
        ellipse(c, 60, 76, 10, 6)
        metal(c, trim, 50, 70)
        for y in (98, 112):
            c.move_to(16, y)
            c.curve_to(30, y + 12, 90, y + 12, 104, y)
            pen(c, hexrgb(trim), 2.5)
    elif shape == "music":
        rrect(c, 14, 90, 92, 48, 4)
        solid(c, col, 14, 106)
        c.move_to(14, 92)
        c.line_to(24, 40)
        c.line_to(106, 40)
        c.line_to(106, 92)
        c.close_path()
        solid(c, shade(hexrgb(col), 1.2), 14, 106)
        rrect(c, 30, 48, 66, 34, 3)
        c.set_source_rgb(*hexrgb("#f5e6c0"))
        c.fill()
        ellipse(c, 63, 65, 10, 10)
        metal(c, trim, 53, 73)
        c.move_to(106, 110)
        c.line_to(114, 110)
        c.line_to(114, 122)
        pen(c, hexrgb(trim), 3)
    else:  # octagon casket with feet
        pts = [(30, 70), (90, 70), (104, 84), (104, 128), (16, 128), (16, 84)]
        c.move_to(*pts[0])
        for p in pts[1:]:
            c.line_to(*p)
        c.close_path()
        solid(c, col, 16, 104)
        c.move_to(30, 70)
        c.line_to(40, 50)
        c.line_to(80, 50)
        c.line_to(90, 70)
        c.close_path()
        solid(c, shade(hexrgb(col), 1.2), 30, 90)
        for x in (20, 92):
            ellipse(c, x + 4, 132, 6, 5)
            metal(c, trim, x - 2, x + 10)
        rrect(c, 16, 96, 88, 5, 2)
        metal(c, trim)
    if gem:
        ellipse(c, 60, 104 if shape != "heart" else 92, 8, 8)
        gemfill(c, gem, 60, 104 if shape != "heart" else 92, 8)


def gemfill(c, col, cx, cy, r):
    col = hexrgb(col)
    g = cairo.RadialGradient(cx + r * 0.35, cy - r * 0.35, r * 0.05, cx, cy, r * 1.1)
    g.add_color_stop_rgb(0, *shade(col, 1.8))
    g.add_color_stop_rgb(0.35, *shade(col, 1.1))
    g.add_color_stop_rgb(1, *shade(col, 0.45))
    c.set_source(g)
    c.fill_preserve()
    pen(c, shade(col, 0.3), 1.2)


def lamp(cv, shade_col="#e8c56a", base="#8a5a2b", kind="bell", pattern=None):
    c = cv.vec()
    # base
    if kind in ("bell", "drum", "empire", "tiffany"):
        rrect(c, 56, 78, 8, 56, 3)
        metal(c, base, 56, 64)
        lathe(c, [(104, 4), (112, 16), (124, 18), (134, 10), (140, 26), (150, 28)])
        metal(c, base, 30, 90)
    elif kind == "urn":
        lathe(c, [(84, 6), (92, 22), (110, 26), (126, 14), (136, 10), (148, 24), (152, 24)])
        solid(c, base, 30, 90)
        rrect(c, 57, 70, 6, 16, 2)
        metal(c, "#c9a33a", 57, 63)
    elif kind == "oil":
        lathe(c, [(66, 7), (74, 12), (88, 9), (96, 8)])
        c.set_source_rgba(0.9, 0.95, 1, 0.55)
        c.fill_preserve()
        pen(c, (0.35, 0.4, 0.45), 1.2)
        lathe(c, [(96, 14), (100, 30), (118, 32), (128, 18), (136, 10), (146, 22), (152, 24)])
        solid(c, base, 28, 92)
        ellipse(c, 60, 80, 3, 6)
        c.set_source(lin(c, 0, 74, 0, 86, [(0, (1, 0.95, 0.5)), (1, (1, 0.5, 0.1))]))
        c.fill()
    elif kind == "banker":
        rrect(c, 57, 76, 6, 52, 2)
        metal(c, base, 57, 63)
        rrect(c, 26, 128, 68, 20, 6)
        metal(c, base, 26, 94)
    # shade
    sc = hexrgb(shade_col)
    if kind == "bell":
        c.move_to(40, 36)
        c.curve_to(38, 56, 24, 70, 18, 84)
        c.line_to(102, 84)
        c.curve_to(96, 70, 82, 56, 80, 36)
        c.close_path()
    elif kind == "drum":
        rrect(c, 26, 34, 68, 48, 4)
    elif kind == "empire":
        c.move_to(44, 30)
        c.line_to(76, 30)
        c.line_to(100, 86)
        c.line_to(20, 86)
        c.close_path()
    elif kind == "tiffany":
        c.move_to(14, 86)
        c.curve_to(14, 30, 106, 30, 106, 86)
        c.close_path()
    elif kind == "urn":
        c.move_to(38, 30)
        c.line_to(82, 30)
        c.line_to(98, 72)
        c.line_to(22, 72)
        c.close_path()
    elif kind == "banker":
        c.move_to(20, 80)
        c.curve_to(22, 56, 98, 56, 100, 80)
        c.close_path()
    if kind == "oil":
        lathe(c, [(24, 10), (34, 16), (50, 20), (60, 8), (66, 7)])
        c.set_source_rgba(*sc, 0.7)
        c.fill_preserve()
        pen(c, shade(sc, 0.45), 1.5)
        highlight(c, 66, 42, 3, 10, 0.7)
        return
    c.save()
    c.clip_preserve()
    outline_path = c.copy_path()
    c.set_source(lin(c, 10, 0, 110, 0, [(0, shade(sc, 0.6)), (0.6, sc), (0.85, shade(sc, 1.4)),
                                        (1, shade(sc, 0.85))]))
    c.fill()
    if kind == "tiffany":
        cols = ["#2e8b57", "#d4a017", "#b22222", "#4682b4", "#e9967a"]
        k = 0
        for y in range(30, 90, 10):
            for x in range(10, 110, 12):
                c.rectangle(x + (y % 20) * 0.6, y, 11, 9)
                c.set_source_rgba(*hexrgb(cols[k % len(cols)]), 0.55)
                c.fill()
                k += 1
        for y in range(30, 90, 10):
            c.move_to(0, y)
            c.line_to(120, y)
        for x in range(10, 110, 12):
            c.move_to(x, 30)
            c.line_to(x + 6, 90)
        c.set_source_rgba(0.15, 0.1, 0.05, 0.8)
        c.set_line_width(1.2)
        c.stroke()
    elif pattern == "fringe":
        for x in range(16, 106, 5):
            c.move_to(x, 80)
            c.line_to(x, 88)
        pen(c, shade(sc, 0.5), 1.5)
    elif pattern == "bands":
        for y in (42, 74):
            c.rectangle(0, y, 120, 4)
        c.set_source_rgba(*shade(sc, 0.55), 0.8)
        c.fill()
    c.restore()
    c.new_path()
    c.append_path(outline_path)
    pen(c, shade(sc, 0.35), INK)
    highlight(c, 78, 52, 5, 12, 0.45)


def vase(cv, profile, col="#2d5fa8", pattern=None, pcol="#ffffff", glaze=None, handles=False):
    c = cv.vec()
    if handles:
        top = profile[1][0]
        r = max(p[1] for p in profile)
        for s in (-1, 1):
            c.move_to(60 + s * (profile[1][1] - 1), top + 4)
            c.curve_to(60 + s * (r + 16), top, 60 + s * (r + 14), top + 34, 60 + s * (r - 4), top + 38)
            tube(c, hexrgb(col), 7, 4, dark=0.35)
    lathe(c, profile)
    c.save()
    c.clip_preserve()
    outline_path = c.copy_path()
    colr = hexrgb(col)
    c.set_source(lin(c, 10, 0, 110, 0, [(0, shade(colr, 0.45)), (0.55, colr), (0.78, shade(colr, 1.5)),
                                        (1, shade(colr, 0.75))]))
    c.fill()
    ys = [p[0] for p in profile]
    y0, y1 = min(ys), max(ys)
    pc = hexrgb(pcol)
    if pattern == "bands":
        for y in (y0 + (y1 - y0) * 0.3, y0 + (y1 - y0) * 0.75):
            c.rectangle(0, y, 120, 5)
        c.set_source_rgba(*pc, 0.9)
        c.fill()
    elif pattern == "dots":
        for i, y in enumerate(range(int(y0 + 16), int(y1 - 6), 12)):
            for x in range(20 + (i % 2) * 6, 104, 12):
                ellipse(c, x, y, 2.4, 2.4)
        c.set_source_rgba(*pc, 0.9)
        c.fill()
    elif pattern == "flowers":
        ym = y0 + (y1 - y0) * 0.55
        for x in (40, 60, 80):
            for k in range(5):
                a = k * 2 * math.pi / 5
                ellipse(c, x + 5 * math.cos(a), ym + 5 * math.sin(a), 3.6, 3.6)
            c.set_source_rgba(*pc, 0.95)
            c.fill()
            ellipse(c, x, ym, 2.4, 2.4)
            c.set_source_rgb(*hexrgb("#f2c12e"))
            c.fill()
        c.move_to(20, ym + 14)
        for x in range(20, 104, 8):
            c.line_to(x + 4, ym + 10 + (x % 16) / 2)
        c.set_source_rgba(*hexrgb("#2f7d32"), 0.9)
        c.set_line_width(2.5)
        c.stroke()
    elif pattern == "zigzag":
        ym = y0 + (y1 - y0) * 0.5
        c.move_to(0, ym)
        for i, x in enumerate(range(0, 124, 8)):
            c.line_to(x, ym + (7 if i % 2 else -7))
        c.set_source_rgba(*pc, 0.95)
        c.set_line_width(3.5)
        c.stroke()
    elif pattern == "willow":
        ym = y0 + (y1 - y0) * 0.5
        c.move_to(20, ym + 10)
        c.curve_to(40, ym - 10, 60, ym + 14, 100, ym - 4)
        c.set_source_rgba(*pc, 0.9)
        c.set_line_width(2)
        c.stroke()
        for x, y in ((44, ym - 8), (74, ym + 2), (58, ym - 16)):
            ellipse(c, x, y, 6, 3)
            c.fill()
    elif pattern == "cloisonne":
        for y in range(int(y0), int(y1), 9):
            for x in range(0, 120, 9):
                k = (x // 9 + y // 9) % 3
                ellipse(c, x + 4, y + 4, 3, 3)
                c.set_source_rgba(*hexrgb(["#d7263d", "#f4d35e", "#2ec4b6"][k]), 0.8)
                c.fill_preserve()
                c.set_source_rgba(0.85, 0.65, 0.2, 1)
                c.set_line_width(0.8)
                c.stroke()
    if glaze:
        c.rectangle(0, y0, 120, (y1 - y0) * 0.22)
        c.set_source_rgba(*hexrgb(glaze), 0.85)
        c.fill()
    c.restore()
    c.new_path()
    c.append_path(outline_path)
    pen(c, shade(colr, 0.3), INK)
    ym = y0 + (y1 - y0) * 0.45
    highlight(c, 74, ym, 4, (y1 - y0) * 0.2, 0.5)


VASE_PROFILES = {
    "amphora": [(18, 10), (26, 9), (40, 14), (70, 32), (110, 26), (140, 12), (150, 14), (152, 14)],
    "ginger": [(30, 14), (36, 22), (60, 38), (100, 38), (136, 26), (150, 22)],
    "bottle": [(14, 6), (30, 7), (60, 12), (92, 34), (128, 34), (148, 24), (152, 20)],
    "gourd": [(18, 8), (40, 18), (58, 12), (92, 34), (130, 32), (150, 18)],
    "trumpet": [(16, 34), (40, 20), (70, 12), (110, 16), (140, 24), (152, 26)],
    "baluster": [(20, 22), (34, 14), (56, 28), (96, 36), (132, 20), (144, 14), (152, 22)],
    "urn": [(40, 30), (50, 28), (80, 40), (112, 26), (126, 10), (140, 12), (152, 26)],
    "jug": [(24, 22), (36, 20), (70, 36), (116, 36), (144, 28), (152, 24)],
    "moon": [(20, 10), (34, 10), (48, 32), (90, 42), (130, 30), (148, 16), (152, 18)],
    "cylinder": [(20, 28), (28, 26), (140, 26), (152, 28)],
    "pitcher": [(20, 30), (34, 24), (80, 34), (130, 30), (152, 24)],
    "spittoon": [(52, 30), (60, 22), (78, 24), (104, 42), (134, 38), (150, 30)],
    "inkwell": [(92, 10), (100, 12), (110, 30), (146, 34), (152, 34)],
    "bowl": [(78, 46), (84, 46), (112, 40), (134, 24), (144, 16), (150, 20)],
}


def teapot(cv, col="#2d6fa8", shape="round", pattern=None, pcol="#ffffff", knob="#d4a437",
           spout="curved"):
    c = cv.vec()
    c.translate(60, 92)
    c.scale(0.8, 0.8)
    c.translate(-60, -100)
    colr = hexrgb(col)
    profiles = {
        "round": [(60, 22), (70, 36), (100, 46), (130, 38), (146, 22), (150, 24)],
        "tall": [(40, 18), (52, 26), (100, 34), (140, 32), (150, 28)],
        "squat": [(80, 24), (88, 42), (112, 50), (138, 42), (150, 34)],
        "pear": [(46, 16), (60, 22), (104, 40), (138, 38), (150, 28)],
        "melon": [(62, 20), (74, 40), (104, 46), (134, 40), (150, 26)],
        "hex": [(56, 26), (62, 34), (140, 34), (150, 30)],
    }
    prof = profiles[shape]
    ytop = prof[0][0]
    rmax = max(p[1] for p in prof)
    ymid = (ytop + 150) / 2 + 6
    # handle
    c.move_to(60 - rmax + 6, ymid - 22)
    c.curve_to(60 - rmax - 22, ymid - 26, 60 - rmax - 20, ymid + 22, 60 - rmax + 6, ymid + 18)
    tube(c, colr, 8, 5, dark=0.35)
    # spout
    sx = 60 + rmax - 6
    if spout == "curved":
        c.move_to(sx, ymid + 14)
        c.curve_to(sx + 12, ymid + 8, sx + 10, ymid - 20, sx + 26, ymid - 32)
        c.line_to(sx + 30, ymid - 28)
        c.curve_to(sx + 20, ymid - 12, sx + 22, ymid + 10, sx, ymid + 26)
    else:
        c.move_to(sx, ymid + 2)
        c.line_to(sx + 28, ymid - 20)
        c.line_to(sx + 30, ymid - 14)
        c.line_to(sx, ymid + 18)
    c.close_path()
    solid(c, colr, sx, sx + 30)
    # body
    lathe(c, prof)
    c.save()
    c.clip_preserve()
    outline_path = c.copy_path()
    c.set_source(lin(c, 60 - rmax, 0, 60 + rmax, 0, [(0, shade(colr, 0.45)), (0.55, colr),
                                                       (0.8, shade(colr, 1.5)), (1, shade(colr, 0.8))]))
    c.fill()
    pc = hexrgb(pcol)
    if pattern == "band":
        c.rectangle(0, ymid - 4, 120, 8)
        c.set_source_rgba(*pc, 0.95)
        c.fill()
    elif pattern == "dots":
        for i, y in enumerate(range(ytop + 18, 150, 11)):
            for x in range(16 + (i % 2) * 6, 108, 12):
                ellipse(c, x, y, 2.6, 2.6)
        c.set_source_rgba(*pc, 0.9)
        c.fill()
    elif pattern == "rose":
        for x, y, r in ((56, ymid, 9), (74, ymid + 10, 6), (42, ymid + 12, 5)):
            ellipse(c, x, y, r, r)
            c.set_source_rgba(*pc, 0.95)
            c.fill()
            ellipse(c, x + 1, y - 1, r * 0.45, r * 0.45)
            c.set_source_rgba(*shade(pc, 0.6), 0.9)
            c.fill()
        for x, y in ((64, ymid - 8), (34, ymid + 2)):
            ellipse(c, x, y, 6, 2.6)
            c.set_source_rgba(*hexrgb("#3b7d3b"), 0.9)
            c.fill()
    elif pattern == "ribs":
        for x in range(60 - rmax, 60 + rmax, 10):
            c.move_to(x, ytop)
            c.curve_to(x - 4, ymid, x + 4, ymid, x, 150)
        c.set_source_rgba(*shade(colr, 0.55), 0.7)
        c.set_line_width(1.6)
        c.stroke()
    elif pattern == "stripes":
        for y in range(ytop + 10, 150, 12):
            c.rectangle(0, y, 120, 5)
        c.set_source_rgba(*pc, 0.85)
        c.fill()
    c.restore()
    c.new_path()
    c.append_path(outline_path)
    pen(c, shade(colr, 0.3), INK)
    # lid and knob
    lw = prof[0][1] + 2
    ellipse(c, 60, ytop, lw, 5)
    solid(c, shade(colr, 1.15), 60 - lw, 60 + lw)
    ellipse(c, 60, ytop - 7, 5, 5)
    metal(c, knob, 55, 65)
    highlight(c, 72, ymid - 8, 5, 12, 0.5)


def teacup(cv, col="#ffffff", band="#2d6fa8", label=None, label_col="#ffffff", flower=None,
           saucer=True, gold_rim=True):
    c = cv.vec()
    colr = hexrgb(col)
    if saucer:
        ellipse(c, 60, 136, 54, 14)
        solid(c, colr, 6, 114)
        ellipse(c, 60, 132, 36, 8)
        c.set_source_rgba(*shade(colr, 0.8), 0.8)
        c.fill()
    # handle
    c.move_to(98, 70)
    c.curve_to(122, 66, 120, 108, 90, 108)
    tube(c, colr, 9, 6, dark=0.4)
    # cup body
    c.move_to(16, 58)
    c.curve_to(16, 110, 34, 132, 60, 132)
    c.curve_to(86, 132, 104, 110, 104, 58)
    c.close_path()
    c.save()
    c.clip_preserve()
    outline_path = c.copy_path()
    c.set_source(lin(c, 16, 0, 104, 0, [(0, shade(colr, 0.7)), (0.6, colr), (0.85, shade(colr, 1.3)),
                                        (1, shade(colr, 0.9))]))
    c.fill()
    bc = hexrgb(band)
    c.rectangle(0, 64, 120, 40 if label else 14)
    c.set_source(lin(c, 16, 0, 104, 0, [(0, shade(bc, 0.7)), (0.6, bc), (1, shade(bc, 1.2))]))
    c.fill()
    c.restore()
    c.new_path()
    c.append_path(outline_path)
    pen(c, shade(colr, 0.35), INK)
    ellipse(c, 60, 58, 44, 9)
    c.set_source_rgb(*shade(hexrgb("#7a4a22"), 1.0))
    c.fill_preserve()
    pen(c, (hexrgb("#d9a521") if gold_rim else shade(colr, 0.5)), 2.6)
    if flower:
        for k in range(5):
            a = k * 2 * math.pi / 5
            ellipse(c, 60 + 7 * math.cos(a), 116 + 5 * math.sin(a), 4, 3.2)
        c.set_source_rgb(*hexrgb(flower))
        c.fill()
        ellipse(c, 60, 116, 2.5, 2.5)
        c.set_source_rgb(*hexrgb("#f2c12e"))
        c.fill()
    if label:
        text(c, label, 58, 86, 34 if len(label) == 1 else 30, label_col, outline="#2b1a10")


def rug(cv, field="#9e2a2b", border="#1f3a5f", accent="#e9c46a", motif="medallion"):
    c = cv.vec()
    x0, y0, x1, y1 = 18, 20, 102, 146
    # fringe
    for x in range(x0 + 3, x1 - 1, 4):
        for y, d in ((y0, -7), (y1, 7)):
            c.move_to(x, y)
            c.line_to(x + 0.8, y + d)
    pen(c, hexrgb("#efe3c8"), 1.6)
    c.rectangle(x0, y0, x1 - x0, y1 - y0)
    solid(c, border, x0, x1)
    c.rectangle(x0 + 8, y0 + 8, x1 - x0 - 16, y1 - y0 - 16)
    solid(c, field, x0, x1, width=1.2)
    a = hexrgb(accent)
    # border dots
    for x in range(x0 + 6, x1 - 2, 8):
        for y in (y0 + 4, y1 - 4):
            ellipse(c, x, y, 1.6, 1.6)
    for y in range(y0 + 6, y1 - 2, 8):
        for x in (x0 + 4, x1 - 4):
            ellipse(c, x, y, 1.6, 1.6)
    c.set_source_rgb(*a)
    c.fill()
    cx, cy = 60, 83
    if motif == "medallion":
        c.move_to(cx, cy - 40)
        c.line_to(cx + 26, cy)
        c.line_to(cx, cy + 40)
        c.line_to(cx - 26, cy)
        c.close_path()
        solid(c, accent, 30, 90, width=1.2)
        c.move_to(cx, cy - 24)
        c.line_to(cx + 14, cy)
        c.line_to(cx, cy + 24)
        c.line_to(cx - 14, cy)
        c.close_path()
        solid(c, border, 40, 80, width=1.2)
        ellipse(c, cx, cy, 5, 5)
        c.set_source_rgb(*a)
        c.fill()
    elif motif == "stripes":
        for i, y in enumerate(range(y0 + 14, y1 - 12, 10)):
            c.rectangle(x0 + 8, y, x1 - x0 - 16, 5)
            c.set_source_rgb(*(a if i % 2 == 0 else hexrgb(border)))
            c.fill()
    elif motif == "diamonds":
        for y in range(y0 + 22, y1 - 14, 22):
            for x in (40, 60, 80):
                c.move_to(x, y - 9)
                c.line_to(x + 8, y)
                c.line_to(x, y + 9)
                c.line_to(x - 8, y)
                c.close_path()
        c.set_source_rgb(*a)
        c.fill()
    elif motif == "tree":
        c.move_to(cx, y0 + 16)
        c.line_to(cx, y1 - 16)
        pen(c, a, 3)
        for k, y in enumerate(range(y0 + 26, y1 - 24, 14)):
            for s in (-1, 1):
                ellipse(c, cx + s * 12, y + 4, 9, 4)
        c.fill()
    elif motif == "stars":
        for y in range(y0 + 22, y1 - 12, 24):
            for x in (42, 78):
                star(c, x, y, 9, 4, 8)
        c.set_source_rgb(*a)
        c.fill()
    else:  # guls
        for y in (52, 84, 116):
            ellipse(c, cx, y, 20, 11)
            c.set_source_rgb(*a)
            c.fill()
            ellipse(c, cx, y, 10, 5)
            c.set_source_rgb(*hexrgb(border))
            c.fill()


def star(c, cx, cy, r, r2, n=5, rot=-math.pi / 2):
    for i in range(2 * n):
        rr = r if i % 2 == 0 else r2
        a = rot + i * math.pi / n
        (c.move_to if i == 0 else c.line_to)(cx + rr * math.cos(a), cy + rr * math.sin(a))
    c.close_path()


def stamp(cv, emoji_char, bg="#3a6ea5", value="5", hue=None, ink="#ffffff",
          shape="rect"):
    c = cv.vec()
    x0, y0, x1, y1 = 14, 18, 106, 146
    # perforated paper
    c.rectangle(x0, y0, x1 - x0, y1 - y0)
    r = 3.4
    for x in range(int(x0), int(x1) + 1, 8):
        for y in (y0, y1):
            c.new_sub_path()
            c.arc_negative(x, y, r, 2 * math.pi, 0)
    for y in range(int(y0) + 8, int(y1), 8):
        for x in (x0, x1):
            c.new_sub_path()
            c.arc_negative(x, y, r, 2 * math.pi, 0)
    c.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    c.set_source_rgb(*hexrgb("#fbf7ec"))
    c.fill_preserve()
    c.set_fill_rule(cairo.FILL_RULE_WINDING)
    pen(c, (0.55, 0.5, 0.42), 1.0)
    if shape == "oval":
        rrect(c, x0 + 8, y0 + 8, x1 - x0 - 16, y1 - y0 - 16, 2)
        solid(c, bg, x0, x1, width=1.2)
        ellipse(c, 60, 76, 32, 40)
        c.set_source_rgb(*shade(hexrgb(bg), 1.6))
        c.fill()
    else:
        rrect(c, x0 + 8, y0 + 8, x1 - x0 - 16, y1 - y0 - 16, 2)
        g = lin(c, 0, y0, 0, y1, [(0, shade(hexrgb(bg), 1.5)), (1, hexrgb(bg))])
        c.set_source(g)
        c.fill_preserve()
        pen(c, shade(hexrgb(bg), 0.5), 1.2)
    c.rectangle(x0 + 8, y1 - 34, x1 - x0 - 16, 26)
    c.set_source_rgb(*shade(hexrgb(bg), 0.6))
    c.fill()
    text(c, value, 60, y1 - 21, 20, ink)
    cv.emoji(emoji_char, 60, 76, 64, 66, hue=hue)


def frame(cv, inner, shape="rect", col="#c9952b", bg="#9cc3e0", inner_hue=None, bg2=None,
          inner_tint=None):
    c = cv.vec()
    fc = hexrgb(col)
    if shape == "oval":
        ellipse(c, 60, 82, 50, 66)
    elif shape == "arch":
        c.move_to(10, 150)
        c.line_to(10, 60)
        c.curve_to(10, 0, 110, 0, 110, 60)
        c.line_to(110, 150)
        c.close_path()
    elif shape == "wide":
        rrect(c, 4, 34, 112, 96, 3)
    else:
        rrect(c, 10, 14, 100, 136, 3)
    c.set_source(lin(c, 0, 0, 120, 164, [(0, shade(fc, 1.5)), (0.5, fc), (1, shade(fc, 0.55))]))
    c.fill_preserve()
    pen(c, shade(fc, 0.35), INK)
    # inner picture area
    if shape == "oval":
        ellipse(c, 60, 82, 38, 53)
        box = (60, 82, 62, 86)
    elif shape == "arch":
        c.move_to(22, 138)
        c.line_to(22, 62)
        c.curve_to(22, 14, 98, 14, 98, 62)
        c.line_to(98, 138)
        c.close_path()
        box = (60, 84, 70, 96)
    elif shape == "wide":
        c.rectangle(16, 46, 88, 72)
        box = (60, 82, 80, 66)
    else:
        c.rectangle(22, 26, 76, 112)
        box = (60, 82, 70, 96)
    b1 = hexrgb(bg)
    b2 = hexrgb(bg2) if bg2 else shade(b1, 0.7)
    c.set_source(lin(c, 0, 20, 0, 140, [(0, b1), (1, b2)]))
    c.fill_preserve()
    c.set_source_rgba(0, 0, 0, 0.5)
    c.set_line_width(2)
    c.stroke()
    cv.emoji(inner, box[0], box[1], box[2], box[3], hue=inner_hue, tint=inner_tint, amount=0.6)
    c2 = cv.vec()
    # a bevel on top of the picture edge
    if shape == "rect":
        rrect(c2, 10, 14, 100, 136, 3)
        c2.set_source_rgba(1, 1, 1, 0.25)
        c2.set_line_width(1.2)
        c2.stroke()


def coin(cv, metal_col="#d4a437", mark="star", text_s=None, size=46, square_hole=False):
    c = cv.vec()
    mc = hexrgb(metal_col)
    cx, cy = 60, 84
    ellipse(c, cx - 2, cy + 3, size, size)
    c.set_source_rgb(*shade(mc, 0.45))
    c.fill()
    ellipse(c, cx, cy, size, size)
    g = cairo.RadialGradient(cx + 14, cy - 16, 4, cx, cy, size)
    g.add_color_stop_rgb(0, *shade(mc, 1.7))
    g.add_color_stop_rgb(0.6, *mc)
    g.add_color_stop_rgb(1, *shade(mc, 0.65))
    c.set_source(g)
    c.fill_preserve()
    pen(c, shade(mc, 0.35), INK)
    ellipse(c, cx, cy, size - 7, size - 7)
    c.set_source_rgba(*shade(mc, 0.5), 0.9)
    c.set_line_width(1.6)
    c.stroke()
    for k in range(36):
        a = k * math.pi / 18
        c.move_to(cx + (size - 4) * math.cos(a), cy + (size - 4) * math.sin(a))
        c.line_to(cx + (size - 1) * math.cos(a), cy + (size - 1) * math.sin(a))
    c.set_source_rgba(*shade(mc, 0.55), 0.8)
    c.set_line_width(1.2)
    c.stroke()
    relief = shade(mc, 0.55)
    if square_hole:
        c.rectangle(cx - 10, cy - 10, 20, 20)
        c.set_source_rgb(*shade(mc, 0.3))
        c.fill()
        for dx, dy in ((0, -25), (0, 25), (25, 0), (-25, 0)):
            c.rectangle(cx + dx - 5, cy + dy - 5, 10, 10)
        c.set_source_rgb(*relief)
        c.fill()
    elif mark == "star":
        star(c, cx, cy - 4, 22, 9)
        c.set_source_rgb(*relief)
        c.fill()
    elif mark == "eagle":
        cv.emoji("\U0001F985", cx, cy - 2, 56, 56, tint=[paint_ramp(metal_col, 0.4), metal_col,
                                                         paint_ramp(metal_col, 1.6)], amount=1.0)
    elif mark == "crown":
        cv.emoji("\U0001F451", cx, cy - 4, 50, 44, tint=[paint_ramp(metal_col, 0.4), metal_col,
                                                         paint_ramp(metal_col, 1.6)], amount=1.0)
    elif mark == "head":
        import vector2
        vector2.lady_profile(c, cx, cy - 9, 0.6)
        c.set_source(lin(c, cx - 20, cy - 30, cx + 20, cy + 30, [(0, shade(mc, 1.5)), (1, shade(mc, 0.8))]))
        c.fill_preserve()
        pen(c, shade(mc, 0.45), 1.4)
    if text_s:
        c3 = cv.vec()
        text(c3, text_s, cx, cy + 28, 15, shade(mc, 0.4), font="EB Garamond")


def paint_ramp(col, f):
    r, g, b = shade(hexrgb(col), f)
    return "#%02x%02x%02x" % (int(r * 255), int(g * 255), int(b * 255))
