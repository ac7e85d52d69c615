"""How each of the theme's 168 images is drawn.

The drawing functions come first, grouped by family; the table CATALOGUE
at the end names the one that draws each theme image id, in id order.
The image's file name, format, pixel size and interlacing are not written
here: they come from data/images/manifest.tsv, the one table of them, and
each drawing function receives the width and height from there (followed
by the arguments in its row of the table) and returns a Pillow image of
that size.
"""

import math
import random

from PIL import Image, ImageChops, ImageDraw

from draw import (ACCENT, ACCENT_HI, ACCENT_LO, BLACK, DARK0, DARK1, DEEP, MID0,
                  MID1, SOFT, TEXT, WHITE, Canvas, mix, rgba, themed)
from glyphs import GLYPHS, check, chevron, cross, minus, triangle


# ---------------------------------------------------------------------------
# Surface colours: the tops and bottoms of the warm-grey gradients that give
# panels, wells and plates their depth.  One name per value, since a colour
# map is keyed by value; the comments say where each one is used.
# ---------------------------------------------------------------------------

BACKDROP_TOP = themed(0x272322)             # background, above DARK0
BACKDROP_BOTTOM = themed(0x141211)
PANEL_TOP = themed(0x3A3533)                # buttons, spinner, round buttons, expand box
PANEL_BOTTOM = themed(0x262322)             # spinner, tiles, feature icons, small card...
BUTTON_BOTTOM = themed(0x2A2625)            # normal button; user icon plate
BUTTON_HOVER_TOP = themed(0x4A4340)
BUTTON_HOVER_BOTTOM = themed(0x35302E)
BUTTON_FOCUS_TOP = themed(0x453A33)
BUTTON_FOCUS_BOTTOM = themed(0x302A27)
BUTTON_DISABLED_TOP = themed(0x665F5C)
BUTTON_DISABLED_BOTTOM = themed(0x554F4C)
WELL_TOP = themed(0x1A1716)                 # sunken: check box, radio, toggle, memory chips
WELL_BOTTOM = themed(0x2C2827)              # check box, radio; banner's left end
SLIDER_TRACK_TOP = themed(0x181615)
SLIDER_TRACK_BOTTOM = themed(0x2B2726)
RADIO_ON_TOP = themed(0x3A302A)
RADIO_ON_BOTTOM = themed(0x262220)
STEP_TOP = themed(0x403A38)                 # plus / minus step buttons
STEP_BOTTOM = themed(0x272423)
CARD_TOP = themed(0x2E2A29)                 # cards and dialog; toggle's off track
CARD_BOTTOM = themed(0x221F1E)
TILE_TOP = themed(0x383331)                 # tile, plain feature icon
TILE_HOVER_TOP = themed(0x48413E)           # over DARK1
WARM_TILE_TOP = themed(0x4A382C)            # highlighted feature icon, focused small card
WARM_TILE_BOTTOM = themed(0x312925)         # highlighted feature icon
SMALL_CARD_TOP = themed(0x36312F)
SMALL_CARD_HOVER_TOP = themed(0x46403D)
SMALL_CARD_HOVER_BOTTOM = themed(0x302C2A)
SMALL_CARD_FOCUS_BOTTOM = themed(0x302925)
RAISED_TOP = themed(0x3C3634)               # category tiles, dial centre
RAISED_BOTTOM = themed(0x242120)            # category tiles, dial centre, memory board
ROUND_HOVER_TOP = themed(0x4A413C)          # round button, hovered
ROUND_HOVER_BOTTOM = themed(0x312C2A)
AVATAR_TOP = themed(0x453F3C)               # user icon plate
PACKAGE_TOP = themed(0x3E3836)              # chip illustration's package
PACKAGE_BOTTOM = themed(0x201D1C)
BOARD_TOP = themed(0x3A3431)                # memory module board
MEMORY_CHIP_BOTTOM = themed(0x12100F)
DIAL_TOP = themed(0x332E2D)
DIAL_BOTTOM = themed(0x1C1918)


# ---------------------------------------------------------------------------
# Shared pieces
# ---------------------------------------------------------------------------

ACCENT_GRAD = [(0, ACCENT_HI), (0.55, ACCENT), (1, ACCENT_LO)]
LIGHT_GRAD = [(0, TEXT), (1, SOFT)]


def glyph(cv, name, x, y, size, paint, opacity=1.0, grid=24.0):
    pen = cv.pen(x, y, size, grid)
    GLYPHS[name](pen)
    cv.fill(pen.m, paint, opacity)
    return pen.m


def panel(cv, x0, y0, x1, y1, r, top, bottom, border=None, border_w=1.0,
          highlight=18, shadow=None):
    """Rounded panel: optional drop shadow, vertical gradient body, border and
    a faint top highlight that gives the surface a slight bevel."""
    body = cv.rrect(x0, y0, x1, y1, r)
    if shadow:
        blur, alpha, dy = shadow
        cv.shadow(body, blur, alpha=alpha, dy=dy)
    cv.fill(body, cv.vgrad([(0, top), (1, bottom)], y0, y1))
    if highlight:
        hl = cv.frame(x0, y0, x1, y1, r, 1.0)
        top_half = cv.rrect(x0, y0, x1, y0 + (y1 - y0) * 0.5, r)
        cv.fill(cv.intersect(hl, top_half), rgba(WHITE, highlight))
    if border:
        cv.fill(cv.frame(x0, y0, x1, y1, r, border_w), border)
    return body


def fade_line_h(cv, x0, x1, y, thick, color, alpha=255, fade=0.3):
    m = cv.mask()
    ImageDraw.Draw(m).rectangle(cv.box(x0, y, x1, y + thick), fill=255)
    paint = cv.hgrad([(0, rgba(color, 0)), (fade, rgba(color, alpha)),
                      (1 - fade, rgba(color, alpha)), (1, rgba(color, 0))], x0, x1)
    cv.fill(m, paint)


# State looks shared by the small controls.
NORMAL, HOVER, SELECTED, ACTIVE, DISABLED = 'normal', 'hover', 'selected', 'active', 'disabled'


def state_icon(w, h, name, state, bg='circle', glyph_scale=0.78):
    """A small glyph in one of the interaction states.

    normal: soft grey glyph; hover: bright glyph on a faint plate;
    selected: orange glyph on a warm plate; active: dark glyph on an
    orange plate; disabled: dim glyph."""
    cv = Canvas(w, h)
    s = min(w, h)
    cx, cy = w / 2, h / 2
    r = s / 2 - 0.5

    def plate():
        if bg == 'circle':
            return cv.circle(cx, cy, r)
        return cv.rrect(cx - r, cy - r, cx + r, cy + r, s * 0.25)

    if state == HOVER:
        m = plate()
        cv.fill(m, rgba(WHITE, 26))
        cv.fill(cv.minus(m, cv.circle(cx, cy, r - 1) if bg == 'circle' else
                         cv.rrect(cx - r + 1, cy - r + 1, cx + r - 1, cy + r - 1, s * 0.25 - 1)),
                rgba(WHITE, 30))
    elif state == SELECTED:
        m = plate()
        cv.fill(m, rgba(ACCENT, 40))
    elif state == ACTIVE:
        m = plate()
        cv.fill(m, cv.vgrad(ACCENT_GRAD))
    g = s * glyph_scale
    x, y = cx - g / 2, cy - g / 2
    paint = {NORMAL: rgba(SOFT), HOVER: rgba(TEXT), SELECTED: cv.vgrad(ACCENT_GRAD),
             ACTIVE: rgba(DARK0), DISABLED: rgba(MID0)}[state]
    glyph(cv, name, x, y, g, paint)
    return cv.finish()


def mono_icon(w, h, name, color=TEXT, scale=1.0):
    """Single-colour glyph (the host recolours some of these at run time)."""
    cv = Canvas(w, h)
    s = min(w, h) * scale
    glyph(cv, name, (w - s) / 2, (h - s) / 2, s, rgba(color))
    return cv.finish()


