"""Small drawing toolkit on top of Pillow.

Everything is drawn on a supersampled canvas and reduced once at the end,
which gives anti-aliased edges without a vector renderer.  Coordinates
passed to the helpers are in final-image pixels (floats allowed); the
helpers scale them to the supersampled grid.
"""

import json
import linecache
import math
import os
import re
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter

# The colour map that themed() applies: the path of a JSON file of
# {"0xAARRGGBB": "0xAARRGGBB"} taken from this variable when the module is
# first imported, so that it is in place before the palette constants below
# (and those of catalogue.py) are evaluated, in the generator and in every
# worker it starts.  Unset or empty: every colour stays as drawn by default.
COLOUR_MAP_ENV = 'THEME_COLOUR_MAP'

_ARGB = re.compile(r'0x[0-9A-Fa-f]{8}$')
_CONSTANT_LINE = re.compile(r'\s*([A-Z][A-Z0-9_]*)\s*=\s*themed\(')


def read_colour_map(path):
    """{default ARGB: themed ARGB} from a JSON colour map file."""
    def pairs(items):
        out = {}
        for key, value in items:
            for text in (key, value):
                if not isinstance(text, str) or not _ARGB.match(text):
                    raise SystemExit('%s: %r is not a colour written 0xAARRGGBB' % (path, text))
            argb = int(key, 16)
            if argb in out:
                raise SystemExit('%s: colour %s is listed twice' % (path, key))
            out[argb] = int(value, 16)
        return out
    try:
        with open(path) as f:
            table = json.load(f, object_pairs_hook=pairs)
    except OSError as e:
        raise SystemExit('%s: cannot read the colour map: %s' % (path, e.strerror))
    except ValueError as e:
        raise SystemExit('%s: not JSON: %s' % (path, e))
    if not isinstance(table, dict):
        raise SystemExit('%s: the colour map must be a JSON object' % path)
    return table


_MAP_PATH = os.environ.get(COLOUR_MAP_ENV) or None
_MAP = read_colour_map(_MAP_PATH) if _MAP_PATH else None

# Every themed() call: (default 0xRRGGBB, constant name or None, file:line).
THEMED = []


def _caller_constant(frame):
    """The NAME of a 'NAME = themed(...)' line that called themed(), else None."""
    line = linecache.getline(frame.f_code.co_filename, frame.f_lineno)
    m = _CONSTANT_LINE.match(line)
    return m.group(1) if m else None


def themed(rgb):
    """The theme's colour, as an RGB tuple, for the default colour 0xRRGGBB.

    Every colour of the artwork is a palette constant defined through this
    function; mixes and gradients are computed from the constants, so they
    follow the map too."""
    frame = sys._getframe(1)
    name = _caller_constant(frame)
    THEMED.append((rgb, name, '%s:%d' % (os.path.basename(frame.f_code.co_filename),
                                         frame.f_lineno)))
    if _MAP is not None:
        key = 0xFF000000 | rgb
        if key not in _MAP:
            raise SystemExit('%s: no entry for the artwork colour 0x%08X (%s)'
                             % (_MAP_PATH, key, name or 'unnamed'))
        value = _MAP[key]
        if value >> 24 != 0xFF:
            raise SystemExit('%s: 0x%08X maps to 0x%08X; artwork colours must stay opaque '
                             '(alpha FF)' % (_MAP_PATH, key, value))
        rgb = value & 0xFFFFFF
    return (rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF)


def artwork_colours():
    """[(default 0xRRGGBB, name)] of the palette constants, sorted by value.

    Call it once catalogue is imported.  A colour drawn outside a named
    constant, or one value under two names, is a fault in the artwork code:
    the map is keyed by value, so a name must stand for one value alone."""
    names = {}
    for rgb, name, where in THEMED:
        if name is None:
            raise SystemExit('%s: themed(0x%06X) outside a NAME = themed(...) constant'
                             % (where, rgb))
        names.setdefault(rgb, set()).add(name)
    for rgb, found in names.items():
        if len(found) > 1:
            raise SystemExit('artwork colour 0x%06X is named %s; give it one name'
                             % (rgb, ', '.join(sorted(found))))
    return sorted((rgb, found.pop()) for rgb, found in names.items())


