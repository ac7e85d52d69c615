"""Icon glyphs on a 24-unit grid.

Each glyph draws white (255) onto a Pen's mask; the caller decides colour,
background and state.  Strokes are 2 units wide unless a glyph needs a
heavier or lighter line; the shapes stay inside a 2-unit margin.
"""

import math


def _polar(cx, cy, r, deg):
    t = math.radians(deg)
    return (cx + r * math.cos(t), cy + r * math.sin(t))


def gear(p):
    cx = cy = 12
    pts = []
    teeth = 8
    for i in range(teeth):
        base = i * 360 / teeth
        for da, r in ((-14, 7.2), (-9, 10), (9, 10), (14, 7.2)):
            pts.append(_polar(cx, cy, r, base + da))
    p.poly(pts)
    p.disc(cx, cy, 7.6)
    p.erase().disc(cx, cy, 3.2)


def chip(p):
    p.rect_o(6, 6, 18, 18, 2)
    p.rect(9.5, 9.5, 14.5, 14.5, 1)
    for t in (9, 12, 15):
        p.line([(t, 2.5), (t, 5)], 1.6)
        p.line([(t, 19), (t, 21.5)], 1.6)
        p.line([(2.5, t), (5, t)], 1.6)
        p.line([(19, t), (21.5, t)], 1.6)


def disk(p):
    p.rect_o(3, 5, 21, 19, 2.5)
    p.line([(3, 13), (21, 13)], 2)
    p.disc(17, 16, 1.2)
    p.line([(6.5, 16), (11, 16)], 1.6)


def lock(p):
    p.arc(12, 9.5, 4.5, 180, 360, 2)
    p.line([(7.5, 9.5), (7.5, 11)], 2)
    p.line([(16.5, 9.5), (16.5, 11)], 2)
    p.rect(4.5, 11, 19.5, 21, 2.5)
    p.erase().disc(12, 15.2, 1.7)
    p.erase().rect(11.2, 15.5, 12.8, 18.5, 0.6)


def clock(p):
    p.ring(12, 12, 9)
    p.line([(12, 6.5), (12, 12), (15.5, 14.5)], 2)


def power(p):
    p.arc(12, 13, 8, -55, 235, 2.2)
    p.line([(12, 3), (12, 11.5)], 2.2)


def network(p):
    p.rect_o(9, 3, 15, 8, 1.2, 1.8)
    p.rect_o(3, 16, 9, 21, 1.2, 1.8)
    p.rect_o(15, 16, 21, 21, 1.2, 1.8)
    p.line([(12, 8), (12, 12)], 1.8, caps=False)
    p.line([(6, 16), (6, 12), (18, 12), (18, 16)], 1.8)


def usb(p):
    p.line([(12, 21), (12, 4)], 2)
    p.poly([(12, 1.5), (15, 6), (9, 6)])
    p.line([(12, 17), (7, 13.5), (7, 10)], 1.8)
    p.disc(7, 9, 1.8)
    p.line([(12, 14.5), (17, 11.5), (17, 9)], 1.8)
    p.rect(15.3, 6.2, 18.7, 9.6, 0.4)
    p.disc(12, 20.5, 2.2)


def home(p):
    p.line([(3, 11.5), (12, 3.5), (21, 11.5)], 2)
    p.line([(6, 10), (6, 20), (18, 20), (18, 10)], 2)
    p.rect(10, 14, 14, 20, 1)


def shield(p):
    pts = [(12, 2.5), (20, 5.5), (20, 11)]
    for i in range(1, 10):
        t = i / 10
        pts.append((20 - 8 * t, 11 + 7 * math.sin(t * math.pi / 2) + 3 * t))
    pts += [(12, 21.5)]
    left = [(24 - x, y) for x, y in reversed(pts[:-1])]
    outline = pts + left[1:] + [pts[0]]
    p.line(outline, 2)
    p.line([(8, 12), (11, 15), (16.5, 9)], 2)


def wrench(p):
    p.line([(5, 19), (13.5, 10.5)], 3.2)
    p.ring(15.5, 8.5, 4.2, 2.4)
    p.erase().poly([(15.5, 8.5), (22, 3.5), (22, 6), (18.5, 8.5)])
    p.erase().poly([(15.5, 8.5), (20.5, 2), (18, 2)])


def door_exit(p):
    p.line([(13, 4), (5, 4), (5, 20), (13, 20)], 2)
    p.line([(10, 12), (20.5, 12)], 2)
    p.line([(17, 8.5), (20.5, 12), (17, 15.5)], 2)


def monitor(p):
    p.rect_o(3, 4, 21, 16, 2)
    p.line([(12, 16), (12, 20)], 2)
    p.line([(8, 20), (16, 20)], 2)