def shaded_icon(w, h, name, scale=1.0, accent=False):
    """Glyph with a gentle vertical shade, light or orange."""
    cv = Canvas(w, h)
    s = min(w, h) * scale
    paint = cv.vgrad(ACCENT_GRAD if accent else LIGHT_GRAD)
    glyph(cv, name, (w - s) / 2, (h - s) / 2, s, paint)
    return cv.finish()


# The theme's abstract mark: a rounded hexagon ring holding two rising
# chevrons.  Used on the title plate, the banner and the chip illustration.
def mark(cv, cx, cy, size, ring_paint, inner_paint, glow=0):
    pen = cv.pen(cx - size / 2, cy - size / 2, size)
    pts = [(12 + 10.2 * math.cos(math.radians(a)), 12 + 10.2 * math.sin(math.radians(a)))
           for a in range(-90, 271, 60)]
    pen.line(pts, 2.2)
    if glow:
        cv.fill(cv.blur(pen.m, size * 0.12), rgba(ACCENT, glow))
    cv.fill(pen.m, ring_paint)
    inner = cv.pen(cx - size / 2, cy - size / 2, size)
    inner.line([(7.2, 13.2), (12, 8.6), (16.8, 13.2)], 2.4)
    inner.line([(7.2, 17.6), (12, 13), (16.8, 17.6)], 2.4)
    cv.fill(inner.m, inner_paint)


# Chamfered stroke letters for the word on the title plate and banner,
# on a 10 x 14 cell.
LETTERS = {
    'S': [[(9, 1), (3, 1), (1, 3), (1, 5), (3, 7), (7, 7), (9, 9), (9, 11), (7, 13), (1, 13)]],
    'E': [[(9, 1), (1, 1), (1, 13), (9, 13)], [(1, 7), (7, 7)]],
    'T': [[(0, 1), (10, 1)], [(5, 1), (5, 13)]],
    'U': [[(1, 1), (1, 11), (3, 13), (7, 13), (9, 11), (9, 1)]],
    'P': [[(1, 13), (1, 1), (7, 1), (9, 3), (9, 5), (7, 7), (1, 7)]],
}


def word(cv, text, x, y, height, stroke, paint, spacing=4.0):
    u = height / 14.0
    pen = cv.pen(x, y, u, 1.0)
    ox = 0.0
    for ch in text:
        for path in LETTERS[ch]:
            pen.line([(ox + px, py) for px, py in path], stroke / u)
        ox += 10 + spacing
    cv.fill(pen.m, paint)
    return ox * u


# ---------------------------------------------------------------------------
# Backgrounds and lines (JPEG)
# ---------------------------------------------------------------------------

def background(w, h):
    # Composed at quarter size (everything in it is soft), then enlarged.
    qw, qh = w // 4, h // 4
    cv = Canvas(qw, qh, ss=1)
    cv.fill(cv.mask(255), cv.vgrad([(0, BACKDROP_TOP), (0.45, DARK0), (1, BACKDROP_BOTTOM)]))
    # broad warm glow from the upper right, cooler mid-tone lower left
    cv.fill(cv.radial(400, 10, 300, 200, power=1.6), rgba(ACCENT, 44))
    cv.fill(cv.radial(470, -20, 120, 90, power=1.4), rgba(ACCENT_HI, 22))
    cv.fill(cv.radial(60, 250, 260, 170, power=1.5), rgba(MID0, 40))
    # large soft diagonal sheets
    sheets = [
        ([(150, 270), (330, 40), (420, 40), (240, 270)], DARK1, 110),
        ([(260, 270), (440, 40), (470, 40), (290, 270)], MID0, 40),
        ([(-40, 170), (140, 0), (175, 0), (-5, 170)], DARK1, 80),
    ]
    for pts, col, a in sheets:
        cv.fill(cv.blur(cv.polygon(pts), 16), rgba(col, a))
    # thin arcs around the upper right corner
    arcs = cv.pen(0, 0, qw, qw)
    for r, wd in ((190, 0.5), (205, 0.35), (232, 0.5)):
        arcs.ring(440, -60, r, wd)
    cv.fill(cv.blur(arcs.m, 0.4), rgba(ACCENT, 22))
    # top band shade and a faint rule under it
    cv.fill(cv.blur(cv.polygon([(0, 0), (480, 0), (480, 39), (0, 39)]), 2), rgba(BLACK, 40))
    # vignette
    vig = ImageChops.invert(cv.radial(240, 135, 380, 250, power=0.8))
    cv.fill(vig, rgba(BLACK, 120))
    small = cv.img.convert('RGB')
    big = small.resize((w, h), Image.BICUBIC)

    # Crisp details at full size: a hairline under the top band and a sparse
    # dot lattice that fades out towards the centre.
    d = Canvas(w, h, ss=1)
    fade_line_h(d, 0, w, 157, 1, MID0, 110, fade=0.25)
    lattice = d.mask()
    dr = ImageDraw.Draw(lattice)
    for gy in range(190, h, 24):
        for gx in range(w - 480, w, 24):
            dr.rectangle([gx, gy, gx + 1, gy + 1], fill=255)
    fade = d.radial(w, h, 620, 520, power=0.9)
    d.fill(ImageChops.multiply(lattice, fade), rgba(MID1, 60))
    big = Image.alpha_composite(big.convert('RGBA'), d.img).convert('RGB')
    return big


def _line_jpeg(w, h, horizontal):
    n = w if horizontal else h
    vals = []
    for i in range(n):
        t = (i + 0.5) / n
        e = min(t, 1 - t) / 0.18
        a = min(1.0, e) ** 1.5
        vals.append(mix(DARK0, MID1, a))
    img = Image.new('RGB', (w, h))
    if horizontal:
        strip = Image.new('RGB', (n, 1))
        strip.putdata(vals)
        img = strip.resize((w, h), Image.NEAREST)
    else:
        strip = Image.new('RGB', (1, n))
        strip.putdata(vals)
        img = strip.resize((w, h), Image.NEAREST)
    return img


def separator(w, h):
    return _line_jpeg(w, h, w > h)


# ---------------------------------------------------------------------------
# Title plate, tabs, menu entries, bars
# ---------------------------------------------------------------------------

def title_plate(w, h):
    cv = Canvas(w, h)
    mark(cv, 20, 20, 30, cv.vgrad(ACCENT_GRAD), rgba(TEXT), glow=90)
    word(cv, 'SETUP', 44, 12, 16, 2.6, cv.vgrad(LIGHT_GRAD, 12, 28), spacing=5)
    fade_line_h(cv, 44, 196, 35, 1.2, ACCENT, 200, fade=0.02)
    return cv.finish()


def tab(w, h, k):
    cv = Canvas(w, h)
    x0, y0, x1, y1 = 4, 6, w - 4, h - 4
    if k == 0:
        body = cv.rrect(x0, y0, x1, y1, 12)
        cv.fill(body, cv.vgrad([(0, rgba(WHITE, 10)), (1, rgba(WHITE, 2))], y0, y1))
        cv.fill(cv.frame(x0, y0, x1, y1, 12, 1), cv.vgrad([(0, rgba(WHITE, 26)), (1, rgba(WHITE, 4))], y0, y1))
    elif k == 1:
        body = cv.rrect(x0, y0, x1, y1, 12)
        cv.fill(body, cv.vgrad([(0, rgba(WHITE, 22)), (1, rgba(WHITE, 8))], y0, y1))
        cv.fill(cv.frame(x0, y0, x1, y1, 12, 1), cv.vgrad([(0, rgba(WHITE, 44)), (1, rgba(WHITE, 14))], y0, y1))
        fade_line_h(cv, 40, w - 40, y1 - 4, 2, ACCENT, 150, fade=0.2)
    else:
        body = cv.rrect(x0, y0, x1, y1, 12)
        cv.fill(body, cv.vgrad([(0, rgba(ACCENT, 10)), (1, rgba(ACCENT, 60))], y0, y1))
        cv.fill(cv.frame(x0, y0, x1, y1, 12, 1), cv.vgrad([(0, rgba(ACCENT, 40)), (1, rgba(ACCENT, 150))], y0, y1))
        bar = cv.rrect(30, y1 - 6, w - 30, y1 - 2, 2)
        cv.fill(cv.blur(bar, 5), rgba(ACCENT, 200))
        cv.fill(bar, cv.hgrad([(0, ACCENT_LO), (0.5, ACCENT_HI), (1, ACCENT_LO)]))
    return cv.finish()


