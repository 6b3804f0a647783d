"""Draws the pictures of the menu-side screens in the game's shop-sign style (dark wood,
gold trim, parchment, EB Garamond lettering):

- menu/mainmenu_background.png (800 x 600): the curio shop the main menu stands in;
- menu/sign_up|over|down.png (250 x 50): the wooden signs of the main menu;
- menu/button_up|over|down.png (170 x 42): the dialogs' buttons;
- menu/plaque_off|on|off_over|on_over.png (200 x 40): the main menu's sound switches;
- menu/check_off|on|off_over|on_over.png (300 x 36): switches with a box and room for a caption;
- menu/row_up|over|on|on_over.png (320 x 34): a row of a list (the players);
- menu/panel_large.png (560 x 470), menu/panel_small.png (440 x 230), menu/panel_card.png
  (230 x 470): parchment dialogs and the gallery's card;
- menu/shade.png (800 x 600): the dim laid over the screen below a dialog;
- menu/slider_rail|knob|knob_over.png: the volume sliders;
- menu/splash.png (800 x 600): the first picture of the program.

Every picture but the shade is drawn again at twice its size (menu/<name>_hd.png), for
enlarged screens.

usage: menus.py STAGE_DIR STAMP"""

import math
import os
import sys

import cairo
from PIL import Image

import paint
from paint import hexrgb, shade
from vector import ellipse, rrect, star

SS = 4
WOOD = hexrgb("#7a4522")
DARK_WOOD = hexrgb("#4a2410")
TRIM = hexrgb("#c9952b")
PARCHMENT = hexrgb("#f6ecd2")
INK = hexrgb("#3b1f0a")


def render(w, h, draw, ss=SS):
    return paint.render_scaled(w, h, draw, ss)


def wood_fill(c, x0, x1, wood, grain=True, y0=0, y1=0):
    path = c.copy_path()
    g = cairo.LinearGradient(0, y0, 0, y1) if y1 > y0 else cairo.LinearGradient(x0, 0, x1, 0)
    g.add_color_stop_rgb(0, *shade(wood, 1.25))
    g.add_color_stop_rgb(0.45, *wood)
    g.add_color_stop_rgb(1, *shade(wood, 0.62))
    c.set_source(g)
    c.fill()
    if grain and y1 > y0:
        c.save()
        c.append_path(path)
        c.clip()
        for k in range(int((y1 - y0) / 5) + 1):
            y = y0 + 3 + k * 5
            c.move_to(x0, y)
            c.curve_to(x0 + (x1 - x0) * 0.3, y + 1.5, x0 + (x1 - x0) * 0.7, y - 1.5, x1, y + 0.5)
        c.set_source_rgba(0, 0, 0, 0.13)
        c.set_line_width(0.7)
        c.stroke()
        c.restore()
    c.append_path(path)


def trimmed(c, trim, width=3):
    path = c.copy_path()
    c.set_source_rgb(*trim)
    c.set_line_width(width)
    c.stroke()
    c.append_path(path)
    c.set_source_rgb(*shade(trim, 0.4))
    c.set_line_width(0.8)
    c.stroke()


def plank(w, h, wood, trim, glow=0.0, pressed=False, nails=True):
    """A wooden board with a gold edge and two nail heads (unless nails is False, for boards
    too small to carry both the nails and their words); glow lights it from inside."""
    def draw(c):
        dy = 1.5 if pressed else 0
        # shadow
        rrect(c, 3, 4, w - 5, h - 5, 8)
        c.set_source_rgba(0, 0, 0, 0.35)
        c.fill()
        rrect(c, 2, 1 + dy, w - 6, h - 6, 8)
        wood_fill(c, 2, w - 4, wood, True, 1 + dy, h - 5 + dy)
        trimmed(c, trim)
        if glow:
            g = cairo.RadialGradient(w / 2, h / 2, 2, w / 2, h / 2, w / 2)
            g.add_color_stop_rgba(0, 1, 0.9, 0.55, glow)
            g.add_color_stop_rgba(1, 1, 0.9, 0.55, 0)
            rrect(c, 4, 3 + dy, w - 10, h - 10, 7)
            c.set_source(g)
            c.fill()
        for x in (11, w - 13) if nails else ():
            ellipse(c, x, h / 2 - 2 + dy, 2.4, 2.4)
            c.set_source_rgb(*shade(trim, 1.2))
            c.fill_preserve()
            c.set_source_rgb(*shade(trim, 0.45))
            c.set_line_width(0.6)
            c.stroke()
    return render(w, h, draw)


