#!/usr/bin/python3
"""The artwork generator's quick route and its colour map.

Drawn with --fast and the identity map built from --list-colours, every
image decodes to the pixels of the committed one and the folder packs with
theme-pack. A map that changes a few surface colours changes exactly the
images drawn with them, a replaced image is the given file's bytes, and a
map without one colour is refused, naming it, before anything is written.
The quick Adam7 writer also decodes right at sizes where passes are empty.

usage: test_artwork_theming.py THEME_PACK
"""

import io
import json
import os
import random
import subprocess
import sys
import tempfile

from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ARTWORK = os.path.join(ROOT, "tools", "artwork")
IMAGES = os.path.join(ROOT, "data", "images")
sys.dont_write_bytecode = True
sys.path.insert(0, ARTWORK)

import encode  # noqa: E402
from manifest import read_manifest  # noqa: E402

# Surface colours that only a few images are drawn with: (name, new colour, ids).
CHANGES = [
    ("BACKDROP_TOP", "0xFF103050", {8}),          # the JPEG background
    ("BUTTON_DISABLED_TOP", "0xFF205030", {33}),
    ("DIAL_TOP", "0xFF502010", {132, 133}),
]
REPLACED = 133   # given the committed file, so it stays as it is

# Sizes whose Adam7 passes are partly empty (no columns or no rows).
ADAM7_SIZES = [(1, 1), (1, 9), (9, 1), (2, 3), (3, 2), (5, 5), (8, 8), (13, 6)]

failures = []


def check(ok, message):
    if not ok:
        failures.append(message)


def generate(*args):
    return subprocess.run([sys.executable, os.path.join(ARTWORK, "generate.py"), *args],
                          capture_output=True, text=True)


def pixels(path):
    try:
        with Image.open(path) as img:
            return img.mode, img.size, img.tobytes()
    except OSError as e:
        return "unreadable", str(e)


def write_map(folder, name, table):
    path = os.path.join(folder, name)
    with open(path, "w") as f:
        json.dump(table, f)
    return path


def main():
    theme_pack = sys.argv[1]
    rows = read_manifest(os.path.join(IMAGES, "manifest.tsv"))
    committed = {row.id: pixels(os.path.join(IMAGES, row.file)) for row in rows}

    listing = generate("--list-colours")
    check(listing.returncode == 0, "--list-colours failed: " + listing.stderr)
    names = dict(line.split()[::-1] for line in listing.stdout.splitlines())
    identity = {colour: colour for colour in names.values()}

    with tempfile.TemporaryDirectory(prefix="artwork-theming-") as tmp:
        plain = os.path.join(tmp, "identity")
        run = generate("--fast", "--out", plain,
                       "--colour-map", write_map(tmp, "identity.json", identity))
        check(run.returncode == 0, "identity run failed: " + run.stderr)
        for row in rows:
            check(pixels(os.path.join(plain, row.file)) == committed[row.id],
                  "identity map: image %d differs from data/images" % row.id)
        pack = subprocess.run([theme_pack, os.path.join(plain, "manifest.tsv"),
                               os.path.join(tmp, "identity.res")], capture_output=True, text=True)
        check(pack.returncode == 0, "theme-pack refused the --fast folder: " + pack.stderr)

        themed = dict(identity)
        expected = set()
        for name, colour, ids in CHANGES:
            themed[names[name]] = colour
            expected |= ids
        expected.discard(REPLACED)
        replacement = os.path.join(IMAGES, rows[REPLACED - 1].file)
        out = os.path.join(tmp, "themed")
        run = generate("--fast", "--out", out,
                       "--colour-map", write_map(tmp, "themed.json", themed),
                       "--replace", "%d=%s" % (REPLACED, replacement))
        check(run.returncode == 0, "themed run failed: " + run.stderr)
        changed = {row.id for row in rows
                   if pixels(os.path.join(out, row.file)) != committed[row.id]}
        check(changed == expected, "themed map changed images %s, expected %s"
              % (sorted(changed), sorted(expected)))
        with open(replacement, "rb") as given:
            with open(os.path.join(out, rows[REPLACED - 1].file), "rb") as written:
                check(given.read() == written.read(),
                      "replaced image %d is not the given file" % REPLACED)

        short = dict(identity)
        del short[names["ACCENT"]]
        out = os.path.join(tmp, "short")
        run = generate("--fast", "--out", out, "--colour-map", write_map(tmp, "short.json", short))
        check(run.returncode != 0 and "0xFFFF8333" in run.stderr and "ACCENT" in run.stderr,
              "a map without ACCENT: exit %d, %r" % (run.returncode, run.stderr))
        check(not os.path.exists(out), "a refused map still wrote %s" % out)

    rng = random.Random(7)
    for w, h in ADAM7_SIZES:
        img = Image.frombytes("RGBA", (w, h), bytes(rng.randrange(256) for _ in range(w * h * 4)))
        try:
            with Image.open(io.BytesIO(encode.encode_png_fast(img, True))) as back:
                ok = (back.info.get("interlace") == 1 and back.mode == "RGBA"
                      and back.tobytes() == img.tobytes())
        except OSError:
            ok = False
        check(ok, "Adam7 writer at %dx%d: not the drawn pixels" % (w, h))

    for message in failures:
        print("test_artwork_theming: " + message, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