def menu_entry(w, h, k):
    cv = Canvas(w, h)
    x0, y0, x1, y1 = 3, 5, w - 3, h - 5
    body = cv.rrect(x0, y0, x1, y1, 10)
    if k == 0:
        cv.fill(body, cv.hgrad([(0, rgba(WHITE, 12)), (1, rgba(WHITE, 3))]))
        cv.fill(cv.frame(x0, y0, x1, y1, 10, 1), cv.hgrad([(0, rgba(WHITE, 24)), (1, rgba(WHITE, 6))]))
    elif k == 1:
        cv.fill(body, cv.hgrad([(0, rgba(WHITE, 30)), (1, rgba(WHITE, 8))]))
        cv.fill(cv.frame(x0, y0, x1, y1, 10, 1), cv.hgrad([(0, rgba(WHITE, 50)), (1, rgba(WHITE, 12))]))
        bar = cv.rrect(x0 + 8, y0 + 20, x0 + 12, y1 - 20, 2)
        cv.fill(bar, rgba(ACCENT, 160))
    else:
        cv.fill(body, cv.hgrad([(0, rgba(ACCENT, 90)), (0.6, rgba(ACCENT, 30)), (1, rgba(ACCENT, 12))]))
        cv.fill(cv.frame(x0, y0, x1, y1, 10, 1), cv.hgrad([(0, rgba(ACCENT, 200)), (1, rgba(ACCENT, 40))]))
        bar = cv.rrect(x0 + 8, y0 + 14, x0 + 13, y1 - 14, 2.5)
        cv.fill(cv.blur(bar, 4), rgba(ACCENT_HI, 220))
        cv.fill(bar, cv.vgrad([(0, ACCENT_HI), (1, ACCENT)], y0 + 14, y1 - 14))
    return cv.finish()


def highlight_bar(w, h):
    cv = Canvas(w, h)
    x0, y0, x1, y1 = 2, 4, w - 2, h - 4
    body = cv.rrect(x0, y0, x1, y1, 12)
    cv.shadow(body, 3, alpha=90, dy=1)
    cv.fill(body, cv.hgrad([(0, rgba(mix(DARK1, ACCENT, 0.35), 250)), (0.5, rgba(mix(DARK1, ACCENT, 0.12), 240)),
                            (1, rgba(DARK1, 230))]))
    cv.fill(cv.frame(x0, y0, x1, y1, 12, 1.2), cv.hgrad([(0, rgba(ACCENT, 230)), (1, rgba(ACCENT, 40))]))
    cv.fill(body, cv.vgrad([(0, rgba(WHITE, 16)), (0.5, rgba(WHITE, 4)), (1, rgba(WHITE, 0))], y0, y1))
    bar = cv.rrect(x0 + 10, y0 + 16, x0 + 15, y1 - 16, 2.5)
    cv.fill(bar, cv.vgrad([(0, ACCENT_HI), (1, ACCENT)], y0 + 16, y1 - 16))
    return cv.finish()


def list_row(w, h, k):
    cv = Canvas(w, h)
    if k == 0:
        body = cv.rrect(0, 1, w, h - 1, 6)
        cv.fill(body, cv.hgrad([(0, rgba(WHITE, 12)), (1, rgba(WHITE, 2))]))
        fade_line_h(cv, 8, w - 8, h - 1, 1, MID0, 200, fade=0.15)
    elif k == 1:
        body = cv.rrect(0, 1, w, h - 1, 6)
        cv.fill(body, cv.hgrad([(0, rgba(WHITE, 30)), (1, rgba(WHITE, 12))]))
        cv.fill(cv.frame(0, 1, w, h - 1, 6, 1), rgba(WHITE, 26))
    else:
        body = cv.rrect(0, 1, w, h - 1, 6)
        cv.fill(body, cv.hgrad([(0, rgba(ACCENT, 80)), (0.7, rgba(ACCENT, 24)), (1, rgba(ACCENT, 14))]))
        cv.fill(cv.frame(0, 1, w, h - 1, 6, 1), cv.hgrad([(0, rgba(ACCENT, 190)), (1, rgba(ACCENT, 50))]))
        cv.fill(cv.rrect(4, 9, 7.5, h - 9, 1.75), rgba(ACCENT_HI))
    return cv.finish()


# ---------------------------------------------------------------------------
# Buttons (outer border rows/columns are trimmed by the plug-in at run time,
# so the drawn button keeps clear of them)
# ---------------------------------------------------------------------------

def button(w, h, trim_x, trim_y, style, r=8):
    cv = Canvas(w, h)
    x0, y0, x1, y1 = trim_x, 0, w - trim_x, h - trim_y
    if style == 'normal':
        panel(cv, x0, y0, x1, y1, r, PANEL_TOP, BUTTON_BOTTOM,
              border=rgba(MID0, 200), highlight=26)
    elif style == 'hover':
        panel(cv, x0, y0, x1, y1, r, BUTTON_HOVER_TOP, BUTTON_HOVER_BOTTOM,
              border=rgba(MID1, 255), highlight=40)
    elif style == 'focus':
        panel(cv, x0, y0, x1, y1, r, BUTTON_FOCUS_TOP, BUTTON_FOCUS_BOTTOM,
              border=rgba(ACCENT, 255), border_w=1.5, highlight=30)
        glow = cv.frame(x0 + 1.5, y0 + 1.5, x1 - 1.5, y1 - 1.5, r - 1.5, 2.5)
        cv.fill(cv.blur(glow, 2), rgba(ACCENT, 70))
    elif style == 'pressed':
        panel(cv, x0, y0, x1, y1, r, ACCENT_HI, ACCENT_LO, border=rgba(ACCENT_LO, 255),
              highlight=70)
    elif style == 'disabled':
        panel(cv, x0, y0, x1, y1, r, BUTTON_DISABLED_TOP, BUTTON_DISABLED_BOTTOM,
              border=rgba(MID1, 160), highlight=20)
    return cv.finish()


def small_button(w, h, style):
    return button(w, h, 1, 2, style, r=7)


def large_button(w, h, style):
    return button(w, h, 2, 4, style, r=9)


# ---------------------------------------------------------------------------
# Small controls
# ---------------------------------------------------------------------------

def spinner(w, h, k):
    cv = Canvas(w, h)
    panel(cv, 0.5, 0.5, w - 0.5, h - 0.5, 5, PANEL_TOP, PANEL_BOTTOM,
          border=rgba(MID0, 220 if k != 3 else 120), highlight=22)
    fade_line_h(cv, 3, w - 3, 16, 1, MID0, 200, fade=0.1)
    up_col = rgba(MID0) if k == 3 else rgba(SOFT)
    dn_col = up_col
    if k == 1:
        cv.fill(cv.rrect(1.5, 1.5, w - 1.5, 16, 4), rgba(ACCENT, 50))
        up_col = rgba(ACCENT_HI)
    if k == 2:
        cv.fill(cv.rrect(1.5, 17, w - 1.5, h - 1.5, 4), rgba(ACCENT, 50))
        dn_col = rgba(ACCENT_HI)
    cv.fill(cv.polygon([(4.5, 10.5), (11.5, 10.5), (8, 6)]), up_col)
    cv.fill(cv.polygon([(4.5, 22.5), (11.5, 22.5), (8, 27)]), dn_col)
    return cv.finish()