# Theme palette (RGB).  Alpha is given separately where it matters.
DARK0 = themed(0x1E1B1A)
DARK1 = themed(0x312D2C)
MID0 = themed(0x615B58)
MID1 = themed(0x7A726F)
TEXT = themed(0xE5E2E1)
ACCENT = themed(0xFF8333)
ACCENT_HI = themed(0xFFA86B)
ACCENT_LO = themed(0xD85F16)
DEEP = themed(0x151312)
SOFT = themed(0xB4AEAB)   # secondary glyph colour, between mid and text
WHITE = themed(0xFFFFFF)
BLACK = themed(0x000000)


def mix(a, b, t):
    """Linear blend of two colour tuples (same length)."""
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def rgba(rgb, alpha=255):
    return tuple(rgb[:3]) + (int(alpha),)


def smoothstep(t):
    t = 0.0 if t < 0 else 1.0 if t > 1 else t
    return t * t * (3 - 2 * t)


def _ramp(n, stops):
    """n RGBA samples interpolated along colour stops [(pos 0..1, rgba)]."""
    stops = [(p, rgba(c) if len(c) == 3 else tuple(c)) for p, c in stops]
    out = []
    for i in range(n):
        t = (i + 0.5) / n
        if t <= stops[0][0]:
            out.append(stops[0][1])
            continue
        if t >= stops[-1][0]:
            out.append(stops[-1][1])
            continue
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                u = 0 if p1 == p0 else (t - p0) / (p1 - p0)
                out.append(mix(c0, c1, u))
                break
    return out


_RADIAL = {}


def _radial_profile(power):
    """256x256 'L' image: 255 at the centre falling to 0 at the inscribed circle."""
    key = power
    if key not in _RADIAL:
        n = 256
        data = bytearray(n * n)
        for y in range(n):
            dy = (y + 0.5 - n / 2) / (n / 2)
            for x in range(n):
                dx = (x + 0.5 - n / 2) / (n / 2)
                d = math.sqrt(dx * dx + dy * dy)
                v = 1.0 - smoothstep(d)
                data[y * n + x] = int(round(255 * (v ** power)))
        _RADIAL[key] = Image.frombytes('L', (n, n), bytes(data))
    return _RADIAL[key]


