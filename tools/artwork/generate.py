#!/usr/bin/python3
"""Draw the theme's 168 images into data/images/, as data/images/manifest.tsv lists them.

Run with Debian's interpreter (it has Pillow):

    /usr/bin/python3 tools/artwork/generate.py [--out DIR] [--fast] [--jobs N]
        [--colour-map FILE] [--replace ID=FILE ...]
    /usr/bin/python3 tools/artwork/generate.py --list-colours

The manifest is the one table of the images: each row gives the file name,
format, pixel size and interlacing, and catalogue.py names the function
that draws the id.  With --out DIR the manifest is copied into DIR beside
the images, so that contact_sheet.py --images DIR can lay them out and
theme-pack can pack the folder.  --fast skips the slow PNG optimisation:
plain rows are written by Pillow and the Adam7 rows by a quick interlacing
writer, so the folder packs but its files are larger than the committed
ones (quick look at artwork changes; not the files to commit).

--colour-map FILE re-colours the artwork: FILE is a JSON object mapping
every artwork colour to its theme colour, both written "0xAARRGGBB" with
alpha FF; --list-colours prints those colours, one "0xFFRRGGBB NAME" a
line.  --replace ID=FILE takes FILE's bytes as they are for image ID
instead of drawing it.  The output is deterministic.
A size summary goes to docs/artwork-sizes.txt (normal runs of every
drawing into data/images only) and to stdout.
"""

import argparse
import multiprocessing
import os
import re
import shutil
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.dont_write_bytecode = True   # keep the source tree free of __pycache__
sys.path.insert(0, HERE)

import encode     # noqa: E402
from manifest import read_manifest  # noqa: E402

# draw.py reads the colour map from this variable when it is imported, so
# main() sets it before importing the drawing modules; the workers inherit
# it (and, when forked, the modules already imported).
COLOUR_MAP_ENV = 'THEME_COLOUR_MAP'

DEFAULT_OUT = os.path.join(ROOT, 'data', 'images')
MANIFEST = os.path.join(DEFAULT_OUT, 'manifest.tsv')
SIZES_REPORT = os.path.join(ROOT, 'docs', 'artwork-sizes.txt')
ART_FILE = re.compile(r'^\d{3}-[a-z0-9-]+\.(png|jpg)$')
SIGNATURES = {'png': encode.PNG_SIG, 'jpeg': b'\xff\xd8\xff'}


def render(job):
    import catalogue   # after main() has set the colour map
    image, fast, tmp_root = job
    w, h = image.w, image.h
    draw, args = catalogue.drawing(image.id)
    img = draw(w, h, *args)
    if img.size != (w, h):
        raise RuntimeError('image %d drawn at %s, expected %dx%d' % (image.id, img.size, w, h))
    if image.fmt == 'jpeg':
        # 4:4:4 for the hairlines, where chroma subsampling would smear them
        sub = 2 if min(w, h) > 8 else 0
        data = encode.encode_jpeg(img.convert('RGB'), subsampling=sub)
        return image.id, data, None, None
    img = img.convert('RGBA')
    if fast:
        return image.id, encode.encode_png_fast(img, image.interlaced), None, None
    work = os.path.join(tmp_root, '%03d' % image.id)
    data, baseline, ref = encode.encode_png(img, image.interlaced, work)
    return image.id, data, baseline, ref


def read_replacements(specs, images):
    """{id: file bytes} from the --replace ID=FILE arguments."""
    rows = {image.id: image for image in images}
    out = {}
    for spec in specs:
        key, sep, path = spec.partition('=')
        if not sep or not key.isdigit() or not path:
            raise SystemExit('--replace %s: expected ID=FILE' % spec)
        image = rows.get(int(key))
        if image is None:
            raise SystemExit('--replace %s: no image %s in %s' % (spec, key, MANIFEST))
        if image.id in out:
            raise SystemExit('--replace %s: image %d is replaced twice' % (spec, image.id))
        try:
            with open(path, 'rb') as f:
                data = f.read()
        except OSError as e:
            raise SystemExit('%s: cannot read the replacement: %s' % (path, e.strerror))
        if not data.startswith(SIGNATURES[image.fmt]):
            raise SystemExit('%s: not a %s file, which image %d (%s) must be'
                             % (path, image.fmt.upper(), image.id, image.file))
        out[image.id] = data
    return out