def bullet(w, h):
    cv = Canvas(w, h)
    d = cv.polygon([(8, 3.5), (12.5, 8), (8, 12.5), (3.5, 8)])
    cv.fill(cv.blur(d, 1.5), rgba(ACCENT, 120))
    cv.fill(d, cv.vgrad(ACCENT_GRAD, 3.5, 12.5))
    return cv.finish()


def info_small(w, h):
    cv = Canvas(w, h)
    glyph(cv, 'info', 0, 0, 16, cv.vgrad(LIGHT_GRAD))
    return cv.finish()


def checkbox(w, h, state, r=None):
    size = w
    cv = Canvas(w, h)
    r = size * 0.22 if r is None else r
    inset = 1
    x0, x1 = inset, size - inset
    if state == 'checked':
        b = cv.rrect(x0, x0, x1, x1, r)
        cv.fill(cv.blur(b, 1), rgba(ACCENT, 90))
        cv.fill(b, cv.vgrad(ACCENT_GRAD, x0, x1))
        hl = cv.intersect(cv.frame(x0, x0, x1, x1, r, 1), cv.rrect(x0, x0, x1, size / 2, r))
        cv.fill(hl, rgba(WHITE, 70))
        glyph(cv, 'check', x0 + 1, x0 + 1, x1 - x0 - 2, rgba(DARK0))
    else:
        hover = state == 'hover'
        panel(cv, x0, x0, x1, x1, r, WELL_TOP, WELL_BOTTOM,
              border=rgba(ACCENT if hover else MID1, 255), border_w=1.4 if size > 16 else 1.2,
              highlight=0)
        if hover:
            cv.fill(cv.blur(cv.frame(x0, x0, x1, x1, r, 1.5), 1.2), rgba(ACCENT, 90))
    return cv.finish()


def radio(w, h, state):
    cv = Canvas(w, h)
    cx, cy = w / 2, h / 2
    r = min(w, h) / 2 - 1
    outer = cv.circle(cx, cy, r)
    if state == 'checked':
        cv.fill(cv.blur(outer, 1), rgba(ACCENT, 80))
        cv.fill(outer, cv.vgrad([(0, RADIO_ON_TOP), (1, RADIO_ON_BOTTOM)]))
        cv.fill(cv.minus(outer, cv.circle(cx, cy, r - 1.6)), cv.vgrad(ACCENT_GRAD))
        dot = cv.circle(cx, cy, r * 0.48)
        cv.fill(cv.blur(dot, 1.2), rgba(ACCENT, 150))
        cv.fill(dot, cv.vgrad(ACCENT_GRAD, cy - r * 0.5, cy + r * 0.5))
    else:
        hover = state == 'hover'
        cv.fill(outer, cv.vgrad([(0, WELL_TOP), (1, WELL_BOTTOM)]))
        ring = cv.minus(outer, cv.circle(cx, cy, r - 1.4))
        cv.fill(ring, rgba(ACCENT if hover else MID1))
        if hover:
            cv.fill(cv.circle(cx, cy, r * 0.38), rgba(ACCENT, 70))
    return cv.finish()


def warning_icon(w, h):
    cv = Canvas(w, h)
    pen = cv.pen(0, 0, 28, 28)
    pen.line([(14, 3), (25.5, 22), (2.5, 22), (14, 3)], 3.2)
    pen.poly([(14, 3), (25.5, 22), (2.5, 22)])
    cv.fill(cv.blur(pen.m, 1.5), rgba(ACCENT, 90))
    cv.fill(pen.m, cv.vgrad(ACCENT_GRAD, 2, 23))
    mark_ = cv.pen(0, 0, 28, 28)
    mark_.line([(14, 9.5), (14, 15)], 2.6)
    mark_.disc(14, 18.8, 1.5)
    cv.fill(mark_.m, rgba(DARK0))
    return cv.finish()


def panel_dot(w, h):
    cv = Canvas(w, h)
    panel(cv, 1, 1, 11, 11, 3, MID1, MID0, border=rgba(SOFT, 120), highlight=40)
    return cv.finish()


def accent_dot(w, h):
    cv = Canvas(w, h)
    d = cv.circle(6, 6, 3.6)
    cv.fill(cv.blur(d, 1.5), rgba(ACCENT, 170))
    cv.fill(d, cv.vgrad(ACCENT_GRAD, 2.4, 9.6))
    return cv.finish()


def expander(w, h, k):
    cv = Canvas(w, h)
    pen = cv.pen(1, 0, 12, 24)
    if k == 0:
        pen.poly([(8, 4), (17, 12), (8, 20)])
        cv.fill(pen.m, rgba(SOFT))
    else:
        pen.poly([(4, 8), (20, 8), (12, 17)])
        cv.fill(pen.m, cv.vgrad(ACCENT_GRAD))
    return cv.finish()


def step_button(w, h, k):
    cv = Canvas(w, h)
    body = cv.circle(17, 17, 15.5)
    cv.shadow(body, 1.2, alpha=110, dy=0.8)
    cv.fill(body, cv.vgrad([(0, STEP_TOP), (1, STEP_BOTTOM)]))
    cv.fill(cv.minus(body, cv.circle(17, 17, 14.3)), rgba(MID1, 230))
    glyph(cv, ('minus', 'plus')[k], 7, 7, 20, cv.vgrad(ACCENT_GRAD, 8, 26))
    return cv.finish()


def toggle(w, h, k):
    cv = Canvas(w, h)
    x0, y0, x1, y1 = 2, 3, w - 2, h - 3
    r = (y1 - y0) / 2
    if k == 0:
        panel(cv, x0, y0, x1, y1, r, WELL_TOP, CARD_TOP,
              border=rgba(MID0, 255), border_w=1.2, highlight=0)
        kx = x0 + r
        knob_paint = cv.vgrad([(0, SOFT), (1, MID1)])
    else:
        track = cv.rrect(x0, y0, x1, y1, r)
        cv.fill(cv.blur(track, 1.5), rgba(ACCENT, 90))
        cv.fill(track, cv.vgrad([(0, ACCENT_LO), (1, ACCENT)], y0, y1))
        kx = x1 - r
        knob_paint = cv.vgrad([(0, WHITE), (1, TEXT)])
    knob = cv.circle(kx, h / 2, r - 3)
    cv.shadow(knob, 1.2, alpha=150, dy=1)
    cv.fill(knob, knob_paint)
    return cv.finish()


def tile(w, h, k):
    cv = Canvas(w, h)
    if k == 0:
        panel(cv, 2, 2, 62, 62, 12, TILE_TOP, PANEL_BOTTOM,
              border=rgba(MID0, 200), highlight=30, shadow=(1.5, 90, 1))
    elif k == 1:
        panel(cv, 2, 2, 62, 62, 12, TILE_HOVER_TOP, DARK1,
              border=rgba(ACCENT, 150), border_w=1.2, highlight=40, shadow=(1.5, 90, 1))
    else:
        b = cv.rrect(2, 2, 62, 62, 12)
        cv.fill(cv.blur(b, 2), rgba(ACCENT, 110))
        panel(cv, 2, 2, 62, 62, 12, ACCENT_HI, ACCENT_LO, border=rgba(ACCENT_HI, 255),
              highlight=80)
    return cv.finish()


def favourite(w, h, k):
    cv = Canvas(w, h)
    if k == 0:
        glyph(cv, 'star', 0, 0, 24, rgba(SOFT))
    else:
        star = glyph(cv, 'star-filled', 0, 0, 24, rgba(ACCENT))
        cv.img = Image.new('RGBA', cv.img.size, (0, 0, 0, 0))
        cv.fill(cv.blur(star, 1.2), rgba(ACCENT, 120))
        cv.fill(star, cv.vgrad(ACCENT_GRAD))
    return cv.finish()