def thermometer(p):
    p.arc(12, 4.8, 2.6, 180, 360, 2, caps=False)
    p.line([(9.4, 4.8), (9.4, 13.5)], 2, caps=False)
    p.line([(14.6, 4.8), (14.6, 13.5)], 2, caps=False)
    p.ring(12, 17, 4.2, 2)
    p.erase().rect(10.4, 13, 13.6, 14.5)
    p.disc(12, 17, 2.2)
    p.line([(12, 8), (12, 16)], 1.8)
    p.line([(17.5, 6), (19.5, 6)], 1.5)
    p.line([(17.5, 9.5), (19.5, 9.5)], 1.5)


def memory(p):
    p.rect_o(2.5, 7, 21.5, 15.5, 1.2)
    for x in (6.5, 10.5, 14.5):
        p.rect(x - 1.3, 9.5, x + 1.3 + 1, 13)
    p.line([(4.5, 18.5), (4.5, 20)], 1.6)
    for x in (8, 11, 14, 17):
        p.line([(x, 18.5), (x, 20)], 1.6)
    p.line([(19.5, 18.5), (19.5, 20)], 1.6)


def fan(p):
    p.ring(12, 12, 9.5, 1.8)
    for i in range(3):
        # each blade is an ellipse leaning off its spoke, like a propeller
        a = math.radians(i * 120 - 90)
        lean = a + math.radians(28)
        bx, by = 12 + 4.3 * math.cos(a), 12 + 4.3 * math.sin(a)
        pts = []
        for k in range(24):
            t = 2 * math.pi * k / 24
            u, v = 4.2 * math.cos(t), 2.3 * math.sin(t)
            pts.append((bx + u * math.cos(lean) - v * math.sin(lean),
                        by + u * math.sin(lean) + v * math.cos(lean)))
        p.poly(pts)
    p.disc(12, 12, 2.4)
    p.erase().disc(12, 12, 1.0)


def gauge(p):
    p.arc(12, 14, 9, 150, 390, 2)
    p.line([(12, 14), (16.5, 8.5)], 2)
    p.disc(12, 14, 2)
    for a in (150, 210, 270, 330, 390):
        x0, y0 = _polar(12, 14, 6, a)
        x1, y1 = _polar(12, 14, 5, a)
        p.line([(x0, y0), (x1, y1)], 1.2)


def globe(p):
    p.ring(12, 12, 9, 1.8)
    p.line([(3.5, 12), (20.5, 12)], 1.6)
    # meridian: a narrow ellipse
    x0, y0 = p.P(7.5 - 0.8, 3 - 0.8)
    x1, y1 = p.P(16.5 + 0.8, 21 + 0.8)
    p.d.ellipse([x0, y0, x1, y1], outline=255, width=max(1, int(round(1.6 * p.k))))
    p.line([(5, 7.5), (19, 7.5)], 1.4)
    p.line([(5, 16.5), (19, 16.5)], 1.4)


def search(p):
    p.ring(10, 10, 6, 2.2)
    p.line([(14.5, 14.5), (20.5, 20.5)], 2.8)


def keyboard(p):
    p.rect_o(2.5, 6, 21.5, 18, 2, 1.8)
    for y in (9.5, 12.5):
        for x in (6, 9, 12, 15, 18):
            p.rect(x - 0.9, y - 0.9, x + 0.9, y + 0.9, 0.3)
    p.line([(8, 15.5), (16, 15.5)], 1.6)


def mouse(p):
    p.rect_o(6.5, 3, 17.5, 21, 5.5, 2)
    p.line([(12, 6.5), (12, 10)], 2)


def bolt(p):
    p.poly([(13.5, 2), (5, 13.5), (11, 13.5), (9.5, 22), (19, 9.5), (13, 9.5), (15.5, 2)])


def battery(p):
    p.rect_o(2.5, 7, 19, 17, 2, 1.8)
    p.rect(19.8, 10, 22, 14, 0.8)
    p.rect(5, 9.5, 13, 14.5, 0.8)


def signal(p):
    for i, x in enumerate((4, 9, 14, 19)):
        h = 5 + i * 4.5
        p.rect(x - 1.6, 21 - h, x + 1.6, 21, 0.8)


def star(p, filled=False):
    pts = []
    for i in range(10):
        r = 10 if i % 2 == 0 else 4.3
        pts.append(_polar(12, 12.8, r, -90 + i * 36))
    if filled:
        p.poly(pts)
    else:
        p.line(pts + [pts[0]], 1.8)


def info(p):
    p.ring(12, 12, 9, 2)
    p.disc(12, 7.6, 1.4)
    p.line([(12, 11), (12, 17)], 2.2)


