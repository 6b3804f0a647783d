"""Draws the level backgrounds: backgrounds/levels/<place>_color.png and the same
picture in black and white, <place>_bw.png, 480 x 360 each (the game shows them at 5/3),
and beside each its larger version <name>_hd.jpg at 1600 x 1200, the size it is shown at on
a 1600 x 1200 frame, for enlarged screens.

usage: backgrounds.py STAGE_DIR STAMP"""

import math
import os
import sys

import cairo
from PIL import Image, ImageOps

import paint
from paint import hexrgb, shade
import vector as V
import vector2 as V2
import vector3 as V3
from scene import (H, SS, W, Placed, Scene, bunting, chandelier, cloud, fill, floor_shadow, frame, lin, line,
                   poly, rays, rect, table, text, vignette)


def planks_floor(c, y0, col, n=14, vx=240):
    rect(c, 0, y0, W, H - y0, lin(0, y0, 0, H, [(0, shade(hexrgb(col), 0.75)), (1, shade(hexrgb(col), 1.1))]))
    for k in range(-n, n + 1):
        c.move_to(vx + k * 12, y0)
        c.line_to(vx + k * 70, H)
    line(c, "#2a1608", 1, 0.45)
    for k, y in enumerate((y0 + 14, y0 + 34, y0 + 62, y0 + 100)):
        c.move_to(0, y)
        c.line_to(W, y)
    line(c, "#2a1608", 0.8, 0.25)


def attic(s):
    c = s.vec()
    # back wall of boards
    rect(c, 0, 0, W, H, lin(0, 0, 0, H, [(0, "#4a2c16"), (1, "#7a4a26")]))
    for x in range(0, W, 22):
        c.move_to(x, 0)
        c.line_to(x, H)
    line(c, "#2a1608", 1.2, 0.5)
    # the round window and its light
    c.arc(240, 92, 40, 0, 2 * math.pi)
    fill(c, lin(0, 52, 0, 132, [(0, "#fff3c4"), (1, "#f2c46a")]))
    c.arc(240, 92, 40, 0, 2 * math.pi)
    line(c, "#3a220e", 7)
    c.move_to(200, 92)
    c.line_to(280, 92)
    c.move_to(240, 52)
    c.line_to(240, 132)
    line(c, "#3a220e", 4)
    poly(c, [(206, 110), (274, 110), (380, 360), (120, 360)])
    fill(c, lin(0, 110, 0, 360, [(0, (1, 0.93, 0.7, 0.35)), (1, (1, 0.9, 0.6, 0.05))]))
    planks_floor(c, 262, "#8a5a30")
    # the sloping roof and rafters
    for side in (-1, 1):
        x0 = 240 + side * 250
        poly(c, [(240, -40), (x0 + side * 40, 200), (x0 + side * 40, -40)])
        fill(c, lin(240, 0, x0, 0, [(0, "#3a2210"), (1, "#1e1008")]))
        for k in range(5):
            t = 0.18 + k * 0.2
            c.move_to(240 + side * 250 * t, -40 + 240 * t)
            c.line_to(240 + side * 250 * t + side * 10, -60)
        line(c, "#5a3418", 6)
        c.move_to(240, -40)
        c.line_to(x0 + side * 40, 200)
        line(c, "#6b3e1c", 14)
    rect(c, 0, 196, 22, 70, "#5a3418", "#2a1608")
    rect(c, 458, 196, 22, 70, "#5a3418", "#2a1608")
    # hanging bulb
    c.move_to(120, 0)
    c.line_to(120, 70)
    line(c, "#1a1a1a", 1.2)
    # cobwebs
    for cx in (0, 480):
        for r in (20, 34, 48):
            c.new_sub_path()
            c.arc(cx, 0, r, 0, math.pi)
        line(c, "#e8e0d0", 0.6, 0.35)
    for k in range(40):
        x = 200 + (k * 53) % 90 + (k * 7) % 30
        y = 130 + (k * 37) % 150
        c.new_sub_path()
        c.arc(x + (y - 130) * 0.3 * (1 if k % 2 else -1), y, 0.8 + (k % 3) * 0.4, 0, 2 * math.pi)
    fill(c, (1, 0.97, 0.85, 0.55))
    for x, w in ((66, 50), (176, 30), (330, 26), (414, 44)):
        floor_shadow(c, x, 300 if x < 300 else 296, w)
    vignette(c, 0.55)
    s.prop("\U0001F4A1", 120, 88, 22, shadow=False, rotate=180)
    V.box(Placed(s, 66, 318, 110), "#5a3418", "#c9952b", "chest")
    V.chair(Placed(s, 176, 300, 84), wood="#7a4a22", seat="#b89a6a", back="spindle", legs="rocker")
    s.prop("\U0001F4E6", 420, 296, 64)
    s.prop("\U0001F4E6", 392, 252, 44)
    s.prop("\U0001F9F8", 392, 214, 30)
    s.prop("\U0001F3A0", 250, 316, 40)
    s.prop("\U0001F570\ufe0f", 330, 272, 34)
    s.prop("\U0001F5BC\ufe0f", 30, 232, 38)
    s.prop("\U0001FA9E", 455, 230, 46)
    s.prop("\U0001F9F6", 206, 306, 18)
    s.prop("\U0001F56F\ufe0f", 290, 310, 26)
    s.prop("\U0001F578\ufe0f", 450, 50, 36, shadow=False, alpha=0.6)


