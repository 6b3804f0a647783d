"""Drawing helpers shared by the picture generators: cairo layers, emoji artwork,
colour treatments and the finishing pass (outline and shadow) that gives every face
the same look."""

import math
import os

import cairo
from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

EMOJI_FONT = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"
SERIF_BOLD = "/usr/share/fonts/opentype/ebgaramond/EBGaramond12-Bold.otf"
SERIF = "/usr/share/fonts/opentype/ebgaramond/EBGaramond12-Regular.otf"
SANS_BOLD = "/usr/share/fonts/truetype/lato/Lato-Black.ttf"
SANS = "/usr/share/fonts/truetype/lato/Lato-Bold.ttf"
SYMBOLS = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

FONT_PACKAGES = {EMOJI_FONT: "fonts-noto-color-emoji", SERIF_BOLD: "fonts-ebgaramond",
                 SERIF: "fonts-ebgaramond", SANS_BOLD: "fonts-lato", SANS: "fonts-lato",
                 SYMBOLS: "fonts-dejavu-core"}


def require_fonts():
    """Stops with a clear message when a font the pictures are drawn with is missing: cairo
    would otherwise quietly draw the lettering in some other face."""
    import os
    import sys
    missing = ["%s (Debian package %s)" % (p, pkg) for p, pkg in sorted(FONT_PACKAGES.items())
               if not os.path.isfile(p)]
    if missing:
        sys.exit("missing fonts, run tools/setup/setup.sh: " + ", ".join(missing))


_emoji_font = None
_emoji_cache = {}

# How many pixels a generator's drawing unit is made of: 1 for the pictures at the game's own
# size, 2 while drawing their larger versions ("<name>_hd.png"), which the game draws from on
# enlarged screens. The drawings keep their coordinates; only the surfaces grow.
_picture_scale = 1


def picture_scale():
    return _picture_scale


class drawn_at:
    """`with drawn_at(2): ...` draws the generators' cairo pictures at twice their size."""

    def __init__(self, scale):
        self.scale = scale

    def __enter__(self):
        global _picture_scale
        self.saved, _picture_scale = _picture_scale, self.scale
        return self

    def __exit__(self, *error):
        global _picture_scale
        _picture_scale = self.saved
        return False