def question(p):
    p.ring(12, 12, 9, 2)
    p.arc(12, 9.3, 3.2, 180, 395, 2.1)
    x, y = _polar(12, 9.3, 3.2, 35)
    p.line([(x, y), (12, 13.2), (12, 14)], 2.1)
    p.disc(12, 17.2, 1.3)


def warning(p):
    p.line([(12, 3), (21.5, 20), (2.5, 20), (12, 3)], 2)
    p.line([(12, 9), (12, 14)], 2.2)
    p.disc(12, 17, 1.3)


def check(p, w=2.6):
    p.line([(5, 12.5), (10, 17.5), (19.5, 7)], w)


def cross(p, w=2.4):
    p.line([(6, 6), (18, 18)], w)
    p.line([(18, 6), (6, 18)], w)


def plus(p, w=2.4):
    p.line([(12, 5), (12, 19)], w)
    p.line([(5, 12), (19, 12)], w)


def minus(p, w=2.4):
    p.line([(5, 12), (19, 12)], w)


def chevron(p, direction, w=2.4, size=5.0):
    s = size
    shapes = {
        'right': [(12 - s / 2, 12 - s), (12 + s / 2, 12), (12 - s / 2, 12 + s)],
        'left': [(12 + s / 2, 12 - s), (12 - s / 2, 12), (12 + s / 2, 12 + s)],
        'up': [(12 - s, 12 + s / 2), (12, 12 - s / 2), (12 + s, 12 + s / 2)],
        'down': [(12 - s, 12 - s / 2), (12, 12 + s / 2), (12 + s, 12 - s / 2)],
    }
    p.line(shapes[direction], w)


def triangle(p, direction, size=6.0):
    s = size
    shapes = {
        'right': [(12 - s * 0.6, 12 - s), (12 + s * 0.8, 12), (12 - s * 0.6, 12 + s)],
        'down': [(12 - s, 12 - s * 0.6), (12 + s, 12 - s * 0.6), (12, 12 + s * 0.8)],
        'up': [(12 - s, 12 + s * 0.6), (12 + s, 12 + s * 0.6), (12, 12 - s * 0.8)],
        'left': [(12 + s * 0.6, 12 - s), (12 - s * 0.8, 12), (12 + s * 0.6, 12 + s)],
    }
    p.poly(shapes[direction])


def arrow(p, direction, w=2.2):
    if direction == 'left':
        p.line([(19, 12), (5.5, 12)], w)
        p.line([(11, 6.5), (5.5, 12), (11, 17.5)], w)
    elif direction == 'right':
        p.line([(5, 12), (18.5, 12)], w)
        p.line([(13, 6.5), (18.5, 12), (13, 17.5)], w)
    elif direction == 'up':
        p.line([(12, 19), (12, 5.5)], w)
        p.line([(6.5, 11), (12, 5.5), (17.5, 11)], w)
    else:
        p.line([(12, 5), (12, 18.5)], w)
        p.line([(6.5, 13), (12, 18.5), (17.5, 13)], w)


def folder(p):
    p.line([(3, 18.5), (3, 5.5), (9, 5.5), (11, 8), (21, 8), (21, 18.5), (3, 18.5)], 2)
    p.line([(3, 11), (21, 11)], 1.6)


def document(p):
    p.line([(14, 2.5), (5, 2.5), (5, 21.5), (19, 21.5), (19, 7.5), (14, 2.5)], 2)
    p.line([(14, 2.5), (14, 7.5), (19, 7.5)], 1.8)
    for y in (12, 15, 18):
        p.line([(8.5, y), (15.5, y)], 1.5)


def optical(p):
    p.ring(12, 12, 9, 2)
    p.ring(12, 12, 2.4, 1.8)
    p.arc(12, 12, 5.8, 200, 250, 1.5)
    p.arc(12, 12, 5.8, 20, 70, 1.5)


def terminal(p):
    p.rect_o(2.5, 4, 21.5, 20, 2, 1.8)
    p.line([(2.5, 8), (21.5, 8)], 1.6, caps=False)
    p.line([(6, 11), (9.5, 14), (6, 17)], 1.8)
    p.line([(12, 17), (17, 17)], 1.8)


def sdcard(p):
    p.line([(9, 2.5), (18, 2.5), (18, 21.5), (6, 21.5), (6, 5.5), (9, 2.5)], 2)
    for x in (10, 12.5, 15):
        p.line([(x, 5.5), (x, 8.5)], 1.4)


def usb_stick(p):
    p.rect_o(7, 9, 17, 22, 2, 2)
    p.rect_o(9, 2.5, 15, 9, 0.5, 1.6)
    p.rect(10.4, 4.5, 11.6, 6.3)
    p.rect(12.4, 4.5, 13.6, 6.3)