def side_strip(w, h):
    cv = Canvas(w, h)
    bar = cv.rrect(6, 8, 10, h - 8, 2)
    cv.fill(cv.blur(bar, 3), cv.vgrad([(0, rgba(ACCENT, 40)), (0.5, rgba(ACCENT, 170)), (1, rgba(ACCENT, 40))]))
    cv.fill(bar, cv.vgrad([(0, rgba(ACCENT, 90)), (0.5, rgba(ACCENT_HI, 255)), (1, rgba(ACCENT, 90))], 8, h - 8))
    return cv.finish()


# ---------------------------------------------------------------------------
# Device icons (boot entries)
# ---------------------------------------------------------------------------

def device_icon(w, h, name, led=None):
    cv = Canvas(w, h)
    s = min(w, h) + (6 if h > w else 0)
    x, y = (w - s) / 2, (h - s) / 2
    m = cv.pen(x, y, s)
    GLYPHS[name](m)
    cv.fill(cv.blur(m.m, 1.5), rgba(BLACK, 140))
    cv.fill(m.m, cv.vgrad(LIGHT_GRAD, y, y + s))
    if led:
        lx, ly = led
        dot = cv.circle(x + lx * s / 24, y + ly * s / 24, s * 0.06)
        cv.fill(cv.blur(dot, 1.5), rgba(ACCENT, 200))
        cv.fill(dot, rgba(ACCENT_HI))
    return cv.finish()


def slider(w, h):
    cv = Canvas(w, h)
    y0, y1 = 12.5, 18.5
    panel(cv, 4, y0, w - 4, y1, 3, SLIDER_TRACK_TOP, SLIDER_TRACK_BOTTOM,
          border=rgba(MID0, 220), highlight=0)
    fillr = cv.rrect(4, y0, 120, y1, 3)
    cv.fill(cv.blur(fillr, 2), rgba(ACCENT, 90))
    cv.fill(fillr, cv.hgrad([(0, ACCENT_LO), (1, ACCENT_HI)], 4, 120))
    knob = cv.circle(120, h / 2, 9)
    cv.shadow(knob, 1.5, alpha=160, dy=1)
    cv.fill(knob, cv.vgrad([(0, WHITE), (1, TEXT)], 6, 25))
    cv.fill(cv.circle(120, h / 2, 3.2), cv.vgrad(ACCENT_GRAD, 12, 19))
    return cv.finish()


def close_small(w, h):
    cv = Canvas(w, h)
    glyph(cv, 'cross', 1, 1, 16, rgba(SOFT))
    return cv.finish()


def status_dot(w, h):
    cv = Canvas(w, h)
    d = cv.circle(5, 5, 3)
    cv.fill(cv.blur(d, 1.2), rgba(ACCENT, 180))
    cv.fill(d, cv.vgrad(ACCENT_GRAD, 2, 8))
    cv.fill(cv.circle(4.2, 4.2, 1), rgba(WHITE, 120))
    return cv.finish()


def help_icon(w, h):
    cv = Canvas(w, h)
    glyph(cv, 'question', 0, 0, 20, cv.vgrad(LIGHT_GRAD))
    return cv.finish()


# ---------------------------------------------------------------------------
# Panels and cards
# ---------------------------------------------------------------------------

def card(cv, x0, y0, x1, y1, r, header=0, accent_edge=True, shadow=True):
    body = panel(cv, x0, y0, x1, y1, r, CARD_TOP, CARD_BOTTOM,
                 border=rgba(MID0, 210), highlight=24,
                 shadow=(4, 150, 2) if shadow else None)
    if header:
        hb = cv.intersect(body, cv.rrect(x0, y0, x1, y0 + header, 0))
        cv.fill(hb, cv.vgrad([(0, rgba(WHITE, 14)), (1, rgba(WHITE, 5))], y0, y0 + header))
        fade_line_h(cv, x0 + 1, x1 - 1, y0 + header, 1, MID0, 220, fade=0.02)
    if accent_edge:
        fade_line_h(cv, x0 + r, x1 - r, y0, 2, ACCENT, 255, fade=0.3)
    return body


def dialog_panel(w, h):
    cv = Canvas(w, h)
    body = card(cv, 8, 6, w - 8, h - 10, 14, header=52)
    glow = cv.intersect(body, cv.radial(w - 8, 6, 260, 160, power=1.5))
    cv.fill(glow, rgba(ACCENT, 30))
    return cv.finish()


def info_card(w, h):
    cv = Canvas(w, h)
    body = card(cv, 6, 5, w - 6, h - 8, 12, header=0)
    glow = cv.intersect(body, cv.radial(w - 40, 20, 200, 120, power=1.4))
    cv.fill(glow, rgba(ACCENT, 26))
    # faint rising chevrons echo the mark in the corner
    pen = cv.pen(w - 118, h - 118, 100)
    pen.line([(5, 15), (12, 8), (19, 15)], 2.2)
    pen.line([(5, 21), (12, 14), (19, 21)], 2.2)
    cv.fill(cv.intersect(pen.m, body), rgba(WHITE, 10))
    return cv.finish()


def summary_card(w, h):
    cv = Canvas(w, h)
    body = card(cv, 6, 5, w - 6, h - 8, 12, header=0, accent_edge=False)
    # a quiet bar chart along the bottom of the card
    rng = random.Random(60)
    bars = cv.mask()
    dr = ImageDraw.Draw(bars)
    x = 24
    while x < w - 30:
        bh = 14 + rng.random() * 46
        dr.rounded_rectangle(cv.box(x, h - 22 - bh, x + 9, h - 22), radius=cv.s(2), fill=255)
        x += 16
    cv.fill(cv.intersect(bars, body), cv.vgrad([(0, rgba(ACCENT, 70)), (1, rgba(ACCENT, 6))], h - 80, h - 20))
    bar = cv.rrect(6, 28, 10, 64, 2)
    cv.fill(bar, cv.vgrad(ACCENT_GRAD, 28, 64))
    return cv.finish()


def device_card(w, h):
    cv = Canvas(w, h)
    body = card(cv, 4, 3, w - 4, h - 6, 12, accent_edge=False)
    glow = cv.intersect(body, cv.radial(w / 2, 52, 70, 50, power=1.2))
    cv.fill(glow, rgba(ACCENT, 40))
    m = cv.pen(w / 2 - 28, 24, 56)
    GLYPHS['disk'](m)
    cv.fill(m.m, cv.vgrad(LIGHT_GRAD, 24, 80))
    fade_line_h(cv, 20, w - 20, h - 30, 1, MID0, 220, fade=0.1)
    bar = cv.rrect(20, h - 20, 110, h - 16, 2)
    cv.fill(cv.rrect(20, h - 20, w - 20, h - 16, 2), rgba(DARK0, 255))
    cv.fill(bar, cv.hgrad([(0, ACCENT_LO), (1, ACCENT_HI)], 20, 110))
    return cv.finish()


# ---------------------------------------------------------------------------
# Icons
# ---------------------------------------------------------------------------

def user_icon(w, h):
    cv = Canvas(w, h)
    body = cv.circle(20, 20, 18.5)
    cv.fill(body, cv.vgrad([(0, AVATAR_TOP), (1, BUTTON_BOTTOM)]))
    cv.fill(cv.minus(body, cv.circle(20, 20, 17.3)), rgba(MID1))
    m = cv.pen(8, 9, 24)
    GLYPHS['user'](m)
    cv.fill(cv.intersect(m.m, cv.circle(20, 20, 17.3)), cv.vgrad(LIGHT_GRAD, 10, 34))
    return cv.finish()


