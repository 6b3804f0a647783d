"""Draws the pictures of the play screen ("scripts/game.lua"): the buttons in their states
(up, over, down, inactive, and glow for the ones the tutorial points at), the money and
time plaques, the counter along the bottom of the screen, the sets drawer with its four
slot wells, the preview card and the keyboard's focus ring. Everything is wood and brass
like the shop signs and the tile blanks; the words are not painted in, the game writes
them with its display font.

Every picture but the shade is drawn again at twice its size (<name>_hd.png), for enlarged
screens. Button faces carry a 3-pixel margin so that the glow fits inside the same size as the
other states (the buttons do not move when they start to glow).

usage: playscreen.py STAGE_DIR STAMP"""

import math
import os
import sys

import cairo
from PIL import Image

import paint
from paint import hexrgb, shade
from vector import ellipse, rrect

SS = 4  # drawn at four times the size, then reduced
MARGIN = 3

WOOD = hexrgb("#6e3f1f")
WOOD_LIGHT = hexrgb("#a8703c")
BRASS = hexrgb("#d9a93f")
BRASS_DARK = hexrgb("#6b4a12")
PAPER = hexrgb("#f6ecd2")
INK = hexrgb("#3a1e08")
GREEN = hexrgb("#3d7a4a")

# Every button: picture name, size, icon, base colour.
BUTTONS = {
    "game_hint": ((114, 46), "bulb", "#7a4522"),
    "game_shuffle": ((114, 46), "shuffle", "#7a4522"),
    "game_appraisal": ((114, 46), "loupe", "#7a4522"),
    "game_undo": ((104, 50), "undo", "#5f3a1c"),
    "game_redo": ((104, 50), "redo", "#5f3a1c"),
    "game_submit": ((136, 48), "check", "#2f6b3c"),
    "game_map": ((54, 42), None, "#5f3a1c"),
    "game_menu": ((54, 42), None, "#5f3a1c"),
    "game_options": ((40, 116), "gear", "#5f3a1c"),
    "game_autowin": ((54, 42), None, "#7a2418"),
    "dialog": ((190, 42), None, "#7a4522"),
}
STATES = ("up", "over", "down", "inactive")
GLOWING = ("game_hint", "game_submit")


def render(w, h, draw, ss=SS):
    return paint.render_scaled(w, h, draw, ss)


def wood_fill(c, x, y, w, h, col, grain=True, light=1.25, dark=0.75):
    """Fills the current path with lit wood: a vertical light-to-dark gradient and a few
    wavy grain lines clipped to the path."""
    path = c.copy_path()
    g = cairo.LinearGradient(0, y, 0, y + h)
    g.add_color_stop_rgb(0, *shade(col, light))
    g.add_color_stop_rgb(0.45, *col)
    g.add_color_stop_rgb(1, *shade(col, dark))
    c.set_source(g)
    c.fill()
    if grain:
        c.save()
        c.append_path(path)
        c.clip()
        step = max(4.0, h / 9.0)
        k = 0
        yy = y + step / 2
        while yy < y + h:
            c.move_to(x, yy)
            c.curve_to(x + w * 0.3, yy + 1.2 * math.sin(k), x + w * 0.6, yy - 1.2 * math.cos(k),
                       x + w, yy + 0.6)
            yy += step
            k += 1.7
        c.set_source_rgba(0, 0, 0, 0.13)
        c.set_line_width(0.7)
        c.stroke()
        c.restore()


def brass_rim(c, path, width=2.2, col=BRASS):
    c.append_path(path)
    c.set_source_rgb(*shade(col, 0.45))
    c.set_line_width(width + 1.4)
    c.stroke()
    c.append_path(path)
    c.set_source_rgb(*col)
    c.set_line_width(width)
    c.stroke()
    c.append_path(path)
    c.set_source_rgba(1, 1, 0.85, 0.35)
    c.set_line_width(width * 0.35)
    c.stroke()


def rivet(c, x, y, r=1.6):
    ellipse(c, x, y, r, r)
    g = cairo.RadialGradient(x - r * 0.4, y - r * 0.4, 0.1, x, y, r)
    g.add_color_stop_rgb(0, *shade(BRASS, 1.6))
    g.add_color_stop_rgb(1, *BRASS_DARK)
    c.set_source(g)
    c.fill()