def check(on, over):
    w, h = 300, 36

    def draw(c):
        if over:
            rrect(c, 1, 1, 34, 34, 8)
            c.set_source_rgba(*shade(TRIM, 1.3), 0.55)
            c.fill()
        rrect(c, 6, 6, 24, 24, 4)
        c.set_source_rgb(*PARCHMENT)
        c.fill_preserve()
        c.set_source_rgb(*DARK_WOOD)
        c.set_line_width(2)
        c.stroke()
        if on:
            c.move_to(11, 18)
            c.line_to(16.5, 24)
            c.line_to(26, 10)
            c.set_source_rgb(*hexrgb("#2f6a2a"))
            c.set_line_width(3.6)
            c.stroke()
    return render(w, h, draw)


def row(on, over):
    w, h = 320, 34

    def draw(c):
        rrect(c, 1, 1, w - 2, h - 2, 6)
        if on:
            c.set_source_rgba(*shade(TRIM, 1.1), 0.75)
        elif over:
            c.set_source_rgba(*shade(TRIM, 1.4), 0.35)
        else:
            c.set_source_rgba(*shade(PARCHMENT, 0.93), 0.9)
        c.fill_preserve()
        c.set_source_rgba(*shade(TRIM, 0.55), 0.8)
        c.set_line_width(1.2)
        c.stroke()
        if on:
            star(c, 16, h / 2, 7, 3)
            c.set_source_rgb(*DARK_WOOD)
            c.fill()
    return render(w, h, draw)


def panel(w, h):
    """Parchment on a wooden frame with gold corners."""
    def draw(c):
        rrect(c, 6, 8, w - 8, h - 8, 16)
        c.set_source_rgba(0, 0, 0, 0.45)
        c.fill()
        rrect(c, 2, 2, w - 10, h - 10, 16)
        wood_fill(c, 2, w - 8, DARK_WOOD, True, 2, h - 8)
        trimmed(c, TRIM, 3)
        rrect(c, 16, 16, w - 38, h - 38, 8)
        g = cairo.RadialGradient(w / 2, h / 2, 20, w / 2, h / 2, max(w, h) * 0.65)
        g.add_color_stop_rgb(0, *PARCHMENT)
        g.add_color_stop_rgb(0.75, *shade(PARCHMENT, 0.95))
        g.add_color_stop_rgb(1, *shade(PARCHMENT, 0.82))
        c.set_source(g)
        c.fill_preserve()
        c.set_source_rgb(*shade(TRIM, 0.5))
        c.set_line_width(1.2)
        c.stroke()
        for x, y in ((14, 14), (w - 22, 14), (14, h - 22), (w - 22, h - 22)):
            star(c, x, y, 8, 3.4)
            c.set_source_rgb(*shade(TRIM, 1.2))
            c.fill_preserve()
            c.set_source_rgb(*shade(TRIM, 0.4))
            c.set_line_width(0.6)
            c.stroke()
    return render(w, h, draw, ss=2)


def slider_pieces():
    # A rail piece stands upright (the slider turns it for a horizontal rail).
    rail = render(12, 8, lambda c: (c.rectangle(3, 0, 6, 8), c.set_source_rgb(*DARK_WOOD), c.fill(),
                                    c.rectangle(5, 0, 2, 8), c.set_source_rgb(*TRIM), c.fill()))

    def knob(lit):
        def draw(c):
            rrect(c, 1, 1, 16, 22, 5)
            wood_fill(c, 1, 17, shade(TRIM, 1.25 if lit else 1.0), False)
            c.set_source_rgb(*shade(TRIM, 0.4))
            c.set_line_width(1.2)
            c.stroke()
            for y in (8, 12, 16):
                c.move_to(5, y)
                c.line_to(13, y)
            c.set_source_rgba(0, 0, 0, 0.35)
            c.set_line_width(1)
            c.stroke()
        return render(18, 24, draw)
    return rail, knob(False), knob(True)