def feature_icon(w, h, name, highlighted):
    cv = Canvas(w, h)
    if highlighted:
        b = cv.rrect(3, 3, 53, 53, 12)
        cv.fill(cv.blur(b, 2.5), rgba(ACCENT, 110))
        panel(cv, 3, 3, 53, 53, 12, WARM_TILE_TOP, WARM_TILE_BOTTOM,
              border=rgba(ACCENT, 255), border_w=1.3, highlight=40)
        glyph(cv, name, 14, 14, 28, cv.vgrad(ACCENT_GRAD, 14, 42))
    else:
        panel(cv, 3, 3, 53, 53, 12, TILE_TOP, PANEL_BOTTOM,
              border=rgba(MID0, 220), highlight=28, shadow=(1.5, 100, 1))
        glyph(cv, name, 14, 14, 28, cv.vgrad(LIGHT_GRAD, 14, 42))
    return cv.finish()


def chevron_item(w, h, k):
    cv = Canvas(w, h)
    pen = cv.pen(1, 1, 24)
    chevron(pen, 'right', 2.4, 4.5)
    cv.fill(pen.m, rgba(SOFT) if k == 0 else cv.vgrad(ACCENT_GRAD))
    return cv.finish()


def round_button(w, h, name, k):
    size = w
    cv = Canvas(w, h)
    c = size / 2
    r = c - 1.5
    body = cv.circle(c, c, r)
    g = size * 0.55
    if k == 0:
        cv.fill(body, cv.vgrad([(0, PANEL_TOP), (1, PANEL_BOTTOM)]))
        cv.fill(cv.minus(body, cv.circle(c, c, r - 1.1)), rgba(MID0, 255))
        glyph(cv, name, c - g / 2, c - g / 2, g, rgba(SOFT))
    elif k == 1:
        cv.fill(cv.blur(body, 1.5), rgba(ACCENT, 70))
        cv.fill(body, cv.vgrad([(0, ROUND_HOVER_TOP), (1, ROUND_HOVER_BOTTOM)]))
        cv.fill(cv.minus(body, cv.circle(c, c, r - 1.2)), rgba(ACCENT, 255))
        glyph(cv, name, c - g / 2, c - g / 2, g, rgba(TEXT))
    else:
        cv.fill(body, cv.vgrad([(0, ACCENT), (1, ACCENT_LO)]))
        cv.fill(cv.minus(body, cv.circle(c, c, r - 1)), rgba(ACCENT_LO, 255))
        glyph(cv, name, c - g / 2, c - g / 2, g, rgba(DARK0))
    return cv.finish()


def expand_box(w, h, k):
    cv = Canvas(w, h)
    panel(cv, 2, 2, 25, 25, 5, PANEL_TOP, PANEL_BOTTOM,
          border=rgba(MID1 if k == 0 else ACCENT, 255), border_w=1.2, highlight=26)
    glyph(cv, ('plus', 'minus')[k], 5.5, 5.5, 16, rgba(TEXT) if k == 0 else cv.vgrad(ACCENT_GRAD))
    return cv.finish()


def arrow_small(w, h, k):
    cv = Canvas(w, h)
    pen = cv.pen(0, 0, 15, 24)
    chevron(pen, ('up', 'down')[k], 3.2, 6)
    cv.fill(pen.m, rgba(TEXT))
    return cv.finish()


def tiny_mark(w, h, k):
    cv = Canvas(w, h)
    pen = cv.pen(0, 0, 11, 24)
    if k == 0:
        check(pen, 3.6)
        paint = cv.vgrad(ACCENT_GRAD)
    elif k == 1:
        cross(pen, 3.4)
        paint = rgba(SOFT)
    elif k == 2:
        pen.disc(12, 12, 6)
        paint = cv.vgrad(ACCENT_GRAD)
    elif k == 3:
        triangle(pen, 'up', 8)
        paint = rgba(TEXT)
    elif k == 4:
        triangle(pen, 'down', 8)
        paint = rgba(TEXT)
    else:
        minus(pen, 3.6)
        paint = rgba(SOFT)
    cv.fill(pen.m, paint)
    return cv.finish()


def category_tile(w, h, name):
    cv = Canvas(w, h)
    panel(cv, 3, 3, 55, 55, 14, RAISED_TOP, RAISED_BOTTOM,
          border=rgba(MID0, 230), highlight=34, shadow=(1.5, 110, 1.2))
    glow = cv.radial(29, 29, 22, power=1.2)
    cv.fill(cv.intersect(glow, cv.rrect(3, 3, 55, 55, 14)), rgba(ACCENT, 40))
    m = cv.pen(14, 14, 30)
    GLYPHS[name](m)
    cv.fill(cv.blur(m.m, 1.5), rgba(ACCENT, 80))
    cv.fill(m.m, cv.vgrad(ACCENT_GRAD, 14, 44))
    return cv.finish()


def marker_bar(w, h):
    cv = Canvas(w, h, ss=8)
    bar = cv.rrect(0, 0, 4, 40, 2)
    cv.fill(bar, cv.vgrad([(0, ACCENT_HI), (0.5, ACCENT), (1, ACCENT_LO)]))
    return cv.finish()


def small_card(w, h, k):
    cv = Canvas(w, h)
    if k == 0:
        panel(cv, 2, 2, w - 2, h - 3, 9, SMALL_CARD_TOP, PANEL_BOTTOM,
              border=rgba(MID0, 210), highlight=26, shadow=(1.5, 100, 1))
    elif k == 1:
        panel(cv, 2, 2, w - 2, h - 3, 9, SMALL_CARD_HOVER_TOP, SMALL_CARD_HOVER_BOTTOM,
              border=rgba(MID1, 255), highlight=36, shadow=(1.5, 100, 1))
    elif k == 2:
        b = cv.rrect(2, 2, w - 2, h - 3, 9)
        cv.fill(cv.blur(b, 2), rgba(ACCENT, 100))
        panel(cv, 2, 2, w - 2, h - 3, 9, WARM_TILE_TOP, SMALL_CARD_FOCUS_BOTTOM,
              border=rgba(ACCENT, 255), border_w=1.3, highlight=36)
    else:
        panel(cv, 2, 2, w - 2, h - 3, 9, ACCENT_HI, ACCENT_LO,
              border=rgba(ACCENT_LO, 255), highlight=70, shadow=(1.5, 100, 1))
    return cv.finish()


def indicator(w, h):
    cv = Canvas(w, h, ss=8)
    bar = cv.rrect(0, 0.5, 20, 3.5, 1.5)
    cv.fill(bar, cv.hgrad([(0, ACCENT_LO), (0.5, ACCENT_HI), (1, ACCENT_LO)]))
    return cv.finish()


def power_button(w, h, k):
    cv = Canvas(w, h)
    body = cv.circle(16, 16, 15)
    if k == 0:
        cv.fill(body, rgba(WHITE, 14))
        cv.fill(cv.minus(body, cv.circle(16, 16, 14)), rgba(WHITE, 36))
        glyph(cv, 'power', 6, 6, 20, rgba(TEXT))
    else:
        cv.fill(body, rgba(ACCENT, 46))
        cv.fill(cv.minus(body, cv.circle(16, 16, 13.8)), cv.vgrad(ACCENT_GRAD))
        glyph(cv, 'power', 6, 6, 20, cv.vgrad(ACCENT_GRAD, 6, 26))
    return cv.finish()


# ---------------------------------------------------------------------------
# Illustrations
# ---------------------------------------------------------------------------

