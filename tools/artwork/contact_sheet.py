#!/usr/bin/python3
"""Lay out every theme image on one sheet for review: docs/contact-sheet.png.

    /usr/bin/python3 tools/artwork/contact_sheet.py [--images DIR] [--out FILE]

Images larger than a cell are scaled down smoothly; small ones are scaled
up by a whole factor (nearest neighbour) so their pixels stay readable.
Each cell is labelled with the image id and its real size.
"""

import argparse
import os
import sys

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.dont_write_bytecode = True   # keep the source tree free of __pycache__
sys.path.insert(0, HERE)

from manifest import read_manifest  # noqa: E402

COLS = 12
CELL_W, CELL_H = 168, 150
LABEL_H = 14
PAD = 6
SHEET_BG = (0x4A, 0x4A, 0x4A)
CHECK = ((0x5C, 0x5C, 0x5C), (0x6A, 0x6A, 0x6A))
CHECK_SIZE = 8


def checkerboard(w, h):
    img = Image.new('RGB', (w, h), CHECK[0])
    d = ImageDraw.Draw(img)
    for y in range(0, h, CHECK_SIZE):
        for x in range(0, w, CHECK_SIZE):
            if (x // CHECK_SIZE + y // CHECK_SIZE) % 2:
                d.rectangle([x, y, x + CHECK_SIZE - 1, y + CHECK_SIZE - 1], fill=CHECK[1])
    return img


def fit(img, box_w, box_h):
    w, h = img.size
    if w > box_w or h > box_h:
        k = min(box_w / w, box_h / h)
        return img.resize((max(1, round(w * k)), max(1, round(h * k))), Image.LANCZOS)
    k = max(1, min(box_w // w, box_h // h, 8))
    return img.resize((w * k, h * k), Image.NEAREST) if k > 1 else img


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--images', default=os.path.join(ROOT, 'data', 'images'))
    ap.add_argument('--out', default=os.path.join(ROOT, 'docs', 'contact-sheet.png'))
    args = ap.parse_args()

    rows = read_manifest(os.path.join(args.images, 'manifest.tsv'))
    nrows = (len(rows) + COLS - 1) // COLS
    sheet = Image.new('RGB', (COLS * CELL_W, nrows * CELL_H), SHEET_BG)
    font = ImageFont.load_default()
    draw = ImageDraw.Draw(sheet)
    box_w, box_h = CELL_W - 2 * PAD, CELL_H - LABEL_H - 2 * PAD
    tile = checkerboard(box_w, box_h)

    for n, row in enumerate(rows):
        cx, cy = (n % COLS) * CELL_W, (n // COLS) * CELL_H
        sheet.paste(tile, (cx + PAD, cy + PAD))
        img = Image.open(os.path.join(args.images, row.file)).convert('RGBA')
        shown = fit(img, box_w, box_h)
        x = cx + PAD + (box_w - shown.width) // 2
        y = cy + PAD + (box_h - shown.height) // 2
        sheet.paste(shown, (x, y), shown)
        label = '%d  %dx%d%s' % (row.id, row.w, row.h,
                                 ' jpg' if row.fmt == 'jpeg' else (' i' if row.interlaced else ''))
        draw.text((cx + PAD, cy + CELL_H - LABEL_H - 1), label, fill=(0xF0, 0xF0, 0xF0), font=font)

    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    sheet.save(args.out, 'PNG', optimize=True)
    print('%s: %dx%d, %d bytes' % (args.out, sheet.width, sheet.height, os.path.getsize(args.out)))


if __name__ == '__main__':
    main()
