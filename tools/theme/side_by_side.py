#!/usr/bin/python3
"""Two themes side by side, reduced: the main screen at 1920 x 1080 and the
116 palette colours of each, cut from their preview sheets and halved, so
that a README can show a variant beside the default without a second full
sheet.

    side_by_side.py LEFT.json RIGHT.json --out PICTURE.png

Each JSON is the facts file that theme-preview wrote beside its sheet.
"""
import argparse
import json
import os
import sys

from PIL import Image, ImageDraw, ImageFont

SCALE = 2          # both cut-outs are shown at half size
MARGIN = 16
LABEL_HEIGHT = 28
LABEL_WIDTH = 100  # sheet pixels to the right of a palette cell that its value takes
BACKDROP = (244, 244, 242)
INK = (26, 26, 26)
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"


def cut_outs(facts_path):
    """The theme's name and its two reduced cut-outs: the screen, the palette."""
    with open(facts_path, encoding="utf-8") as file:
        facts = json.load(file)
    areas = facts["areas"]
    sheet_path = os.path.join(os.path.dirname(facts_path), facts["sheet"]["file"])
    with Image.open(sheet_path) as sheet:
        sheet = sheet.convert("RGB")
        x, y, w, h = areas["screen 1920x1080"]
        screen = sheet.crop((x, y, x + w, y + h))
        cells = [area for key, area in areas.items() if key.startswith("palette ")]
        left = min(a[0] for a in cells)
        top = min(a[1] for a in cells)
        # Each cell's value is written to its right, beyond its area.
        right = min(sheet.width, max(a[0] + a[2] for a in cells) + LABEL_WIDTH)
        bottom = max(a[1] + a[3] for a in cells)
        palette = sheet.crop((left, top, right, bottom))
    shrink = [image.resize((image.width // SCALE, image.height // SCALE), Image.LANCZOS)
              for image in (screen, palette)]
    return facts["theme"]["name"], shrink


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("left")
    parser.add_argument("right")
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    columns = [cut_outs(path) for path in (args.left, args.right)]
    width = max(max(image.width for image in images) for _, images in columns)
    height = LABEL_HEIGHT + sum(image.height + MARGIN for image in columns[0][1])
    picture = Image.new("RGB", (2 * width + 3 * MARGIN, height + MARGIN), BACKDROP)
    draw = ImageDraw.Draw(picture)
    font = ImageFont.truetype(FONT, 18)
    for index, (name, images) in enumerate(columns):
        left = MARGIN + index * (width + MARGIN)
        draw.text((left, MARGIN // 2), name, fill=INK, font=font)
        top = LABEL_HEIGHT
        for image in images:
            picture.paste(image, (left, top))
            top += image.height + MARGIN
    # An adaptive palette of 256 colours keeps the picture small; both
    # themes' colours are few and flat.
    picture.quantize(256, method=Image.MEDIANCUT, dither=Image.NONE).save(args.out, optimize=True)
    print(f"{args.out}: {picture.width}x{picture.height}, {os.path.getsize(args.out)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