# --- Icons, drawn in a 28 x 28 box at (x, y) ------------------------------------------------

def icon_medallion(c, x, y, r, active):
    ellipse(c, x, y, r, r)
    g = cairo.RadialGradient(x - r * 0.35, y - r * 0.4, r * 0.1, x, y, r)
    if active:
        g.add_color_stop_rgb(0, *PAPER)
        g.add_color_stop_rgb(1, *shade(PAPER, 0.78))
    else:
        g.add_color_stop_rgb(0, *hexrgb("#d8d4cc"))
        g.add_color_stop_rgb(1, *hexrgb("#a9a49b"))
    c.set_source(g)
    c.fill_preserve()
    c.set_source_rgb(*(BRASS if active else hexrgb("#8c877d")))
    c.set_line_width(1.8)
    c.stroke()


def icon(c, kind, cx, cy, active):
    ink = INK if active else hexrgb("#6d675e")
    accent = hexrgb("#e8b030") if active else hexrgb("#b5afa4")
    c.save()
    c.translate(cx, cy)
    c.set_line_width(2.0)
    if kind == "bulb":
        ellipse(c, 0, -2.5, 6.2, 6.5)
        c.set_source_rgb(*accent)
        c.fill_preserve()
        c.set_source_rgb(*ink)
        c.stroke()
        for yy in (5.2, 7.6):
            c.move_to(-3, yy)
            c.line_to(3, yy)
        c.stroke()
        for a in (-1.2, -0.6, 0.0, 0.6, 1.2):
            c.move_to(9.5 * math.sin(a), -2.5 - 9.5 * math.cos(a))
            c.line_to(11.5 * math.sin(a), -2.5 - 11.5 * math.cos(a))
        c.set_line_width(1.3)
        c.stroke()
    elif kind == "shuffle":
        for sgn in (1, -1):
            c.move_to(-8, -5 * sgn)
            c.curve_to(-2, -5 * sgn, 2, 5 * sgn, 7, 5 * sgn)
            c.set_source_rgb(*ink)
            c.stroke()
            c.move_to(9.5, 5 * sgn)
            c.line_to(5.5, 5 * sgn - 3.2)
            c.line_to(5.5, 5 * sgn + 3.2)
            c.close_path()
            c.fill()
    elif kind == "loupe":
        c.move_to(3.5, 3.5)
        c.line_to(9, 9)
        c.set_source_rgb(*hexrgb("#8b4a22") if active else ink)
        c.set_line_width(3.4)
        c.stroke()
        ellipse(c, -2, -2, 6.5, 6.5)
        c.set_source_rgba(0.75, 0.88, 1.0, 0.6 if active else 0.3)
        c.fill_preserve()
        c.set_source_rgb(*ink)
        c.set_line_width(2.0)
        c.stroke()
    elif kind in ("undo", "redo"):
        if kind == "redo":
            c.scale(-1, 1)
        c.arc_negative(1, 2, 7, math.pi * 0.05, -math.pi * 0.95)
        c.set_source_rgb(*ink)
        c.set_line_width(2.4)
        c.stroke()
        c.move_to(-10.5, 3.5)
        c.line_to(-6, -4.5)
        c.line_to(-2.2, 2.5)
        c.close_path()
        c.fill()
    elif kind == "check":
        c.move_to(-7, 0)
        c.line_to(-2, 5.5)
        c.line_to(8, -6)
        c.set_source_rgb(*(hexrgb("#2f6b3c") if active else ink))
        c.set_line_width(3.2)
        c.stroke()
    elif kind == "gear":
        teeth = 8
        c.new_path()
        for i in range(teeth * 2):
            a = i * math.pi / teeth
            r = 8 if i % 2 == 0 else 6
            c.line_to(r * math.cos(a), r * math.sin(a))
        c.close_path()
        c.set_source_rgb(*accent)
        c.fill_preserve()
        c.set_source_rgb(*ink)
        c.set_line_width(1.3)
        c.stroke()
        ellipse(c, 0, 0, 2.6, 2.6)
        c.set_source_rgb(*ink)
        c.fill()
    c.restore()