def yardsale(s):
    c = s.vec()
    rect(c, 0, 0, W, 200, lin(0, 0, 0, 200, [(0, "#5fa8e8"), (1, "#cfe9fb")]))
    cloud(c, 60, 40, 1.2)
    cloud(c, 330, 28, 1.0)
    cloud(c, 420, 70, 0.7)
    # house
    rect(c, 250, 70, 200, 130, lin(250, 0, 450, 0, [(0, "#e8e2d4"), (1, "#fbf8f0")]), "#6b6254")
    for y in range(78, 200, 9):
        c.move_to(250, y)
        c.line_to(450, y)
    line(c, "#b8b0a0", 0.6)
    poly(c, [(236, 74), (350, 10), (464, 74)])
    fill(c, lin(0, 10, 0, 74, [(0, "#b8402c"), (1, "#7a2418")]), keep=True)
    line(c, "#3a1008", 1.5)
    for x in (272, 392):
        rect(c, x, 100, 36, 40, "#9fd0f0", "#ffffff", 4)
        rect(c, x - 8, 100, 7, 40, "#3f6b4a")
        rect(c, x + 37, 100, 7, 40, "#3f6b4a")
    rect(c, 336, 128, 30, 72, "#7a3b1e", "#3a1a0a")
    # lawn
    rect(c, 0, 196, W, H - 196, lin(0, 196, 0, H, [(0, "#7cc24f"), (1, "#3f8a2a")]))
    for k in range(160):
        x = (k * 97) % W
        y = 200 + (k * 53) % 160
        c.move_to(x, y)
        c.line_to(x + 2, y - 5)
    line(c, "#2f6a1e", 1, 0.5)
    # picket fence
    for x in range(0, 250, 14):
        poly(c, [(x, 206), (x + 5, 198), (x + 10, 206), (x + 10, 236), (x, 236)])
        fill(c, "#ffffff", keep=True)
        line(c, "#9a9a9a", 0.8)
    rect(c, 0, 212, 250, 5, "#f4f4f4")
    rect(c, 0, 226, 250, 5, "#f4f4f4")
    # a sign on a stake
    rect(c, 38, 250, 4, 70, "#8a5a30")
    poly(c, [(4, 228), (78, 224), (80, 262), (6, 266)])
    fill(c, "#e8c98a", keep=True)
    line(c, "#6b4a20", 1.5)
    text(c, "YARD", 42, 236, 15, "#c0261e", font="Lato", rotate=-0.05)
    text(c, "SALE!", 43, 254, 15, "#c0261e", font="Lato", rotate=-0.05)
    table(c, 100, 272, 130, "#f2f2f2")
    table(c, 280, 262, 150, "#e86a5a")
    vignette(c, 0.35)
    s.prop("\U0001F333", 200, 210, 150)
    for ch, x, y, h in (("\U0001F9F8", 124, 272, 30), ("\U0001F4DA", 160, 272, 26), ("\U0001F3FA", 200, 272, 34),
                        ("\u23F0", 300, 262, 24), ("\U0001F3B8", 336, 262, 44), ("\U0001F9FA", 378, 262, 28),
                        ("\U0001F457", 414, 262, 36)):
        s.prop(ch, x, y, h)
    s.prop("\U0001FA91", 450, 330, 56)
    s.prop("\U0001F6B2", 60, 345, 44)