def render_scaled(w, h, draw, ss, round_caps=True):
    """Draws draw(context) on a w x h picture at the current picture scale, supersampled ss
    times and reduced with Lanczos; round line joins, and round caps unless asked otherwise.
    A larger version is supersampled less (ss / scale, at least 2): its surface stays the
    size of the normal picture's, which keeps large panels quick and small in memory."""
    k = _picture_scale
    ss = max(2, -(-ss // k)) if k > 1 else ss
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, w * ss * k, h * ss * k)
    c = cairo.Context(s)
    c.scale(ss * k, ss * k)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    if round_caps:
        c.set_line_cap(cairo.LINE_CAP_ROUND)
    draw(c)
    return surface_to_image(s).resize((w * k, h * k), Image.LANCZOS)


def with_larger_versions(pieces, scale=2):
    """pieces() answers {name: picture}; the answer, with each picture drawn again at the
    given scale beside it as name + "_hd"."""
    out = dict(pieces())
    with drawn_at(scale):
        out.update({name + "_hd": picture for name, picture in pieces().items()})
    return out


def save_atomic(path, data):
    """Writes a picture (PNG) or a text to path through a temporary file, so that an
    interrupted build never leaves half a file behind."""
    import os
    os.makedirs(os.path.dirname(path), exist_ok=True)
    tmp = path + ".tmp"
    if isinstance(data, Image.Image):
        data.save(tmp, format="PNG", optimize=True)
    else:
        with open(tmp, "w") as f:
            f.write(data)
    os.replace(tmp, path)


def stage_pictures(stage, stamp, pictures, folder=""):
    """Saves each picture (name -> image) as <stage>/<folder>/<name>.png and lists the saved
    files in the stamp, which tells the build the step is done. Answers the exit status."""
    written = []
    for name, image in sorted(pictures.items()):
        rel = "%s/%s.png" % (folder, name) if folder else name + ".png"
        image.save(os.path.join(stage, rel), optimize=True)
        written.append(rel)
    with open(stamp, "w") as f:
        f.write("\n".join(written) + "\n")
    return 0


def hexrgb(h):
    h = h.lstrip("#")
    return tuple(int(h[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def shade(rgb, f):
    """Darken (f < 1) or lighten (f > 1) a colour given as floats."""
    if f <= 1:
        return tuple(c * f for c in rgb)
    return tuple(c + (1 - c) * (f - 1) for c in rgb)


def surface_to_image(surface):
    surface.flush()
    w, h = surface.get_width(), surface.get_height()
    return Image.frombuffer("RGBA", (w, h), bytes(surface.get_data()), "raw", "BGRa",
                            surface.get_stride(), 1).copy()


def new_layer(w, h, scale=1.0):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    c = cairo.Context(s)
    c.scale(scale, scale)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    return s, c


def emoji(char):
    """The emoji artwork for one character, cropped to its bounding box (RGBA)."""
    global _emoji_font
    if char in _emoji_cache:
        return _emoji_cache[char]
    if _emoji_font is None:
        _emoji_font = ImageFont.truetype(EMOJI_FONT, 109)
    im = Image.new("RGBA", (200, 200))
    ImageDraw.Draw(im).text((20, 20), char, font=_emoji_font, embedded_color=True)
    box = im.getbbox()
    if box is None or ImageChops.difference(im.getchannel("A"), Image.new("L", im.size)).getbbox() is None:
        raise ValueError("no emoji artwork for U+%04X" % ord(char[0]))
    im = im.crop(box)
    _emoji_cache[char] = im
    return im


def fit(im, w, h):
    """Scale an image to fit a w x h box, keeping its aspect."""
    f = min(w / im.width, h / im.height)
    return im.resize((max(1, round(im.width * f)), max(1, round(im.height * f))), Image.LANCZOS)


def hue_shift(im, degrees, only=None, sat=None, val=None):
    """Turn the hue of an RGBA image. `only` = (lo, hi) limits it to pixels whose hue
    (degrees) lies in that range and that carry some colour."""
    a = im.getchannel("A")
    h, s, v = im.convert("RGB").convert("HSV").split()
    shift = int(round(degrees / 360.0 * 256)) % 256
    h2 = h.point(lambda x: (x + shift) % 256)
    if sat is not None:
        s2 = s.point(lambda x: max(0, min(255, int(x * sat))))
    else:
        s2 = s
    if val is not None:
        v2 = v.point(lambda x: max(0, min(255, int(x * val))))
    else:
        v2 = v
    out = Image.merge("HSV", (h2, s2, v2)).convert("RGB")
    if only is not None:
        lo, hi = (int(only[0] / 360 * 256), int(only[1] / 360 * 256))

        def inrange(x):
            return 255 if (lo <= x <= hi if lo <= hi else (x >= lo or x <= hi)) else 0

        m = ImageChops.multiply(h.point(inrange), s.point(lambda x: 255 if x > 60 else x * 4))
        out = Image.composite(out, im.convert("RGB"), m)
    out.putalpha(a)
    return out


def tint(im, ramp, amount=0.85):
    """Map the brightness of an image through a colour ramp (list of hex colours, dark to
    light) and mix it over the original: gilding, silvering, bronzing."""
    cols = [tuple(int(c * 255) for c in hexrgb(x)) for x in ramp]
    lut = []
    for ch in range(3):
        for i in range(256):
            t = i / 255.0 * (len(cols) - 1)
            k = min(int(t), len(cols) - 2)
            f = t - k
            lut.append(int(cols[k][ch] * (1 - f) + cols[k + 1][ch] * f))
    grey = im.convert("L")
    g3 = Image.merge("RGB", (grey, grey, grey)).point(lut)
    out = Image.blend(im.convert("RGB"), g3, amount)
    out.putalpha(im.getchannel("A"))
    return out


GOLD = ["#3a2205", "#8a5a0c", "#d9a521", "#f7dc6f", "#fffbe0"]
SILVER = ["#1d2430", "#5b6778", "#a9b4c2", "#e4e9f0", "#ffffff"]
BRONZE = ["#2a1406", "#6e3b12", "#b0702f", "#e0ad6c", "#fbe7c6"]
JADE = ["#062a1a", "#0f6b45", "#3fae7d", "#a8e6c4", "#f0fff6"]
IVORY = ["#3d3222", "#8c7a5a", "#d8ccae", "#f4ecd8", "#fffdf5"]
ROSE = ["#3a0614", "#8c1530", "#d9405f", "#f7a6b6", "#fff0f3"]
COBALT = ["#061238", "#123a8c", "#3f6fd9", "#a6c0f7", "#f0f5ff"]


def finish(obj, out_w, out_h, outline_px, shadow=True, glow=None):
    """Reduce an object drawn on the working canvas to the output size and give it the
    house finish: a dark rounded outline, a soft shadow to the lower left and, for
    treasures, a warm glow behind it."""
    W, H = obj.size
    k = W / out_w  # working pixels per output pixel
    a = obj.getchannel("A")
    r = max(1.0, outline_px * k)
    grown = a.filter(ImageFilter.GaussianBlur(r * 0.55)).point(lambda x: 255 if x > 18 else int(x * 255 / 18))
    out_line = Image.new("RGBA", obj.size, (46, 28, 16, 0))
    out_line.putalpha(grown.point(lambda x: int(x * 0.92)))
    base = Image.new("RGBA", obj.size, (0, 0, 0, 0))
    if glow is not None:
        g = grown.filter(ImageFilter.GaussianBlur(1.8 * k))
        gl = Image.new("RGBA", obj.size, glow + (0,))
        gl.putalpha(g.point(lambda x: int(x * 0.85)))
        base = Image.alpha_composite(base, gl)
    if shadow:
        sh = grown.filter(ImageFilter.GaussianBlur(1.2 * k))
        sl = Image.new("RGBA", obj.size, (40, 25, 10, 0))
        sl.putalpha(sh.point(lambda x: int(x * 0.45)))
        off = int(round(1.5 * k))
        shifted = Image.new("RGBA", obj.size, (0, 0, 0, 0))
        shifted.paste(sl, (-off, off))
        base = Image.alpha_composite(base, shifted)
    base = Image.alpha_composite(base, out_line)
    base = Image.alpha_composite(base, obj)
    return base.resize((out_w, out_h), Image.LANCZOS)


def sparkle(c, x, y, r, col=(1.0, 0.78, 0.25), alpha=0.95):
    """A four-pointed glint, used on precious faces."""
    c.save()
    c.translate(x, y)
    pts = []
    for i in range(8):
        ang = -math.pi / 2 + i * math.pi / 4
        rr = r if i % 2 == 0 else r * 0.2
        pts.append((rr * math.cos(ang), rr * math.sin(ang)))
    c.move_to(*pts[0])
    for p in pts[1:]:
        c.line_to(*p)
    c.close_path()
    g = cairo.RadialGradient(0, 0, 0, 0, 0, r)
    g.add_color_stop_rgba(0, 1, 1, 1, alpha)
    g.add_color_stop_rgba(0.5, 1, 0.95, 0.7, alpha)
    g.add_color_stop_rgba(1, col[0], col[1], col[2], alpha)
    c.set_source(g)
    c.fill_preserve()
    c.set_source_rgba(0.55, 0.35, 0.02, 0.8)
    c.set_line_width(max(0.6, r * 0.07))
    c.stroke()
    c.restore()