def shop_background(w=800, h=600, title=False):
    """The curio shop: panelled wall, shelves of wares, a counter, lamps and a floor."""
    def draw(c):
        g = cairo.LinearGradient(0, 0, 0, h)
        g.add_color_stop_rgb(0, *hexrgb("#2b4a38"))
        g.add_color_stop_rgb(1, *hexrgb("#1c3326"))
        c.rectangle(0, 0, w, h)
        c.set_source(g)
        c.fill()
        for x in range(0, w, 22):
            c.rectangle(x, 0, 8, h * 0.62)
        c.set_source_rgba(0, 0, 0, 0.10)
        c.fill()
        # wainscot
        y0 = h * 0.58
        c.rectangle(0, y0, w, h * 0.14)
        wood_fill(c, 0, w, WOOD, True, y0, y0 + h * 0.14)
        c.fill()
        for x in range(14, w, 90):
            c.rectangle(x, y0 + 9, 70, h * 0.14 - 18)
        c.set_source_rgba(0, 0, 0, 0.22)
        c.set_line_width(1.5)
        c.stroke()
        # floor
        fy = h * 0.72
        c.rectangle(0, fy, w, h - fy)
        g = cairo.LinearGradient(0, fy, 0, h)
        g.add_color_stop_rgb(0, *shade(hexrgb("#6b4022"), 0.7))
        g.add_color_stop_rgb(1, *shade(hexrgb("#6b4022"), 1.1))
        c.set_source(g)
        c.fill()
        for k in range(-16, 17):
            c.move_to(w / 2 + k * 18, fy)
            c.line_to(w / 2 + k * 110, h)
        c.set_source_rgba(0.16, 0.08, 0.03, 0.5)
        c.set_line_width(1.2)
        c.stroke()
        # shelves on the left wall
        for x0, sw in ((30, 230),):
            c.rectangle(x0, 60, sw, 290)
            c.set_source_rgb(*hexrgb("#3a2010"))
            c.fill_preserve()
            c.set_source_rgb(*hexrgb("#1a0a04"))
            c.set_line_width(3)
            c.stroke()
            for y in (140, 230, 320):
                c.rectangle(x0 + 6, y, sw - 12, 10)
                wood_fill(c, x0, x0 + sw, shade(WOOD, 1.15), False, y, y + 10)
                c.fill()
        # the counter
        c.rectangle(120, 380, 420, 90)
        wood_fill(c, 120, 540, WOOD, True, 380, 470)
        c.fill_preserve()
        c.set_source_rgb(*hexrgb("#2a1208"))
        c.set_line_width(2)
        c.stroke()
        c.rectangle(110, 370, 440, 14)
        wood_fill(c, 110, 550, shade(WOOD, 1.3), False, 370, 384)
        c.fill()
        # lamps
        for x in (180, 470):
            c.move_to(x, 0)
            c.line_to(x, 26)
            c.set_source_rgb(0.07, 0.07, 0.07)
            c.set_line_width(1.5)
            c.stroke()
            c.move_to(x - 24, 44)
            c.line_to(x + 24, 44)
            c.line_to(x + 9, 24)
            c.line_to(x - 9, 24)
            c.close_path()
            c.set_source_rgb(*TRIM)
            c.fill()
            g = cairo.RadialGradient(x, 44, 4, x, 120, 170)
            g.add_color_stop_rgba(0, 1, 0.92, 0.65, 0.30)
            g.add_color_stop_rgba(1, 1, 0.92, 0.65, 0)
            c.move_to(x - 22, 44)
            c.line_to(x + 22, 44)
            c.line_to(x + 130, 360)
            c.line_to(x - 130, 360)
            c.close_path()
            c.set_source(g)
            c.fill()
        # vignette
        g = cairo.RadialGradient(w / 2, h / 2, h * 0.35, w / 2, h / 2, w * 0.65)
        g.add_color_stop_rgba(0, 0, 0, 0, 0)
        g.add_color_stop_rgba(1, 0.05, 0.02, 0, 0.55)
        c.set_source(g)
        c.paint()
    base = render(w, h, draw, ss=2)
    # wares on the shelves and the counter (emoji artwork, as on the level backgrounds)
    wares = [(60, 140, "\U0001F3FA", 52), (112, 140, "\U0001F570\ufe0f", 44), (168, 140, "\U0001FAD6", 40),
             (222, 140, "\U0001F4DA", 40), (64, 230, "\U0001F5BC\ufe0f", 46), (122, 230, "\U0001F3BB", 56),
             (186, 230, "\U0001F4FB", 40), (232, 230, "\u231B", 40), (66, 320, "\U0001F3A9", 38),
             (120, 320, "\U0001F56F\ufe0f", 44), (176, 320, "\U0001F9ED", 34), (228, 320, "\U0001F48E", 28),
             (200, 372, "\U0001F6CE\ufe0f", 32), (300, 372, "\U0001F4DC", 34), (420, 372, "\U0001F4EF", 36),
             (500, 372, "\U0001F3F5\ufe0f", 30)]
    k = paint.picture_scale()  # the wares are placed in pixels
    for x, by, ch, size in wares:
        im = paint.emoji(ch)
        f = size * k / im.height
        im = im.resize((max(1, int(im.width * f)), max(1, int(im.height * f))), Image.LANCZOS)
        base.alpha_composite(im, (int(x * k - im.width / 2), int(by * k - im.height)))
    if title:
        def lettering(c):
            c.select_font_face("EB Garamond", cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
            for text, y, size in (("Mahjong", 236, 64), ("Curio Mar", 316, 84)):
                c.set_font_size(size)
                e = c.text_extents(text)
                c.move_to(w / 2 - e.width / 2 - e.x_bearing, y)
                c.text_path(text)
                c.set_source_rgb(*shade(TRIM, 0.3))
                c.set_line_width(6)
                c.stroke_preserve()
                g = cairo.LinearGradient(0, y - size, 0, y)
                g.add_color_stop_rgb(0, *shade(TRIM, 1.7))
                g.add_color_stop_rgb(1, *TRIM)
                c.set_source(g)
                c.fill()
        base.alpha_composite(render(w, h, lettering, ss=2))
    return base.convert("RGB")


def shade_layer():
    return Image.new("RGBA", (800, 600), (12, 6, 2, 150))


def screens():
    """The screen-sized pictures, at the current picture scale."""
    return {"mainmenu_background": shop_background(), "splash": shop_background(title=True)}


def pieces():
    """The signs, buttons, switches, rows, panels and slider pieces, at the current picture
    scale."""
    pictures = {
        "sign_up": plank(250, 50, WOOD, TRIM),
        "sign_over": plank(250, 50, WOOD, shade(TRIM, 1.35), glow=0.35),
        "sign_down": plank(250, 50, shade(WOOD, 0.8), TRIM, pressed=True),
        "plaque_off": plank(200, 40, DARK_WOOD, TRIM),
        "plaque_on": plank(200, 40, shade(DARK_WOOD, 0.7), shade(TRIM, 0.75), pressed=True),
        "plaque_off_over": plank(200, 40, DARK_WOOD, shade(TRIM, 1.35), glow=0.3),
        "plaque_on_over": plank(200, 40, shade(DARK_WOOD, 0.7), shade(TRIM, 1.2), glow=0.2,
                                pressed=True),
        "button_up": plank(170, 42, DARK_WOOD, TRIM),
        "button_over": plank(170, 42, DARK_WOOD, shade(TRIM, 1.35), glow=0.3),
        "button_down": plank(170, 42, shade(DARK_WOOD, 0.8), TRIM, pressed=True),
        "check_off": check(False, False),
        "check_on": check(True, False),
        "check_off_over": check(False, True),
        "check_on_over": check(True, True),
        "row_up": row(False, False),
        "row_over": row(False, True),
        "row_on": row(True, False),
        "row_on_over": row(True, True),
        "panel_large": panel(560, 470),
        "panel_small": panel(440, 230),
        "panel_card": panel(230, 470),
    }
    rail, knob, knob_over = slider_pieces()
    pictures.update({"slider_rail": rail, "slider_knob": knob, "slider_knob_over": knob_over})
    return pictures


def main():
    paint.require_fonts()
    stage, stamp = sys.argv[1], sys.argv[2]
    os.makedirs(os.path.join(stage, "menu"), exist_ok=True)
    # Everything also at twice its size, for enlarged screens, but the shade: one flat colour
    # looks the same enlarged from any size.
    pictures = paint.with_larger_versions(pieces)
    pictures.update(paint.with_larger_versions(screens))
    pictures["shade"] = shade_layer()
    return paint.stage_pictures(stage, stamp, pictures, "menu")


if __name__ == "__main__":
    sys.exit(main())