def fleamarket(s):
    c = s.vec()
    rect(c, 0, 0, W, 170, lin(0, 0, 0, 170, [(0, "#7ab8e8"), (1, "#e6f2fb")]))
    cloud(c, 100, 30, 1.0)
    cloud(c, 380, 44, 1.2)
    # distant trees
    for k in range(14):
        c.new_sub_path()
        c.arc(k * 38 + 10, 158, 26 + (k % 3) * 6, 0, 2 * math.pi)
    fill(c, "#4f8a4a")
    rect(c, 0, 160, W, H - 160, lin(0, 160, 0, H, [(0, "#c8b89a"), (1, "#9a8466")]))
    for k in range(260):
        c.new_sub_path()
        c.arc((k * 131) % W, 170 + (k * 71) % 190, 0.8 + (k % 3) * 0.5, 0, 2 * math.pi)
    fill(c, (0.35, 0.28, 0.2, 0.35))
    for k in range(40):
        y = 170 + k * 5
        c.move_to(0, y)
        c.line_to(W, y)
    line(c, "#6b655c", 0.5, 0.25)
    # striped canopies, far to near
    tents = [(30, 120, 80, ("#d8402c", "#ffffff")), (150, 118, 90, ("#2f6fb0", "#ffffff")),
             (290, 120, 86, ("#2f8a4a", "#f4e3b2")), (400, 118, 78, ("#e8a020", "#ffffff"))]
    for x, y, w, (a, b) in tents:
        for lx in (x + 3, x + w - 6):
            rect(c, lx, y + 18, 3, 74, "#6b6b6b")
        n = 6
        for i in range(n):
            poly(c, [(x + w * i / n, y), (x + w * (i + 1) / n, y), (x + w * (i + 1) / n + 4, y + 22),
                     (x + w * i / n - 4, y + 22)])
            fill(c, a if i % 2 == 0 else b)
        for i in range(n):
            c.new_sub_path()
            c.arc(x + w * (i + 0.5) / n, y + 22, w / n / 2, 0, math.pi)
            fill(c, a if i % 2 == 0 else b)
        poly(c, [(x + 6, y - 12), (x + w - 6, y - 12), (x + w, y), (x, y)])
        fill(c, shade(hexrgb(a), 0.8))
        table(c, x + 2, y + 70, w - 4, "#f4efe6" if a != "#2f6fb0" else "#f2d88a")
    bunting(c, [(0, 40), (120, 64), (240, 44), (360, 66), (480, 42)],
            ["#d8402c", "#f2c12e", "#2f6fb0", "#2f8a4a", "#e86aa0"])
    # banner
    rect(c, 150, 78, 180, 26, "#7a2418", "#f2c12e", 2)
    text(c, "FLEA MARKET", 240, 91, 17, "#f9e6b0", font="Lato")
    vignette(c, 0.35)
    goods = [("\U0001F3FA", 40, 190, 26), ("\U0001F4FB", 72, 190, 20), ("\U0001F4DA", 100, 190, 18),
             ("\U0001F570\ufe0f", 170, 188, 22), ("\U0001F9F8", 200, 188, 22), ("\U0001F3A9", 228, 188, 18),
             ("\U0001FAD6", 310, 190, 22), ("\U0001F4F7", 340, 190, 18), ("\U0001F3BA", 362, 190, 18),
             ("\U0001F4FA", 420, 188, 22), ("\u260E\ufe0f", 452, 188, 18)]
    for ch, x, y, h in goods:
        s.prop(ch, x, y, h)
    c2 = s.vec()
    poly(c2, [(150, 292), (330, 292), (360, 346), (120, 346)])
    fill(c2, "#9e2a2b", keep=True)
    line(c2, "#e9c46a", 3)
    poly(c2, [(240, 300), (276, 319), (240, 338), (204, 319)])
    fill(c2, "#1f3a5f", keep=True)
    line(c2, "#e9c46a", 1.5)
    for x in (30, 70, 420):
        rect(c2, x - 18, 300, 36, 28, lin(0, 300, 0, 328, [(0, "#c89a5a"), (1, "#8a5a2a")]), "#4a2a10", 1)
        c2.move_to(x - 18, 314)
        c2.line_to(x + 18, 314)
        line(c2, "#4a2a10", 0.8)
    s.prop("\U0001F6CB\ufe0f", 96, 292, 50)
    s.prop("\U0001F4FB", 30, 300, 22)
    s.prop("\U0001F3FA", 70, 300, 30)
    s.prop("\U0001F9F8", 420, 300, 26)
    s.prop("\U0001F6B2", 400, 350, 52)
    s.prop("\U0001F570\ufe0f", 190, 322, 26)
    s.prop("\U0001F4DA", 240, 330, 22)
    s.prop("\U0001F3A9", 290, 326, 22)
    V.lamp(Placed(s, 340, 296, 48), "#c0392b", "#3a2a1a", "drum", "bands")