class Canvas:
    """A supersampled RGBA drawing surface of a given final size."""

    def __init__(self, w, h, ss=None):
        self.w, self.h = w, h
        if ss is None:
            ss = 8 if max(w, h) <= 64 else 4
        self.ss = ss
        self.W, self.H = w * ss, h * ss
        self.img = Image.new('RGBA', (self.W, self.H), (0, 0, 0, 0))

    # -- coordinate helpers -------------------------------------------------
    def s(self, v):
        return v * self.ss

    def box(self, x0, y0, x1, y1):
        """Final-pixel box (x1, y1 exclusive) to a Pillow box on the big grid."""
        s = self.ss
        return [x0 * s, y0 * s, x1 * s - 1, y1 * s - 1]

    # -- masks ---------------------------------------------------------------
    def mask(self, value=0):
        return Image.new('L', (self.W, self.H), value)

    def rrect(self, x0, y0, x1, y1, r, m=None):
        m = m or self.mask()
        r = max(0, min(r, (x1 - x0) / 2, (y1 - y0) / 2))
        ImageDraw.Draw(m).rounded_rectangle(self.box(x0, y0, x1, y1), radius=self.s(r), fill=255)
        return m

    def ellipse(self, x0, y0, x1, y1, m=None):
        m = m or self.mask()
        ImageDraw.Draw(m).ellipse(self.box(x0, y0, x1, y1), fill=255)
        return m

    def circle(self, cx, cy, r, m=None):
        return self.ellipse(cx - r, cy - r, cx + r, cy + r, m)

    def polygon(self, pts, m=None):
        m = m or self.mask()
        ImageDraw.Draw(m).polygon([(x * self.ss, y * self.ss) for x, y in pts], fill=255)
        return m

    def frame(self, x0, y0, x1, y1, r, width):
        """Ring of the given width along the inside of a rounded rectangle."""
        outer = self.rrect(x0, y0, x1, y1, r)
        inner = self.rrect(x0 + width, y0 + width, x1 - width, y1 - width, max(0, r - width))
        return ImageChops.subtract(outer, inner)

    def blur(self, m, radius):
        return m.filter(ImageFilter.GaussianBlur(radius * self.ss))

    def radial(self, cx, cy, rx, ry=None, power=1.0, m=None):
        """Soft radial blob mask, 255 at the centre, 0 at radius."""
        ry = rx if ry is None else ry
        m = m or self.mask()
        w, h = max(1, int(2 * rx * self.ss)), max(1, int(2 * ry * self.ss))
        blob = _radial_profile(power).resize((w, h), Image.BICUBIC)
        layer = Image.new('L', m.size, 0)
        layer.paste(blob, (int((cx - rx) * self.ss), int((cy - ry) * self.ss)))
        return ImageChops.lighter(m, layer)

    @staticmethod
    def intersect(a, b):
        return ImageChops.multiply(a, b)

    @staticmethod
    def union(a, b):
        return ImageChops.lighter(a, b)

    @staticmethod
    def minus(a, b):
        return ImageChops.subtract(a, b)

    @staticmethod
    def scale(m, k):
        return m.point(lambda v: int(round(v * k)))

    # -- paints --------------------------------------------------------------
    def vgrad(self, stops, y0=0, y1=None):
        """Vertical gradient paint; stops are positions 0..1 between y0 and y1."""
        y1 = self.h if y1 is None else y1
        n = max(1, int(round((y1 - y0) * self.ss)))
        strip = Image.new('RGBA', (1, n))
        strip.putdata(_ramp(n, stops))
        full = Image.new('RGBA', (1, self.H))
        col_top, col_bot = strip.getpixel((0, 0)), strip.getpixel((0, n - 1))
        full.paste(col_top, (0, 0, 1, max(0, int(y0 * self.ss))))
        full.paste(col_bot, (0, min(self.H, int(y0 * self.ss) + n), 1, self.H))
        full.paste(strip, (0, int(y0 * self.ss)))
        return full.resize((self.W, self.H), Image.NEAREST)

    def hgrad(self, stops, x0=0, x1=None):
        x1 = self.w if x1 is None else x1
        n = max(1, int(round((x1 - x0) * self.ss)))
        strip = Image.new('RGBA', (n, 1))
        strip.putdata(_ramp(n, stops))
        full = Image.new('RGBA', (self.W, 1))
        full.paste(strip.getpixel((0, 0)), (0, 0, max(0, int(x0 * self.ss)), 1))
        full.paste(strip.getpixel((n - 1, 0)), (min(self.W, int(x0 * self.ss) + n), 0, self.W, 1))
        full.paste(strip, (int(x0 * self.ss), 0))
        return full.resize((self.W, self.H), Image.NEAREST)

    def fill(self, m, paint, opacity=1.0):
        """Composite a colour or an RGBA paint image through mask m."""
        if isinstance(paint, tuple):
            a = paint[3] if len(paint) == 4 else 255
            layer = Image.new('RGBA', (self.W, self.H), tuple(paint[:3]) + (255,))
            alpha = m if a == 255 else m.point(lambda v: v * a // 255)
        else:
            layer = paint.copy()
            alpha = ImageChops.multiply(paint.getchannel('A'), m)
        if opacity < 1.0:
            alpha = alpha.point(lambda v: int(round(v * opacity)))
        layer.putalpha(alpha)
        self.img = Image.alpha_composite(self.img, layer)

    def shadow(self, m, blur, color=BLACK, alpha=140, dx=0, dy=0):
        """Soft drop shadow of a mask, offset by (dx, dy) final pixels."""
        sh = m
        if dx or dy:
            sh = ImageChops.offset(m, int(dx * self.ss), int(dy * self.ss))
        sh = self.blur(sh, blur)
        self.fill(sh, rgba(color, alpha))

    def pen(self, x, y, size, grid=24.0):
        return Pen(self, x, y, size, grid)

    # -- output --------------------------------------------------------------
    def finish(self):
        img = self.img
        if self.ss > 1:
            img = img.resize((self.w, self.h), Image.LANCZOS)
        return clean_alpha(img)


def clean_alpha(img):
    """Zero the colour of fully transparent pixels (invisible, packs better)."""
    a = img.getchannel('A')
    keep = a.point(lambda v: 255 if v else 0)
    blank = Image.new('RGBA', img.size, (0, 0, 0, 0))
    return Image.composite(img, blank, keep)


class Pen:
    """Icon pen: draws on a mask in a square grid (default 24 units) placed
    at (x, y) with the given pixel size.  Strokes get round caps and joins."""

    def __init__(self, cv, x, y, size, grid=24.0):
        self.cv = cv
        self.k = size * cv.ss / grid
        self.ox, self.oy = x * cv.ss, y * cv.ss
        self.m = cv.mask()
        self.d = ImageDraw.Draw(self.m)

    def P(self, x, y):
        return (self.ox + x * self.k, self.oy + y * self.k)

    def _dot(self, x, y, r, fill):
        cx, cy = self.P(x, y)
        rr = r * self.k
        self.d.ellipse([cx - rr, cy - rr, cx + rr, cy + rr], fill=fill)

    def line(self, pts, w=2.0, fill=255, caps=True):
        coords = [self.P(x, y) for x, y in pts]
        self.d.line(coords, fill=fill, width=max(1, int(round(w * self.k))))
        if caps:
            for x, y in pts:
                self._dot(x, y, w / 2, fill)
        return self

    def poly(self, pts, fill=255):
        self.d.polygon([self.P(x, y) for x, y in pts], fill=fill)
        return self

    def disc(self, cx, cy, r, fill=255):
        self._dot(cx, cy, r, fill)
        return self

    def ring(self, cx, cy, r, w=2.0, fill=255):
        x0, y0 = self.P(cx - r - w / 2, cy - r - w / 2)
        x1, y1 = self.P(cx + r + w / 2, cy + r + w / 2)
        self.d.ellipse([x0, y0, x1, y1], outline=fill, width=max(1, int(round(w * self.k))))
        return self

    def arc(self, cx, cy, r, a0, a1, w=2.0, fill=255, caps=True):
        """Arc in degrees, clockwise from 3 o'clock (screen convention)."""
        x0, y0 = self.P(cx - r - w / 2, cy - r - w / 2)
        x1, y1 = self.P(cx + r + w / 2, cy + r + w / 2)
        self.d.arc([x0, y0, x1, y1], a0, a1, fill=fill, width=max(1, int(round(w * self.k))))
        if caps:
            for a in (a0, a1):
                t = math.radians(a)
                self._dot(cx + r * math.cos(t), cy + r * math.sin(t), w / 2, fill)
        return self

    def rect(self, x0, y0, x1, y1, r=0.0, fill=255):
        a, b = self.P(x0, y0)
        c, d = self.P(x1, y1)
        self.d.rounded_rectangle([a, b, c, d], radius=r * self.k, fill=fill)
        return self

    def rect_o(self, x0, y0, x1, y1, r=0.0, w=2.0, fill=255):
        """Outlined rectangle whose stroke is centred on the given edges."""
        a, b = self.P(x0 - w / 2, y0 - w / 2)
        c, d = self.P(x1 + w / 2, y1 + w / 2)
        self.d.rounded_rectangle([a, b, c, d], radius=(r + w / 2) * self.k,
                                 outline=fill, width=max(1, int(round(w * self.k))))
        return self

    def erase(self):
        """Return a pen drawing value 0, for cut-outs, on the same mask."""
        return _Eraser(self)


class _Eraser:
    def __init__(self, pen):
        self.pen = pen

    def __getattr__(self, name):
        fn = getattr(self.pen, name)

        def call(*a, **kw):
            kw['fill'] = 0
            return fn(*a, **kw)
        return call