# --- Buttons --------------------------------------------------------------------------------

def button(size, kind, base, state):
    w, h = size
    active = state != "inactive"
    col = hexrgb(base)
    if state == "over":
        col = shade(col, 1.1)
    elif state == "down":
        col = shade(col, 0.82)
    elif state == "inactive":
        grey = sum(col) / 3
        col = (grey * 0.9 + 0.2, grey * 0.9 + 0.19, grey * 0.9 + 0.17)
    glow = state == "glow"
    push = 1.0 if state == "down" else 0.0

    def draw(c):
        x, y = MARGIN, MARGIN + push
        bw, bh = w - 2 * MARGIN, h - 2 * MARGIN - 1
        if glow:
            for k in range(6, 0, -1):
                rrect(c, x - k * 0.5, y - k * 0.5, bw + k, bh + k, 9 + k * 0.5)
                c.set_source_rgba(1.0, 0.85, 0.25, 0.10)
                c.fill()
        # the drop shadow
        if state != "down":
            rrect(c, x + 0.5, y + 1.8, bw, bh, 8)
            c.set_source_rgba(0, 0, 0, 0.35)
            c.fill()
        rrect(c, x, y, bw, bh, 8)
        path = c.copy_path()
        wood_fill(c, x, y, bw, bh, col, grain=active)
        rim = BRASS if active else hexrgb("#a29c90")
        if glow:
            rim = hexrgb("#ffd966")
        if state == "over":
            rim = shade(BRASS, 1.3)
        brass_rim(c, path, 2.0, rim)
        # a soft top shine
        rrect(c, x + 3, y + 2.5, bw - 6, bh * 0.38, 6)
        c.set_source_rgba(1, 1, 1, 0.10 if active else 0.06)
        c.fill()
        if kind:
            if w > h:
                cx, cy = x + min(bh / 2, 20), y + bh / 2
            else:
                cx, cy = x + bw / 2, y + 16
            icon_medallion(c, cx, cy, min(bh / 2 - 3, 15), active)
            icon(c, kind, cx, cy, active)
        else:
            for px, py in ((x + 5, y + 5), (x + bw - 5, y + 5), (x + 5, y + bh - 5),
                           (x + bw - 5, y + bh - 5)):
                rivet(c, px, py, 1.3)

    return render(w, h, draw)


# --- Plaques, counter, drawer, preview card, focus ring -------------------------------------

def shadowed_panel(c, shadow, body, radius, wood, rim=1.8, darkness=0.4):
    """A rounded wooden panel with a brass rim over its drop shadow; shadow and body are
    (x, y, w, h)."""
    rrect(c, *shadow, radius)
    c.set_source_rgba(0, 0, 0, darkness)
    c.fill()
    rrect(c, *body, radius)
    path = c.copy_path()
    wood_fill(c, *body, wood)
    brass_rim(c, path, rim)


def plaque(w, h):
    """A dark wooden plaque with a brass rim for the money and the time."""
    def draw(c):
        shadowed_panel(c, (1.5, 2.5, w - 3, h - 3), (1, 1, w - 3, h - 3.5), 7, hexrgb("#3f2412"))
        for px in (7, w - 9):
            rivet(c, px, h / 2 - 1, 1.7)
    return render(w, h, draw)