def antiqueshop(s):
    c = s.vec()
    rect(c, 0, 0, W, H, lin(0, 0, 0, H, [(0, "#1f3d2e"), (1, "#2f5a42")]))
    for x in range(0, W, 16):
        rect(c, x, 0, 6, 250, (0.0, 0.0, 0.0, 0.12))
    # wainscot
    rect(c, 0, 220, W, 60, lin(0, 220, 0, 280, [(0, "#6b3a1e"), (1, "#4a2410")]))
    for x in range(10, W, 60):
        rect(c, x, 228, 46, 44, (0, 0, 0, 0.0), "#2a1208", 1.2)
    # shelves on both sides
    for x0 in (10, 340):
        rect(c, x0, 20, 130, 200, "#3a2010", "#1a0a04", 2)
        for y in (70, 126, 182):
            rect(c, x0 + 4, y, 122, 7, lin(0, y, 0, y + 7, [(0, "#8b5a2b"), (1, "#5a3418")]))
    # shop window with its lettering
    rect(c, 180, 34, 120, 150, lin(0, 34, 0, 184, [(0, "#cfe6f5"), (1, "#f3e6c4")]), "#4a2410", 7)
    c.move_to(240, 34)
    c.line_to(240, 184)
    c.move_to(180, 110)
    c.line_to(300, 110)
    line(c, "#4a2410", 4)
    text(c, "ANTIQUES", 240, 60, 18, "#c9952b", outline="#3a2205")
    # floor and counter
    planks_floor(c, 280, "#6b4022", n=12)
    rect(c, 150, 250, 180, 60, lin(0, 250, 0, 310, [(0, "#7a4522"), (1, "#4a2410")]), "#2a1208", 1.5)
    rect(c, 144, 244, 192, 10, "#9a6232", "#2a1208", 1)
    # pendant lamps
    for x in (120, 360):
        c.move_to(x, 0)
        c.line_to(x, 14)
        line(c, "#111111", 1)
        poly(c, [(x - 16, 26), (x + 16, 26), (x + 6, 12), (x - 6, 12)])
        fill(c, "#c9952b")
        rays(c, x, 26, 10, 120, "#ffe9a8", 0.18, spread=math.pi * 0.5, start=math.pi * 0.25)
    vignette(c, 0.5)
    shelf = [(30, 70, "\U0001F3FA", 40), (70, 70, "\U0001FAD6", 28), (112, 70, "\U0001F570\ufe0f", 30),
             (34, 126, "\U0001F4DA", 28), (76, 126, "\U0001FA86", 30), (116, 126, "\U0001F4EF", 24),
             (40, 182, "\U0001F5FF", 34), (90, 182, "\U0001F56F\ufe0f", 30),
             (360, 70, "\U0001F5BC\ufe0f", 30), (400, 70, "\U0001F3BB", 36), (444, 70, "\U0001F3A9", 24),
             (366, 126, "\U0001F4FB", 26), (414, 126, "\u231B", 30), (452, 126, "\U0001F4F7", 22),
             (372, 182, "\U0001F3AD", 28), (420, 182, "\U0001F48D", 20), (452, 182, "\U0001F9ED", 24)]
    for x, y, ch, h in shelf:
        s.prop(ch, x, y, h)
    s.prop("\U0001F6CE\ufe0f", 200, 246, 22)
    s.prop("\U0001F4DC", 290, 246, 22)
    V3.tall_clock(Placed(s, 40, 330, 150))
    V2.gramophone(Placed(s, 440, 340, 90), "#d4a437", "#5a2a12", "horn")
    V.lamp(Placed(s, 110, 250, 40), "#d9a441", "#4a3a22", "tiffany")