def write_file(path, data):
    """Write through a temporary file, so a failed write leaves no torn file."""
    part = path + '.part'
    with open(part, 'wb') as f:
        f.write(data)
    os.replace(part, path)


def main():
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument('--out', default=DEFAULT_OUT,
                    help='folder for the images (default data/images); another folder '
                         'also gets a copy of the manifest')
    ap.add_argument('--fast', action='store_true',
                    help='skip the slow PNG optimisation; Adam7 rows still interlaced')
    ap.add_argument('--jobs', type=int, default=os.cpu_count() or 1)
    ap.add_argument('--replace', action='append', default=[], metavar='ID=FILE',
                    help='use FILE as it is for image ID instead of drawing it (repeatable)')
    what = ap.add_mutually_exclusive_group()
    what.add_argument('--colour-map', metavar='FILE',
                      help='JSON {"0xFFRRGGBB": "0xFFRRGGBB", ...} holding every artwork colour')
    what.add_argument('--list-colours', action='store_true',
                      help='print every artwork colour as "0xFFRRGGBB NAME" and exit')
    args = ap.parse_args()

    start = time.time()
    if args.colour_map is not None:
        os.environ[COLOUR_MAP_ENV] = os.path.abspath(args.colour_map)
    else:
        os.environ.pop(COLOUR_MAP_ENV, None)
    import catalogue  # noqa: F401  (stops here on a colour missing from the map)
    import draw

    if args.list_colours:
        for rgb, name in draw.artwork_colours():
            print('0x%08X %s' % (0xFF000000 | rgb, name))
        return

    images = read_manifest(MANIFEST)
    replaced = read_replacements(args.replace, images)

    with tempfile.TemporaryDirectory(prefix='artwork-') as tmp:
        # Largest first, so the long encodes do not trail at the end.
        jobs = [(image, args.fast, tmp) for image in sorted(images, key=lambda i: -i.w * i.h)
                if image.id not in replaced]
        results = {}
        # A line for every tenth of the work: the optimised route takes minutes.
        milestones = {len(jobs) * tenth // 10 for tenth in range(1, 11)}
        with multiprocessing.Pool(args.jobs) as pool:
            for r in pool.imap_unordered(render, jobs):
                results[r[0]] = r[1:]
                if len(results) in milestones:
                    print('generate.py: drawn %d of %d images' % (len(results), len(jobs)),
                          file=sys.stderr, flush=True)
    for image_id, data in replaced.items():
        results[image_id] = (data, None, None)

    os.makedirs(args.out, exist_ok=True)
    listed = {image.file for image in images}
    for old in os.listdir(args.out):
        if ART_FILE.match(old) and old not in listed:
            os.remove(os.path.join(args.out, old))
    if os.path.abspath(args.out) != os.path.abspath(DEFAULT_OUT):
        shutil.copyfile(MANIFEST, os.path.join(args.out, 'manifest.tsv'))

    totals = {'png': 0, 'jpeg': 0, 'png_baseline': 0, 'png_zopflipng': 0}
    for image in images:
        data, baseline, ref = results[image.id]
        write_file(os.path.join(args.out, image.file), data)
        totals[image.fmt] += len(data)
        if image.fmt == 'png' and baseline is not None:
            totals['png_baseline'] += baseline
            totals['png_zopflipng'] += ref

    lines = [
        'Theme artwork sizes (bytes), written by tools/artwork/generate.py',
        'PNG files (164), as committed:            %9d' % totals['png'],
        'JPEG files (4):                           %9d' % totals['jpeg'],
        'All image files:                          %9d' % (totals['png'] + totals['jpeg']),
    ]
    if not args.fast and not replaced:
        lines += [
            'PNG, plain encoder (adaptive filter, zlib -9):  %9d' % totals['png_baseline'],
            'PNG, zopflipng -m alone (free colour type,',
            '  interlacing dropped; not usable as is):      %9d' % totals['png_zopflipng'],
        ]
    report = '\n'.join(lines) + '\n'
    sys.stdout.write(report)
    sys.stdout.write('elapsed: %.1f s on %d jobs\n' % (time.time() - start, args.jobs))
    if (not args.fast and not replaced
            and os.path.abspath(args.out) == os.path.abspath(DEFAULT_OUT)):
        os.makedirs(os.path.dirname(SIZES_REPORT), exist_ok=True)
        with open(SIZES_REPORT, 'w') as f:
            f.write(report)


if __name__ == '__main__':
    main()