def chip_illustration(w, h):
    cv = Canvas(w, h)
    c = w / 2
    cv.fill(cv.radial(c, c, 200, power=1.6), rgba(ACCENT, 46))
    rng = random.Random(43)
    traces = cv.pen(0, 0, w, w)
    vias = cv.pen(0, 0, w, w)
    hot = cv.pen(0, 0, w, w)
    half = 82
    for side in range(4):
        for i in range(7):
            t = -54 + i * 18
            length1 = 18 + rng.random() * 30
            length2 = 30 + rng.random() * 70
            bend = rng.choice((-1, 1)) * (10 + rng.random() * 26)
            # path in a local frame pointing right from the chip's edge
            pts = [(half + 10, t), (half + 10 + length1, t),
                   (half + 10 + length1 + abs(bend), t + bend),
                   (half + 10 + length1 + abs(bend) + length2, t + bend)]
            ang = side * 90
            ca, sa = math.cos(math.radians(ang)), math.sin(math.radians(ang))
            g = [(c + x * ca - y * sa, c + x * sa + y * ca) for x, y in pts]
            target = hot if rng.random() < 0.25 else traces
            target.line(g, 2.2)
            ex, ey = g[-1]
            vias.ring(ex, ey, 3.6, 1.8)
            vias.erase().disc(ex, ey, 2.2)
    fade = cv.radial(c, c, 205, power=0.7)
    cv.fill(cv.intersect(traces.m, fade), rgba(MID1, 230))
    cv.fill(cv.intersect(vias.m, fade), rgba(MID1, 230))
    cv.fill(cv.blur(cv.intersect(hot.m, fade), 2), rgba(ACCENT, 160))
    cv.fill(cv.intersect(hot.m, fade), rgba(ACCENT_HI, 255))
    # pins
    pins = cv.mask()
    dr = ImageDraw.Draw(pins)
    for i in range(11):
        t = c - 75 + i * 15
        for box in ((t - 3, c - half - 10, t + 3, c - half + 2), (t - 3, c + half - 2, t + 3, c + half + 10),
                    (c - half - 10, t - 3, c - half + 2, t + 3), (c + half - 2, t - 3, c + half + 10, t + 3)):
            dr.rounded_rectangle(cv.box(*box), radius=cv.s(1), fill=255)
    cv.fill(pins, cv.vgrad([(0, SOFT), (1, MID1)]))
    # package
    panel(cv, c - half, c - half, c + half, c + half, 14, PACKAGE_TOP, PACKAGE_BOTTOM,
          border=rgba(MID1, 255), border_w=1.5, highlight=40, shadow=(8, 200, 6))
    # die
    die = 46
    d = cv.rrect(c - die, c - die, c + die, c + die, 10)
    cv.fill(cv.blur(d, 6), rgba(ACCENT, 150))
    cv.fill(d, cv.vgrad([(0, ACCENT_HI), (0.5, ACCENT), (1, ACCENT_LO)], c - die, c + die))
    cv.fill(cv.intersect(cv.frame(c - die, c - die, c + die, c + die, 10, 1.5),
                         cv.rrect(c - die, c - die, c + die, c, 10)), rgba(WHITE, 90))
    mark(cv, c, c, 64, rgba(DARK0, 230), rgba(DARK0, 230))
    return cv.finish()


def banner(w, h):
    cv = Canvas(w, h)
    y0, y1 = 10, 150
    body = cv.rrect(0, y0, w, y1, 20)
    cv.fill(body, cv.hgrad([(0, rgba(WELL_BOTTOM, 235)), (0.55, rgba(DARK0, 170)),
                            (1, rgba(DARK0, 0))]))
    edge = cv.frame(0, y0, w, y1, 20, 1)
    cv.fill(edge, cv.hgrad([(0, rgba(WHITE, 40)), (0.6, rgba(WHITE, 8)), (1, rgba(WHITE, 0))]))
    cv.fill(cv.intersect(body, cv.radial(90, 80, 140, 110, power=1.4)), rgba(ACCENT, 60))
    # decorative diagonal stripes towards the right
    stripes = cv.mask()
    dr = ImageDraw.Draw(stripes)
    for i in range(9):
        x = 560 + i * 34
        dr.polygon([(cv.s(x), cv.s(y1)), (cv.s(x + 60), cv.s(y0)), (cv.s(x + 72), cv.s(y0)),
                    (cv.s(x + 12), cv.s(y1))], fill=255)
    stripe_fade = cv.hgrad([(0, rgba(ACCENT, 0)), (0.25, rgba(ACCENT, 46)), (1, rgba(ACCENT, 0))], 540, w)
    cv.fill(cv.intersect(stripes, body), stripe_fade)
    mark(cv, 92, 80, 92, cv.vgrad(ACCENT_GRAD, 34, 126), cv.vgrad(LIGHT_GRAD, 34, 126), glow=110)
    word(cv, 'SETUP', 172, 50, 46, 6.2, cv.vgrad(LIGHT_GRAD, 50, 96), spacing=4.5)
    rule = cv.rrect(172, 114, 560, 117, 1.5)
    cv.fill(rule, cv.hgrad([(0, rgba(ACCENT_HI, 255)), (0.5, rgba(ACCENT, 200)), (1, rgba(ACCENT, 0))], 172, 560))
    return cv.finish()


def memory_illustration(w, h):
    cv = Canvas(w, h)
    cv.fill(cv.radial(w / 2, h / 2, 110, 86, power=1.5), rgba(ACCENT, 40))

    def module(x0, y0, x1, y1, tint):
        pcb = cv.polygon([(x0, y0), (x1, y0), (x1, y1 - 6), (x1 - 6, y1), (x0, y1)])
        cv.shadow(pcb, 4, alpha=170, dy=3)
        cv.fill(pcb, cv.vgrad([(0, mix(BOARD_TOP, ACCENT, tint)),
                               (1, mix(RAISED_BOTTOM, ACCENT, tint * 0.5))], y0, y1))
        cv.fill(cv.minus(pcb, cv.polygon([(x0 + 1, y0 + 1), (x1 - 1, y0 + 1), (x1 - 1, y1 - 6.4),
                                           (x1 - 6.4, y1 - 1), (x0 + 1, y1 - 1)])), rgba(MID1, 220))
        n = 4
        cw = (x1 - x0 - 24 - (n - 1) * 8) / n
        for i in range(n):
            cx0 = x0 + 12 + i * (cw + 8)
            chip_ = cv.rrect(cx0, y0 + 12, cx0 + cw, y1 - 22, 2)
            cv.fill(chip_, cv.vgrad([(0, WELL_TOP), (1, MEMORY_CHIP_BOTTOM)], y0 + 12, y1 - 22))
            cv.fill(cv.frame(cx0, y0 + 12, cx0 + cw, y1 - 22, 2, 0.8), rgba(MID0, 200))
        pins = cv.mask()
        dr = ImageDraw.Draw(pins)
        x = x0 + 8
        while x < x1 - 10:
            dr.rectangle(cv.box(x, y1 - 12, x + 2.4, y1 - 3), fill=255)
            x += 4.6
        cv.fill(pins, cv.vgrad([(0, ACCENT_HI), (1, ACCENT_LO)], y1 - 12, y1 - 3))

    module(30, 24, 200, 96, 0.0)
    module(14, 70, 184, 142, 0.10)
    return cv.finish()


def dial(w, h, glyph_name, fraction):
    cv = Canvas(w, h)
    c = 100
    outer = cv.circle(c, c, 96)
    cv.fill(outer, cv.vgrad([(0, DIAL_TOP), (1, DIAL_BOTTOM)]))
    cv.fill(cv.minus(outer, cv.circle(c, c, 95)), rgba(MID0, 230))
    track = cv.pen(0, 0, w, w)
    track.arc(c, c, 78, 135, 405, 12)
    cv.fill(track.m, rgba(DEEP, 255))
    prog = cv.pen(0, 0, w, w)
    prog.arc(c, c, 78, 135, 135 + 270 * fraction, 12)
    cv.fill(cv.blur(prog.m, 4), rgba(ACCENT, 160))
    cv.fill(prog.m, cv.hgrad([(0, ACCENT_LO), (0.5, ACCENT), (1, ACCENT_HI)], 20, 180))
    ticks = cv.pen(0, 0, w, w)
    for i in range(28):
        a = math.radians(135 + i * 10)
        r0, r1 = (60, 66) if i % 3 else (56, 66)
        ticks.line([(c + r0 * math.cos(a), c + r0 * math.sin(a)),
                    (c + r1 * math.cos(a), c + r1 * math.sin(a))], 1.6, caps=False)
    cv.fill(ticks.m, rgba(MID1, 220))
    inner = cv.circle(c, c, 48)
    cv.shadow(inner, 3, alpha=160, dy=2)
    cv.fill(inner, cv.vgrad([(0, RAISED_TOP), (1, RAISED_BOTTOM)], 52, 148))
    cv.fill(cv.intersect(cv.minus(inner, cv.circle(c, c, 47)), cv.rrect(0, 0, w, c, 0)), rgba(WHITE, 40))
    glyph(cv, glyph_name, c - 26, c - 26, 52, cv.vgrad(LIGHT_GRAD, c - 26, c + 26))
    return cv.finish()