def counter(w, h):
    """The shop counter along the bottom of the screen: a brass rail on top of a wooden
    front with panels."""
    def draw(c):
        # shadow onto the board area
        g = cairo.LinearGradient(0, 0, 0, 10)
        g.add_color_stop_rgba(0, 0, 0, 0, 0)
        g.add_color_stop_rgba(1, 0, 0, 0, 0.35)
        c.rectangle(0, 0, w, 10)
        c.set_source(g)
        c.fill()
        c.rectangle(0, 8, w, h - 8)
        wood_fill(c, 0, 8, w, h - 8, WOOD, light=1.15, dark=0.6)
        # top moulding
        c.rectangle(0, 6, w, 9)
        g = cairo.LinearGradient(0, 6, 0, 15)
        g.add_color_stop_rgb(0, *shade(WOOD_LIGHT, 1.2))
        g.add_color_stop_rgb(1, *shade(WOOD, 0.8))
        c.set_source(g)
        c.fill()
        # brass rail
        c.move_to(0, 6)
        c.line_to(w, 6)
        c.set_source_rgb(*BRASS_DARK)
        c.set_line_width(4.2)
        c.stroke()
        c.move_to(0, 5.5)
        c.line_to(w, 5.5)
        c.set_source_rgb(*BRASS)
        c.set_line_width(2.4)
        c.stroke()
        c.move_to(0, 4.8)
        c.line_to(w, 4.8)
        c.set_source_rgba(1, 1, 0.85, 0.5)
        c.set_line_width(0.7)
        c.stroke()
        # panel grooves
        for x0, x1 in ((4, 114), (w - 258, w - 4)):
            rrect(c, x0, 20, x1 - x0, h - 26, 5)
            c.set_source_rgba(0, 0, 0, 0.22)
            c.set_line_width(1.6)
            c.stroke()
    return render(w, h, draw, ss=2)


def drawer(w, h, slot_x, slot_y, slot_w, slot_h, slot_step):
    """The sets drawer pulled out of the counter: a lighter wooden front with four slot
    wells and a brass plate above the submit button."""
    def draw(c):
        shadowed_panel(c, (2, 4, w - 4, h - 2), (1, 1, w - 4, h), 8, hexrgb("#8a5a2e"))
        # the brass label plate for "Sets"
        rrect(c, 16, 8, 124, 30, 5)
        g = cairo.LinearGradient(0, 8, 0, 38)
        g.add_color_stop_rgb(0, *shade(BRASS, 1.35))
        g.add_color_stop_rgb(0.5, *BRASS)
        g.add_color_stop_rgb(1, *shade(BRASS, 0.7))
        c.set_source(g)
        c.fill_preserve()
        c.set_source_rgb(*BRASS_DARK)
        c.set_line_width(1.2)
        c.stroke()
        for px in (22, 134):
            rivet(c, px, 23, 1.5)
        # slot wells
        for i in range(4):
            x = slot_x + i * slot_step - 4
            y = slot_y - 4
            rrect(c, x, y, slot_w + 8, slot_h + 8, 6)
            g = cairo.LinearGradient(0, y, 0, y + slot_h + 8)
            g.add_color_stop_rgb(0, *hexrgb("#24140a"))
            g.add_color_stop_rgb(1, *hexrgb("#4a2c16"))
            c.set_source(g)
            c.fill_preserve()
            c.set_source_rgba(1, 0.9, 0.7, 0.25)
            c.set_line_width(1.0)
            c.stroke()
            # the faint outline of an empty slot
            rrect(c, x + 6, y + 6, slot_w - 4, slot_h - 6, 4)
            c.set_source_rgba(1, 0.95, 0.8, 0.14)
            c.set_dash([2.5, 2.5])
            c.set_line_width(1.0)
            c.stroke()
            c.set_dash([])
    return render(w, h, draw, ss=2)


def preview_card(w, h, face_w, face_h):
    """The appraiser's card: a wooden frame with a window for the hovered tile's large face
    on the left and ruled paper on the right for its name."""
    def draw(c):
        shadowed_panel(c, (2, 4, w - 4, h - 3), (1, 1, w - 3, h - 3), 7, WOOD)
        # the face window
        rrect(c, 6, 5, face_w + 4, face_h + 4, 4)
        c.set_source_rgb(*hexrgb("#2a170b"))
        c.fill()
        # the paper
        px = face_w + 16
        rrect(c, px, 6, w - px - 7, h - 14, 3)
        g = cairo.LinearGradient(px, 0, w, 0)
        g.add_color_stop_rgb(0, *PAPER)
        g.add_color_stop_rgb(1, *shade(PAPER, 0.9))
        c.set_source(g)
        c.fill_preserve()
        c.set_source_rgb(*shade(PAPER, 0.6))
        c.set_line_width(1.0)
        c.stroke()
        for yy in range(30, h - 12, 14):
            c.move_to(px + 5, yy)
            c.line_to(w - 13, yy)
        c.set_source_rgba(0.35, 0.5, 0.7, 0.22)
        c.set_line_width(0.7)
        c.stroke()
        c.move_to(px + 4, 8)
        c.line_to(px + 4, h - 10)
        c.set_source_rgba(0.8, 0.25, 0.25, 0.3)
        c.stroke()
    return render(w, h, draw)