def estatesale(s):
    c = s.vec()
    rect(c, 0, 0, W, H, lin(0, 0, 0, H, [(0, "#8a6a8a"), (1, "#5a3e5a")]))
    # damask pattern
    for y in range(10, 240, 30):
        for x in range((y // 30 % 2) * 15, W, 30):
            c.move_to(x, y - 8)
            c.curve_to(x + 8, y - 2, x + 8, y + 2, x, y + 8)
            c.curve_to(x - 8, y + 2, x - 8, y - 2, x, y - 8)
    fill(c, (1, 1, 1, 0.08))
    # a tall window with drapes
    for x in (30,):
        rect(c, x, 40, 60, 160, lin(0, 40, 0, 200, [(0, "#d8ecf8"), (1, "#9ec4dc")]), "#f4efe6", 5)
        for side in (-1, 1):
            cx = x + 30 + side * 34
            poly(c, [(cx - 12, 30), (cx + 12, 30), (cx + 8 + side * 6, 214), (cx - 8 + side * 6, 214)])
            fill(c, lin(cx - 12, 0, cx + 12, 0, [(0, "#6b1424"), (0.5, "#a82a3c"), (1, "#6b1424")]))
    rect(c, 0, 24, W, 10, "#e8dcc0", "#8a7a5a", 1)
    # staircase rising to the right, behind the middle
    for k in range(10):
        rect(c, 250 + k * 12, 230 - k * 14, 90, 14, "#e8dcc0", "#8a7a5a", 0.8)
    c.move_to(250, 200)
    c.line_to(370, 66)
    line(c, "#5a2e16", 5)
    for k in range(10):
        c.move_to(256 + k * 12, 228 - k * 14)
        c.line_to(256 + k * 12, 200 - k * 14 - 2)
    line(c, "#f4efe6", 2)
    # portraits
    frame(c, 120, 60, 56, 72, inner="#3a4a3a")
    frame(c, 186, 74, 44, 56, inner="#4a3a2a")
    # wainscot and floor
    rect(c, 0, 220, W, 50, lin(0, 220, 0, 270, [(0, "#f4efe6"), (1, "#cfc6b0")]), "#8a7a5a")
    rect(c, 0, 268, W, H - 268, lin(0, 268, 0, H, [(0, "#5a3418"), (1, "#8a5a30")]))
    # rug
    poly(c, [(110, 290), (370, 290), (430, 360), (50, 360)])
    fill(c, "#8a1e2a", keep=True)
    line(c, "#e9c46a", 4)
    poly(c, [(240, 298), (300, 324), (240, 352), (180, 324)])
    fill(c, "#1f3a5f", keep=True)
    line(c, "#e9c46a", 2)
    chandelier(c, 240, 30, 1.4)
    vignette(c, 0.45)
    s.prop("\U0001F469", 148, 124, 50, shadow=False, tint=["#1a1208", "#6b5030", "#d8c08a", "#fff4d8"], amount=0.5)
    s.prop("\U0001F474", 208, 124, 38, shadow=False, tint=["#1a1208", "#6b5030", "#d8c08a", "#fff4d8"], amount=0.5)
    s.prop("\U0001F570\ufe0f", 40, 266, 40)
    s.prop("\U0001F6CB\ufe0f", 110, 300, 70)
    V3.tall_clock(Placed(s, 446, 270, 150))
    V.chair(Placed(s, 396, 306, 80), wood="#d4a437", seat="#6fa8dc", back="oval", legs="cabriole", gilt=True)
    V.lamp(Placed(s, 300, 268, 56), "#f3e2b3", "#c9952b", "bell", "fringe")
    s.prop("\U0001F3FA", 352, 266, 40)
    s.prop("\U0001F3F7\ufe0f", 138, 258, 18, shadow=False)
    s.prop("\U0001F3F7\ufe0f", 412, 256, 18, shadow=False)


def texasauction(s):
    c = s.vec()
    rect(c, 0, 0, W, 200, lin(0, 0, 0, 200, [(0, "#2f5fa8"), (0.55, "#f2a65a"), (1, "#f7d08a")]))
    c.arc(360, 150, 34, 0, 2 * math.pi)
    fill(c, (1, 0.85, 0.45, 0.9))
    # mesas
    poly(c, [(0, 180), (40, 140), (120, 140), (150, 180), (300, 180), (320, 156), (390, 156), (420, 180),
             (480, 180), (480, 200), (0, 200)])
    fill(c, "#9a4a2a")
    rect(c, 0, 188, W, H - 188, lin(0, 188, 0, H, [(0, "#d8a85a"), (1, "#a8723a")]))
    # red barn
    poly(c, [(20, 200), (20, 110), (70, 80), (120, 110), (120, 200)])
    fill(c, lin(20, 0, 120, 0, [(0, "#8a1e14"), (1, "#b8342a")]), keep=True)
    line(c, "#3a0804", 1.5)
    rect(c, 48, 140, 44, 60, "#f4efe6")
    c.move_to(48, 140)
    c.line_to(92, 200)
    c.move_to(92, 140)
    c.line_to(48, 200)
    line(c, "#8a1e14", 3)
    # wooden fence
    for x in range(130, W, 40):
        rect(c, x, 176, 6, 40, "#6b4022")
    for y in (184, 200):
        rect(c, 130, y, W - 130, 5, "#8a5a30")
    # stage with banner and lone star
    rect(c, 150, 230, 220, 40, lin(0, 230, 0, 270, [(0, "#9a6232"), (1, "#5a3418")]), "#2a1208")
    for k in range(8):
        c.move_to(150, 238 + k * 4)
        c.line_to(370, 238 + k * 4)
    line(c, "#3a2008", 0.5, 0.4)
    for x in (176, 340):
        rect(c, x, 150, 6, 82, "#6b4022", "#2a1208", 1)
    rect(c, 166, 120, 190, 40, "#f4efe6", "#5a3418", 2)
    text(c, "AUCTION", 261, 140, 24, "#8a1e14", font="Lato")
    rect(c, 168, 150, 0, 0, "#000000")
    rect(c, 400, 60, 4, 150, "#5a5a5a")
    rect(c, 404, 60, 60, 40, "#ffffff")
    rect(c, 404, 80, 60, 20, "#c0261e")
    rect(c, 404, 60, 22, 40, "#1f3a8a")
    c.save()
    from vector import star
    star(c, 415, 80, 8, 3.2)
    c.restore()
    fill(c, "#ffffff")
    # hay bales
    for x, y in ((380, 300), (430, 300), (405, 270)):
        rect(c, x - 24, y - 30, 48, 30, lin(0, y - 30, 0, y, [(0, "#f2d27a"), (1, "#c89a3a")]), "#8a6a20")
    vignette(c, 0.4)
    s.prop("\U0001F3A4", 230, 230, 30)
    s.prop("\U0001F528", 292, 230, 26)
    s.prop("\U0001F335", 60, 330, 70)
    s.prop("\U0001F335", 450, 230, 40)
    s.prop("\U0001F920", 405, 244, 26, shadow=False)
    s.prop("\U0001F402", 120, 340, 54)
    s.prop("\U0001F6DE", 300, 340, 40)


def sothebys(s):
    c = s.vec()
    rect(c, 0, 0, W, H, lin(0, 0, 0, H, [(0, "#6b0f1a"), (1, "#9a1e2a")]))
    rect(c, 0, 0, W, 24, "#f4efe6", "#c9952b", 2)
    for x in range(0, W, 40):
        rect(c, x, 24, 4, 200, (0, 0, 0, 0.15))
    # gilt frames with paintings
    arts = [(30, 50, 80, 100, "#2a3a5a"), (130, 40, 60, 76, "#5a4a2a"), (290, 40, 60, 76, "#2a4a3a"),
            (370, 50, 80, 100, "#4a2a3a")]
    for x, y, w, h, inner in arts:
        frame(c, x, y, w, h, inner=inner)
    # the rostrum
    poly(c, [(196, 150), (284, 150), (296, 250), (184, 250)])
    fill(c, lin(184, 0, 296, 0, [(0, "#3a1a0a"), (0.5, "#7a4522"), (1, "#3a1a0a")]), keep=True)
    line(c, "#c9952b", 2)
    rect(c, 190, 142, 100, 10, "#c9952b", "#6b4a10")
    c.arc(240, 196, 16, 0, 2 * math.pi)
    fill(c, "#c9952b", keep=True)
    line(c, "#6b4a10", 1.5)
    text(c, "C", 240, 196, 20, "#6b0f1a")
    # floor and rows of gilt chairs seen from behind
    rect(c, 0, 250, W, H - 250, lin(0, 250, 0, H, [(0, "#3a1a10"), (1, "#5a2a18")]))
    for row, (y, sc) in enumerate(((262, 0.7), (292, 0.85), (326, 1.0))):
        for k in range(-5, 6):
            x = 240 + k * 46 * sc + (row % 2) * 10
            w, h = 30 * sc, 36 * sc
            c.move_to(x - w / 2, y + h)
            c.line_to(x - w / 2, y + 6)
            c.curve_to(x - w / 2, y - 4, x + w / 2, y - 4, x + w / 2, y + 6)
            c.line_to(x + w / 2, y + h)
            c.close_path()
            fill(c, "#c9952b", keep=True)
            line(c, "#5a3a08", 1)
            c.move_to(x - w / 2 + 4, y + h)
            c.line_to(x - w / 2 + 4, y + 8)
            c.curve_to(x - w / 2 + 4, y + 2, x + w / 2 - 4, y + 2, x + w / 2 - 4, y + 8)
            c.line_to(x + w / 2 - 4, y + h)
            c.close_path()
            fill(c, "#8a1e2a")
    chandelier(c, 100, 20, 1.0)
    chandelier(c, 380, 20, 1.0)
    vignette(c, 0.45)
    for ch, x, y, h in (("\U0001F305", 70, 126, 56), ("\U0001F339", 160, 100, 36), ("\U0001F30A", 320, 100, 36),
                        ("\U0001F469", 410, 126, 60)):
        s.prop(ch, x, y, h, shadow=False, amount=0.3, tint=["#1a1008", "#6b5030", "#c8b080", "#fff4d8"])
    s.prop("\U0001F528", 214, 150, 22)
    s.prop("\U0001F3FA", 440, 250, 56)
    s.prop("\U0001F5FF", 40, 250, 54)


def speedauction(s):
    c = s.vec()
    g = cairo.RadialGradient(240, 150, 10, 240, 150, 360)
    g.add_color_stop_rgb(0, 0.22, 0.35, 0.75)
    g.add_color_stop_rgb(1, 0.04, 0.06, 0.2)
    c.set_source(g)
    c.paint()
    rays(c, 240, 150, 24, 420, "#ffe08a", 0.35, spread=2 * math.pi)
    # speed streaks
    for k in range(18):
        y = 20 + k * 19
        x = (k * 71) % 300
        c.move_to(x, y)
        c.line_to(x + 80 + (k % 4) * 30, y)
    line(c, "#ffffff", 2, 0.18)
    # stage
    poly(c, [(0, 270), (480, 270), (480, 360), (0, 360)])
    fill(c, lin(0, 270, 0, 360, [(0, "#7a1e2a"), (1, "#3a0a12")]))
    poly(c, [(60, 270), (420, 270), (440, 290), (40, 290)])
    fill(c, lin(0, 270, 0, 290, [(0, "#f2c12e"), (1, "#b8860b")]))
    # marquee lights
    for k in range(24):
        c.new_sub_path()
        c.arc(20 + k * 19.5, 14, 4, 0, 2 * math.pi)
    fill(c, "#fff2a8")
    for k in range(24):
        c.new_sub_path()
        c.arc(20 + k * 19.5, 346, 4, 0, 2 * math.pi)
    fill(c, "#fff2a8")
    text(c, "GOING...", 110, 70, 30, "#fff2a8", font="Lato", outline="#7a1e2a", rotate=-0.12)
    text(c, "SOLD!", 380, 236, 40, "#ffffff", font="Lato", outline="#b8231e", rotate=-0.1)
    vignette(c, 0.35)
    s.prop("\u23F1\ufe0f", 390, 120, 80)
    s.prop("\U0001F528", 80, 250, 70, rotate=20)
    for x, y, h in ((170, 200, 26), (220, 170, 20), (300, 210, 24), (260, 120, 18), (330, 60, 22)):
        s.prop("\U0001FA99", x, y, h, shadow=False)
    s.prop("\U0001F4B0", 240, 266, 44)


PLACES = [("attic", attic), ("yardsale", yardsale), ("fleamarket", fleamarket), ("antiqueshop", antiqueshop),
          ("estatesale", estatesale), ("texasauction", texasauction), ("sothebys", sothebys),
          ("speedauction", speedauction)]


def black_and_white(im):
    """The picture in black and white with a faint warm tone, its blacks lifted a little so
    the board stays readable on top."""
    g = ImageOps.grayscale(im)
    g = g.point(lambda v: int(30 + v * 0.82))
    return ImageOps.colorize(g, black=(22, 20, 18), white=(250, 248, 242), mid=(134, 130, 124))


# The larger version is drawn straight at its size, without the normal picture's
# supersampling: cairo's own anti-aliasing is enough at this size, and drawing every scene
# at twice 1600 x 1200 would cost the content build several times as long.
LARGE_SCALE = 1600 / W


def drawn(draw, scale):
    s = Scene(scale)
    draw(s)
    return s.picture()


def main():
    paint.require_fonts()
    stage, stamp = sys.argv[1], sys.argv[2]
    only = sys.argv[3].split(",") if len(sys.argv) > 3 else None
    out = os.path.join(stage, "backgrounds", "levels")
    os.makedirs(out, exist_ok=True)
    written = []
    for name, draw in PLACES:
        if only and name not in only:
            continue
        im = drawn(draw, SS).resize((W, H), Image.LANCZOS).convert("RGB")
        large = drawn(draw, LARGE_SCALE).convert("RGB")
        im.save(os.path.join(out, name + "_color.png"), optimize=True)
        black_and_white(im).save(os.path.join(out, name + "_bw.png"), optimize=True)
        large.save(os.path.join(out, name + "_color_hd.jpg"), quality=90, optimize=True)
        black_and_white(large).save(os.path.join(out, name + "_bw_hd.jpg"), quality=90, optimize=True)
        written += ["backgrounds/levels/%s_%s%s" % (name, v, e) for v in ("color", "bw")
                    for e in (".png", "_hd.jpg")]
    with open(stamp, "w") as f:
        f.write("\n".join(written) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