def board(p):
    p.rect_o(3, 3, 21, 21, 2, 1.8)
    p.rect(6.5, 6.5, 12, 12, 1)
    p.line([(15, 7), (18, 7)], 1.5)
    p.line([(15, 10), (18, 10)], 1.5)
    p.line([(7, 16), (7, 18)], 1.5)
    p.line([(10.5, 16), (10.5, 18)], 1.5)
    p.line([(14, 15), (18, 15), (18, 18)], 1.5)


def sliders(p):
    for y, x in ((6, 15), (12, 8), (18, 13)):
        p.line([(3.5, y), (20.5, y)], 1.6)
        p.disc(x, y, 2.6)


def refresh(p):
    p.arc(12, 12, 7.5, 200, 480, 2.2, caps=True)
    x, y = _polar(12, 12, 7.5, 120)
    p.poly([(x - 4.2, y - 1.2), (x + 1.6, y - 3.8), (x + 0.8, y + 2.8)])


def speaker(p):
    p.poly([(3.5, 9), (8, 9), (13, 4.5), (13, 19.5), (8, 15), (3.5, 15)])
    p.arc(13, 12, 4, -45, 45, 1.8)
    p.arc(13, 12, 7.8, -50, 50, 1.8)


def bars(p):
    p.line([(3, 21), (21, 21)], 1.8)
    for x, h in ((6, 6), (10, 11), (14, 8), (18, 15)):
        p.rect(x - 1.5, 19 - h, x + 1.5, 19, 0.6)


def dot(p, r=4):
    p.disc(12, 12, r)


def eye(p):
    p.arc(12, 20, 11, 225, 315, 2, caps=False)
    p.arc(12, 4, 11, 45, 135, 2, caps=False)
    p.disc(12, 12, 3.4)


def user(p):
    p.disc(12, 8.5, 4.3)
    p.arc(12, 22, 8.5, 180, 360, 2.2, caps=True)


def calendar(p):
    p.rect_o(3, 5, 21, 20.5, 2, 2)
    p.line([(3, 10), (21, 10)], 1.8, caps=False)
    p.line([(8, 2.8), (8, 6.5)], 2)
    p.line([(16, 2.8), (16, 6.5)], 2)
    for x in (7.5, 12, 16.5):
        p.rect(x - 1.1, 13, x + 1.1, 15.2, 0.3)
    p.rect(7.5 - 1.1, 16.6, 7.5 + 1.1, 18.8, 0.3)
    p.rect(12 - 1.1, 16.6, 12 + 1.1, 18.8, 0.3)


def save(p):
    p.line([(4, 4), (16.5, 4), (20, 7.5), (20, 20), (4, 20), (4, 4)], 2)
    p.rect_o(8, 4, 15, 8.5, 0.3, 1.6)
    p.rect_o(7.5, 13, 16.5, 20, 0.5, 1.6)


def lightning_plug(p):
    p.line([(9, 2.5), (9, 7)], 2)
    p.line([(15, 2.5), (15, 7)], 2)
    p.line([(6, 7), (18, 7), (18, 11), (15, 15), (9, 15), (6, 11), (6, 7)], 2)
    p.line([(12, 15), (12, 21.5)], 2)


def layers(p):
    p.line([(12, 3.5), (21, 8), (12, 12.5), (3, 8), (12, 3.5)], 1.8)
    p.line([(3, 12), (12, 16.5), (21, 12)], 1.8)
    p.line([(3, 16), (12, 20.5), (21, 16)], 1.8)


GLYPHS = {
    'gear': gear, 'chip': chip, 'disk': disk, 'lock': lock, 'clock': clock,
    'power': power, 'network': network, 'usb': usb, 'home': home,
    'shield': shield, 'wrench': wrench, 'exit': door_exit, 'monitor': monitor,
    'thermometer': thermometer, 'memory': memory, 'fan': fan, 'gauge': gauge,
    'globe': globe, 'search': search, 'keyboard': keyboard, 'mouse': mouse,
    'bolt': bolt, 'battery': battery, 'signal': signal, 'star': star,
    'star-filled': lambda p: star(p, True), 'info': info, 'question': question,
    'warning': warning, 'check': check, 'cross': cross, 'plus': plus,
    'minus': minus, 'folder': folder, 'document': document,
    'optical': optical, 'terminal': terminal, 'sdcard': sdcard,
    'usb-stick': usb_stick, 'board': board, 'sliders': sliders,
    'refresh': refresh, 'speaker': speaker, 'bars': bars, 'eye': eye,
    'calendar': calendar, 'save': save, 'plug': lightning_plug,
    'layers': layers, 'dot': dot, 'user': user,
    'arrow-left': lambda p: arrow(p, 'left'), 'arrow-right': lambda p: arrow(p, 'right'),
}