# ---------------------------------------------------------------------------
# The table: theme image id, the function that draws it, and the arguments
# that follow the width and height. Runs of one function number their
# variants from 0 in the order of the ids.
# ---------------------------------------------------------------------------

CATALOGUE = [
    (1, title_plate),
    (2, tab, 0), (3, tab, 1), (4, tab, 2),
    (5, menu_entry, 0), (6, menu_entry, 1), (7, menu_entry, 2),
    (8, background),
    (9, separator),
    (10, spinner, 0), (11, spinner, 1), (12, spinner, 2), (13, spinner, 3),
    (14, bullet),
    (15, info_small),
    (16, checkbox, 'off', 3.5), (17, checkbox, 'checked', 3.5),
    (18, radio, 'off'), (19, radio, 'checked'),
    (20, warning_icon),
    (21, panel_dot),
    (22, accent_dot),
    (23, expander, 0), (24, expander, 1),
    (25, step_button, 0), (26, step_button, 1),
    (27, small_button, 'normal'), (28, small_button, 'focus'), (29, small_button, 'pressed'),
    (30, large_button, 'normal'), (31, large_button, 'hover'), (32, large_button, 'focus'),
    (33, large_button, 'disabled'), (34, large_button, 'pressed'),
    (35, toggle, 0), (36, toggle, 1),
    (37, tile, 0), (38, tile, 1), (39, tile, 2),
    (40, highlight_bar),
    (41, favourite, 0), (42, favourite, 1),
    (43, chip_illustration),
    (44, side_strip),
    (45, device_icon, 'document'),
    (46, device_icon, 'disk', (17, 16)),
    (47, device_icon, 'usb-stick', (12, 15.5)),
    (48, device_icon, 'optical'),
    (49, device_icon, 'network', (12, 12)),
    (50, device_icon, 'terminal'),
    (51, device_icon, 'sdcard'),
    (52, device_icon, 'folder'),
    (53, slider),
    (54, close_small),
    (55, status_dot),
    (56, help_icon),
    (57, dialog_panel),
    (58, mono_icon, 'usb'),
    (59, info_card),
    (60, summary_card),
    (61, list_row, 0), (62, list_row, 1), (63, list_row, 2),
    (64, user_icon),
    # 58 and 65 to 78: single-colour menu icons that the host recolours
    (65, mono_icon, 'home'), (66, mono_icon, 'chip'), (67, mono_icon, 'gauge'),
    (68, mono_icon, 'power'), (69, mono_icon, 'lock'), (70, mono_icon, 'wrench'),
    (71, mono_icon, 'exit'), (72, mono_icon, 'thermometer'), (73, mono_icon, 'memory'),
    (74, mono_icon, 'disk'), (75, mono_icon, 'network'), (76, mono_icon, 'gear'),
    (77, mono_icon, 'clock'), (78, mono_icon, 'fan'),
    (79, feature_icon, 'chip', False), (80, feature_icon, 'chip', True),
    (81, feature_icon, 'memory', False), (82, feature_icon, 'memory', True),
    (83, feature_icon, 'fan', False), (84, feature_icon, 'fan', True),
    (85, chevron_item, 0), (86, chevron_item, 1),
    (87, feature_icon, 'disk', False), (88, feature_icon, 'disk', True),
    (89, round_button, 'arrow-left', 0), (90, round_button, 'arrow-left', 1),
    (91, round_button, 'arrow-left', 2),
    (92, shaded_icon, 'search'), (93, shaded_icon, 'keyboard'), (94, shaded_icon, 'mouse'),
    (95, separator),
    (96, separator),
    (97, checkbox, 'off', 5), (98, checkbox, 'hover', 5), (99, checkbox, 'checked', 5),
    (100, radio, 'off'), (101, radio, 'hover'), (102, radio, 'checked'),
    (103, device_card),
    (104, expand_box, 0), (105, expand_box, 1),
    (106, arrow_small, 0), (107, arrow_small, 1),
    (108, round_button, 'cross', 0), (109, round_button, 'cross', 1),
    (110, round_button, 'cross', 2),
    (111, tiny_mark, 0), (112, tiny_mark, 1), (113, tiny_mark, 2),
    (114, tiny_mark, 3), (115, tiny_mark, 4), (116, tiny_mark, 5),
    (117, category_tile, 'home'), (118, category_tile, 'chip'), (119, category_tile, 'board'),
    (120, category_tile, 'shield'), (121, category_tile, 'power'), (122, category_tile, 'exit'),
    (123, category_tile, 'wrench'),
    (124, banner),
    (125, memory_illustration),
    (126, state_icon, 'sliders', NORMAL), (127, state_icon, 'sliders', HOVER),
    (128, state_icon, 'sliders', SELECTED),
    (129, state_icon, 'gear', NORMAL), (130, state_icon, 'gear', HOVER),
    (131, state_icon, 'gear', SELECTED),
    (132, dial, 'thermometer', 0.62),
    (133, dial, 'fan', 0.38),
    (134, shaded_icon, 'thermometer'), (135, shaded_icon, 'bolt'), (136, shaded_icon, 'fan'),
    (137, shaded_icon, 'gauge'), (138, shaded_icon, 'chip'), (139, shaded_icon, 'memory'),
    (140, shaded_icon, 'clock'), (141, shaded_icon, 'disk'), (142, shaded_icon, 'usb'),
    (143, shaded_icon, 'battery'),
    (144, marker_bar),
    (145, state_icon, 'monitor', NORMAL, 'round'), (146, state_icon, 'monitor', HOVER, 'round'),
    (147, state_icon, 'monitor', SELECTED, 'round'), (148, state_icon, 'monitor', ACTIVE, 'round'),
    (149, state_icon, 'keyboard', NORMAL, 'round'), (150, state_icon, 'keyboard', HOVER, 'round'),
    (151, state_icon, 'keyboard', SELECTED, 'round'), (152, state_icon, 'keyboard', ACTIVE, 'round'),
    (153, state_icon, 'network', NORMAL, 'round'), (154, state_icon, 'network', HOVER, 'round'),
    (155, state_icon, 'network', SELECTED, 'round'), (156, state_icon, 'network', ACTIVE, 'round'),
    (157, small_card, 0), (158, small_card, 1), (159, small_card, 2), (160, small_card, 3),
    (161, state_icon, 'layers', NORMAL, 'round'), (162, state_icon, 'layers', HOVER, 'round'),
    (163, state_icon, 'layers', SELECTED, 'round'), (164, state_icon, 'layers', ACTIVE, 'round'),
    (165, shaded_icon, 'lock'),
    (166, indicator),
    (167, power_button, 0), (168, power_button, 1),
]


def drawing(image_id):
    """The drawing function of image_id and the arguments after (w, h)."""
    row = CATALOGUE[image_id - 1]
    if row[0] != image_id:
        raise SystemExit('catalogue row %d holds id %d; the table must run 1, 2, 3 ... in order'
                         % (image_id, row[0]))
    return row[1], row[2:]