def dialog_panel(w, h):
    """The panel of the game's dialogs: parchment in a wooden frame with brass corners."""
    def draw(c):
        shadowed_panel(c, (4, 7, w - 6, h - 8), (2, 2, w - 6, h - 7), 12, WOOD, 2.2, 0.45)
        rrect(c, 16, 16, w - 34, h - 35, 6)
        g = cairo.RadialGradient(w / 2, h / 2, 10, w / 2, h / 2, max(w, h) * 0.7)
        g.add_color_stop_rgb(0, *PAPER)
        g.add_color_stop_rgb(1, *shade(PAPER, 0.86))
        c.set_source(g)
        c.fill_preserve()
        c.set_source_rgb(*shade(PAPER, 0.55))
        c.set_line_width(1.2)
        c.stroke()
        for px, py in ((9, 9), (w - 13, 9), (9, h - 14), (w - 13, h - 14)):
            rivet(c, px, py, 2.4)
    return render(w, h, draw, ss=2)


def shade_layer(w, h):
    """The dim over the screen behind a dialog."""
    return Image.new("RGBA", (w, h), (10, 6, 2, 120))


def focus_ring(w, h):
    """A ring around the keyboard's tile: dark outside, white in the middle and gold inside,
    so that one of the three reads on any background and tile."""
    def draw(c):
        for width, col in ((6.5, (0.08, 0.05, 0.02, 0.85)), (4.2, (1, 1, 1, 1)),
                           (1.8, (0.95, 0.68, 0.1, 1))):
            rrect(c, 4, 4, w - 8, h - 8, 7)
            c.set_source_rgba(*col)
            c.set_line_width(width)
            c.stroke()
    return render(w, h, draw)


# Geometry the dialog script relies on (content/scripts/game.lua).
DRAWER = (422, 117)
SLOT = (43, 66, 160, 39, 66)  # blank width and height at 95 %, first x, y, step
PREVIEW = (252, 116)
PREVIEW_FACE = (79, 106)  # the large face at 0.55
FOCUS_RING = (54, 70)
DIALOG_PANEL = (460, 340)


def pictures():
    out = {}
    for name, (size, kind, base) in BUTTONS.items():
        for state in STATES:
            out["buttons/%s_%s" % (name, state)] = button(size, kind, base, state)
        if name in GLOWING:
            out["buttons/%s_glow" % name] = button(size, kind, base, "glow")
    out["gfx/game_plaque_score"] = plaque(206, 40)
    out["gfx/game_plaque_time"] = plaque(118, 40)
    out["gfx/game_counter"] = counter(800, 122)
    sw, sh, sx, sy, step = SLOT
    out["gfx/game_set_drawer"] = drawer(DRAWER[0], DRAWER[1], sx, sy, sw, sh, step)
    out["gfx/game_preview_frame"] = preview_card(PREVIEW[0], PREVIEW[1], *PREVIEW_FACE)
    out["gfx/game_focus_ring"] = focus_ring(*FOCUS_RING)
    out["gfx/dialog_panel"] = dialog_panel(*DIALOG_PANEL)
    return out


def main():
    stage, stamp = sys.argv[1], sys.argv[2]
    written = []
    # Every piece also at twice its size, for enlarged screens; the shade is one flat colour.
    all_pictures = paint.with_larger_versions(pictures)
    all_pictures["gfx/dialog_shade"] = shade_layer(800, 600)
    for rel, image in sorted(all_pictures.items()):
        path = os.path.join(stage, rel + ".png")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        image.save(path, optimize=True)
        written.append(rel + ".png")
    with open(stamp, "w") as f:
        f.write("\n".join(written) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
