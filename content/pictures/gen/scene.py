"""Drawing helpers for the level backgrounds: a 480 x 360 scene built from vector layers
and emoji props, drawn at any number of pixels per unit."""

import math

import cairo
from PIL import Image

import paint
from paint import hexrgb, shade

W, H = 480, 360
SS = 2  # the normal picture is drawn at twice its size and reduced


class Scene:
    def __init__(self, scale=SS):
        """A scene drawn at `scale` pixels per unit (any positive number)."""
        self.scale = scale
        self.size = (round(W * scale), round(H * scale))
        self.layers = []

    def vec(self):
        s, c = paint.new_layer(self.size[0], self.size[1], self.scale)
        self.layers.append(s)
        return c

    def prop(self, char, cx, by, size, **kw):
        """An emoji prop standing on the line y = by, centred on cx, `size` pixels high."""
        im = paint.emoji(char)
        if kw.get("mirror"):
            im = im.transpose(Image.FLIP_LEFT_RIGHT)
        if kw.get("tint"):
            im = paint.tint(im, kw["tint"], kw.get("amount", 0.6))
        if kw.get("hue") is not None:
            im = paint.hue_shift(im, kw["hue"])
        k = self.scale
        f = size * k / im.height
        im = im.resize((max(1, int(im.width * f)), max(1, int(im.height * f))), Image.LANCZOS)
        if kw.get("rotate"):
            im = im.rotate(kw["rotate"], resample=Image.BICUBIC, expand=True)
        if kw.get("alpha") is not None:
            im.putalpha(im.getchannel("A").point(lambda a: int(a * kw["alpha"])))
        layer = Image.new("RGBA", self.size)
        if kw.get("shadow", True):
            sh = Image.new("RGBA", im.size, (20, 12, 5, 0))
            sh.putalpha(im.getchannel("A").point(lambda a: int(a * 0.35)))
            sh = sh.resize((im.width, max(1, im.height // 6)))
            layer.alpha_composite(sh, (int(cx * k - im.width / 2 - 4 * k), int(by * k - sh.height / 2)))
        layer.alpha_composite(im, (int(cx * k - im.width / 2), int(by * k - im.height)))
        self.layers.append(layer)

    def picture(self):
        """The layers composed on black, at the scene's scale (RGBA)."""
        out = Image.new("RGBA", self.size, (0, 0, 0, 255))
        for layer in self.layers:
            if isinstance(layer, cairo.ImageSurface):
                layer = paint.surface_to_image(layer)
            out = Image.alpha_composite(out, layer)
        return out


def lin(x0, y0, x1, y1, stops):
    g = cairo.LinearGradient(x0, y0, x1, y1)
    for t, col in stops:
        col = hexrgb(col) if isinstance(col, str) else col
        if len(col) == 3:
            g.add_color_stop_rgb(t, *col)
        else:
            g.add_color_stop_rgba(t, *col)
    return g


def fill(c, src, keep=False):
    if isinstance(src, str):
        c.set_source_rgb(*hexrgb(src))
    elif isinstance(src, tuple):
        c.set_source_rgb(*src) if len(src) == 3 else c.set_source_rgba(*src)
    else:
        c.set_source(src)
    c.fill_preserve() if keep else c.fill()


def line(c, col, width, alpha=1.0):
    c.set_source_rgba(*hexrgb(col), alpha)
    c.set_line_width(width)
    c.stroke()


def poly(c, pts):
    c.move_to(*pts[0])
    for p in pts[1:]:
        c.line_to(*p)
    c.close_path()


def rect(c, x, y, w, h, col, edge=None, ew=1.2):
    c.rectangle(x, y, w, h)
    fill(c, col, keep=edge is not None)
    if edge:
        line(c, edge, ew)


def cloud(c, x, y, s):
    for dx, dy, r in ((0, 0, 14), (16, -8, 16), (34, 0, 13), (18, 4, 14)):
        c.new_sub_path()
        c.arc(x + dx * s, y + dy * s, r * s, 0, 2 * math.pi)
    fill(c, (1, 1, 1, 0.92))


def table(c, x, y, w, cloth, legs="#6b4a2a"):
    """A folding table whose top is at y; returns nothing."""
    for lx in (x + 6, x + w - 10):
        rect(c, lx, y, 4, 40, legs, "#2b1a0a", 0.8)
    poly(c, [(x, y), (x + w, y), (x + w + 3, y + 16), (x - 3, y + 16)])
    fill(c, lin(0, y, 0, y + 16, [(0, shade(hexrgb(cloth), 1.2)), (1, shade(hexrgb(cloth), 0.8))]), keep=True)
    line(c, "#2b1a0a", 0.8, 0.6)
    for k in range(int(w / 8)):
        c.move_to(x - 2 + k * 8 + 4, y + 16)
        c.line_to(x - 2 + k * 8 + 4, y + 10)
    line(c, "#ffffff", 1, 0.25)


def bunting(c, pts, colours, size=10):
    c.move_to(*pts[0])
    for p in pts[1:]:
        c.line_to(*p)
    line(c, "#3b2a1a", 1)
    k = 0
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        n = int(math.hypot(x1 - x0, y1 - y0) / (size * 1.5))
        for i in range(n):
            t0, t1 = i / n, (i + 0.7) / n
            ax, ay = x0 + (x1 - x0) * t0, y0 + (y1 - y0) * t0
            bx, by = x0 + (x1 - x0) * t1, y0 + (y1 - y0) * t1
            poly(c, [(ax, ay), (bx, by), ((ax + bx) / 2, (ay + by) / 2 + size * 1.2)])
            fill(c, colours[k % len(colours)])
            k += 1


def rays(c, x, y, n, length, col, alpha, spread=math.pi, start=0):
    for i in range(n):
        a0 = start + spread * i / n
        a1 = a0 + spread / n * 0.5
        poly(c, [(x, y), (x + length * math.cos(a0), y + length * math.sin(a0)),
                 (x + length * math.cos(a1), y + length * math.sin(a1))])
    g = cairo.RadialGradient(x, y, 0, x, y, length)
    g.add_color_stop_rgba(0, *hexrgb(col), alpha)
    g.add_color_stop_rgba(1, *hexrgb(col), 0)
    c.set_source(g)
    c.fill()


def frame(c, x, y, w, h, col="#c9952b", inner="#5a6b4a"):
    rect(c, x, y, w, h, lin(x, y, x + w, y + h, [(0, shade(hexrgb(col), 1.4)), (1, shade(hexrgb(col), 0.6))]),
         "#3a2205", 1)
    rect(c, x + 5, y + 5, w - 10, h - 10, inner, "#2a1a0a", 1)


def vignette(c, strength=0.45):
    g = cairo.RadialGradient(W / 2, H / 2, H * 0.35, W / 2, H / 2, W * 0.62)
    g.add_color_stop_rgba(0, 0, 0, 0, 0)
    g.add_color_stop_rgba(1, 0.05, 0.02, 0.0, strength)
    c.set_source(g)
    c.paint()


def text(c, s, x, y, size, col, font="EB Garamond", outline=None, rotate=0):
    c.save()
    c.translate(x, y)
    c.rotate(rotate)
    c.select_font_face(font, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
    c.set_font_size(size)
    e = c.text_extents(s)
    c.move_to(-e.width / 2 - e.x_bearing, -e.height / 2 - e.y_bearing)
    c.text_path(s)
    if outline:
        c.set_source_rgb(*hexrgb(outline))
        c.set_line_width(size * 0.14)
        c.stroke_preserve()
    c.set_source_rgb(*hexrgb(col))
    c.fill()
    c.restore()


def chandelier(c, x, y, s=1.0, chain=40):
    c.move_to(x, 0)
    c.line_to(x, y)
    line(c, "#6b5020", 1.5)
    for k in range(-2, 3):
        c.move_to(x, y + 6 * s)
        c.curve_to(x + k * 10 * s, y + 22 * s, x + k * 16 * s, y + 16 * s, x + k * 18 * s, y + 8 * s)
    line(c, "#d4a437", 2.2 * s)
    for k in range(-2, 3):
        cx, cy = x + k * 18 * s, y + 2 * s
        rect(c, cx - 1.5 * s, cy - 6 * s, 3 * s, 8 * s, "#fdf3e0")
        g = cairo.RadialGradient(cx, cy - 10 * s, 0, cx, cy - 10 * s, 14 * s)
        g.add_color_stop_rgba(0, 1, 0.95, 0.7, 0.9)
        g.add_color_stop_rgba(1, 1, 0.8, 0.3, 0)
        c.set_source(g)
        c.arc(cx, cy - 10 * s, 14 * s, 0, 2 * math.pi)
        c.fill()
    for k in range(-3, 4):
        c.arc(x + k * 6 * s, y + 24 * s + abs(k) * -2 * s, 2 * s, 0, 2 * math.pi)
        fill(c, (0.9, 0.95, 1.0, 0.9))


class Placed:
    """Lets a face drawing (written for the 120 x 164 face canvas) draw into a scene: its
    canvas is placed with its bottom centre at (x, y) and scaled so it is `height` high."""

    def __init__(self, scene, x, y, height):
        self.scene = scene
        self.k = height / 164.0
        self.x0 = x - 60 * self.k
        self.y0 = y - 164 * self.k

    def vec(self):
        c = self.scene.vec()
        c.translate(self.x0, self.y0)
        c.scale(self.k, self.k)
        return c

    def emoji(self, char, cx, cy, w, h, **kw):
        self.scene.prop(char, self.x0 + cx * self.k, self.y0 + (cy + h / 2) * self.k, h * self.k,
                        shadow=False, **{k: v for k, v in kw.items() if k in ("mirror", "tint", "amount", "hue",
                                                                          "rotate")})


def floor_shadow(c, x, y, w):
    c.save()
    c.translate(x, y)
    c.scale(w, w * 0.18)
    c.arc(0, 0, 1, 0, 2 * math.pi)
    c.restore()
    c.set_source_rgba(0.05, 0.03, 0.0, 0.35)
    c.fill()
